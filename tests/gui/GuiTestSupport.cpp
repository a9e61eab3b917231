#include "GuiTestSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <wx/app.h>
#include <wx/utils.h>

void Pump(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    wxYield();
    wxMilliSleep(10);
  }
}

std::vector<uint32_t> GrabScreen(int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr) return pixels;
  XImage *image =
      XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
  if (image != nullptr) {
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        pixels.push_back(static_cast<uint32_t>(XGetPixel(image, col, row) & 0xFFFFFF));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixels;
}

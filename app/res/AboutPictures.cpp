// The About box's two pictures, drawn here in code: on the left a monitor showing colour bars
// beside the program's name, on the right what the program is for. Both on a white ground.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "app/res/Artwork.h"
#include "app/res/Resource.h"

namespace res {

namespace {

constexpr int kWidth = 238;
constexpr int kHeight = 74;

struct Colour {
  unsigned char r, g, b;
};

constexpr Colour kNavy{0, 0, 128};
constexpr Colour kDarkGrey{64, 64, 64};
constexpr Colour kSilver{192, 192, 192};

// A canvas that clips every drawing to the picture.
class Canvas {
 public:
  Canvas(int width, int height) {
    picture_.width = width;
    picture_.height = height;
    picture_.rgb.assign(static_cast<size_t>(width) * height * 3, 255);
  }

  void Fill(int x0, int y0, int x1, int y1, Colour c) {  // inclusive corners
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, picture_.width - 1);
    y1 = std::min(y1, picture_.height - 1);
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        unsigned char *p = &picture_.rgb[(static_cast<size_t>(y) * picture_.width + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
      }
    }
  }

  // Text in the 5 by 7 font below, each font pixel drawn as a square of `scale` pixels.
  void Text(int x, int y, std::string_view text, int scale, Colour c);

  Picture Take() { return std::move(picture_); }

 private:
  Picture picture_;
};

struct Glyph {
  char ch;
  const char *rows[7];
};

// Capital letters and the few signs the pictures use.
constexpr Glyph kFont[] = {
    {'A', {"01110", "10001", "10001", "11111", "10001", "10001", "10001"}},
    {'B', {"11110", "10001", "10001", "11110", "10001", "10001", "11110"}},
    {'C', {"01110", "10001", "10000", "10000", "10000", "10001", "01110"}},
    {'D', {"11110", "10001", "10001", "10001", "10001", "10001", "11110"}},
    {'E', {"11111", "10000", "10000", "11110", "10000", "10000", "11111"}},
    {'F', {"11111", "10000", "10000", "11110", "10000", "10000", "10000"}},
    {'I', {"01110", "00100", "00100", "00100", "00100", "00100", "01110"}},
    {'K', {"10001", "10010", "10100", "11000", "10100", "10010", "10001"}},
    {'L', {"10000", "10000", "10000", "10000", "10000", "10000", "11111"}},
    {'N', {"10001", "11001", "10101", "10011", "10001", "10001", "10001"}},
    {'O', {"01110", "10001", "10001", "10001", "10001", "10001", "01110"}},
    {'P', {"11110", "10001", "10001", "11110", "10000", "10000", "10000"}},
    {'Q', {"01110", "10001", "10001", "10001", "10101", "10010", "01101"}},
    {'R', {"11110", "10001", "10001", "11110", "10100", "10010", "10001"}},
    {'S', {"01111", "10000", "10000", "01110", "00001", "00001", "11110"}},
    {'T', {"11111", "00100", "00100", "00100", "00100", "00100", "00100"}},
    {'U', {"10001", "10001", "10001", "10001", "10001", "10001", "01110"}},
    {'V', {"10001", "10001", "10001", "10001", "10001", "01010", "00100"}},
    {'/', {"00001", "00010", "00010", "00100", "01000", "01000", "10000"}},
};

void Canvas::Text(int x, int y, std::string_view text, int scale, Colour c) {
  for (char ch : text) {
    for (const Glyph &glyph : kFont) {
      if (glyph.ch != ch) continue;
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (glyph.rows[row][col] != '1') continue;
          Fill(x + col * scale, y + row * scale, x + (col + 1) * scale - 1,
               y + (row + 1) * scale - 1, c);
        }
      }
    }
    x += 6 * scale;  // a blank stays blank
  }
}

// A monitor showing the seven colour bars of a test picture, and the program's name.
Picture DrawLeft() {
  Canvas canvas(kWidth, kHeight);
  canvas.Fill(6, 8, 77, 57, kDarkGrey);  // cabinet
  constexpr Colour kBars[] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                              {192, 0, 192},   {192, 0, 0},   {0, 0, 192}};
  for (int i = 0; i < 7; ++i) canvas.Fill(10 + i * 9, 12, 18 + i * 9, 53, kBars[i]);
  canvas.Fill(34, 58, 49, 62, kDarkGrey);  // neck
  canvas.Fill(24, 63, 59, 66, kDarkGrey);  // foot
  canvas.Text(92, 14, "QUENDA", 4, kNavy);
  canvas.Fill(92, 50, 231, 51, kSilver);
  return canvas.Take();
}

// What the program is for, in two lines over a rule.
Picture DrawRight() {
  Canvas canvas(kWidth, kHeight);
  canvas.Text(4, 12, "STILLS FOR", 2, kNavy);
  canvas.Text(4, 32, "BROADCAST VIDEO", 2, kNavy);
  canvas.Fill(4, 50, 182, 51, kSilver);
  return canvas.Take();
}

}  // namespace

Picture LoadBitmapResource(unsigned id) {
  switch (id) {
    case IDB_ABOUT_LEFT:
      return DrawLeft();
    case IDB_ABOUT_RIGHT:
      return DrawRight();
    default:
      return {};
  }
}

}  // namespace res

// The review window on screen: its title and place, and what it shows for written targets
// of several sizes as the window changes size, compared pixel for pixel with the preview
// pane's drawing.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "GuiTestSupport.h"
#include "PrivateDisplay.h"
#include "app/preview/DlgReview.h"
#include "app/preview/QuendaView.h"
#include "engine/ImageFileEngine.h"
#include "tests/support/BmpFileBuilder.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kGrey = 0x818181;

// A picture written as a 24-bit bitmap file, and the same pixels as the plug-in loads them.
struct Target {
  Target(const test_support::TempFolder &folder, int w, int h) : path(folder.File("target.bmp")) {
    test_support::BmpSpec spec{.width = w, .height = h};
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint32_t rgb =
            uint32_t(x * 7 % 256) << 16 | uint32_t(y * 5 % 256) << 8 | uint32_t((x + y) % 200 + 20);
        spec.pixels.push_back(rgb);
        rgb24.insert(rgb24.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
      }
    }
    const std::vector<uint8_t> bytes = test_support::EncodeBmp(spec);
    test_support::WriteWholeFile(path, {bytes.begin(), bytes.end()});
    picture = {uint32_t(w), uint32_t(h), 24, rgb24.data(), nullptr};
  }
  std::string path;
  std::vector<unsigned char> rgb24;
  tagRGBInfo picture{};
};

// What the window's client area shows, 0xRRGGBB, rows top to bottom.
std::vector<uint32_t> OnScreen(const wxWindow &window) {
  const wxPoint origin = window.ClientToScreen(wxPoint(0, 0));
  const wxSize size = window.GetClientSize();
  return GrabScreen(origin.x, origin.y, size.x, size.y);
}

// The preview pane's drawing of picture for a client area of size, on the grey ground.
std::vector<uint32_t> AsThePreviewDraws(tagRGBInfo *picture, wxSize size) {
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(kGrey >> 16, (kGrey >> 8) & 0xFF, kGrey & 0xFF)));
    dc.Clear();
    int scale = 0;
    if (picture != nullptr) CQuendaView::DrawPicture(picture, dc, size, scale);
  }
  const wxImage image = bitmap.ConvertToImage();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < size.y; ++y) {
    for (int x = 0; x < size.x; ++x) {
      pixels.push_back(uint32_t(image.GetRed(x, y)) << 16 | image.GetGreen(x, y) << 8 |
                       image.GetBlue(x, y));
    }
  }
  return pixels;
}

// The bounding box of what is not grey.
wxRect Drawn(const std::vector<uint32_t> &pixels, wxSize size) {
  int x0 = size.x, y0 = size.y, x1 = -1, y1 = -1;
  for (int y = 0; y < size.y; ++y) {
    for (int x = 0; x < size.x; ++x) {
      if (pixels[size_t(y) * size.x + x] == kGrey) continue;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  }
  return x1 < 0 ? wxRect() : wxRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

class ReviewDialog : public testing::Test {
 protected:
  void SetUp() override { engine_.Initialization(QUENDA_PLUGIN_DIR); }

  // Runs the review of path; each step gets the dialog once it has painted, and may resize it.
  // The review ends with Enter after the last step.
  int Review(const std::string &path, const std::vector<std::function<void(CDlgReview &)>> &steps) {
    CDlgReview dialog(nullptr, engine_);
    dialog.m_sfileName = path;
    size_t step = 0;
    std::vector<uint32_t> before;
    gint64 frameAsked = -1;
    std::string waitingFor;
    return RunModal(
        dialog,
        [&] {
          // Placed and painted: every event handled, a frame drawn since one was asked for (the
          // toolkit puts a window's new size and its paint off to its frame clock), and the screen
          // as it was at the poll before.
          waitingFor = "step " + std::to_string(step) + ": the window shown and settled";
          if (!ShownAndSettled(dialog)) return false;
          GdkFrameClock *clock = gtk_widget_get_frame_clock(dialog.GetHandle());
          if (clock == nullptr) return false;
          waitingFor = "step " + std::to_string(step) + ": a frame";
          if (frameAsked < 0) {
            frameAsked = gdk_frame_clock_get_frame_counter(clock);
            gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_LAYOUT);
            return false;
          }
          if (gdk_frame_clock_get_frame_counter(clock) <= frameAsked) return false;
          waitingFor = "step " + std::to_string(step) + ": the same screen at two polls";
          // A grab that failed is empty; so is the grab of an empty client area (the toolkit
          // may make an area asked to be 1 pixel wide 0), which is no failure.
          const wxSize area = dialog.GetClientSize();
          std::vector<uint32_t> shown = OnScreen(dialog);
          const bool painted =
              shown.size() == size_t(std::max(area.x, 0)) * size_t(std::max(area.y, 0)) &&
              shown == before;
          before = std::move(shown);
          if (!painted) return false;
          before.clear();
          frameAsked = -1;
          if (step < steps.size()) {
            steps[step++](dialog);
            return false;
          }
          wxKeyEvent enter(wxEVT_CHAR_HOOK);
          enter.m_keyCode = WXK_RETURN;
          dialog.ProcessWindowEvent(enter);
          return true;
        },
        [&] { return waitingFor; });
  }

  // The client area shows exactly what the preview's drawing gives for its size, and the
  // picture lands on where.
  static void ExpectShows(CDlgReview &dialog, tagRGBInfo *picture, wxRect where) {
    const wxSize size = dialog.GetClientSize();
    const std::vector<uint32_t> shown = OnScreen(dialog);
    ASSERT_EQ(shown.size(), size_t(size.x) * size.y);
    EXPECT_EQ(Drawn(shown, size), where);
    EXPECT_TRUE(shown == AsThePreviewDraws(picture, size)) << size.x << "x" << size.y;
  }

  CImageFileEngine engine_;
  test_support::ScriptedMessageBox messages_;
  test_support::TempFolder folder_;
};

// 800 x 600 at 50 pixels right of and below the centred position; a picture smaller than the
// client area is drawn at its own size in the middle; Enter ends the review.
TEST_F(ReviewDialog, TitlePlaceAndASmallTargetCentred) {
  Target target(folder_, 720, 487);
  const int result =
      Review(target.path, {[&](CDlgReview &dialog) {
               EXPECT_EQ(dialog.GetTitle().utf8_string(), target.path + " in reviewing");
               // The test display is 1280 x 1024 and has no window manager.
               EXPECT_EQ(dialog.GetRect(), wxRect(240 + 50, 212 + 50, 800, 600));
               ASSERT_EQ(dialog.GetClientSize(), wxSize(800, 600));
               ExpectShows(dialog, &target.picture, wxRect(40, 56, 720, 487));
             }});
  EXPECT_EQ(result, platform::gui::kIdOk);
  EXPECT_TRUE(messages_.Texts().empty());
}

// The window has no control that could take the keyboard, yet a real Esc from the keyboard
// reaches it and ends the review.
TEST_F(ReviewDialog, EscFromTheKeyboardEndsTheReview) {
  Target target(folder_, 64, 48);
  CDlgReview dialog(nullptr, engine_);
  dialog.m_sfileName = target.path;
  const int result = RunModal(dialog, [&] {
    if (!ShownAndSettled(dialog)) return false;
    wxUIActionSimulator().Char(WXK_ESCAPE);
    return true;
  });
  EXPECT_EQ(result, platform::gui::kIdCancel);
}

// A large picture is reduced to the width and centred in height, drawn larger when the window
// grows; while the border is dragged (the size changes with a button held, as the window
// manager holds the pointer) only the ground is painted, the picture once the button is up; a
// client area of 1 pixel stays grey, and the picture comes back when it grows again.
TEST_F(ReviewDialog, ALargeTargetFollowsTheWindowSize) {
  Target target(folder_, 1920, 1080);
  wxSize tiny;
  wxUIActionSimulator input;
  Review(
      target.path,
      {[&](CDlgReview &dialog) {
         ExpectShows(dialog, &target.picture, wxRect(0, 75, 800, 450));
         input.MouseMove(PrivateDisplay::kWidth - 2, PrivateDisplay::kHeight - 2);  // on no window
         input.MouseDown();
         dialog.SetSize(20, 20, 1100, 900);  // on the screen, to be read back
       },
       [&](CDlgReview &dialog) {
         ExpectShows(dialog, nullptr, wxRect());
         input.MouseUp();
         EXPECT_TRUE(WaitUntil(
             [&] { return Drawn(OnScreen(dialog), dialog.GetClientSize()) != wxRect(); }));
       },
       [&](CDlgReview &dialog) {
         ExpectShows(dialog, &target.picture, wxRect(0, 141, 1100, 618));
         dialog.SetClientSize(1, 300);
       },
       [&](CDlgReview &dialog) {
         tiny = dialog.GetClientSize();
         const std::vector<uint32_t> shown = OnScreen(dialog);
         EXPECT_EQ(Drawn(shown, tiny), wxRect());
         dialog.SetClientSize(400, 400);
       },
       [&](CDlgReview &dialog) { ExpectShows(dialog, &target.picture, wxRect(0, 87, 400, 225)); }});
  EXPECT_LE(tiny.x, 1);
}

// A file that cannot be loaded leaves the window grey, with its title, and nothing is said.
TEST_F(ReviewDialog, AnUnloadableTargetStaysGreyAndSilent) {
  const std::string damaged = folder_.File("damaged.bmp");
  test_support::WriteWholeFile(damaged, {'B', 'M', 1, 2, 3});
  for (const std::string &path : {damaged, folder_.File("missing.bmp")}) {
    SCOPED_TRACE(path);
    Review(path, {[&](CDlgReview &dialog) {
             EXPECT_EQ(dialog.GetTitle().utf8_string(), path + " in reviewing");
             ExpectShows(dialog, nullptr, wxRect());
           }});
  }
  EXPECT_TRUE(messages_.Texts().empty());
}

}  // namespace

// The preview pane drawn into a memory device context: where and how large a picture lands,
// the scale it reports, and that the picture's own pixels survive the drawing.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/panel.h>

#include <cstdint>
#include <random>
#include <vector>

#include "app/QuendaView.h"
#include "app/blit/StretchBlit.h"

namespace {

constexpr int kPaneW = 560;
constexpr int kPaneH = 520;
constexpr unsigned char kGrey = 0x81;

// A picture of random pixels that the test owns.
struct TestPicture {
  TestPicture(unsigned w, unsigned h, uint32_t seed) : pixels(size_t{w} * h * 3) {
    std::mt19937 rng(seed);
    for (unsigned char &b : pixels) b = static_cast<unsigned char>(rng());
    info.width = w;
    info.height = h;
    info.bitsPixl = 24;
    info.ptBits = pixels.data();
  }
  std::vector<unsigned char> pixels;
  tagRGBInfo info{};
};

struct Rgb {
  unsigned char r, g, b;
  bool operator==(const Rgb &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Rgb &c) {
  return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

class PreviewPane : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "preview test");
    auto *panel = new wxPanel(frame_);
    view_ = new CQuendaView(panel);
    view_->SetSize(0, 0, kPaneW, kPaneH);
  }
  void TearDown() override { frame_->Destroy(); }

  // Paints the pane as a paint would (ground, then picture) into a fresh bitmap.
  wxImage Render(tagRGBInfo *picture) {
    view_->UpdateImageView(picture, 0);
    wxBitmap bitmap(kPaneW, kPaneH, 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(*wxWHITE_BRUSH);
      dc.Clear();
      view_->OnEraseBkgnd(dc);
      view_->OnDraw(dc);
    }
    return bitmap.ConvertToImage();
  }

  static Rgb At(const wxImage &image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
  }

  // The bounding box of everything that is neither the grey ground nor the black outline.
  static wxRect Drawn(const wxImage &image) {
    int x0 = kPaneW, y0 = kPaneH, x1 = -1, y1 = -1;
    for (int y = 0; y < kPaneH; ++y) {
      for (int x = 0; x < kPaneW; ++x) {
        const bool outline = x == 0 || y == 0 || x == kPaneW - 1 || y == kPaneH - 1;
        if (At(image, x, y) == (outline ? Rgb{0, 0, 0} : Rgb{kGrey, kGrey, kGrey})) continue;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
    return x1 < 0 ? wxRect() : wxRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  }

  // What the pane must show at (x, y) of a fitted picture: the blitter's reduction.
  static std::vector<uint32_t> Reduced(const TestPicture &p, int dw, int dh) {
    std::vector<uint32_t> src(p.pixels.size() / 3), out(static_cast<size_t>(dw) * dh);
    for (size_t i = 0; i < src.size(); ++i) {
      src[i] = p.pixels[i * 3 + 2] | p.pixels[i * 3 + 1] << 8 | p.pixels[i * 3] << 16;
    }
    _Thum_BlitStretch(out.data(), dw, dh, src.data(), static_cast<int>(p.info.width),
                      static_cast<int>(p.info.height));
    return out;
  }

  void ExpectFitted(const TestPicture &p, const wxImage &image, wxRect where) {
    ASSERT_EQ(Drawn(image), where);
    const std::vector<uint32_t> reduced = Reduced(p, where.width, where.height);
    for (int y = 0; y < where.height; ++y) {
      for (int x = 0; x < where.width; ++x) {
        const uint32_t px = reduced[static_cast<size_t>(y) * where.width + x];
        const Rgb want{static_cast<unsigned char>(px >> 16), static_cast<unsigned char>(px >> 8),
                       static_cast<unsigned char>(px)};
        ASSERT_EQ(At(image, where.x + x, where.y + y), want) << x << "," << y;
      }
    }
  }

  wxFrame *frame_ = nullptr;
  CQuendaView *view_ = nullptr;
};

TEST_F(PreviewPane, EmptyPaneIsGreyWithBlackOutline) {
  const wxImage image = Render(nullptr);
  EXPECT_EQ(At(image, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(image, kPaneW - 1, kPaneH - 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(image, kPaneW / 2, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(Drawn(image), wxRect());
  EXPECT_EQ(At(image, 1, 1), (Rgb{kGrey, kGrey, kGrey}));
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
}

TEST_F(PreviewPane, SmallPictureAtOwnSizeCentredAndUnchanged) {
  TestPicture p(400, 300, 1);
  const std::vector<unsigned char> before = p.pixels;
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
  ASSERT_EQ(Drawn(image), wxRect(80, 110, 400, 300));
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const unsigned char *px = &before[(static_cast<size_t>(y) * 400 + x) * 3];
      ASSERT_EQ(At(image, 80 + x, 110 + y), (Rgb{px[0], px[1], px[2]})) << x << "," << y;
    }
  }
  EXPECT_EQ(p.pixels, before);
}

TEST_F(PreviewPane, WidePictureFittedToWidth) {
  TestPicture p(720, 487, 2);
  const std::vector<unsigned char> before = p.pixels;
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=77%");
  ExpectFitted(p, image, wxRect(0, 71, 560, 378));
  EXPECT_EQ(p.pixels, before);
}

TEST_F(PreviewPane, TallPictureFittedToHeight) {
  TestPicture p(1080, 1920, 3);
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=27%");
  ExpectFitted(p, image, wxRect(134, 0, 292, 520));
}

// As wide as the pane: not "fitting", so it goes through the blitter at 100 per cent.
TEST_F(PreviewPane, PictureAsWideAsPaneTakesFittedPath) {
  TestPicture p(kPaneW, 100, 4);
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
  ExpectFitted(p, image, wxRect(0, 210, kPaneW, 100));
}

// One pixel short in both directions: drawn at its own size from the corner. The outline
// lies under it, so compare the picture's corners.
TEST_F(PreviewPane, PictureOnePixelSmallerDrawnAtOrigin) {
  TestPicture p(kPaneW - 1, kPaneH - 1, 5);
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
  EXPECT_EQ(At(image, 0, 0), (Rgb{p.pixels[0], p.pixels[1], p.pixels[2]}));
  const unsigned char *last = &p.pixels[p.pixels.size() - 3];
  EXPECT_EQ(At(image, kPaneW - 2, kPaneH - 2), (Rgb{last[0], last[1], last[2]}));
  EXPECT_EQ(At(image, kPaneW - 1, kPaneH - 1), (Rgb{0, 0, 0}));
}

// Pictures that fit to no whole pixel, or have no pixels in one direction, draw nothing.
TEST_F(PreviewPane, DegeneratePicturesDrawNothing) {
  TestPicture flat(100000, 1, 6);
  EXPECT_EQ(Drawn(Render(&flat.info)), wxRect());
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
  TestPicture empty(0, 50, 7);
  EXPECT_EQ(Drawn(Render(&empty.info)), wxRect());
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
}

TEST_F(PreviewPane, PictureWiderThan32767IsFitted) {
  TestPicture p(40000, 400, 8);
  const wxImage image = Render(&p.info);
  EXPECT_EQ(view_->GetScale(), "Scale=1%");
  ExpectFitted(p, image, wxRect(0, 257, 560, 5));
}

TEST_F(PreviewPane, FrameSizingPaintsGroundOnly) {
  TestPicture p(720, 487, 9);
  Render(&p.info);
  ASSERT_EQ(view_->GetScale(), "Scale=77%");
  view_->SetFrameSizing(true);
  EXPECT_EQ(Drawn(Render(&p.info)), wxRect());
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
  view_->SetFrameSizing(false);
  EXPECT_EQ(Drawn(Render(&p.info)), wxRect(0, 71, 560, 378));
}

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "cannot start the toolkit: is a display set (DISPLAY)?\n");
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}

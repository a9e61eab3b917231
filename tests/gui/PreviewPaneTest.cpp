// The preview pane drawn into a memory device context: where and how large a picture lands,
// the scale it reports, and that the picture's own pixels survive the drawing.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "app/blit/StretchBlit.h"
#include "app/preview/QuendaView.h"

namespace {

constexpr int kPaneW = 560;
constexpr int kPaneH = 520;

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

uint32_t At(const wxImage &image, int x, int y) {
  return image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y);
}

class PreviewPane : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "preview test");
    view_ = new CQuendaView(new wxPanel(frame_));
    view_->SetSize(0, 0, kPaneW, kPaneH);
  }
  void TearDown() override { frame_->Destroy(); }

  // Paints the pane as a paint would (ground, then picture) into a fresh bitmap.
  wxImage Render(tagRGBInfo *picture) {
    view_->UpdateImageView(picture, 0);
    wxBitmap bitmap(kPaneW, kPaneH, 24);
    {
      wxMemoryDC dc(bitmap);
      view_->OnEraseBkgnd(dc);
      view_->OnDraw(dc);
    }
    return bitmap.ConvertToImage();
  }

  // The bounding box of everything that is neither the grey ground nor the black outline.
  static wxRect Drawn(const wxImage &image) {
    int x0 = kPaneW, y0 = kPaneH, x1 = -1, y1 = -1;
    for (int y = 0; y < kPaneH; ++y) {
      for (int x = 0; x < kPaneW; ++x) {
        const bool outline = x == 0 || y == 0 || x == kPaneW - 1 || y == kPaneH - 1;
        if (At(image, x, y) == (outline ? 0u : 0x818181u)) continue;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
    return x1 < 0 ? wxRect() : wxRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  }

  // A fitted picture shows exactly the blitter's reduction of its blue-green-red-0 copy.
  static void ExpectFitted(const TestPicture &p, const wxImage &image, wxRect where) {
    ASSERT_EQ(Drawn(image), where);
    std::vector<uint32_t> src(p.pixels.size() / 3), out(size_t(where.width) * where.height);
    for (size_t i = 0; i < src.size(); ++i) {
      src[i] = p.pixels[i * 3 + 2] | p.pixels[i * 3 + 1] << 8 | p.pixels[i * 3] << 16;
    }
    _Thum_BlitStretch(out.data(), where.width, where.height, src.data(), int(p.info.width),
                      int(p.info.height));
    for (int y = 0; y < where.height; ++y) {
      for (int x = 0; x < where.width; ++x) {
        ASSERT_EQ(At(image, where.x + x, where.y + y), out[size_t(y) * where.width + x])
            << x << "," << y;
      }
    }
  }

  wxFrame *frame_ = nullptr;
  CQuendaView *view_ = nullptr;
};

TEST_F(PreviewPane, EmptyPaneIsGreyWithBlackOutline) {
  const wxImage image = Render(nullptr);
  EXPECT_EQ(At(image, 0, 0), 0u);
  EXPECT_EQ(At(image, kPaneW - 1, kPaneH - 1), 0u);
  EXPECT_EQ(At(image, 1, 1), 0x818181u);
  EXPECT_EQ(Drawn(image), wxRect());
  EXPECT_EQ(view_->GetScale(), "Scale=100%");
}

// Pictures smaller than the pane in both directions, the last one by one pixel, are drawn at
// their own size, centred, and the picture's own pixels are left as they were.
TEST_F(PreviewPane, SmallPicturesAtOwnSizeCentredAndUnchanged) {
  for (const wxRect where : {wxRect(80, 110, 400, 300), wxRect(0, 0, kPaneW - 1, kPaneH - 1)}) {
    TestPicture p(where.width, where.height, where.width);
    const std::vector<unsigned char> before = p.pixels;
    const wxImage image = Render(&p.info);
    EXPECT_EQ(view_->GetScale(), "Scale=100%");
    ASSERT_EQ(Drawn(image), where);
    for (int y = 0; y < where.height; ++y) {
      for (int x = 0; x < where.width; ++x) {
        const unsigned char *px = &before[(size_t(y) * where.width + x) * 3];
        ASSERT_EQ(At(image, where.x + x, where.y + y), uint32_t(px[0] << 16 | px[1] << 8 | px[2]));
      }
    }
    EXPECT_EQ(p.pixels, before);
  }
}

// The pane draws a picture it does not own without writing into it: pixels in read-only memory
// are drawn at their own size and fitted alike.
TEST_F(PreviewPane, PictureInReadOnlyMemoryIsDrawn) {
  for (const auto &[w, h, where] : {std::tuple{400u, 300u, wxRect(80, 110, 400, 300)},
                                    std::tuple{720u, 487u, wxRect(0, 71, 560, 378)}}) {
    TestPicture p(w, h, 3);
    const size_t bytes = p.pixels.size();
    void *pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    std::memcpy(pages, p.pixels.data(), bytes);
    ASSERT_EQ(mprotect(pages, bytes, PROT_READ), 0);
    p.info.ptBits = static_cast<unsigned char *>(pages);
    EXPECT_EQ(Drawn(Render(&p.info)), where) << w;
    view_->UpdateImageView(nullptr, 0);
    munmap(pages, bytes);
  }
}

// Reduced pictures, and one exactly as wide as the pane, which does not "fit" and so goes
// through the blitter at 100 per cent; the picture's own pixels are left as they were.
TEST_F(PreviewPane, OtherPicturesAreFittedThroughTheBlitter) {
  struct Case {
    unsigned w, h;
    const char *scale;
    wxRect where;
  };
  const Case cases[] = {{720, 487, "Scale=77%", wxRect(0, 71, 560, 378)},
                        {1080, 1920, "Scale=27%", wxRect(134, 0, 292, 520)},
                        {kPaneW, 100, "Scale=100%", wxRect(0, 210, kPaneW, 100)},
                        {40000, 400, "Scale=1%", wxRect(0, 257, 560, 5)}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    TestPicture p(c.w, c.h, c.w);
    const std::vector<unsigned char> before = p.pixels;
    const wxImage image = Render(&p.info);
    EXPECT_EQ(view_->GetScale(), c.scale);
    ExpectFitted(p, image, c.where);
    EXPECT_EQ(p.pixels, before);
  }
}

// Pictures that fit to no whole pixel, or have no pixels in one direction, draw nothing and
// bring the scale back to 100.
TEST_F(PreviewPane, DegeneratePicturesDrawNothing) {
  TestPicture reduced(720, 487, 6);
  for (const auto &[w, h] : {std::pair{100000u, 1u}, std::pair{0u, 50u}}) {
    TestPicture p(w, h, 6);
    Render(&reduced.info);
    EXPECT_EQ(Drawn(Render(&p.info)), wxRect()) << w;
    EXPECT_EQ(view_->GetScale(), "Scale=100%");
  }
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

}  // namespace

#include "app/preview/QuendaView.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/print.h>

#include <cstdint>

#include "app/blit/FitToPane.h"
#include "app/blit/StretchBlit.h"
#include "app/res/Resource.h"

namespace {

// One page: the preview as the pane shows it, at the size it has on the screen.
class PreviewPrintout : public wxPrintout {
 public:
  explicit PreviewPrintout(CQuendaView *view) : wxPrintout("Quenda"), view_(view) {}

  bool OnPrintPage(int page) override {
    wxDC *dc = GetDC();
    if (page != 1 || dc == nullptr) return false;
    MapScreenSizeToPage();
    view_->OnDraw(*dc);
    return true;
  }
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int *minPage, int *maxPage, int *fromPage, int *toPage) override {
    *minPage = *maxPage = *fromPage = *toPage = 1;
  }

 private:
  CQuendaView *view_;
};

// Draws width x height pixels at x, y: red, green, blue, top row first, rows unpadded, which is
// the toolkit's own form. The toolkit reads the rows where they are, neither copied nor changed:
// they may belong to someone else, even lie in read-only memory.
void DrawRows(wxDC &dc, const unsigned char *rgb, int width, int height, int x, int y) {
  const wxImage image(width, height, const_cast<unsigned char *>(rgb), true);
  if (image.IsOk()) dc.DrawBitmap(wxBitmap(image), x, y);
}

}  // namespace

CQuendaView::CQuendaView(wxWindow *parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxSize(0, 0),
               wxFULL_REPAINT_ON_RESIZE | wxBORDER_NONE) {
  // The pane paints its whole ground itself in the paint handler.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  _Thum_InitAlphaTable();
  Bind(wxEVT_PAINT, &CQuendaView::OnPaint, this);
  Bind(wxEVT_MENU, &CQuendaView::OnCommand, this, res::ID_FILE_PRINT, res::ID_FILE_PRINT_PREVIEW);
}

void CQuendaView::UpdateImageView(tagRGBInfo *pRgbInfo, unsigned int /*uiScale*/) {
  m_pRgbInfo = pRgbInfo;
  Refresh(true);
}

std::string CQuendaView::GetScale() const {
  return "Scale=" + std::to_string(m_iScale) + "%";
}

bool CQuendaView::OnEraseBkgnd(wxDC &dc) {
  // The outline is a black rectangle with the grey one inside it, both filled without a pen:
  // a pen's corners come out blended with some toolkits' anti-aliasing.
  const wxSize size = GetClientSize();
  const wxBrush previousBrush = dc.GetBrush();
  const wxPen previousPen = dc.GetPen();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
  dc.SetBrush(wxBrush(GroundColour()));
  dc.DrawRectangle(1, 1, size.GetWidth() - 2, size.GetHeight() - 2);
  dc.SetPen(previousPen);
  dc.SetBrush(previousBrush);
  return true;
}

void CQuendaView::OnDraw(wxDC &dc) {
  if (m_pRgbInfo != nullptr && !m_bFrameSizing) {
    UpdateImage(m_pRgbInfo, dc);
  } else {
    m_iScale = 100;
  }
}

void CQuendaView::OnPaint(wxPaintEvent & /*event*/) {
  {
    wxPaintDC dc(this);
    OnEraseBkgnd(dc);
    OnDraw(dc);
  }
  if (m_onPainted) m_onPainted();
}

void CQuendaView::OnCommand(wxCommandEvent &event) {
  switch (event.GetId()) {
    case res::ID_FILE_PRINT:
      OnFilePrint();
      break;
    case res::ID_FILE_PRINT_DIRECT:
      OnFilePrintDirect();
      break;
    case res::ID_FILE_PRINT_PREVIEW:
      OnFilePrintPreview();
      break;
    default:
      event.Skip();
  }
}

void CQuendaView::OnFilePrint() {
  Print(true);
}

void CQuendaView::OnFilePrintDirect() {
  Print(false);
}

void CQuendaView::Print(bool prompt) {
  wxPrinter printer;
  PreviewPrintout printout(this);
  printer.Print(this, &printout, prompt);  // a cancelled or failed print shows nothing more
}

void CQuendaView::OnFilePrintPreview() {
  auto *preview = new wxPrintPreview(new PreviewPrintout(this), new PreviewPrintout(this));
  if (!preview->IsOk()) {
    delete preview;
    return;
  }
  auto *frame = new wxPreviewFrame(preview, wxGetTopLevelParent(this), "Quenda");
  frame->Initialize();
  frame->Show();
}

int CQuendaView::UpdateImage(tagRGBInfo *pRgbInfo, wxDC &dc) {
  return DrawPicture(pRgbInfo, dc, GetClientSize(), m_iScale);
}

int CQuendaView::DrawPicture(const tagRGBInfo *pRgbInfo, wxDC &dc, const wxSize &client,
                             int &scale) {
  scale = 100;
  if (pRgbInfo == nullptr || pRgbInfo->ptBits == nullptr) return 1;
  // A picture without pixels in one direction has nothing to draw.
  const int64_t w = pRgbInfo->width;
  const int64_t h = pRgbInfo->height;
  if (w == 0 || h == 0) return 1;
  const int64_t W = client.GetWidth();
  const int64_t H = client.GetHeight();
  if (H > h && W > w) {
    DrawOwnSize(pRgbInfo, dc, static_cast<int>((W - w) / 2), static_cast<int>((H - h) / 2));
  } else {
    DrawFitted(pRgbInfo, dc, static_cast<int>(W), static_cast<int>(H), scale);
  }
  return 1;
}

void CQuendaView::DrawOwnSize(const tagRGBInfo *pRgbInfo, wxDC &dc, int x, int y) {
  // Only called for a picture smaller than the pane, so its sizes fit the toolkit's.
  DrawRows(dc, pRgbInfo->ptBits, static_cast<int>(pRgbInfo->width),
           static_cast<int>(pRgbInfo->height), x, y);
}

void CQuendaView::DrawFitted(const tagRGBInfo *pRgbInfo, wxDC &dc, int clientW, int clientH,
                             int &scale) {
  FittedPicture fitted;
  if (!FitToPane(*pRgbInfo, clientW, clientH, fitted)) return;
  scale = fitted.scale;
  DrawRows(dc, fitted.rgb.data(), fitted.width, fitted.height, fitted.x, fitted.y);
}

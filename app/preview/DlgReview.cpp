#include "app/preview/DlgReview.h"

#include <wx/dcclient.h>
#include <wx/utils.h>

#include "app/common/DialogTemplate.h"
#include "app/common/FileNameText.h"
#include "app/preview/QuendaView.h"
#include "app/res/Resource.h"
#include "engine/TaskBasic.h"

namespace {

// How often the buttons are looked at while the border is dragged.
constexpr int kDragWatchMs = 50;

bool AnyButtonDown() {
  const wxMouseState mouse = wxGetMouseState();
  return mouse.LeftIsDown() || mouse.MiddleIsDown() || mouse.RightIsDown() || mouse.Aux1IsDown() ||
         mouse.Aux2IsDown();
}

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kOffset = 50;

}  // namespace

CDlgReview::CDlgReview(wxWindow *pParent, CImageFileEngine &imgEngine)
    : DialogBase(pParent, {},
                 wxCAPTION | wxSYSTEM_MENU | wxRESIZE_BORDER | wxMAXIMIZE_BOX | wxCLOSE_BOX),
      m_imgEngine(imgEngine) {
  CreateFromTemplate(*this, res::IDD_DLG_REVIEW);
  // The window paints all of its ground itself.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CDlgReview::OnPaint, this);
  Bind(wxEVT_SIZE, &CDlgReview::OnSize, this);
  m_dragWatch.SetOwner(this);
  Bind(wxEVT_TIMER, &CDlgReview::OnDragWatch, this, m_dragWatch.GetId());
  Bind(wxEVT_MOUSE_CAPTURE_CHANGED, [this](wxMouseCaptureChangedEvent &event) {
    Refresh();
    event.Skip();
  });
  Bind(wxEVT_CHAR_HOOK, &CDlgReview::OnCharHook, this);
}

CDlgReview::~CDlgReview() = default;

bool CDlgReview::OnInitDialog() {
  DialogBase::OnInitDialog();
  SetTitle(FileNameText(m_sfileName + " in reviewing"));
  m_pRgbInfo = nullptr;
  pTaskToReview = std::make_unique<CTaskBasic>(m_imgEngine);
  int result = 0;
  pTaskToReview->LoadRGB({m_sfileName}, 0, result);
  // A copy at its own size; none when the load failed, which nobody is told.
  m_pRgbInfo = pTaskToReview->GetRGB(1);
  const wxSize screen = wxGetDisplaySize();
  const int x0 = (screen.GetWidth() - kWidth) / 2;
  const int y0 = (screen.GetHeight() - kHeight) / 2;
  SetSize(x0 + kOffset, y0 + kOffset, kWidth, kHeight);
  // The window has no control to take the keyboard; without the focus of its own, Enter and Esc
  // would not reach it and only the close box would end the review.
  SetCanFocus(true);
  SetFocus();
  Refresh();
  return true;
}

void CDlgReview::Draw(wxDC &dc) {
  const wxSize client = GetClientSize();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(CQuendaView::GroundColour()));
  dc.DrawRectangle(0, 0, client.GetWidth(), client.GetHeight());
  if (m_pRgbInfo == nullptr || wxWindow::GetCapture() != nullptr || m_bDragging ||
      client.GetWidth() <= 1 || client.GetHeight() <= 1) {
    return;
  }
  int scale = 100;
  CQuendaView::DrawPicture(m_pRgbInfo, dc, client, scale);
}

void CDlgReview::OnPaint(wxPaintEvent &) {
  wxPaintDC dc(this);
  Draw(dc);
}

void CDlgReview::OnSize(wxSizeEvent &event) {
  // Every size change draws anew for the new size; while the border is dragged only the
  // ground, the picture once the drag has ended. X11 does not tell a window that its border is
  // dragged; a size change with a button held is taken for one.
  if (AnyButtonDown()) {
    m_bDragging = true;
    if (!m_dragWatch.IsRunning()) m_dragWatch.Start(kDragWatchMs);
  }
  Refresh();
  event.Skip();
}

void CDlgReview::OnDragWatch(wxTimerEvent &) {
  if (AnyButtonDown()) return;
  m_dragWatch.Stop();
  m_bDragging = false;
  Refresh();
}

void CDlgReview::OnCharHook(wxKeyEvent &event) {
  // Enter ends the review as the OK of a dialog without buttons would.
  const int key = event.GetKeyCode();
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers()) {
    OnOK();
    return;
  }
  event.Skip();
}

#include "app/convert/DlgStatusView.h"

#include <wx/button.h>

#include "app/common/DialogTemplate.h"
#include "app/res/Resource.h"

CDlgStatusView::CDlgStatusView(wxWindow *pParent) : DialogBase(pParent) {
  CreateFromTemplate(*this, res::IDD_DLG_STATUSVIEW);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnBtnConvert(); }, res::IDC_BTN_CONVERT_AGAIN);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnBtnReview(); }, res::IDC_BTN_REVIEW);
}

bool CDlgStatusView::OnInitDialog() {
  DialogBase::OnInitDialog();
  m_uiButton = 0;
  if (!m_bReview) {
    if (wxWindow *review = FindWindow(res::IDC_BTN_REVIEW)) review->Disable();
  }
  // The two other buttons only look like defaults: OK, first in the tab order, is the dialog's
  // default and has the focus.
  if (auto *ok = GetDlgItem<wxButton>(res::IDOK)) {
    ok->SetDefault();
    ok->SetFocus();
  }
  return true;
}

void CDlgStatusView::OnBtnConvert() {
  m_uiButton = 1;
  OnOK();
}

void CDlgStatusView::OnBtnReview() {
  m_uiButton = 2;
  OnOK();
}

// "Result Of Convert": tells the operator that an import or export succeeded and returns
// which of its three buttons was pressed. OK has the focus; Enter presses the focused button;
// Esc and the close box end the dialog as cancelled, with no button.
#pragma once

#include "platform/gui/DialogBase.h"

class CDlgStatusView : public platform::gui::DialogBase {
 public:
  explicit CDlgStatusView(wxWindow *pParent = nullptr);

  // The caller sets m_bReview before DoModal and reads m_uiButton when DoModal returned OK.
  unsigned m_uiButton = 0;  // 0 "OK", 1 "Convert Again", 2 "Target Review"
  int m_bReview = 0;        // 0 disables "Target Review"

 protected:
  bool OnInitDialog() override;

 private:
  void OnBtnConvert();
  void OnBtnReview();
};

// "Progress Status..." of a Y/C conversion: ends with OK when the task reports 100 per cent,
// as cancelled when the operator cancels. It does not watch the task's result; a task that
// fails ends the dialog through the "worker ended" flag.
#pragma once

#include "app/convert/DlgProgressBase.h"

class CDlgConProgress : public CDlgProgressBase {
 public:
  explicit CDlgConProgress(wxWindow *pParent = nullptr);

  CTaskBaseClass *m_pModeConvert = nullptr;  // the Y/C task to poll; not owned

 protected:
  CTaskBaseClass *PolledTask() const override { return m_pModeConvert; }
};

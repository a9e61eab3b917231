// "Progress Status..." of an import or export: ends with OK when the task reports 100 per
// cent, as cancelled when the operator cancels or the task reports a failure.
#pragma once

#include "app/convert/DlgProgressBase.h"

class CDlgProgress : public CDlgProgressBase {
 public:
  explicit CDlgProgress(wxWindow *pParent = nullptr);

  CTaskBaseClass *m_pTask = nullptr;  // the task to poll; not owned

 protected:
  CTaskBaseClass *PolledTask() const override { return m_pTask; }
};

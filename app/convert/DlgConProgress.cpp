#include "app/convert/DlgConProgress.h"

#include "app/res/Resource.h"

CDlgConProgress::CDlgConProgress(wxWindow *pParent)
    : CDlgProgressBase(pParent, res::IDD_DLG_CONPROGRESS, false) {}

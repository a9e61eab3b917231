#include "app/convert/DlgProgress.h"

#include "app/res/Resource.h"

CDlgProgress::CDlgProgress(wxWindow *pParent)
    : CDlgProgressBase(pParent, res::IDD_DLG_PROGRESS, true) {}

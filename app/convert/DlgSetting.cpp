#include "app/convert/DlgSetting.h"

#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "app/common/DialogTemplate.h"
#include "app/common/FileNameText.h"
#include "app/common/SystemFontForEdit.h"
#include "app/convert/TargetFolder.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "codec/TargetName.h"
#include "engine/TaskBatch.h"
#include "platform/MessageBox.h"

namespace {

using namespace res;

// The controls an export or a number of files leaves out.
constexpr int kSizeChoices[] = {IDC_RDO_SIZE_720_487, IDC_RDO_SIZE_720_576, IDC_RDO_SIZE_1280_720,
                                IDC_RDO_SIZE_1920_1080};
constexpr int kCompositeControls[] = {IDC_RDO_COMPOSITE_NONE, IDC_RDO_COMPOSITE_2,
                                      IDC_RDO_COMPOSITE_3, IDC_RDO_COMPOSITE_4, IDC_GRP_COMPOSITE};
constexpr int kShiftControls[] = {IDC_RDO_SHIFT_UP, IDC_RDO_SHIFT_NORMAL, IDC_RDO_SHIFT_DOWN,
                                  IDC_GRP_SHIFT};

// The columns of the list of selected files: heading and width in average characters.
struct FilesColumn {
  const char *heading;
  int characters;
};
constexpr FilesColumn kFilesColumns[] = {
    {"No.", 3 + 2}, {"Files name in full path       ", 30 + 2}, {"Width * Height", 14 + 2}};

}  // namespace

CDlgSetting::CDlgSetting(wxWindow *pParent, const std::vector<std::string> &files,
                         CImageFileEngine &imgEngine)
    : DialogBase(pParent), m_imgEngine(imgEngine), m_sfilesInChoose(files) {
  CreateFromTemplate(*this, IDD_DLG_SETTING);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent &) { OnBtnBrowse(); }, IDC_BTN_BROWSE);
  Bind(
      wxEVT_RADIOBUTTON, [this](wxCommandEvent &) { OnRdoComposite(); }, IDC_RDO_COMPOSITE_NONE);
  Bind(
      wxEVT_RADIOBUTTON, [this](wxCommandEvent &) { OnRdoComposite4(); }, IDC_RDO_COMPOSITE_2,
      IDC_RDO_COMPOSITE_4);
}

bool CDlgSetting::DoDataExchange(bool save) {
  m_fView = GetDlgItem<wxListCtrl>(IDC_LIST_FILES);
  if (save) {
    const int checked = GetCheckedRadioButton(IDC_RDO_SIZE_720_487, IDC_RDO_SIZE_1920_1080);
    m_iImgSize = checked == 0 ? -1 : checked - IDC_RDO_SIZE_720_487;
    m_sTarget = FileNameBehind(GetDlgItemText(IDC_EDIT_TARGET), m_sShownTarget);
    m_sImageSize = GetDlgItemText(IDC_STATIC_IMAGESIZE);
  } else {
    CheckRadioButton(IDC_RDO_SIZE_720_487, IDC_RDO_SIZE_1920_1080,
                     IDC_RDO_SIZE_720_487 + m_iImgSize);
    ShowTarget(m_sTarget);
    SetDlgItemText(IDC_STATIC_IMAGESIZE, m_sImageSize);
  }
  return true;
}

bool CDlgSetting::OnInitDialog() {
  // A window of its own for every run, so nothing of an earlier run (the list's columns and
  // rows, disabled choices) carries over.
  DestroyChildren();
  CreateFromTemplate(*this, IDD_DLG_SETTING);
  DialogBase::OnInitDialog();
  SetSystemFontForEdit(this, IDC_EDIT_TARGET);
  ShowSideControls();
  OfferChoices();

  m_srcName = m_sTarget;
  m_dstPath = SourceFolderOf(m_sTarget);
  ShowTarget(m_dstPath);
  CentreOnScreen();
  // The controls are new, so nothing in the window has the keyboard yet: OK, first in the tab
  // order, takes it, and Esc and Enter reach the dialog at once.
  if (wxWindow *ok = FindWindow(platform::gui::kIdOk)) ok->SetFocus();
  return true;
}

void CDlgSetting::ShowSideControls() {
  const auto hide = [this](int id) {
    if (wxWindow *control = FindWindow(id)) control->Hide();
  };
  if (!m_bExport) {
    hide(IDC_STATIC_IMAGESIZE);
    hide(IDC_STATIC_SIZELABEL);
    hide(IDC_LIST_FILES);
    return;
  }
  for (int id : kSizeChoices) hide(id);
  if (m_ifilesNum > 1) {
    hide(IDC_STATIC_IMAGESIZE);
    hide(IDC_STATIC_SIZELABEL);
    OnUpdateFilesList(m_sfilesInChoose);
  } else {
    hide(IDC_LIST_FILES);
  }
}

void CDlgSetting::OfferChoices() {
  const auto disable = [this](int id) {
    if (wxWindow *control = FindWindow(id)) control->Disable();
  };
  if (m_bExport) {
    m_iCompositeMode = 0;
    for (int id : kCompositeControls) disable(id);
  }
  CheckRadioButton(IDC_RDO_COMPOSITE_NONE, IDC_RDO_COMPOSITE_4, IDC_RDO_COMPOSITE_NONE);
  // A grid of n by n cells takes at most n * n files.
  for (int n = 2; n <= 4; ++n) {
    if (m_ifilesNum > n * n) disable(IDC_RDO_COMPOSITE_NONE + n - 1);
  }
  if (m_bExport || m_ifilesNum > 1) {
    m_iShiftMode = 1;
    for (int id : kShiftControls) disable(id);
  }
  CheckRadioButton(IDC_RDO_SHIFT_UP, IDC_RDO_SHIFT_DOWN, IDC_RDO_SHIFT_NORMAL);
}

void CDlgSetting::OnOK() {
  if (const int shift = GetCheckedRadioButton(IDC_RDO_SHIFT_UP, IDC_RDO_SHIFT_DOWN)) {
    m_iShiftMode = shift - IDC_RDO_SHIFT_UP;
  }
  if (const int composite = GetCheckedRadioButton(IDC_RDO_COMPOSITE_NONE, IDC_RDO_COMPOSITE_4)) {
    m_iCompositeMode = composite - IDC_RDO_COMPOSITE_NONE;
  }
  if (m_sTarget.empty()) {
    platform::ShowMessageBox(LoadString(IDS_INVALID_PATH));
    return;
  }
  if (m_fView != nullptr) m_fView->DeleteAllItems();
  DialogBase::OnOK();
}

void CDlgSetting::OnCancel() {
  if (m_fView != nullptr) m_fView->DeleteAllItems();
  DialogBase::OnCancel();
}

int CDlgSetting::OnUpdateFilesList(const std::vector<std::string> &files) {
  if (m_fView == nullptr) return 1;
  const int charWidth = GetCharWidth();
  for (int i = 0; i < static_cast<int>(std::size(kFilesColumns)); ++i) {
    m_fView->InsertColumn(i, wxString::FromUTF8(kFilesColumns[i].heading), wxLIST_FORMAT_LEFT,
                          kFilesColumns[i].characters * charWidth);
  }
  // The batch task reads each file's record and size without its pixels.
  CTaskBatch task(m_imgEngine);
  int result = 0;
  task.LoadRGB(files, 0, result);
  int filesNum = 0;
  const tagFileInfo *record = task.GetFilesPropety(filesNum);
  // The chain holds the files in list order up to the first that gives no record. The path
  // comes from the list, whole: a record's name field holds no more than 259 characters.
  for (size_t i = 0; record != nullptr && i < files.size(); record = record->next, ++i) {
    const long row = m_fView->InsertItem(static_cast<long>(i), std::to_string(i + 1));
    m_fView->SetItem(row, 1, FileNameText(files[i]));
    m_fView->SetItem(row, 2,
                     std::to_string(static_cast<int>(record->rgbInfo.width)) + "*" +
                         std::to_string(static_cast<int>(record->rgbInfo.height)));
  }
  return 1;
}

void CDlgSetting::OnBtnBrowse() {
  if (const int composite = GetCheckedRadioButton(IDC_RDO_COMPOSITE_NONE, IDC_RDO_COMPOSITE_4)) {
    m_iCompositeMode = composite - IDC_RDO_COMPOSITE_NONE;
  }
  const std::optional<std::string> folder = BrowseForFolder(this, m_dstPath);
  if (!folder) return;
  m_dstPath = WithTrailingSeparator(*folder);
  ShowTarget(m_iCompositeMode > 0 ? CompositeTarget() : m_dstPath);
}

void CDlgSetting::OnRdoComposite() {
  ShowTarget(m_dstPath);
}

void CDlgSetting::OnRdoComposite4() {
  ShowTarget(CompositeTarget());
}

std::string CDlgSetting::CompositeTarget() const {
  return m_dstPath + MakeTargetName(m_srcName, m_sExt);
}

void CDlgSetting::ShowTarget(const std::string &target) {
  m_sTarget = target;
  m_sShownTarget = target;
  if (auto *edit = GetDlgItem<wxTextCtrl>(IDC_EDIT_TARGET)) edit->ChangeValue(FileNameText(target));
}

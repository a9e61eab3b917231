#include "app/filepane/FilesView.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/stattext.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/common/DialogTemplate.h"
#include "app/core/FileTypeRules.h"
#include "app/core/PaneSettings.h"
#include "app/filepane/ComboBoxColor.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/DlgFileProperty.h"
#include "app/filepane/DlgRename.h"
#include "app/filepane/ListCtrlFile.h"
#include "app/filepane/TreeCtrlFolder.h"
#include "app/preview/QuendaView.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "codec/DeviceFileName.h"
#include "codec/KdtFormatName.h"
#include "engine/TaskBasic.h"
#include "platform/FileExtension.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/StringCase.h"

namespace {

// The settings section is read to this many characters, however long the saved folder grew.
constexpr size_t kSettingsReadSize = 260;

// The colour of the pane's captions.
const wxColour kCaptionColour(20, 112, 62);

// The settings file: Quenda.ini in the dll/ folder beside the program.
std::string SettingsFilePath() {
  return platform::ExecutableFolder() + "dll" + platform::kPathSeparator + "Quenda.ini";
}

// The folder saved at the last close: the value of SourceKey, or "" when the file, the section
// or the entry is missing.
std::string ReadSourceKey(const std::string &path) {
  return SourceKeyOf(platform::ReadIniSection(path, kSettingsSection, kSettingsReadSize),
                     kSettingsReadSize);
}

// Writes the section as the one entry SourceKey.
void WriteSourceKey(const std::string &path, const std::string &value) {
  platform::ReplaceIniSection(path, kSettingsSection, {SourceKeyEntry(value)});
}

}  // namespace

CFilesView::CFilesView(wxWindow *parent)
    : wxScrolled<wxPanel>(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                          wxTAB_TRAVERSAL | wxFULL_REPAINT_ON_RESIZE) {
  if (const res::DialogTemplate *form = CreateFromTemplate(
          *this, res::IDD_FILESVIEW,
          [this](const res::DialogControl &control, const wxPoint &position, const wxSize &size) {
            return CreateControl(static_cast<int>(control.id), position, size);
          })) {
    // The form scrolls when the pane is lower than the form, never sideways.
    SetVirtualSize(ConvertDialogToPixels(wxSize(form->width, form->height)));
    SetScrollRate(0, 10);
  }
  for (int id : {res::IDC_STC_DIRECTORY, res::IDC_STC_FILES, res::IDC_STC_FILTER}) {
    if (wxWindow *caption = FindWindow(id)) caption->Hide();
  }
  m_imgEngine.Initialization();
  m_sFilesSet = m_imgEngine.GetFilesSet();

  Bind(wxEVT_SIZE, &CFilesView::OnSize, this);
  Bind(wxEVT_PAINT, &CFilesView::OnDraw, this);
  Bind(wxEVT_CHOICE, &CFilesView::OnSelFilter, this, res::IDC_CMB_FILTER);
}

CFilesView::~CFilesView() {
  // A task is never deleted under its worker.
  WaitForConversion();
  // The window's own destruction comes after this, so the steps of its end run here.
  OnDestroy();
  ClearPreview();
  m_pTaskOfConvert.reset();
  m_sfilesInChoose.clear();
}

wxWindow *CFilesView::CreateControl(int id, const wxPoint &position, const wxSize &size) {
  switch (id) {
    case res::IDC_LST_FILES:
      m_lstFiles = new CListCtrlFile(this, id, position, size);
      return m_lstFiles;
    case res::IDC_CMB_DIRECTORY:
      m_cmbDirectory = new CComboBoxFolder(this, id);
      m_cmbDirectory->SetSize(wxRect(position, wxSize(size.x, m_cmbDirectory->GetSize().y)));
      return m_cmbDirectory;
    case res::IDC_CMB_FILTER:
      // The template's height is that of the dropped list; the field keeps its own height.
      m_cmbFilter = new CComboBoxColor(this, id, position, wxSize(size.x, -1));
      return m_cmbFilter;
    default:
      return nullptr;
  }
}

void CFilesView::OnInitialUpdate() {
  if (m_bInitialUpdateDone) return;
  m_bInitialUpdateDone = true;
  // The tree lists the folder it opens on; the list needs no tree for that.
  m_cmbDirectory->Initilize(0, 300, this, ReadSourceKey(SettingsFilePath()));
  m_lstFiles->Initilize(m_cmbDirectory->GetTreeCtrl(), this);

  m_cmbFilter->Append(kKdtPattern);
  std::string patterns = m_sFilesSet + ";";
  for (size_t start = 0, end; (end = patterns.find(';', start)) != std::string::npos;
       start = end + 1) {
    if (end > start) m_cmbFilter->Append(wxString::FromUTF8(patterns.substr(start, end - start)));
  }
  m_cmbFilter->Append("*.*");
  m_cmbFilter->SetStringSelection(wxString::FromUTF8(m_sFilter));
}

void CFilesView::OnSize(wxSizeEvent &event) {
  event.Skip();
  if (m_lstFiles == nullptr) return;
  const int width = GetClientSize().x - 2;
  for (wxWindow *control :
       {static_cast<wxWindow *>(m_cmbDirectory), static_cast<wxWindow *>(m_lstFiles),
        static_cast<wxWindow *>(m_cmbFilter)}) {
    if (control == nullptr) continue;
    const wxRect rect = control->GetRect();
    control->SetSize(rect.x, rect.y, width, rect.height);
    control->Refresh();
  }
}

void CFilesView::OnDraw(wxPaintEvent &) {
  wxPaintDC dc(this);
  const std::pair<int, const char *> captions[] = {{res::IDC_STC_DIRECTORY, "Directory"},
                                                   {res::IDC_STC_FILES, "Files"},
                                                   {res::IDC_STC_FILTER, "Filter"}};
  for (const auto &[id, text] : captions) {
    wxWindow *caption = FindWindow(id);
    if (caption == nullptr) continue;
    caption->Hide();
    // The static's place in the window, which already follows the scroll position.
    Draw3DText(dc, text, caption->GetRect());
  }
}

void CFilesView::Draw3DText(wxDC &dc, const wxString &str, const wxRect &rect) {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  font.SetFaceName("Arial");
  font.SetWeight(wxFONTWEIGHT_BOLD);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxFont oldFont = dc.GetFont();
  const wxColour oldColour = dc.GetTextForeground();
  dc.SetFont(font);
  dc.SetTextForeground(kCaptionColour);
  dc.DrawLabel(str, wxRect(rect.GetPosition() + wxPoint(1, 1), rect.GetSize()),
               wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
  dc.SetTextForeground(oldColour);
  dc.SetFont(oldFont);
}

CQuendaView *CFilesView::GetRightPane() const {
  // While the main window is being destroyed it is no main window any more, and its panes are
  // left alone.
  auto *frame = dynamic_cast<PreviewHost *>(wxGetTopLevelParent(const_cast<CFilesView *>(this)));
  return frame != nullptr ? frame->GetRightPane() : nullptr;
}

void CFilesView::ClearPreview() {
  // The preview pane never holds a picture of a deleted task.
  if (CQuendaView *view = GetRightPane()) view->UpdateImageView(nullptr, m_bExport);
  m_pTaskOfPreview.reset();
}

void CFilesView::OnUpdateFilesList(const std::vector<std::string> &files,
                                   CTaskBaseClass::TaskType) {
  m_sfilesInChoose.clear();
  m_lstFiles->GetFilesInChoose(m_sfilesInChoose);
  ClearPreview();
  if (files.empty() || m_sfilesInChoose.size() != 1) return;

  // The one file of the selection, which need not be the item just reported (a ctrl-click
  // that deselects reports the item it deselected).
  const std::string path = m_sfilesInChoose.front();
  m_pTaskOfPreview = std::make_unique<CTaskBasic>(m_imgEngine);
  int ret = 0;
  m_pTaskOfPreview->LoadRGB({path}, 0, ret);
  tagRGBInfo *picture = m_pTaskOfPreview->GetRGB(1);
  if (picture != nullptr) {
    if (CQuendaView *view = GetRightPane()) view->UpdateImageView(picture, m_bExport);
    return;
  }
  // A file whose path is too long to be loaded is not called damaged.
  platform::ShowMessageBox(
      path + res::LoadString(PathFitsRecord(path) ? res::IDS_CANNOT_LOAD : res::IDS_PATH_TOO_LONG));
}

void CFilesView::ViewProperty() {
  if (m_pTaskOfPreview == nullptr) return;
  int filesNum = 0;
  const tagFileInfo *record = m_pTaskOfPreview->GetFilesPropety(filesNum);
  if (record == nullptr) return;
  const std::string path = FileNameOf(*record);

  CDlgFileProperty dlg;
  uint64_t kilobytes = 0;
  if (const auto size = platform::FileSize(path)) {
    kilobytes = *size >> 10;
    if (const auto time = platform::LastWriteTime(path)) {
      char text[64];
      std::snprintf(text, sizeof text, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d", time->month, time->day,
                    time->year, time->hour, time->minute, time->second);
      dlg.m_sUpdateTime = text;
    }
  }
  // Both are signed: a bitmap stored top row first records a negative height.
  dlg.m_sWidth = std::to_string(static_cast<int32_t>(record->rgbInfo.width)) + "*" +
                 std::to_string(static_cast<int32_t>(record->rgbInfo.height));
  dlg.m_sBits = std::to_string(kilobytes);
  if (const auto extension = platform::ExtensionOf(path))
    dlg.m_sFormat = platform::ToUpper(*extension);
  dlg.m_sFileName = path;
  dlg.DoModal();
}

void CFilesView::ReName() {
  if (m_sfilesInChoose.empty()) return;
  const std::string source = m_sfilesInChoose.front();
  const size_t slash = source.rfind(platform::kPathSeparator);
  const std::string folder = slash == std::string::npos ? "" : source.substr(0, slash + 1);
  const std::string name = source.substr(folder.size());

  CDlgRename dlg;
  dlg.m_srcName = name;
  dlg.m_sPath = folder;
  dlg.m_sNum = NumberFieldOf(name);
  if (dlg.DoModal() != platform::gui::kIdOk) return;

  // A file that appeared under the new name since the dialog looked is never replaced. Under a
  // name too long for a record the still could neither be previewed nor converted any more.
  const std::string target = folder + dlg.m_sNewName;
  if (!PathFitsRecord(target)) {
    platform::ShowMessageBox(target + res::LoadString(res::IDS_PATH_TOO_LONG));
    return;
  }
  if (const std::error_code error = platform::RenameFile(source, target)) {
    platform::ShowMessageBox(source + " could not be renamed to " + dlg.m_sNewName + ": " +
                             error.message());
    return;
  }
  for (std::string &selected : m_sfilesInChoose) {
    if (selected == source) selected = target;
  }
  // The previewed file is the renamed one: its record names it by the new name, so that its
  // properties are read from the file as it is now called.
  int filesNum = 0;
  tagFileInfo *record = m_pTaskOfPreview ? m_pTaskOfPreview->GetFilesPropety(filesNum) : nullptr;
  if (record != nullptr && FileNameOf(*record) == source)
    std::memcpy(record->filename, target.c_str(), target.size() + 1);
  m_cmbDirectory->UpdateFolderAgain();
}

int CFilesView::IsValidFileType(const std::string &strFile) const {
  return PassesFilter(m_sFilter, strFile);
}

int CFilesView::IsEnableConvert() {
  if (!m_bAnyExt) return 1;
  // The menus and the toolbar ask at every idle update; the answer changes only with the
  // selection.
  const unsigned long generation = m_lstFiles->SelectionGeneration();
  if (generation != m_convertCheckedFor) {
    m_convertCheckedFor = generation;
    m_convertSide = -1;
    m_bConvertible = IsSelectionConvertible(m_lstFiles->ChosenFiles(), m_sFilesSet, m_convertSide);
  }
  if (m_convertSide >= 0) m_bExport = m_convertSide;
  return m_bConvertible;
}

void CFilesView::OnDestroy() {
  if (m_bDestroyed) return;
  m_bDestroyed = true;
  if (m_lstFiles != nullptr) m_lstFiles->DeleteAllItems();
  if (m_cmbFilter != nullptr) m_cmbFilter->Clear();
  WriteSourceKey(SettingsFilePath(), m_sSourceDirectory);
}

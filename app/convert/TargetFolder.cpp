#include "app/convert/TargetFolder.h"

#include <wx/dirdlg.h>

#include "app/common/FileNameText.h"
#include "platform/Path.h"
#include "platform/gui/FileDialogChoice.h"

namespace {

FolderBrowser &ReplacedBrowser() {
  static FolderBrowser browser;
  return browser;
}

std::optional<std::string> NativeBrowser(wxWindow *owner, const std::string &startFolder) {
  wxDirDialog dialog(owner, "Please select a folder", ToolkitFileName(startFolder),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const std::string chosen = platform::gui::FileDialogChoice(dialog);
  // A choice that is no file-system folder changes nothing.
  if (chosen.empty()) return std::nullopt;
  return chosen;
}

}  // namespace

std::string SourceFolderOf(const std::string &sourcePath) {
  const size_t last = sourcePath.rfind(platform::kPathSeparator);
  if (last == std::string::npos || last == 0) return {};
  return sourcePath.substr(0, last + 1);
}

std::string WithTrailingSeparator(const std::string &folder) {
  if (!folder.empty() && folder.back() == platform::kPathSeparator) return folder;
  return folder + platform::kPathSeparator;
}

std::optional<std::string> BrowseForFolder(wxWindow *owner, const std::string &startFolder) {
  if (const FolderBrowser &browser = ReplacedBrowser()) return browser(owner, startFolder);
  return NativeBrowser(owner, startFolder);
}

void SetFolderBrowser(FolderBrowser browser) {
  ReplacedBrowser() = std::move(browser);
}

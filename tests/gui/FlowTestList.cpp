// The file list of the file pane driven as the operator drives it: the filter chosen, items
// clicked, the folder listed again.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/uiaction.h>

#include <filesystem>

#include "FlowTestSupport.h"
#include "app/filepane/ComboBoxColor.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/filepane/ListCtrlFile.h"

namespace flow_test {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void Relist() {
  Pane().m_cmbDirectory->UpdateFolderAgain();
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

void ResetWork() {
  for (const char *folder : {"work", "out"}) {
    const fs::path path = fs::path(Home()) / folder;
    fs::remove_all(path);
    fs::create_directories(path);
  }
  Relist();
  Select({});
}

void ChooseFilter(const std::string &filter) {
  wxChoice *choice = Pane().m_cmbFilter;
  ASSERT_TRUE(choice->SetStringSelection(filter)) << filter;
  wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
  event.SetEventObject(choice);
  event.SetInt(choice->GetSelection());
  event.SetString(filter);
  choice->ProcessWindowEvent(event);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

namespace {

long ItemOf(const std::string &name) {
  return Pane().m_lstFiles->FindItem(-1, wxString::FromUTF8(name));
}

void ClickAt(wxWindow &window, const wxPoint &point, int modifiers) {
  wxUIActionSimulator mouse;
  if (modifiers != 0) mouse.KeyDown(0, modifiers);
  mouse.MouseMove(window.ClientToScreen(point));
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  SingleClick(mouse);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  if (modifiers != 0) mouse.KeyUp(0, modifiers);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
}

// A point inside the label of item.
wxPoint LabelPoint(wxListCtrl &list, long item) {
  wxRect rect;
  list.GetItemRect(item, rect, wxLIST_RECT_LABEL);
  return rect.GetPosition() + wxPoint(4, rect.height / 2);
}

}  // namespace

bool IsListed(const std::string &name) {
  return ItemOf(name) >= 0;
}

bool Select(const std::vector<std::string> &names) {
  wxListCtrl &list = *Pane().m_lstFiles;
  if (names.empty()) {
    const int count = list.GetItemCount();
    wxRect last(0, 0, 0, 0);
    if (count > 0) list.GetItemRect(count - 1, last);
    ClickAt(list, wxPoint(10, std::min(last.GetBottom() + 12, list.GetClientSize().y - 4)), 0);
    return true;
  }
  bool first = true;
  for (const std::string &name : names) {
    if (!ClickOn(name, first ? 0 : wxMOD_CONTROL)) return false;
    first = false;
  }
  return true;
}

bool ClickOn(const std::string &name, int modifiers) {
  wxListCtrl &list = *Pane().m_lstFiles;
  const long item = ItemOf(name);
  if (item < 0) return false;
  list.EnsureVisible(item);
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  ClickAt(list, LabelPoint(list, item), modifiers);
  return true;
}

bool DoubleClickOn(const std::string &name) {
  wxListCtrl &list = *Pane().m_lstFiles;
  const long item = ItemOf(name);
  if (item < 0) return false;
  wxUIActionSimulator mouse;
  mouse.MouseMove(list.ClientToScreen(LabelPoint(list, item)));
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  // The first click as a click of its own, so that no click before it joins this pair.
  SingleClick(mouse);
  mouse.MouseClick();
  EXPECT_TRUE(WaitUntil(ToolkitIdle));
  return true;
}

}  // namespace flow_test

// Helpers for the end-to-end tests of the conversion workflows: the program's real start-up on a
// private display, with HOME in a temporary folder and the settings file naming its "work"
// folder as the start folder; files made and read back through the build's plug-ins; the file
// list driven with real clicks; and the program's dialogs answered by a script as they come up.
#pragma once

#include <wx/dialog.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "engine/ImageFileEngine.h"
#include "platform/MessageBox.h"

class CFilesView;
class CMainFrame;

namespace flow_test {

CMainFrame &Frame();
CFilesView &Pane();

// HOME of the program under test and the folder the file pane lists ("work" in HOME).
const std::string &Home();
std::string Work(const std::string &name = "");

// A picture of 24-bit pixels, top row first.
struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<unsigned char> bits;
  static Picture Solid(uint32_t width, uint32_t height, uint32_t rgb);
  // Every pixel different from its neighbours, row by row.
  static Picture Pattern(uint32_t width, uint32_t height, unsigned seed);
  uint32_t At(uint32_t x, uint32_t y) const;
};

// Writes and reads pictures through the build's plug-ins ("BMP" or "KDT").
void WritePicture(const std::string &path, Picture picture, const std::string &format);
Picture ReadPicture(const std::string &path);

// Empties the work folder (and "out" in HOME), then lists it again.
void ResetWork();
// Lists the work folder again, as the pane does after a conversion.
void Relist();
// Chooses a filter entry ("*.KDT", "*.BMP", "*.*") as the operator does.
void ChooseFilter(const std::string &filter);
// Clicks the named items of the list, the first plainly and the others with Ctrl held; an empty
// list clicks below the last item. False when a name is not listed.
bool Select(const std::vector<std::string> &names);
// Clicks the item shown as name with modifiers (wxMOD_CONTROL, wxMOD_SHIFT) held, or
// double-clicks it. False when it is not listed.
bool ClickOn(const std::string &name, int modifiers = 0);
bool DoubleClickOn(const std::string &name);
bool IsListed(const std::string &name);

// Message boxes of the run: every text is recorded; a message is answered OK at once; a
// question waits until the test answers it.
class MessageBoxes : public platform::MessageBoxService {
 public:
  MessageBoxes();
  ~MessageBoxes() override;
  platform::MessageAnswer Show(const std::string &text, platform::MessageButtons buttons) override;

  std::vector<std::string> Texts() const;
  // True while a question waits for its answer.
  bool Asking() const { return m_asking != 0; }
  // Answers the question that waits, or the next one.
  void Answer(platform::MessageAnswer answer);
  // Questions from now on are answered with answer at once.
  void AnswerAll(platform::MessageAnswer answer);

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_answered;
  std::deque<platform::MessageAnswer> m_answers;
  bool m_bAnswerAll = false;
  platform::MessageAnswer m_all = platform::MessageAnswer::No;
  std::vector<std::string> m_texts;
  std::atomic<int> m_asking{0};
};

// Stands in for a slow disk under one folder: while an object lives, every opening of a file
// for writing under folder (given with its closing "/") waits on a latch that opens after
// hold, on the thread that opens it. So a worker's write can be kept from failing until after
// the progress dialog has seen the task reach 100 and gone. The object must outlive the
// writes it holds.
class HeldWrites {
 public:
  HeldWrites(std::string folder, std::chrono::milliseconds hold);
  ~HeldWrites();
  HeldWrites(const HeldWrites &) = delete;
  HeldWrites &operator=(const HeldWrites &) = delete;
  // How many openings were held.
  int Held() const { return m_held; }
  // Called by the openings: waits when path lies in the folder.
  void HoldIfHeld(const char *path);

 private:
  const std::string m_folder;
  const std::chrono::steady_clock::time_point m_open;
  std::atomic<int> m_held{0};
  std::mutex m_mutex;
  std::condition_variable m_opened;
  bool m_bOpen = false;
};

// Acts on the program's modal dialogs as they come up, in order. A step is given the dialog
// shown on top and returns true once it is done with it; false to wait for the next tick. A
// dialog on top for 20 s (one no step expects, or one its step leaves open) fails the test and
// is cancelled.
class DialogScript {
 public:
  using Step = std::function<bool(wxDialog &)>;
  explicit DialogScript(std::vector<Step> steps);
  ~DialogScript();
  // Steps not reached.
  size_t Left() const { return m_steps.size() - m_next; }
  // Names of the dialogs seen, by caption, in order.
  const std::vector<std::string> &Seen() const { return m_seen; }

 private:
  std::vector<Step> m_steps;
  size_t m_next = 0;
  std::vector<std::string> m_seen;
  wxDialog *m_last = nullptr;
  std::chrono::steady_clock::time_point m_lastSince;
  Poll *m_poll = nullptr;
};

// A step for a dialog of class D: act is called once the dialog is on the screen and settled.
template <class D>
DialogScript::Step On(std::function<void(D &)> act) {
  return [act](wxDialog &dialog) {
    auto *d = dynamic_cast<D *>(&dialog);
    if (d == nullptr || !ShownAndSettled(*d)) return false;
    act(*d);
    return true;
  };
}
// A step that waits for a dialog of class D and does nothing to it (it ends by itself).
template <class D>
DialogScript::Step Expect() {
  return [](wxDialog &dialog) { return dynamic_cast<D *>(&dialog) != nullptr; };
}

// Presses the button id of dialog as a click does.
void Press(wxDialog &dialog, int id);
// Sets the text of edit id in dialog.
void SetEdit(wxDialog &dialog, int id, const std::string &text);
// Checks radio button id in dialog as a click does.
void CheckRadio(wxDialog &dialog, int id);

// Sends a command as the menu bar does when one of its items is chosen.
void ChooseMenu(unsigned id);
// Clicks a toolbar button.
void ClickTool(unsigned id);
// Runs the update handlers of the menu bar's "&Convert" menu and of the toolbar, as opening the
// menu and idle time do.
void UpdateCommands();

// Handles events until done returns true or the time is up; true when done.
bool PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds limit);

}  // namespace flow_test

#include "FlowTestSupport.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdarg.h>
#include <stdlib.h>
#include <unistd.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/filepane/FilesView.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/gui/MenuCommandIds.h"

// The openings of files held by HeldWrites: the C library's, replaced in this program (the
// program's code, the toolkit and the plug-ins it loads all open through them), each handing
// on to the library's own once a write has waited.
namespace {

std::atomic<flow_test::HeldWrites *> g_heldWrites{nullptr};

void HoldWrite(const char *path, bool writing) {
  flow_test::HeldWrites *held = g_heldWrites.load();
  if (held != nullptr && writing && path != nullptr) held->HoldIfHeld(path);
}

bool WritingMode(const char *mode) {
  return mode != nullptr && std::strpbrk(mode, "wa+") != nullptr;
}

template <class Function>
Function Real(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using OpenFunction = int (*)(const char *, int, ...);

int OpenFile(OpenFunction real, const char *path, int flags, va_list rest) {
  const bool creating = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  const mode_t mode = creating ? va_arg(rest, mode_t) : 0;
  HoldWrite(path, (flags & O_ACCMODE) != O_RDONLY || creating);
  return real(path, flags, mode);
}

}  // namespace

// Named by their symbols: with large-file offsets the headers rename fopen and open to their
// 64-bit forms, while code built otherwise calls the plain ones.
extern "C" FILE *HeldFopen(const char *path, const char *mode) __asm__("fopen");
extern "C" FILE *HeldFopen64(const char *path, const char *mode) __asm__("fopen64");
extern "C" int HeldOpen(const char *path, int flags, ...) __asm__("open");
extern "C" int HeldOpen64(const char *path, int flags, ...) __asm__("open64");

FILE *HeldFopen(const char *path, const char *mode) {
  HoldWrite(path, WritingMode(mode));
  static const auto real = Real<FILE *(*)(const char *, const char *)>("fopen");
  return real(path, mode);
}

FILE *HeldFopen64(const char *path, const char *mode) {
  HoldWrite(path, WritingMode(mode));
  static const auto real = Real<FILE *(*)(const char *, const char *)>("fopen64");
  return real(path, mode);
}

int HeldOpen(const char *path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  static const auto real = Real<OpenFunction>("open");
  const int fd = OpenFile(real, path, flags, rest);
  va_end(rest);
  return fd;
}

int HeldOpen64(const char *path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  static const auto real = Real<OpenFunction>("open64");
  const int fd = OpenFile(real, path, flags, rest);
  va_end(rest);
  return fd;
}

namespace flow_test {

using namespace std::chrono_literals;

HeldWrites::HeldWrites(std::string folder, std::chrono::milliseconds hold)
    : m_folder(std::move(folder)), m_open(std::chrono::steady_clock::now() + hold) {
  g_heldWrites.store(this);
}

HeldWrites::~HeldWrites() {
  g_heldWrites.store(nullptr);
  std::lock_guard lock(m_mutex);
  m_bOpen = true;
  m_opened.notify_all();
}

void HeldWrites::HoldIfHeld(const char *path) {
  if (std::strncmp(path, m_folder.c_str(), m_folder.size()) != 0) return;
  ++m_held;
  std::unique_lock lock(m_mutex);
  m_opened.wait_until(lock, m_open, [this] { return m_bOpen; });
}
namespace fs = std::filesystem;

CFilesView &Pane() {
  return *Frame().GetLeftPane();
}

namespace {

CImageFileEngine &Engine() {
  static CImageFileEngine engine;
  static bool bound = false;
  if (!bound) {
    engine.Initialization(QUENDA_PLUGIN_DIR);
    bound = true;
  }
  return engine;
}

}  // namespace

Picture Picture::Solid(uint32_t width, uint32_t height, uint32_t rgb) {
  Picture p{width, height, {}};
  p.bits.reserve(size_t{width} * height * 3);
  for (size_t i = 0; i < size_t{width} * height; ++i) {
    p.bits.push_back(static_cast<unsigned char>(rgb >> 16));
    p.bits.push_back(static_cast<unsigned char>(rgb >> 8));
    p.bits.push_back(static_cast<unsigned char>(rgb));
  }
  return p;
}

Picture Picture::Pattern(uint32_t width, uint32_t height, unsigned seed) {
  Picture p{width, height, std::vector<unsigned char>(size_t{width} * height * 3)};
  for (size_t i = 0; i < p.bits.size(); ++i) {
    p.bits[i] = static_cast<unsigned char>((i * 7 + (i / (size_t{width} * 3)) * 31 + seed) & 0xFF);
  }
  return p;
}

uint32_t Picture::At(uint32_t x, uint32_t y) const {
  const size_t i = (size_t{y} * width + x) * 3;
  return (uint32_t{bits[i]} << 16) | (uint32_t{bits[i + 1]} << 8) | bits[i + 2];
}

void WritePicture(const std::string &path, Picture picture, const std::string &format) {
  tagRGBInfo info{picture.width, picture.height, 24, picture.bits.data(), nullptr};
  ASSERT_EQ(Engine().SaveRGB(path, format, &info), 0) << path;
}

Picture ReadPicture(const std::string &path) {
  int ret = 0;
  tagFileInfo *record = Engine().LoadRGB(path, 1, ret);
  Picture p;
  if (record != nullptr && record->rgbInfo.ptBits != nullptr) {
    p.width = record->rgbInfo.width;
    p.height = record->rgbInfo.height;
    p.bits.assign(record->rgbInfo.ptBits, record->rgbInfo.ptBits + size_t{p.width} * p.height * 3);
  }
  PluginFreeFileInfo(record);
  return p;
}

MessageBoxes::MessageBoxes() {
  platform::SetMessageBoxService(this);
}

MessageBoxes::~MessageBoxes() {
  AnswerAll(platform::MessageAnswer::No);
  platform::SetMessageBoxService(nullptr);
}

platform::MessageAnswer MessageBoxes::Show(const std::string &text,
                                           platform::MessageButtons buttons) {
  std::unique_lock lock(m_mutex);
  m_texts.push_back(text);
  if (buttons == platform::MessageButtons::Ok) return platform::MessageAnswer::Ok;
  ++m_asking;
  m_answered.wait(lock, [this] { return m_bAnswerAll || !m_answers.empty(); });
  --m_asking;
  if (m_answers.empty()) return m_all;
  const platform::MessageAnswer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

std::vector<std::string> MessageBoxes::Texts() const {
  std::lock_guard lock(m_mutex);
  return m_texts;
}

void MessageBoxes::Answer(platform::MessageAnswer answer) {
  std::lock_guard lock(m_mutex);
  m_answers.push_back(answer);
  m_answered.notify_all();
}

void MessageBoxes::AnswerAll(platform::MessageAnswer answer) {
  std::lock_guard lock(m_mutex);
  m_bAnswerAll = true;
  m_all = answer;
  m_answered.notify_all();
}

namespace {

// The modal dialog on top, or null.
wxDialog *TopModalDialog() {
  wxDialog *top = nullptr;
  for (wxWindow *w : wxTopLevelWindows) {
    if (auto *d = dynamic_cast<wxDialog *>(w); d != nullptr && d->IsShown() && d->IsModal()) {
      top = d;
    }
  }
  return top;
}

}  // namespace

DialogScript::DialogScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
  m_poll = new Poll([this] {
    wxDialog *top = TopModalDialog();
    if (top == nullptr) return false;
    if (top != m_last) {
      m_last = top;
      m_lastSince = std::chrono::steady_clock::now();
      m_seen.push_back(top->GetTitle().utf8_string());
    }
    // An unexpected dialog, or one its step does not end, fails the test instead of waiting.
    const std::string state = m_next < m_steps.size()
                                  ? "at step " + std::to_string(m_next + 1) + " of the script"
                                  : "after the last step of the script";
    if (CloseWhenOverdue(*top, m_lastSince, state)) {
      m_last = nullptr;
      return false;
    }
    if (m_next < m_steps.size() && m_steps[m_next](*top)) ++m_next;
    return false;
  });
}

DialogScript::~DialogScript() {
  m_poll->Stop();
  delete m_poll;
}

void Press(wxDialog &dialog, int id) {
  auto *button = dynamic_cast<wxButton *>(dialog.FindWindow(id));
  ASSERT_NE(button, nullptr) << id;
  ASSERT_TRUE(button->IsEnabled()) << id;
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

void SetEdit(wxDialog &dialog, int id, const std::string &text) {
  auto *edit = dynamic_cast<wxTextCtrl *>(dialog.FindWindow(id));
  ASSERT_NE(edit, nullptr) << id;
  edit->SetValue(wxString::FromUTF8(text));
}

void CheckRadio(wxDialog &dialog, int id) {
  auto *radio = dynamic_cast<wxRadioButton *>(dialog.FindWindow(id));
  ASSERT_NE(radio, nullptr) << id;
  ASSERT_TRUE(radio->IsEnabled()) << id;
  radio->SetValue(true);
  wxCommandEvent click(wxEVT_RADIOBUTTON, id);
  click.SetEventObject(radio);
  click.SetInt(1);
  radio->ProcessWindowEvent(click);
}

void ChooseMenu(unsigned id) {
  wxMenuBar *bar = Frame().GetMenuBar();
  wxMenu *menu = nullptr;
  ASSERT_NE(bar->FindItem(platform::gui::MenuItemId(id), &menu), nullptr) << id;
  // As the toolkit does on a click on an item of an open menu.
  menu->SendEvent(platform::gui::MenuItemId(id));
}

void ClickTool(unsigned id) {
  Frame().GetToolBar()->OnLeftClick(static_cast<int>(id), false);
}

void UpdateCommands() {
  Frame().GetMenuBar()->GetMenu(1)->UpdateUI(Frame().GetEventHandler());
  Frame().GetToolBar()->UpdateWindowUI();
}

bool PumpUntil(const std::function<bool()> &done, std::chrono::milliseconds limit) {
  return WaitUntil(done, limit);
}

}  // namespace flow_test

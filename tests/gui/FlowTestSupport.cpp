#include "FlowTestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/filepane/FilesView.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaApp.h"
#include "platform/gui/MenuCommandIds.h"

namespace flow_test {

using namespace std::chrono_literals;
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
      m_seen.push_back(top->GetTitle().utf8_string());
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
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(20ms);
  }
  return true;
}

}  // namespace flow_test

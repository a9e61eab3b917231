#include "app/shell/QuendaApp.h"

#include <wx/filedlg.h>
#include <wx/log.h>

#include <memory>

#include "app/common/FileNameText.h"
#include "app/core/FrameSizing.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/shell/AboutDlg.h"
#include "app/shell/MainFrame.h"
#include "app/shell/QuendaDoc.h"
#include "platform/MessageBox.h"
#include "platform/gui/FileDialogChoice.h"
#include "platform/gui/Profile.h"
#include "platform/gui/SingleInstance.h"

CQuendaApp &theApp = *new CQuendaApp;

namespace {

// The title the single-instance test looks for and start-up gives the main window.
constexpr char kMainWindowTitle[] = "Quenda";
constexpr char kProfileVendor[] = "Local AppWizard-Generated Applications";
constexpr char kFailedToCreateDocument[] = "Failed to create empty document.";
constexpr char kFailedToOpenDocument[] = "Failed to open document.";

}  // namespace

CQuendaApp::CQuendaApp() : m_messageBoxes(res::LoadString(res::IDS_APP_TITLE), &FileNameText) {}

CQuendaApp::~CQuendaApp() = default;

bool CQuendaApp::OnInit() {
  wxLog::EnableLogging(true);
  return InitInstance();
}

bool CQuendaApp::InitInstance() {
  // 1. Another instance's main window is brought to the top and this one ends without a
  // window (OnRun then returns 0 at once).
  if (platform::gui::BringExistingWindowToTop(kMainWindowTitle)) return true;

  const std::string &appName = res::LoadString(res::IDS_APP_TITLE);
  SetAppDisplayName(wxString::FromUTF8(appName));
  platform::SetMessageBoxService(&m_messageBoxes);
  m_menuCommandIds = std::make_unique<platform::gui::MenuCommandIds>();
  BindCommands();

  // 2-4. The framework profile; there is no list of recently used files to load.
  platform::gui::SetProfileKey(kProfileVendor, appName);

  // 5-6. The document before the main window, then the command line: none opens a new
  // document, a file argument opens that file.
  if (!ProcessShellCommand()) return false;

  // 7-9. Centred at 800 by 600, titled, shown.
  CMainFrame *frame = GetMainFrame();
  const wxSize screen = wxGetDisplaySize();
  const wxPoint centred(CentredOrigin(screen.x, kFrameMinWidth),
                        CentredOrigin(screen.y, kFrameMinHeight));
  frame->SetSize(centred.x, centred.y, kFrameMinWidth, kFrameMinHeight);
  frame->SetTitle(kMainWindowTitle);
  frame->Show();
  frame->Update();
  return true;
}

bool CQuendaApp::ProcessShellCommand() {
  const std::string file = CommandLineFile();
  m_pDocument = std::make_unique<CQuendaDoc>();
  auto *frame = new CMainFrame(*m_pDocument);
  if (!frame->LoadFrame(wxString::FromUTF8(res::LoadString(res::IDS_APP_TITLE)))) {
    platform::ShowMessageBox(kFailedToCreateDocument);
    m_pDocument.reset();
    return false;
  }
  SetTopWindow(frame);
  if (file.empty()) {
    m_pDocument->OnNewDocument();
  } else if (!m_pDocument->OnOpenDocument(file)) {
    platform::ShowMessageBox(kFailedToOpenDocument);
    frame->Destroy();
    return false;
  }
  frame->OnUpdateFrameTitle();
  frame->InitialUpdateFrame();
  return true;
}

void CQuendaApp::SetGivenArguments(int argc, char **argv) {
  m_givenArguments.assign(argv, argv + argc);
}

std::string CQuendaApp::CommandLineFile() const {
  // The toolkit's arguments are the given ones in order, less the toolkit's own options and
  // less those it could not turn into text; a given argument is the program's when the toolkit
  // kept it as the next one or dropped it untranslated. The first that is no option is the file.
  int kept = 1;
  for (size_t i = 1; i < m_givenArguments.size(); ++i) {
    const std::string &given = m_givenArguments[i];
    const wxWCharBuffer text = wxConvLocal.cMB2WC(given.c_str());
    if (text.data() != nullptr) {
      if (kept >= argc || argv[kept] != wxString(text)) continue;  // the toolkit's own option
      ++kept;
    }
    if (!given.empty() && given[0] != '-') return given;
  }
  // Started without the given arguments (a test's own application object): the toolkit's.
  if (m_givenArguments.empty()) {
    for (int i = 1; i < argc; ++i) {
      const std::string arg = FileNameFromToolkit(argv[i]);
      if (!arg.empty() && arg[0] != '-') return arg;
    }
  }
  return {};
}

void CQuendaApp::BindCommands() {
  Bind(
      wxEVT_MENU, [this](wxCommandEvent &) { OnAppAbout(); }, res::ID_APP_ABOUT);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent &) { OnFileNew(); }, res::ID_FILE_NEW);
  Bind(
      wxEVT_MENU, [this](wxCommandEvent &) { OnFileOpen(); }, res::ID_FILE_OPEN);
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent &) {
        if (CMainFrame *frame = GetMainFrame()) frame->Close();
      },
      res::ID_APP_EXIT);
}

int CQuendaApp::OnRun() {
  // Without a main window (another instance was found) the event loop has nothing to run.
  if (GetMainFrame() == nullptr) return 0;
  return wxApp::OnRun();
}

int CQuendaApp::OnExit() {
  // The main window and its panes are gone by now; the document goes after them.
  m_pDocument.reset();
  platform::SetMessageBoxService(nullptr);
  m_menuCommandIds.reset();
  return wxApp::OnExit();
}

CMainFrame *CQuendaApp::GetMainFrame() const {
  return dynamic_cast<CMainFrame *>(GetTopWindow());
}

void CQuendaApp::OnAppAbout() {
  CAboutDlg aboutDlg;
  aboutDlg.DoModal();
}

void CQuendaApp::OnFileNew() {
  CMainFrame *frame = GetMainFrame();
  if (m_pDocument == nullptr || frame == nullptr || !m_pDocument->OnNewDocument()) return;
  frame->OnUpdateFrameTitle();
  frame->InitialUpdateFrame();
}

void CQuendaApp::OnFileOpen() {
  wxFileDialog dialog(GetMainFrame(), "Open", wxEmptyString, wxEmptyString, "All Files (*.*)|*",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  OpenDocumentFile(platform::gui::FileDialogChoice(dialog));
}

bool CQuendaApp::OpenDocumentFile(const std::string &path) {
  CMainFrame *frame = GetMainFrame();
  if (m_pDocument == nullptr || frame == nullptr) return false;
  if (!m_pDocument->OnOpenDocument(path)) {
    platform::ShowMessageBox(kFailedToOpenDocument);
    return false;
  }
  frame->OnUpdateFrameTitle();
  frame->InitialUpdateFrame();
  return true;
}

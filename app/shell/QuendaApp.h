// The application: start-up (single-instance test, profile, document, main window), the
// application-wide commands (About, New, Open, Exit) and the end of the program.
#pragma once

#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/MenuCommandIds.h"
#include "platform/gui/WxMessageBox.h"

class CMainFrame;
class CQuendaDoc;

class CQuendaApp : public wxApp {
 public:
  CQuendaApp();
  ~CQuendaApp() override;

  // Start-up, in order: single-instance test, profile, document, main window placed, titled and
  // shown. True to run the event loop (also when another instance was found: the loop then
  // ends at once); false ends the program.
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // The program's arguments as the system gave them, before the toolkit turned them into text
  // (which loses a file name that is not UTF-8) and took its own options out.
  void SetGivenArguments(int argc, char **argv);

  CMainFrame *GetMainFrame() const;
  CQuendaDoc *GetDocument() const { return m_pDocument.get(); }

  void OnAppAbout();
  void OnFileNew();
  void OnFileOpen();
  // Takes path as the document; a message and false when it cannot be opened.
  bool OpenDocumentFile(const std::string &path);

 private:
  bool InitInstance();
  bool ProcessShellCommand();
  void BindCommands();

  std::string CommandLineFile() const;

  std::vector<std::string> m_givenArguments;
  std::unique_ptr<CQuendaDoc> m_pDocument;
  platform::gui::WxMessageBoxService m_messageBoxes;
  std::unique_ptr<platform::gui::MenuCommandIds> m_menuCommandIds;
};

// The one application object. The toolkit deletes its application object when it shuts down,
// so this one is made on the heap during static initialisation.
extern CQuendaApp &theApp;

// The program's document. It stores nothing: all work happens in the panes of the main window.
// It exists so that the window titles follow the framework's rules for a new or opened
// document.
#pragma once

#include <string>

class CQuendaDoc {
 public:
  // A new, empty document titled "Untitled".
  bool OnNewDocument();
  // Takes path as the document when the file can be opened for reading; reads nothing of it.
  // The document's title becomes the file's name.
  bool OnOpenDocument(const std::string &path);

  const std::string &GetTitle() const { return m_strTitle; }
  const std::string &GetPathName() const { return m_strPathName; }

 private:
  std::string m_strTitle;
  std::string m_strPathName;
};

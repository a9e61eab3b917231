// The target folder of a conversion dialog: where it starts (the folder of the first source)
// and how the operator picks another one with the folder browser.
#pragma once

#include <functional>
#include <optional>
#include <string>

class wxWindow;

// The folder of a source path: the path up to and including its last separator when that
// separator stands after the first character, else empty.
std::string SourceFolderOf(const std::string &sourcePath);

// folder as the dialogs store a target folder: ending with the separator, which is added only
// when it is missing (so "/" stays "/").
std::string WithTrailingSeparator(const std::string &folder);

// Shows the folder browser titled "Please select a folder" over owner, opened on startFolder,
// and returns the chosen existing folder, or nothing when the operator cancelled. Paths of any
// length go through whole.
std::optional<std::string> BrowseForFolder(wxWindow *owner, const std::string &startFolder);

// Replaces what BrowseForFolder shows (tests answer it without the native chooser); an empty
// function brings the native chooser back.
using FolderBrowser =
    std::function<std::optional<std::string>(wxWindow *owner, const std::string &startFolder)>;
void SetFolderBrowser(FolderBrowser browser);

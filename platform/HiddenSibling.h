// The hidden files the program keeps beside an operator's file while it replaces it: the new
// content until it is whole, the old content until a run has ended. Both sit beside the file a
// name finally leads to, so a symbolic link is written through and stays a link.
//
// Their names follow one pattern of the program's own, which names the writing process, so that
// what a killed run left behind can be told apart from anything an operator made and from what
// a running program is still writing (see Leftovers.h):
//   .<name>.quenda-<kind>-<writer>-<6 letters or digits>
// where <kind> is "tmp" for new content and "old" for kept content, <writer> is WriterText
// (WriterIdentity.h), and <name> the file's own name, cut so that the whole stays a valid file
// name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/WriterIdentity.h"

namespace platform {

// The file `path` names once symbolic links are followed; a link that names nothing yet gives
// the path it names, so a file is created there. Empty when the links go round in a loop.
std::string ResolveLinks(std::string path);

// The folder that `file` lies in: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string &file);

enum class SiblingKind { NewContent, KeptContent };

// A hidden name beside `path`, of this process and new at each call.
std::string HiddenSiblingName(const std::string &path, SiblingKind kind);

struct HiddenSibling {
  SiblingKind kind;
  std::string name;   // the operator's file it belongs to, within the same folder
  bool nameMayBeCut;  // the name filled all the room it had: the file's own may be longer
  WriterIdentity writer;
};

// What the entry named `entryName` (no folder) is when it has the program's pattern exactly;
// none for any other name.
std::optional<HiddenSibling> ParseHiddenSibling(std::string_view entryName);

}  // namespace platform

// The hidden files the program keeps beside an operator's file while it replaces it: the new
// content until it is whole, the old content until a run has ended. Both sit beside the file a
// name finally leads to, so a symbolic link is written through and stays a link.
#pragma once

#include <string>

namespace platform {

// The file `path` names once symbolic links are followed; a link that names nothing yet gives
// the path it names, so a file is created there. Empty when the links go round in a loop.
std::string ResolveLinks(std::string path);

// A hidden name beside `path` made of the file's own name and a suffix new at each call:
// ".<name>.<6 letters or digits>", the name cut so that the whole stays a valid file name.
std::string HiddenSiblingName(const std::string &path);

}  // namespace platform

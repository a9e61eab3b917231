// The texts the conversion tasks show the operator or keep as their error text, exactly as the
// operator has always seen them. The program's string table answers its ids 61451 to 61453
// with the first three.
#pragma once

#include <string>

#include "plugins/PluginInterface.h"

namespace task_text {

// The overwrite question, after the target path and a blank (string 61451).
inline constexpr char kAlreadyExists[] =
    "already exists,do you want to overwrite it,  click 'Yes' will overwrite it.  ";
// A load failure, after the file path (string 61452).
inline constexpr char kCannotLoad[] =
    " cann't be load in, the format of this file wasn't supported or the file was crashed.";

// A file whose full path is longer than a plug-in's record can name, after the path: the file
// is not damaged, its folder lies too deep (string 61453).
inline constexpr char kPathTooLong[] =
    " can not be loaded: its path is too long (259 characters at most).";

// What follows the path of a file that could not be loaded: a path too long for a record says
// so, any other failure is the text of an unknown format or a damaged file.
inline const char *LoadFailureText(const std::string &path) {
  return PathFitsRecord(path) ? kCannotLoad : kPathTooLong;
}

// The Y/C task's messages: the progressive format has no fields to exchange; the pictures of a
// sequence differ in size; a target, after its path, could not be written.
inline constexpr char kProgressiveRefused[] = "1280 X 720 is not supportted!";
inline constexpr char kSizesDiffer[] = "The image's size is different, it is not supportted!";
inline constexpr char kCannotWrite[] = " can not be written.";

// A picture too large for the memory there is, after the source's path.
inline constexpr char kNoMemory[] = " can not be converted: there is not enough memory.";

}  // namespace task_text

// Whether a record a plug-in handed back can be read as it claims: its pixels and its key plane
// are read by the width and height it states, so a record whose buffers cannot hold that many
// bytes would have the tasks read (and write into a target) memory that is not the picture.
#pragma once

#include "plugins/PluginInterface.h"

// True when every buffer the record carries holds its claimed size: the pixels width x height x
// 3 bytes and the key plane width x height bytes, each within the largest picture and, where the
// C library can tell a heap block's size, within the block (records cross the plug-in boundary on
// the process heap). A record without pixels or key plane holds nothing to read and passes.
bool RecordHoldsItsPicture(const tagFileInfo &record);

// A picture reduced to fill a pane with its aspect kept, as the preview pane and the review
// dialog draw a picture that does not fit at its own size: the geometry of the fitted picture in
// the pane, and its pixels made with the bilinear stretch blitter.
#pragma once

#include <cstdint>
#include <vector>

#include "plugins/PluginInterface.h"

struct FittedPicture {
  int x = 0;  // where the fitted picture's top left corner lies in the pane
  int y = 0;
  int width = 0;  // its size in the pane
  int height = 0;
  int scale = 100;                 // width in per cent of the picture's width
  std::vector<unsigned char> rgb;  // width * height pixels, red, green, blue, top row first
};

// Fits `picture` to a pane of paneWidth by paneHeight: to the pane's width first, to its height
// when that is too high; centred in the other direction. False, and nothing drawn, when the
// picture has no pixels, fits to no whole pixel in one direction, is too large for the
// blitter's sizes, or the memory for the reduction cannot be had.
bool FitToPane(const tagRGBInfo &picture, int paneWidth, int paneHeight, FittedPicture &fitted);

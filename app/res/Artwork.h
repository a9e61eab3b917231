// The program's pictures, drawn for it: toolbar images and icons as XPM data and the About
// box's two pictures as pixel data. Plain data, so any toolkit can build its bitmaps from it.
#pragma once

#include <vector>

namespace res {

// Toolbar image `index` (0 to kToolbarImageCount - 1), kToolbarImageWidth by
// kToolbarImageHeight, as XPM lines: a document under a magnifying glass, an arrow pointing
// right, a document marked R, a question mark. Null for any other index.
const char *const *ToolbarImageXpm(int index);

// Icon `id` (IDR_MAINFRAME for the main window, IDR_QUENDTYPE for the document) at `size` 32
// or 16 pixels square, as XPM lines; null for any other id or size.
const char *const *IconXpm(unsigned id, int size);

// A picture of 3 bytes per pixel, red, green, blue, rows top to bottom, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

// Bitmap resource `id`: IDB_ABOUT_LEFT or IDB_ABOUT_RIGHT, each 238 by 74 on a white ground
// (the About box combines them with its background so that white takes the background's
// colour). An empty picture (width 0) for any other id.
Picture LoadBitmapResource(unsigned id);

}  // namespace res

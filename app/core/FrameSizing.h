// The main window's size rule: while the operator sizes the window, a width below 800 or a
// height below 600 pixels is reset to 800 or 600, that dimension centred on the screen.
#pragma once

struct FrameRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

constexpr int kFrameMinWidth = 800;
constexpr int kFrameMinHeight = 600;

// The rectangle the window takes for the proposed one on a screen of the given size. Each
// dimension is treated by itself, whichever border is dragged.
FrameRect KeepMinimumFrameSize(FrameRect proposed, int screenWidth, int screenHeight);

// The main window's place at start-up and after a reset: centred, integer halves truncated.
inline int CentredOrigin(int screenExtent, int windowExtent) {
  return (screenExtent - windowExtent) / 2;
}

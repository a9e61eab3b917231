// The heap set up for the program's way of working: every file of a run allocates a few picture
// buffers of 5 to 8 MB and frees them together before the next file.
#pragma once

namespace platform {

// By default the C library maps each such buffer afresh and hands it back to the system when it
// is freed, so every file faults all of its pages in again, and fresh pages are dear. Raising
// the mapping threshold and the trim threshold together keeps the buffers in the heap, where the
// next file reuses them (raising only one of the two makes things worse: the other then no
// longer adapts to the buffers). Freed memory beyond the trim threshold is still handed back.
// The program, its tests and its benchmarks call this once at start-up, before any thread runs.
void TuneHeapForPictures();

}  // namespace platform

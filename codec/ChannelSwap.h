// Exchanging the first and third byte of every 3-byte pixel: red, green, blue pictures to the
// blue, green, red order of bitmap files and device-independent bitmaps, and back. Header-only,
// so that the bitmap plug-in, which has no codec compiled in, has it too.
#pragma once

#include <cstddef>
#include <cstring>

namespace channel_swap {

using Bytes16 = unsigned char __attribute__((vector_size(16)));

// Four pixels at a time: 16 bytes are read and written, the group's 12 exchanged and the 4 after
// it passed through as they are, so the next group (which writes them again) may lie in the same
// buffer; whatever pixels are left at the end go one at a time.
[[gnu::always_inline]] inline void SwapPixels(const unsigned char *in, unsigned char *out,
                                              size_t pixels) {
  size_t done = 0;
  for (; pixels - done >= 6; done += 4) {
    Bytes16 group;
    std::memcpy(&group, in + 3 * done, sizeof group);
    group =
        __builtin_shufflevector(group, group, 2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    std::memcpy(out + 3 * done, &group, sizeof group);
  }
  for (; done < pixels; ++done) {
    const unsigned char red = in[3 * done];
    out[3 * done + 1] = in[3 * done + 1];
    out[3 * done] = in[3 * done + 2];
    out[3 * done + 2] = red;
  }
}

#if defined(__x86_64__) || defined(__i386__)
// With SSSE3 each group's exchange is one byte shuffle instruction.
[[gnu::target("ssse3")]] inline void SwapPixelsSsse3(const unsigned char *in, unsigned char *out,
                                                     size_t pixels) {
  SwapPixels(in, out, pixels);
}
#endif

}  // namespace channel_swap

// Writes the `pixels` 3-byte pixels of `in` to `out` with their first and third bytes exchanged.
// `out` is either `in` itself (an exchange in place) or a buffer that does not overlap it.
inline void SwapRedAndBlue(const unsigned char *in, unsigned char *out, size_t pixels) {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("ssse3")) return channel_swap::SwapPixelsSsse3(in, out, pixels);
#endif
  channel_swap::SwapPixels(in, out, pixels);
}

// Exchanging the first and third byte of every 3-byte pixel: red, green, blue pictures to the
// blue, green, red order of bitmap files and device-independent bitmaps, and back; and red,
// green, blue pixels to the 32-bit pixels of the stretch blitter and back. Header-only,
// so that the bitmap plug-in, which has no codec compiled in, has it too.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
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

// Four pixels at a time into four 32-bit pixels (on a little-endian machine, where the value's
// bytes in memory are blue, green, red, 0), reading 16 bytes of which the last 4 are the next
// group's; the pixels left at the end go one at a time.
[[gnu::always_inline]] inline void WidenPixels(const unsigned char *in, uint32_t *out,
                                               size_t pixels) {
  size_t done = 0;
  for (; std::endian::native == std::endian::little && pixels - done >= 6; done += 4) {
    Bytes16 group;
    std::memcpy(&group, in + 3 * done, sizeof group);
    const Bytes16 zero{};
    group =
        __builtin_shufflevector(group, zero, 2, 1, 0, 16, 5, 4, 3, 16, 8, 7, 6, 16, 11, 10, 9, 16);
    std::memcpy(out + done, &group, sizeof group);
  }
  for (; done < pixels; ++done) {
    const unsigned char *p = in + 3 * done;
    out[done] = uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
  }
}

// The reverse: four 32-bit pixels at a time into four 3-byte pixels, each group written as 16
// bytes of which the last 4 are the next group's, which writes them again.
[[gnu::always_inline]] inline void NarrowPixels(const uint32_t *in, unsigned char *out,
                                                size_t pixels) {
  size_t done = 0;
  for (; std::endian::native == std::endian::little && pixels - done >= 6; done += 4) {
    Bytes16 group;
    std::memcpy(&group, in + done, sizeof group);
    group =
        __builtin_shufflevector(group, group, 2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 3, 7, 11, 15);
    std::memcpy(out + 3 * done, &group, sizeof group);
  }
  for (; done < pixels; ++done) {
    out[3 * done] = static_cast<unsigned char>(in[done] >> 16);
    out[3 * done + 1] = static_cast<unsigned char>(in[done] >> 8);
    out[3 * done + 2] = static_cast<unsigned char>(in[done]);
  }
}

#if defined(__x86_64__) || defined(__i386__)
// With SSSE3 each group's exchange is one byte shuffle instruction.
[[gnu::target("ssse3")]] inline void SwapPixelsSsse3(const unsigned char *in, unsigned char *out,
                                                     size_t pixels) {
  SwapPixels(in, out, pixels);
}
[[gnu::target("ssse3")]] inline void WidenPixelsSsse3(const unsigned char *in, uint32_t *out,
                                                      size_t pixels) {
  WidenPixels(in, out, pixels);
}
[[gnu::target("ssse3")]] inline void NarrowPixelsSsse3(const uint32_t *in, unsigned char *out,
                                                       size_t pixels) {
  NarrowPixels(in, out, pixels);
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

// Writes the `pixels` 3-byte red, green, blue pixels of `in` to `out` as the 32-bit values
// blue | green << 8 | red << 16.
inline void WidenToBlueGreenRedZero(const unsigned char *in, uint32_t *out, size_t pixels) {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("ssse3")) return channel_swap::WidenPixelsSsse3(in, out, pixels);
#endif
  channel_swap::WidenPixels(in, out, pixels);
}

// The reverse of WidenToBlueGreenRedZero: 32-bit values blue | green << 8 | red << 16 to 3-byte
// red, green, blue pixels.
inline void NarrowFromBlueGreenRedZero(const uint32_t *in, unsigned char *out, size_t pixels) {
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("ssse3")) return channel_swap::NarrowPixelsSsse3(in, out, pixels);
#endif
  channel_swap::NarrowPixels(in, out, pixels);
}

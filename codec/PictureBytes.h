// The one checked computation of a picture's byte count, for every pixel buffer the program, the
// plug-ins and the tasks size: width x height x bytes per pixel (or row bytes x rows) in 64-bit
// arithmetic, refused above a stated limit. A size read from a file or handed over by a plug-in
// can then neither wrap into a short buffer nor ask for more than any picture may hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The largest pixel buffer of any picture: what a 32-bit byte count holds (4 GiB less one
// byte), far beyond the largest still (1920 x 1080 x 3 bytes).
constexpr uint64_t kLargestPictureBytes = UINT32_MAX;

// width x height x bytesPerPixel, or nothing when the product exceeds kLargestPictureBytes. A
// zero factor gives 0.
constexpr std::optional<size_t> PictureBytes(uint64_t width, uint64_t height,
                                             uint64_t bytesPerPixel) {
  if (width == 0 || height == 0 || bytesPerPixel == 0) return size_t{0};
  if (width > kLargestPictureBytes / bytesPerPixel) return std::nullopt;
  const uint64_t rowBytes = width * bytesPerPixel;
  if (height > kLargestPictureBytes / rowBytes) return std::nullopt;
  return static_cast<size_t>(rowBytes * height);
}

static_assert(PictureBytes(1920, 1080, 3) == size_t{6220800});
static_assert(!PictureBytes(2479381740u, 2480019350u, 3), "a product that wraps 64 bits");
static_assert(!PictureBytes(65536, 65536, 1) && PictureBytes(65535, 65537, 1));

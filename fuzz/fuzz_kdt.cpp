// Feeds the KDT plug-in's loader and the codec it carries: whole files, files built to a form's
// length from a small input, headers read from memory with the checksum, and small bodies decoded
// by every copy of the decoder (see KdtFuzzInput.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/ColourConvert.h"
#include "codec/ConversionVariant.h"
#include "codec/KdtFile.h"
#include "codec/PictureFormat.h"
#include "fuzz/KdtFuzzInput.h"
#include "fuzz/LoaderFuzzing.h"

namespace {

using namespace kdt_fuzz;

constexpr size_t kChecksumOffset = 36;
constexpr size_t kChecksummedHeader = 48;  // header bytes 48 to 63 are checksummed

// The checksum as the file format defines it: byte k of the result is the XOR of byte k of every
// 4-byte group, a last partial group taken as padded with zero bytes.
uint32_t ByteLaneXor(const uint8_t *data, size_t size) {
  uint8_t lanes[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < size; ++i) lanes[i % 4] ^= data[i];
  return uint32_t{lanes[0]} | uint32_t{lanes[1]} << 8 | uint32_t{lanes[2]} << 16 |
         uint32_t{lanes[3]} << 24;
}

// A file of the form's body length (changed as the selector says) from a header and the start of
// a body; the rest of the body is zero bytes, which the file holds as a hole.
void BuiltFile(uint8_t selector, const uint8_t *payload, size_t size) {
  const KdtPictureFormat &format = *KdtFormatByNumber(FormOf(selector));
  static const size_t kChange[] = {0, static_cast<size_t>(-1), 1, static_cast<size_t>(-4)};
  const size_t bodyLength = static_cast<size_t>(format.bodyBytes) + kChange[LengthOf(selector)];
  uint8_t header[sizeof(kdt_header)] = {};
  const size_t headerBytes = size < sizeof header ? size : sizeof header;
  std::memcpy(header, payload, headerBytes);
  const uint8_t *bodyStart = payload + headerBytes;
  size_t bodyStartBytes = size - headerBytes;
  if (bodyStartBytes > bodyLength) bodyStartBytes = bodyLength;
  if ((selector & kFixChecksum) != 0) {
    // Zero bytes leave a XOR as it is; the body's start lies at a multiple of 4.
    const uint32_t sum =
        ByteLaneXor(header + kChecksummedHeader, sizeof header - kChecksummedHeader) ^
        ByteLaneXor(bodyStart, bodyStartBytes);
    const uint8_t stored[4] = {static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8),
                               static_cast<uint8_t>(sum >> 16), static_cast<uint8_t>(sum >> 24)};
    std::memcpy(header + kChecksumOffset, stored, 4);
  }
  fuzzing::InputFile &file = fuzzing::TheInputFile();
  file.Resize(sizeof header + bodyLength);
  file.WriteAt(0, header, sizeof header);
  file.WriteAt(sizeof header, bodyStart, bodyStartBytes);
  fuzzing::LoadAndCheck(file.Path(), (selector & kWithPixels) != 0 ? 1 : 0);
}

// readKDT on the payload as a stream, and the checksum of the payload against the byte lanes.
void Stream(const uint8_t *payload, size_t size) {
  if (size > 0) {
    FILE *stream = fmemopen(const_cast<uint8_t *>(payload), size, "rb");
    if (stream == nullptr) std::abort();
    kdt_header header{};
    unsigned char *body = reinterpret_cast<unsigned char *>(1);
    int length = -1;
    const int read = readKDT(stream, &header, &body, &length);
    std::fclose(stream);
    if (read != KDT_READ && body != nullptr) std::abort();
    if (read == KDT_READ && (body == nullptr || checkKDT(&header) != 0)) std::abort();
    if (size >= sizeof header && checkKDT(&header) != 0 && read != KDT_INVALID) std::abort();
    std::free(body);
  }
  const uint32_t whole = checkSum(0, payload, size);
  if (whole != ByteLaneXor(payload, size)) std::abort();
  const size_t split = size / 2 / 4 * 4;
  if (checkSum(checkSum(0, payload, split), payload + split, size - split) != whole) std::abort();
}

// A few lines laid out like the form (slot heads, fields, spare slots), with the body ending
// exactly at the last active byte, decoded by every copy; the copies must agree byte for byte.
void SmallBody(uint8_t selector, const uint8_t *payload, size_t size) {
  if (size < kSmallBodyHead) return;
  const KdtPictureFormat &like = *KdtFormatByNumber(FormOf(selector));
  KdtPictureFormat format = like;
  format.width = 4 * (2 + payload[0] % 64);
  format.height = 1 + payload[1] % 8;
  format.lineSlot = like.slotHead + format.width * 5 / 4;
  format.field1FirstSlot = 0;
  format.field2FirstSlot = like.interlaced ? (format.height + 1) / 2 + payload[2] % 4 : 0;
  const int slots = like.interlaced ? format.field2FirstSlot + format.height / 2 : format.height;
  format.planeBytes = slots * format.lineSlot;
  format.bodyBytes = 2 * format.planeBytes;
  format.rgbBytes = format.width * format.height * 3;
  payload += kSmallBodyHead;
  size -= kSmallBodyHead;

  std::vector<unsigned char> body(static_cast<size_t>(format.bodyBytes));
  for (size_t i = 0; i < body.size() && size > 0; ++i) body[i] = payload[i % size];
  std::vector<unsigned char> first;
  for (ConversionVariant variant : kCompiledConversionVariants) {
    if (!ProcessorRuns(variant)) continue;
    std::vector<unsigned char> rgb(static_cast<size_t>(format.rgbBytes));
    DecodePictureWith(variant, format, body.data(), rgb.data());
    if (first.empty()) {
      first = std::move(rgb);
    } else if (rgb != first) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const uint8_t *payload = data + 1;
  const size_t payloadSize = size - 1;
  switch (RoadOf(selector)) {
    case kWholeFile:
      return fuzzing::FuzzLoader(payload, payloadSize);
    case kBuiltFile:
      BuiltFile(selector, payload, payloadSize);
      break;
    case kStream:
      Stream(payload, payloadSize);
      break;
    case kSmallBody:
      SmallBody(selector, payload, payloadSize);
      break;
  }
  return 0;
}

// Writes the fuzz targets' seed corpus: small bitmaps of every depth the loader decodes, and for
// the KDT target inputs of each of its roads in every picture format (see KdtFuzzInput.h).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codec/KdtFile.h"
#include "codec/PictureFormat.h"
#include "fuzz/KdtFuzzInput.h"
#include "tests/support/BmpFileBuilder.h"

namespace {

using test_support::BmpSpec;
using Bytes = std::vector<uint8_t>;

bool WriteBytes(const std::filesystem::path &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteBitmaps(const std::filesystem::path &folder) {
  bool ok = true;
  for (uint16_t bits : {1, 4, 8, 24}) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.bitCount = bits;
    if (bits != 24) {
      spec.palette = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00};
      spec.palette.resize(bits == 1 ? 2 : 4);
      spec.clrUsed = static_cast<uint32_t>(spec.palette.size());
      spec.pixels = {0, 1, 1, 0};
    } else {
      spec.pixels = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    }
    ok &= WriteBytes(folder / ("2x2-" + std::to_string(bits) + "bit.bmp"), EncodeBmp(spec));
  }
  BmpSpec odd;
  odd.width = 3;
  odd.height = 2;
  odd.pixels.assign(6, 0x336699);
  ok &= WriteBytes(folder / "3x2-24bit.bmp", EncodeBmp(odd));
  return ok;
}

// The valid header of a file of `form` whose body is all zero bytes, as writeKDTHead writes it.
Bytes HeaderOf(int form) {
  const KdtPictureFormat &format = *KdtFormatByNumber(form);
  const std::vector<unsigned char> body(static_cast<size_t>(format.bodyBytes), 0);
  kdt_header header{};
  Bytes bytes(sizeof header);
  FILE *stream = fmemopen(bytes.data(), bytes.size(), "wb");
  if (stream == nullptr || writeKDTHead(stream, &header, body.data(), form) != 0) return {};
  std::fclose(stream);
  return bytes;
}

// The selector byte followed by the payload parts.
Bytes Input(uint8_t selector, std::initializer_list<Bytes> parts) {
  Bytes input{selector};
  for (const Bytes &part : parts) input.insert(input.end(), part.begin(), part.end());
  return input;
}

bool WriteKdtInputs(const std::filesystem::path &folder) {
  using namespace kdt_fuzz;
  const Bytes samples = {0x40, 0x10, 0x04, 0x01, 0x80, 0x20, 0x08, 0x02, 0xFF, 0x00,
                         0x3C, 0x0F, 0x03, 0xC0, 0xF0, 0x00, 0x12, 0x34, 0x56, 0x78};
  bool ok = true;
  for (int form = 1; form <= 4; ++form) {
    const Bytes header = HeaderOf(form);
    if (header.empty()) return false;
    const std::string name = "form" + std::to_string(form) + "-";
    const auto write = [&](const std::string &what, const Bytes &input) {
      ok &= WriteBytes(folder / (name + what), input);
    };
    // The loader on a header whose body is missing.
    write("whole-file-short", Input(Selector(kWholeFile), {header, samples}));
    // The loader on a valid file of the form, without pixels and, for the smallest, with them;
    // and on files one byte too short and too long.
    write("built-valid",
          Input(Selector(kBuiltFile, form, kExact, kFixChecksum), {header, samples}));
    if (form == 1) {
      write(
          "built-valid-pixels",
          Input(Selector(kBuiltFile, form, kExact, kFixChecksum | kWithPixels), {header, samples}));
    }
    write("built-short", Input(Selector(kBuiltFile, form, kOneShort, kFixChecksum), {header}));
    write("built-long", Input(Selector(kBuiltFile, form, kOneLong, kFixChecksum), {header}));
    write("built-bad-checksum", Input(Selector(kBuiltFile, form), {header, samples}));
    // readKDT from memory and the checksum.
    write("stream", Input(Selector(kStream), {header, samples}));
    // A small body of 4 lines of 16 pixels laid out like the form.
    write("small-body", Input(Selector(kSmallBody, form), {{2, 3, 1}, samples}));
  }
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  // The folder holds the seeds alone (the fuzzers keep what they find elsewhere): seeds of an
  // earlier version go.
  const std::filesystem::path root = argv[1];
  for (const char *target : {"bmp", "kdt"}) {
    std::filesystem::remove_all(root / target);
    std::filesystem::create_directories(root / target);
  }
  if (!WriteBitmaps(root / "bmp") || !WriteKdtInputs(root / "kdt")) {
    std::fprintf(stderr, "cannot write the seed corpus in %s\n", argv[1]);
    return 1;
  }
  return 0;
}

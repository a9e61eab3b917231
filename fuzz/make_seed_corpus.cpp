// Writes the fuzz targets' seed corpus: small bitmaps of every depth the loader decodes, and
// KDT stills of the smallest format (a valid one and one with a damaged body).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codec/StillWriter.h"
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

bool WriteStills(const std::filesystem::path &folder) {
  const std::vector<unsigned char> pixels(720 * 487 * 3, 0x80);
  const std::string valid = (folder / "MSEED.QVEL_001.KDT").string();
  if (WriteToKdt(valid.c_str(), pixels.data(), nullptr, 720, 487) != 1) return false;
  std::ifstream in(valid, std::ios::binary);
  Bytes damaged((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  damaged.at(64 + 100) ^= 0x10;
  return WriteBytes(folder / "MSEED.QVEL_002.KDT", damaged);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  std::filesystem::create_directories(root / "bmp");
  std::filesystem::create_directories(root / "kdt");
  if (!WriteBitmaps(root / "bmp") || !WriteStills(root / "kdt")) {
    std::fprintf(stderr, "cannot write the seed corpus in %s\n", argv[1]);
    return 1;
  }
  return 0;
}

// The files that the operator's jobs write stay the same, byte for byte, as the program is made
// faster: a fixed set of sources goes through batch imports (every picture size, every shift,
// sources smaller than, equal to and larger than the target), exports, Y/C exchanges in both
// modes and a composite, and every file written is compared by its digest with the digest it had
// when this table was recorded. The pictures that the plug-ins load are held to theirs the same
// way, malformed and cut-short files included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/ImageFileEngine.h"
#include "engine/TaskBatch.h"
#include "engine/TaskComposite.h"
#include "engine/TaskModeConv.h"
#include "tests/support/BmpFileBuilder.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;

uint64_t Fnv1a(const unsigned char *bytes, size_t length, uint64_t hash = 14695981039346656037ull) {
  for (size_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}
uint64_t Fnv1a(const std::vector<unsigned char> &bytes) {
  return Fnv1a(bytes.data(), bytes.size());
}

// A bitmap of width x height at `bitCount` bits: gradients with noise at 24 bits, a noisy index
// pattern over a full palette of varied colours when indexed.
test_support::BmpSpec SourceSpec(int32_t width, int32_t height, uint16_t bitCount, uint32_t seed) {
  test_support::BmpSpec spec{width, height, bitCount};
  uint32_t state = seed;
  auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 24; };
  if (bitCount <= 8) {
    for (uint32_t i = 0; i < (1u << bitCount); ++i)
      spec.palette.push_back(next() << 16 | i << 8 | next());
  }
  spec.pixels.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t noise = next();
      spec.pixels[static_cast<size_t>(y) * width + x] =
          bitCount <= 8 ? (x / 7 + y / 5 + (noise & 3)) % (1u << bitCount)
                        : (x * 255 / width) << 16 | (y * 255 / height) << 8 | noise;
    }
  }
  return spec;
}

std::vector<unsigned char> Encoded(const test_support::BmpSpec &spec) {
  const std::vector<uint8_t> file = test_support::EncodeBmp(spec);
  return {file.begin(), file.end()};
}

std::vector<unsigned char> SourceBitmap(int32_t width, int32_t height, uint16_t bitCount,
                                        uint32_t seed) {
  return Encoded(SourceSpec(width, height, bitCount, seed));
}

class OutputIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override { m_engine.Initialization(QUENDA_PLUGIN_DIR); }

  std::string Folder(const std::string &name) {
    const std::string folder = m_root.File(name) + "/";
    fs::create_directories(folder);
    return folder;
  }

  // One batch into `target` (a folder), as the workflow runs it.
  void Batch(const std::vector<std::string> &sources, const std::string &target,
             const std::string &format, uint32_t width, uint32_t height, uint32_t shift) {
    CTaskBatch task(m_engine);
    task.UpdateConvParameter(width, height, shift, 0);
    int ret = 0;
    task.LoadRGB(sources, 0, ret);
    ASSERT_EQ(task.GetConvertResult(), 0);
    task.GetRGB(0);
    ASSERT_EQ(task.SaveRGB(target, format), 0) << target;
  }

  // The digest of every file under the root folder, by its path inside it.
  std::map<std::string, uint64_t> Digests() {
    std::map<std::string, uint64_t> digests;
    for (const auto &entry : fs::recursive_directory_iterator(m_root.Path())) {
      if (!entry.is_regular_file()) continue;
      digests[fs::relative(entry.path(), m_root.Path()).string()] =
          Fnv1a(ReadWholeFile(entry.path().string()));
    }
    return digests;
  }

  test_support::TempFolder m_root;
  test_support::ScriptedMessageBox m_boxes;
  CImageFileEngine m_engine;
};

TEST_F(OutputIdentityTest, EveryJobWritesTheFilesItWroteBefore) {
  const std::string src = Folder("src");
  struct Source {
    const char *name;
    int32_t width, height;
    uint16_t bitCount;
  };
  const Source sources[] = {{"full.bmp", 1920, 1080, 24}, {"hd.bmp", 1280, 720, 4},
                            {"pal.bmp", 720, 576, 8},     {"ntsc.bmp", 720, 487, 24},
                            {"small.bmp", 641, 479, 24},  {"mono.bmp", 333, 211, 1},
                            {"large.bmp", 2000, 1200, 24}};
  std::vector<std::string> all;
  uint32_t seed = 1;
  for (const Source &s : sources) {
    all.push_back(src + s.name);
    test_support::WriteWholeFile(all.back(), SourceBitmap(s.width, s.height, s.bitCount, seed++));
  }

  // Imports into every picture size; the two interlaced sizes the exchange reads with every shift.
  const uint32_t sizes[][2] = {{720, 487}, {720, 576}, {1280, 720}, {1920, 1080}};
  for (const auto &size : sizes) {
    for (uint32_t shift : {ShiftUp, ShiftNormal, ShiftDown}) {
      if (shift != ShiftNormal && size[0] + size[1] != 1207 && size[0] + size[1] != 3000) continue;
      const std::string folder = Folder("kdt" + std::to_string(size[0]) + "x" +
                                        std::to_string(size[1]) + "s" + std::to_string(shift));
      Batch(all, folder, "KDT", size[0], size[1], shift);
    }
  }
  // Exports of the 1080 and 487 stills.
  const std::string full = Folder("kdt1920x1080s1");
  const std::string ntsc = Folder("kdt720x487s1");
  std::vector<std::string> stills;
  for (const auto &entry : fs::directory_iterator(full)) stills.push_back(entry.path().string());
  for (const auto &entry : fs::directory_iterator(ntsc)) stills.push_back(entry.path().string());
  std::sort(stills.begin(), stills.end());
  Batch(stills, Folder("bmp"), "BMP", 720, 487, ShiftNormal);

  // Y/C still exchanges of each kind, and a sequence.
  for (int opt : {0, 1, 2}) {
    for (const std::string &still : {full + "Mfull.QVEL_000.KDT", ntsc + "Mntsc.QVEL_000.KDT"}) {
      CTaskModeConv task(m_engine);
      int ret = 0;
      task.LoadRGB({still}, 0, ret);
      task.GetYUVDataSrc(opt);
      ASSERT_EQ(task.SaveRGB(Folder("still" + std::to_string(opt)), "KDT"), 0);
    }
  }
  {
    std::vector<std::string> sequence;
    for (const std::string &s : stills) {
      if (s.rfind(full, 0) == 0) sequence.push_back(s);
    }
    for (int opt : {0, 1, 2}) {
      CTaskModeConv task(m_engine);
      int ret = 0;
      task.LoadAllRGB(sequence, 0, ret,
                      Folder(opt == 2 ? "sequence" : "sequence" + std::to_string(opt)), "KDT", opt);
      ASSERT_EQ(task.GetConvertResult(), 0);
    }
  }

  // A composite of four sources on a 2 x 2 grid.
  {
    CTaskComposite task(m_engine);
    task.UpdateConvParameter(1920, 1080, ShiftNormal, 1);
    int ret = 0;
    task.LoadRGB({all[0], all[2], all[4], all[6]}, 0, ret);
    ASSERT_NE(task.GetRGB(0), nullptr);
    ASSERT_EQ(task.SaveRGB(Folder("composite") + "MGRID.QVEL_000.KDT", "KDT"), 0);
  }

  const std::map<std::string, uint64_t> expected = {
      {"bmp/Mfull.QVEL_000.BMP", 0xaf36476214296b09ull},
      {"bmp/Mfull.QVEL_001.BMP", 0xe6fb9009a9cd88d7ull},
      {"bmp/Mhd.QVEL_000.BMP", 0xe795910d47504febull},
      {"bmp/Mhd.QVEL_001.BMP", 0xa5136c7ad932f840ull},
      {"bmp/Mlarge.QVEL_000.BMP", 0x1aea643e42404910ull},
      {"bmp/Mlarge.QVEL_001.BMP", 0x35119260968b2fe1ull},
      {"bmp/Mmono.QVEL_000.BMP", 0x8bc3ae64c6cbc1a5ull},
      {"bmp/Mmono.QVEL_001.BMP", 0x40699c461d4b682dull},
      {"bmp/Mntsc.QVEL_000.BMP", 0x13772c1471a1a5c2ull},
      {"bmp/Mntsc.QVEL_001.BMP", 0xc067f7b062db169cull},
      {"bmp/Mpal.QVEL_000.BMP", 0xdcfedd8e2e157093ull},
      {"bmp/Mpal.QVEL_001.BMP", 0x5951157ac9c8cac1ull},
      {"bmp/Msmall.QVEL_000.BMP", 0xbc1cb47a0c779dd0ull},
      {"bmp/Msmall.QVEL_001.BMP", 0x5fae308858aeca42ull},
      {"composite/MGRID.QVEL_000.KDT", 0xca3f55afc92b6c56ull},
      {"kdt1280x720s1/Mfull.QVEL_000.KDT", 0xd019e84b510b300bull},
      {"kdt1280x720s1/Mhd.QVEL_000.KDT", 0x6b232a0c2d7cc197ull},
      {"kdt1280x720s1/Mlarge.QVEL_000.KDT", 0x5a71a95a39295802ull},
      {"kdt1280x720s1/Mmono.QVEL_000.KDT", 0xbddd68ac35fd416dull},
      {"kdt1280x720s1/Mntsc.QVEL_000.KDT", 0xb07f47965cdb3d66ull},
      {"kdt1280x720s1/Mpal.QVEL_000.KDT", 0x668b9ec1b891ff21ull},
      {"kdt1280x720s1/Msmall.QVEL_000.KDT", 0xf55c73f0d7884882ull},
      {"kdt1920x1080s0/Mfull.QVEL_000.KDT", 0x32ee5f1ecd7c585bull},
      {"kdt1920x1080s0/Mhd.QVEL_000.KDT", 0xa01649414c5fa793ull},
      {"kdt1920x1080s0/Mlarge.QVEL_000.KDT", 0x293214cea54b3c22ull},
      {"kdt1920x1080s0/Mmono.QVEL_000.KDT", 0x70dbe40c002fb56dull},
      {"kdt1920x1080s0/Mntsc.QVEL_000.KDT", 0xcd7d6c728bf7df5eull},
      {"kdt1920x1080s0/Mpal.QVEL_000.KDT", 0x1218259cf737ac19ull},
      {"kdt1920x1080s0/Msmall.QVEL_000.KDT", 0x1c35c45806e30ac6ull},
      {"kdt1920x1080s1/Mfull.QVEL_000.KDT", 0x452f39bb542061efull},
      {"kdt1920x1080s1/Mhd.QVEL_000.KDT", 0x5d2d9633bf960493ull},
      {"kdt1920x1080s1/Mlarge.QVEL_000.KDT", 0xc9329227242d2a6eull},
      {"kdt1920x1080s1/Mmono.QVEL_000.KDT", 0x15cc1316ec2dbd51ull},
      {"kdt1920x1080s1/Mntsc.QVEL_000.KDT", 0xa8ef19ebed8e12feull},
      {"kdt1920x1080s1/Mpal.QVEL_000.KDT", 0x826549a97d158485ull},
      {"kdt1920x1080s1/Msmall.QVEL_000.KDT", 0x2487ba86cb023a3aull},
      {"kdt1920x1080s2/Mfull.QVEL_000.KDT", 0xf20217297222e06full},
      {"kdt1920x1080s2/Mhd.QVEL_000.KDT", 0x14ebdc5e45d5811bull},
      {"kdt1920x1080s2/Mlarge.QVEL_000.KDT", 0x533423d2d63de57aull},
      {"kdt1920x1080s2/Mmono.QVEL_000.KDT", 0xe987fdb9936759a5ull},
      {"kdt1920x1080s2/Mntsc.QVEL_000.KDT", 0x59cffbeffe0bf51aull},
      {"kdt1920x1080s2/Mpal.QVEL_000.KDT", 0xb7e305278e1d9769ull},
      {"kdt1920x1080s2/Msmall.QVEL_000.KDT", 0xdc3be13d5073141eull},
      {"kdt720x487s0/Mfull.QVEL_000.KDT", 0xd2f5eb982e464ec2ull},
      {"kdt720x487s0/Mhd.QVEL_000.KDT", 0xfe536c19cf866e66ull},
      {"kdt720x487s0/Mlarge.QVEL_000.KDT", 0xd3230dbb800639c7ull},
      {"kdt720x487s0/Mmono.QVEL_000.KDT", 0x1ef31cb4c8ad9150ull},
      {"kdt720x487s0/Mntsc.QVEL_000.KDT", 0xbef42ae67d805cafull},
      {"kdt720x487s0/Mpal.QVEL_000.KDT", 0x7945a14ad0f7138cull},
      {"kdt720x487s0/Msmall.QVEL_000.KDT", 0x092234e42130fe9full},
      {"kdt720x487s1/Mfull.QVEL_000.KDT", 0x5af5f70ae06de73eull},
      {"kdt720x487s1/Mhd.QVEL_000.KDT", 0x456e5879b6dcc97eull},
      {"kdt720x487s1/Mlarge.QVEL_000.KDT", 0x7a87c30b471009bbull},
      {"kdt720x487s1/Mmono.QVEL_000.KDT", 0x825b0f863c3f7d84ull},
      {"kdt720x487s1/Mntsc.QVEL_000.KDT", 0xaaff6370f04a15c3ull},
      {"kdt720x487s1/Mpal.QVEL_000.KDT", 0x0cbe0c96488661e0ull},
      {"kdt720x487s1/Msmall.QVEL_000.KDT", 0xa504568ab345f09bull},
      {"kdt720x487s2/Mfull.QVEL_000.KDT", 0x8d6a3973f8cd78c6ull},
      {"kdt720x487s2/Mhd.QVEL_000.KDT", 0x8eb39d6dcadacfaaull},
      {"kdt720x487s2/Mlarge.QVEL_000.KDT", 0x6c4b660a1241b33full},
      {"kdt720x487s2/Mmono.QVEL_000.KDT", 0x8531eddc8d6876e0ull},
      {"kdt720x487s2/Mntsc.QVEL_000.KDT", 0xcbdb215fdf36538full},
      {"kdt720x487s2/Mpal.QVEL_000.KDT", 0xdbaa2a78aa57b7dcull},
      {"kdt720x487s2/Msmall.QVEL_000.KDT", 0x3ffb14042fc8cbefull},
      {"kdt720x576s1/Mfull.QVEL_000.KDT", 0x58bdbecd2cf48358ull},
      {"kdt720x576s1/Mhd.QVEL_000.KDT", 0x89d9e98fa56ffcf8ull},
      {"kdt720x576s1/Mlarge.QVEL_000.KDT", 0xa86302b208f78d35ull},
      {"kdt720x576s1/Mmono.QVEL_000.KDT", 0x4011e258b83aefceull},
      {"kdt720x576s1/Mntsc.QVEL_000.KDT", 0x769294925081872dull},
      {"kdt720x576s1/Mpal.QVEL_000.KDT", 0xb98a947f480d5986ull},
      {"kdt720x576s1/Msmall.QVEL_000.KDT", 0x024216883bbff8b5ull},
      {"sequence/Mhd.QVEL_000.KDT", 0x76a14a33a5287c07ull},
      {"sequence/Mlarge.QVEL_000.KDT", 0x2d1ad7567829dd7aull},
      {"sequence/Mmono.QVEL_000.KDT", 0xe003b18ce0a52129ull},
      {"sequence/Mntsc.QVEL_000.KDT", 0x7987dffd69ef06e2ull},
      {"sequence/Mpal.QVEL_000.KDT", 0x198399665027de15ull},
      {"sequence/Msmall.QVEL_000.KDT", 0xcf25e1064227b24aull},
      {"sequence0/Mhd.QVEL_000.KDT", 0xddb83411bb7598dbull},
      {"sequence0/Mlarge.QVEL_000.KDT", 0x1c6d58c8d9d833c6ull},
      {"sequence0/Mmono.QVEL_000.KDT", 0xd16cb9edf7661655ull},
      {"sequence0/Mntsc.QVEL_000.KDT", 0x6054281714c81df6ull},
      {"sequence0/Mpal.QVEL_000.KDT", 0xfb10bab0650d45c9ull},
      {"sequence0/Msmall.QVEL_000.KDT", 0xb7d6e390741e8e62ull},
      {"sequence1/Mhd.QVEL_000.KDT", 0x898fcba7e3891cc3ull},
      {"sequence1/Mlarge.QVEL_000.KDT", 0x9a12bdcf4ef62ea6ull},
      {"sequence1/Mmono.QVEL_000.KDT", 0x6d9f7c75ddb1fd1ull},
      {"sequence1/Mntsc.QVEL_000.KDT", 0xe2d1eaf6a4139662ull},
      {"sequence1/Mpal.QVEL_000.KDT", 0xf9e7218f1e85243dull},
      {"sequence1/Msmall.QVEL_000.KDT", 0xa13984281f4b467eull},
      {"src/full.bmp", 0xcea103548b24a793ull},
      {"src/hd.bmp", 0x14a70a27fea47ca1ull},
      {"src/large.bmp", 0x07cb7bd2bb6e1d8full},
      {"src/mono.bmp", 0xe1c9fa622a422e5full},
      {"src/ntsc.bmp", 0x0f1dba911ac1706cull},
      {"src/pal.bmp", 0x107e094f573be5e9ull},
      {"src/small.bmp", 0xfb7c37c606c69fdeull},
      {"still0/Mfull.QVEL_000.KDT", 0x328cc6b1f6ca4aafull},
      {"still0/Mntsc.QVEL_000.KDT", 0x6da32430473d5aa7ull},
      {"still1/Mfull.QVEL_000.KDT", 0xfd04aff9da538fe7ull},
      {"still1/Mntsc.QVEL_000.KDT", 0xfe60993dca830b03ull},
      {"still2/Mfull.QVEL_000.KDT", 0xcfe115733c7df5a7ull},
      {"still2/Mntsc.QVEL_000.KDT", 0xc251ad9e019e08c7ull},
  };
  const std::map<std::string, uint64_t> digests = Digests();
  for (const auto &[name, digest] : digests) {
    const auto recorded = expected.find(name);
    EXPECT_TRUE(recorded != expected.end() && recorded->second == digest)
        << name << " now has the digest " << std::hex << digest;
  }
  EXPECT_EQ(digests.size(), expected.size());
}

TEST_F(OutputIdentityTest, EveryLoadGivesThePictureItGaveBefore) {
  const std::string src = Folder("load");
  using Spec = test_support::BmpSpec;
  auto with = [](Spec spec, auto change) {
    change(spec);
    return spec;
  };
  // Bitmaps of every depth and padding, with short, long and odd palettes, a longer information
  // header, a gap before the rows, rows stored top-down, and files cut short.
  struct Bitmap {
    const char *name;
    Spec spec;
    size_t cut;  // bytes taken off the end of the file
  };
  const Bitmap bitmaps[] = {
      {"full24.bmp", SourceSpec(1920, 1080, 24, 11), 0},
      {"padded24.bmp", SourceSpec(641, 479, 24, 12), 0},
      {"cut24.bmp", SourceSpec(640, 100, 24, 13), 7},
      {"cutpadded24.bmp", SourceSpec(641, 30, 24, 14), 5},
      {"pal8.bmp", SourceSpec(720, 576, 8, 15), 0},
      {"odd8.bmp", SourceSpec(99, 77, 8, 16), 0},
      {"short8.bmp", with(SourceSpec(99, 77, 8, 17), [](Spec &s) { s.clrUsed = 20; }), 0},
      {"cut8.bmp", SourceSpec(64, 20, 8, 18), 3},
      {"hd4.bmp", SourceSpec(1280, 720, 4, 19), 0},
      {"odd4.bmp", SourceSpec(37, 9, 4, 20), 0},
      {"mono1.bmp", SourceSpec(333, 211, 1, 21), 0},
      {"nine1.bmp", SourceSpec(9, 5, 1, 22), 0},
      {"cut1.bmp", SourceSpec(333, 21, 1, 23), 1},
      {"v5info8.bmp", with(SourceSpec(50, 40, 8, 24), [](Spec &s) { s.infoSize = 124; }), 0},
      {"gap24.bmp", with(SourceSpec(64, 32, 24, 25), [](Spec &s) { s.offBits = 154; }), 0},
      {"topdown24.bmp", with(SourceSpec(16, 8, 24, 26), [](Spec &s) { s.height = -8; }), 0},
      {"deep32.bmp", with(SourceSpec(16, 8, 24, 27), [](Spec &s) { s.bitCount = 32; }), 0},
  };
  std::vector<std::string> paths;
  for (const Bitmap &b : bitmaps) {
    std::vector<unsigned char> file = Encoded(b.spec);
    file.resize(file.size() - b.cut);
    paths.push_back(src + b.name);
    test_support::WriteWholeFile(paths.back(), file);
  }
  // Stills of two formats written by the KDT plug-in, then cut short, made longer, damaged in
  // their body and in their header.
  for (const auto &[name, width, height] :
       {std::tuple{"MFULL.QVEL_000.KDT", 1920u, 1080u}, {"MNTSC.QVEL_000.KDT", 720u, 487u}}) {
    std::vector<unsigned char> pixels(size_t{width} * height * 3);
    uint32_t state = width;
    for (unsigned char &p : pixels)
      p = static_cast<unsigned char>((state = state * 69069u + 1) >> 24);
    tagRGBInfo picture{width, height, 24, pixels.data(), nullptr};
    paths.push_back(src + name);
    ASSERT_EQ(m_engine.SaveRGB(paths.back(), "KDT", &picture), 0);
  }
  const std::vector<unsigned char> still = ReadWholeFile(src + "MNTSC.QVEL_000.KDT");
  const auto variant = [&](const char *name, auto change) {
    std::vector<unsigned char> bytes = still;
    change(bytes);
    paths.push_back(src + name);
    test_support::WriteWholeFile(paths.back(), bytes);
  };
  variant("MCUT.QVEL_000.KDT", [](auto &b) { b.pop_back(); });
  variant("MLONG.QVEL_000.KDT", [](auto &b) { b.push_back(0); });
  variant("MBODY.QVEL_000.KDT", [](auto &b) { b[64 + 5000] ^= 1; });
  variant("MLOGIN.QVEL_000.KDT", [](auto &b) { b[63] ^= 1; });
  variant("MHEAD.QVEL_000.KDT", [](auto &b) { b[0] = 'X'; });
  variant("MBMP.QVEL_000.KDT", [&](auto &b) { b = ReadWholeFile(paths[1]); });

  // Each file loaded with pixels and as a record only: the code, the record's fields and the
  // pixels, as one digest.
  std::map<std::string, uint64_t> digests;
  for (const std::string &path : paths) {
    for (int pixels : {1, 0}) {
      int ret = -1;
      tagFileInfo *info = m_engine.LoadRGB(path, pixels, ret);
      uint64_t digest = Fnv1a(reinterpret_cast<const unsigned char *>(&ret), sizeof ret);
      if (info != nullptr) {
        const tagRGBInfo &rgb = info->rgbInfo;
        const uint32_t fields[] = {rgb.width,
                                   rgb.height,
                                   rgb.bitsPixl,
                                   rgb.ptBits != nullptr,
                                   rgb.ptAlpha != nullptr,
                                   path == info->filename};
        digest = Fnv1a(reinterpret_cast<const unsigned char *>(fields), sizeof fields, digest);
        if (rgb.ptBits != nullptr)
          digest = Fnv1a(rgb.ptBits, size_t{rgb.width} * rgb.height * 3, digest);
        PluginFreeFileInfo(info);
      }
      digests[fs::path(path).filename().string() + (pixels ? "" : " record")] = digest;
    }
  }
  const std::map<std::string, uint64_t> expected = {
      {"MBMP.QVEL_000.KDT", 0xffee67094af2033cull},
      {"MBMP.QVEL_000.KDT record", 0xffee67094af2033cull},
      {"MBODY.QVEL_000.KDT", 0xe358e938dbd9c2eaull},
      {"MBODY.QVEL_000.KDT record", 0xe358e938dbd9c2eaull},
      {"MCUT.QVEL_000.KDT", 0xffee67094af2033cull},
      {"MCUT.QVEL_000.KDT record", 0xffee67094af2033cull},
      {"MFULL.QVEL_000.KDT", 0xf4228d8d5404bac6ull},
      {"MFULL.QVEL_000.KDT record", 0xe9227863b813e0e5ull},
      {"MHEAD.QVEL_000.KDT", 0xffee67094af2033cull},
      {"MHEAD.QVEL_000.KDT record", 0xffee67094af2033cull},
      {"MLOGIN.QVEL_000.KDT", 0xe358e938dbd9c2eaull},
      {"MLOGIN.QVEL_000.KDT record", 0xe358e938dbd9c2eaull},
      {"MLONG.QVEL_000.KDT", 0xffee67094af2033cull},
      {"MLONG.QVEL_000.KDT record", 0xffee67094af2033cull},
      {"MNTSC.QVEL_000.KDT", 0x129ba753ad2f0e7dull},
      {"MNTSC.QVEL_000.KDT record", 0xe358e938dbd9c2eaull},
      {"cut1.bmp", 0x4d25767f9dce13f5ull},
      {"cut1.bmp record", 0xd340408800150d86ull},
      {"cut24.bmp", 0x70b61a7f4ff7f9d2ull},
      {"cut24.bmp record", 0x70b61a7f4ff7f9d2ull},
      {"cut8.bmp", 0x4d25767f9dce13f5ull},
      {"cut8.bmp record", 0xdffe4335046298d8ull},
      {"cutpadded24.bmp", 0x4d25767f9dce13f5ull},
      {"cutpadded24.bmp record", 0x8d2fbca776313cddull},
      {"deep32.bmp", 0x4d25767f9dce13f5ull},
      {"deep32.bmp record", 0xfe8d19a1b15aeddcull},
      {"full24.bmp", 0x73a9b03bd7c2fb04ull},
      {"full24.bmp record", 0xe9227863b813e0e5ull},
      {"gap24.bmp", 0xe147205bf108ff0aull},
      {"gap24.bmp record", 0x9b9b945ef766851cull},
      {"hd4.bmp", 0x6bf0eda9ddff30c8ull},
      {"hd4.bmp record", 0x9f3b7a9e587ea5ddull},
      {"mono1.bmp", 0xae9102168b47e49bull},
      {"mono1.bmp record", 0xe4a6ef9ce52d9be0ull},
      {"nine1.bmp", 0xbb3568848d73b5faull},
      {"nine1.bmp record", 0xd0e5c48e32302459ull},
      {"odd4.bmp", 0x4d36c49afa2a3c22ull},
      {"odd4.bmp record", 0x112e91bb3993859cull},
      {"odd8.bmp", 0xe7e12b31b2b92f4aull},
      {"odd8.bmp record", 0x87674cbebbdb3112ull},
      {"padded24.bmp", 0xd45794b0671d7301ull},
      {"padded24.bmp record", 0x4e4d2ea902e31cf3ull},
      {"pal8.bmp", 0xcf2306ba17e9088eull},
      {"pal8.bmp record", 0xc631fbb36ca88c5cull},
      {"short8.bmp", 0xea4aff599134c66cull},
      {"short8.bmp record", 0x87674cbebbdb3112ull},
      {"topdown24.bmp", 0x81b065a380273847ull},
      {"topdown24.bmp record", 0x81b065a380273847ull},
      {"v5info8.bmp", 0x0b178d81aff3d1faull},
      {"v5info8.bmp record", 0xd99c61197cb69236ull},
  };
  for (const auto &[name, digest] : digests) {
    const auto recorded = expected.find(name);
    EXPECT_TRUE(recorded != expected.end() && recorded->second == digest)
        << name << " now has the digest " << std::hex << digest;
  }
  EXPECT_EQ(digests.size(), expected.size());
}

}  // namespace

// The files that the operator's jobs write stay the same, byte for byte, as the program is made
// faster: a fixed set of sources goes through batch imports (every picture size, every shift,
// sources smaller than, equal to and larger than the target), exports, Y/C exchanges in both
// modes and a composite, and every file written is compared by its digest with the digest it had
// when this table was recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
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

uint64_t Fnv1a(const std::vector<unsigned char> &bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

// A bitmap of width x height at `bitCount` bits: gradients with noise at 24 bits, a noisy index
// pattern over a full palette of varied colours when indexed.
std::vector<unsigned char> SourceBitmap(int32_t width, int32_t height, uint16_t bitCount,
                                        uint32_t seed) {
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
  const std::vector<uint8_t> file = test_support::EncodeBmp(spec);
  return {file.begin(), file.end()};
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

}  // namespace

// The operator's jobs on 1920 x 1080 pictures, end to end, as the workflows run them: real files
// in a temporary folder, the engine's tasks on the real plug-ins, on one worker thread. Each job is
// shown beside the I/O floor of the same run: the time to read the same sources and write the same
// number of bytes, with nothing converted; and beside the durable floor, the same reads and
// writes with each written file synced to the disk once.
//
// Counters: ms/file and files/s of the job (a file is a target written, or for the preview one
// picture loaded and fitted), cpu_ms/file, the processor time of the job's worker thread per
// file (far less moved by the machine's other work than wall time), floor_ms/file and
// floor_files/s, floor_cpu_ms/file, the processor time of the floor's reads and writes (the
// system's copies between files and memory, which every job pays as well), durable_floor_ms/file,
// peak_MB, the process's resident high-water mark during the job, and growth_MB, how far it rose
// above what was resident when the job began. --files=N sets the number of sources of the batch and
// animation jobs (50 by default).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/blit/FitToPane.h"
#include "engine/ImageFileEngine.h"
#include "engine/TaskBasic.h"
#include "engine/TaskBatch.h"
#include "engine/TaskComposite.h"
#include "engine/TaskModeConv.h"
#include "platform/HeapTuning.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;
constexpr uint64_t kKdtFileBytes = 5188864;
constexpr uint64_t kBmpFileBytes = 54 + uint64_t{kWidth} * 3 * kHeight;
constexpr int kPaneWidth = 560;
constexpr int kPaneHeight = 315;

int g_files = 50;

// Smooth gradients with noise, so that neither direction of the conversion sees few values.
std::vector<unsigned char> MakePicture() {
  std::vector<unsigned char> rgb(size_t{kWidth} * kHeight * 3);
  uint32_t state = 12345;
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      unsigned char *p = &rgb[(size_t{y} * kWidth + x) * 3];
      p[0] = static_cast<unsigned char>(x * 255 / kWidth);
      p[1] = static_cast<unsigned char>(y * 255 / kHeight);
      p[2] = static_cast<unsigned char>(state >> 24);
    }
  }
  return rgb;
}

// The temporary folder: the sources (g_files bitmaps and g_files KDT stills of one picture),
// the job's targets and the floor's files, each in a folder of its own.
class Workspace {
 public:
  Workspace() {
    engine.Initialization();
    std::string base = (fs::temp_directory_path() / "quenda-jobs-bench-XXXXXX").string();
    if (mkdtemp(base.data()) == nullptr) return;
    m_base = base;
    targets = base + "/dst/";
    floorFolder = base + "/floor/";
    const std::string sources = base + "/src/";
    for (const std::string &folder : {sources, targets, floorFolder})
      fs::create_directories(folder);
    std::vector<unsigned char> pixels = MakePicture();
    tagRGBInfo picture{kWidth, kHeight, 24, pixels.data(), nullptr};
    for (int i = 0; i < g_files; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "PIC%02d", i);
      bmps.push_back(sources + name + ".bmp");
      kdts.push_back(sources + "M" + name + ".QVEL_000.KDT");
      // The first of each kind is written by the plug-ins, the others are copies of it.
      const bool copied = i == 0
                              ? engine.SaveRGB(bmps[0], "BMP", &picture) == 0 &&
                                    engine.SaveRGB(kdts[0], "KDT", &picture) == 0
                              : fs::copy_file(bmps[0], bmps[i]) && fs::copy_file(kdts[0], kdts[i]);
      if (!copied) return;
    }
    ready = true;
  }
  ~Workspace() {
    std::error_code ignored;
    if (!m_base.empty()) fs::remove_all(m_base, ignored);
  }

  // Removes every file of `folder`.
  static void Empty(const std::string &folder) {
    for (const auto &entry : fs::directory_iterator(folder)) fs::remove(entry.path());
  }

  CImageFileEngine engine;
  std::vector<std::string> bmps;
  std::vector<std::string> kdts;
  std::string targets;
  std::string floorFolder;
  bool ready = false;

 private:
  std::string m_base;
};

Workspace &Files() {
  static Workspace workspace;
  return workspace;
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The processor time the calling thread has used, in seconds.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reads each source whole and writes `writes` files of `bytes` bytes: the least that any job
// reading those sources and writing those targets must do; `durable` syncs each written file
// before it is closed. Returns the seconds taken.
double IoFloor(const std::vector<std::string> &sources, int writes, uint64_t bytes, bool durable) {
  static std::vector<char> buffer;
  buffer.resize(std::max<uint64_t>({kBmpFileBytes, kKdtFileBytes, bytes}) + 1, 1);
  const auto start = std::chrono::steady_clock::now();
  for (const std::string &source : sources) {
    const int fd = open(source.c_str(), O_RDONLY);
    if (fd < 0) continue;
    while (read(fd, buffer.data(), buffer.size()) > 0) {
    }
    close(fd);
  }
  for (int i = 0; i < writes; ++i) {
    const std::string path = Files().floorFolder + std::to_string(i);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) continue;
    for (uint64_t done = 0; done < bytes;) {
      const ssize_t wrote = write(fd, buffer.data(), bytes - done);
      if (wrote <= 0) break;
      done += static_cast<uint64_t>(wrote);
    }
    if (durable) fsync(fd);
    close(fd);
  }
  return Seconds(start);
}

// The process's resident high-water mark starts again from what is resident now.
void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// A field of /proc/self/status in MB: VmHWM, the resident high-water mark, or VmRSS.
double StatusMB(const std::string &field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024;
  }
  return 0;
}

// What a job reads and writes, for its floor, and how many files it counts.
struct JobShape {
  std::vector<std::string> sources;
  int targets;
  uint64_t targetBytes;
  int files;
};

// Runs `job` once per iteration (its time is the iteration's), then the floor of the same
// shape. Each removes the other's files just before it writes, so both write into memory that
// the system has just freed: fresh memory is slow to come by on some machines, and the
// comparison would otherwise depend on which of the two got it.
void RunJob(benchmark::State &state, const JobShape &shape, const std::function<bool()> &job) {
  if (!Files().ready) {
    state.SkipWithError("no sources (are the plug-ins built into dll/?)");
    return;
  }
  double jobSeconds = 0;
  double cpuSeconds = 0;
  double floorSeconds = 0;
  double floorCpuSeconds = 0;
  double durableSeconds = 0;
  double peak = 0;
  double growth = 0;
  for (auto _ : state) {
    ResetPeakMemory();
    const double before = StatusMB("VmRSS");
    // One worker thread per run, as the workflows start one per conversion.
    const auto start = std::chrono::steady_clock::now();
    bool done = false;
    double cpu = 0;
    std::thread([&done, &cpu, &job] {
      const double cpuStart = ThreadCpuSeconds();
      done = job();
      cpu = ThreadCpuSeconds() - cpuStart;
    }).join();
    const double seconds = Seconds(start);
    peak = std::max(peak, StatusMB("VmHWM"));
    growth = std::max(growth, StatusMB("VmHWM") - before);
    state.SetIterationTime(seconds);
    if (!done) {
      state.SkipWithError("the job failed");
      break;
    }
    jobSeconds += seconds;
    cpuSeconds += cpu;
    Workspace::Empty(Files().targets);
    const double floorCpuStart = ThreadCpuSeconds();
    floorSeconds += IoFloor(shape.sources, shape.targets, shape.targetBytes, false);
    floorCpuSeconds += ThreadCpuSeconds() - floorCpuStart;
    Workspace::Empty(Files().floorFolder);
    durableSeconds += IoFloor(shape.sources, shape.targets, shape.targetBytes, true);
    Workspace::Empty(Files().floorFolder);
  }
  const double files = static_cast<double>(state.iterations()) * shape.files;
  if (files == 0 || jobSeconds == 0 || floorSeconds == 0) return;
  state.counters["ms/file"] = 1000 * jobSeconds / files;
  state.counters["files/s"] = files / jobSeconds;
  state.counters["cpu_ms/file"] = 1000 * cpuSeconds / files;
  state.counters["floor_ms/file"] = 1000 * floorSeconds / files;
  state.counters["floor_files/s"] = files / floorSeconds;
  state.counters["floor_cpu_ms/file"] = 1000 * floorCpuSeconds / files;
  state.counters["durable_floor_ms/file"] = 1000 * durableSeconds / files;
  state.counters["peak_MB"] = peak;
  state.counters["growth_MB"] = growth;
}

// One batch run of `sources` into targets of `format`, as the import and export workflow runs it.
void RunBatch(benchmark::State &state, const std::vector<std::string> &sources,
              const std::string &format, uint64_t targetBytes) {
  Workspace &w = Files();
  RunJob(state, {sources, g_files, targetBytes, g_files}, [&w, &sources, &format] {
    CTaskBatch task(w.engine);
    task.UpdateConvParameter(kWidth, kHeight, ShiftNormal, 0);
    int ret = 0;
    task.LoadRGB(sources, 0, ret);
    task.GetRGB(0);
    return task.SaveRGB(w.targets, format) == 0 && task.GetConvertResult() == 0;
  });
}

// Import: each bitmap into a KDT still of 1920 x 1080.
void BM_BatchImport(benchmark::State &state) {
  RunBatch(state, Files().bmps, "KDT", kKdtFileBytes);
}

// Export: each KDT still into a bitmap.
void BM_BatchExport(benchmark::State &state) {
  RunBatch(state, Files().kdts, "BMP", kBmpFileBytes);
}

// Y/C still exchange of one still, with a new task as the workflow makes one.
void BM_StillExchange(benchmark::State &state) {
  Workspace &w = Files();
  RunJob(state, {{w.kdts[0]}, 1, kKdtFileBytes, 1}, [&w] {
    CTaskModeConv task(w.engine);
    int ret = 0;
    task.LoadRGB({w.kdts[0]}, 0, ret);
    task.GetYUVDataSrc(2);
    return task.SaveRGB(w.targets, "KDT") == 0 && task.GetConvertResult() == 0;
  });
}

// Y/C animation mode over all the stills: n files give n - 1 targets; the time is per target.
void BM_Animation(benchmark::State &state) {
  Workspace &w = Files();
  RunJob(state, {w.kdts, g_files - 1, kKdtFileBytes, g_files - 1}, [&w] {
    CTaskModeConv task(w.engine);
    int ret = 0;
    task.LoadAllRGB(w.kdts, 0, ret, w.targets, "KDT", 2);
    return task.GetConvertResult() == 0 && task.GetProgressStatus() == 100;
  });
}

// The preview of a selected still: loaded through a basic task and fitted to a pane.
void BM_Preview(benchmark::State &state) {
  Workspace &w = Files();
  RunJob(state, {{w.kdts[0]}, 0, 0, 1}, [&w] {
    CTaskBasic task(w.engine);
    int ret = 0;
    task.LoadRGB({w.kdts[0]}, 0, ret);
    const tagRGBInfo *picture = task.GetRGB(1);
    FittedPicture fitted;
    return picture != nullptr && FitToPane(*picture, kPaneWidth, kPaneHeight, fitted);
  });
}

// Nine bitmaps on a 3 x 3 grid of one KDT still.
void BM_Composite3x3(benchmark::State &state) {
  Workspace &w = Files();
  std::vector<std::string> nine(w.bmps.begin(),
                                w.bmps.begin() + std::min<size_t>(9, w.bmps.size()));
  RunJob(state, {nine, 1, kKdtFileBytes, 1}, [&w, nine] {
    CTaskComposite task(w.engine);
    task.UpdateConvParameter(kWidth, kHeight, ShiftNormal, 2);
    int ret = 0;
    task.LoadRGB(nine, 0, ret);
    task.GetRGB(0);
    return task.SaveRGB(w.targets + "MCOMP.QVEL_000.KDT", "KDT") == 0;
  });
}

BENCHMARK(BM_BatchImport)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchExport)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StillExchange)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Animation)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Preview)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Composite3x3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  // --files=N is this program's own; the rest goes to the benchmark library.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--files=", 8) == 0) {
      g_files = std::max(std::atoi(argv[i] + 8), 2);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  platform::TuneHeapForPictures();  // as the program does
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Speed of the deinterlacing step on full-size YUY2 frames: the reference and
// the fast path in modes 1111 and 1113, the memory-traffic floor measured with
// memcpy on the same buffers, and ffmpeg's yadif and bwdif when ffmpeg is
// installed. Every figure comes from this one run.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/weave_kernels.h"

namespace {

using brontel::Deinterlacer;
using brontel::DeinterlaceSettings;
using brontel::FrameBuffers;
using brontel::GrabState;
using brontel::WeavePath;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 720;
constexpr int kRingFrames = 16;  // distinct inputs, so that input is not cache-hot
constexpr int kTrials = 7;
constexpr double kTrialSeconds = 0.25;
constexpr int kFfmpegFrames = 400;
constexpr int kFfmpegTrials = 3;
constexpr double kPi = 3.14159265358979323846;

std::uint8_t ClampByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::min(255.0, std::max(0.0, value))));
}

// One interlaced YUY2 frame of a scene with a still, finely detailed
// background (a zone plate and small print), a textured ball moving
// diagonally, a horizontal ticker and sensor noise. The two fields are
// captured 1/50 s apart, so moving parts comb.
Bytes SceneFrame(int lines, int index) {
  Bytes frame(static_cast<std::size_t>(kWidth) * 2 * lines);
  std::uint32_t noise = 0x9E3779B9u * static_cast<std::uint32_t>(index + 1);
  for (int y = 0; y < lines; ++y) {
    const double time = 2.0 * index + (y % 2);  // in fields
    const double ballX = 100 + std::fmod(time * 5.0, kWidth - 200.0);
    const double ballY = 80 + std::fmod(time * 3.0, lines - 160.0);
    const bool inTicker = y > lines - 60 && y < lines - 20;
    for (int x = 0; x < kWidth; ++x) {
      const double dx = x - kWidth / 2.0;
      const double dy = y - lines / 2.0;
      double luma = 128 + 70 * std::cos(kPi * (dx * dx + dy * dy) / 9000.0);  // zone plate
      if (y > 40 && y < 90 && ((x / 3 + y / 5) % 7 == 0)) {
        luma = 235;  // small print
      }
      int u = 128;
      int v = 128;
      const double bx = x - ballX;
      const double by = y - ballY;
      if (bx * bx + by * by < 60.0 * 60.0) {
        luma = 90 + 60 * std::sin((bx + by) * 0.8) * std::cos(bx * 0.3);
        u = 80;
        v = 200;
      }
      if (inTicker) {
        const double scrolled = x + time * 8.0;
        luma = (static_cast<int>(scrolled / 4) % 3 == 0) ? 230 : 30;
        u = 150;
        v = 110;
      }
      noise = noise * 1664525u + 1013904223u;
      luma += static_cast<int>(noise >> 29) - 4;  // a little sensor noise
      std::uint8_t* unit = &frame[(static_cast<std::size_t>(y) * kWidth + x) * 2];
      unit[0] = ClampByte(luma);
      unit[1] = static_cast<std::uint8_t>(x % 2 == 0 ? u : v);
    }
  }
  return frame;
}

// A timed candidate: processes frame i of a run.
struct Candidate {
  std::string name;
  std::function<void(int)> processFrame;
  int framesPerTrial = 0;
  double bestSeconds = 1e30;  // per frame
};

double TimeFrames(const Candidate& candidate, int frames) {
  const auto start = Clock::now();
  for (int i = 0; i < frames; ++i) candidate.processFrame(i);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best time per frame of each candidate. Trials are interleaved round by
// round, so a burst of load from elsewhere hits every candidate alike.
void MeasureInterleaved(std::vector<Candidate>& candidates) {
  for (Candidate& candidate : candidates) {
    int frames = 8;
    double seconds = TimeFrames(candidate, frames);
    while (seconds < kTrialSeconds / 4 && frames < (1 << 20)) {
      frames *= 2;
      seconds = TimeFrames(candidate, frames);
    }
    candidate.framesPerTrial = std::max(8, static_cast<int>(frames * kTrialSeconds / seconds));
  }
  for (int trial = 0; trial < kTrials; ++trial) {
    for (Candidate& candidate : candidates) {
      const double seconds = TimeFrames(candidate, candidate.framesPerTrial);
      candidate.bestSeconds = std::min(candidate.bestSeconds, seconds / candidate.framesPerTrial);
    }
  }
}

std::string CpuName() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const std::size_t colon = line.find(':');
      return colon == std::string::npos ? line : line.substr(colon + 2);
    }
  }
  return "unknown CPU";
}

const std::int32_t kModes[2] = {brontel::kModeTwoFrameWeave, brontel::kModeAdaptive};

struct PathUnderTest {
  const char* name;
  WeavePath path;
};

std::vector<PathUnderTest> PathsUnderTest() {
  std::vector<PathUnderTest> paths = {{"reference", WeavePath::kReference}};
  if (brontel::Sse2WeaveAvailable()) paths.push_back({"SSE2", WeavePath::kSse2});
  if (brontel::Avx2WeaveAvailable()) paths.push_back({"AVX2", WeavePath::kAvx2});
  return paths;
}

bool PathMatchesReference(const std::vector<Bytes>& ring, int lines, std::int32_t mode,
                          WeavePath path) {
  Deinterlacer reference;
  Deinterlacer other;
  reference.AcceptInputType(brontel::InputFormatKind::kYuy2);
  other.AcceptInputType(brontel::InputFormatKind::kYuy2);
  reference.SetWeavePath(WeavePath::kReference);
  other.SetWeavePath(path);
  DeinterlaceSettings settings;
  settings.lMode = mode;
  GrabState grab;
  const std::size_t length = ring[0].size();
  Bytes expected(length);
  Bytes actual(length);
  for (int pass = 0; pass < 2; ++pass) {
    for (const Bytes& input : ring) {
      FrameBuffers frame{input.data(), length, expected.data(), length, kWidth, lines, 16};
      reference.ProcessFrame(frame, settings, grab);
      frame.output = actual.data();
      other.ProcessFrame(frame, settings, grab);
      if (actual != expected) return false;
    }
  }
  return true;
}

struct SizeFigures {
  double floorSeconds = 0;
  // [mode][path], paths as PathsUnderTest()
  std::vector<double> seconds[2];
};

SizeFigures MeasureSize(const std::vector<Bytes>& ring, int lines, std::uint64_t& checksum) {
  const std::size_t length = ring[0].size();
  const std::vector<PathUnderTest> paths = PathsUnderTest();
  Bytes output(length);
  Bytes history(length);
  std::vector<Candidate> candidates;

  // The least traffic the step can do: read input and history, write output
  // and history.
  candidates.push_back({"memcpy floor", [&](int i) {
                          std::memcpy(output.data(), history.data(), length);
                          std::memcpy(history.data(), ring[i % kRingFrames].data(), length);
                          checksum += output[i % length];
                        }});

  std::vector<std::unique_ptr<Deinterlacer>> steps;
  GrabState grab;
  for (std::int32_t mode : kModes) {
    for (const PathUnderTest& path : paths) {
      steps.push_back(std::make_unique<Deinterlacer>());
      Deinterlacer* step = steps.back().get();
      step->AcceptInputType(brontel::InputFormatKind::kYuy2);
      step->SetWeavePath(path.path);
      DeinterlaceSettings settings;
      settings.lMode = mode;
      candidates.push_back({path.name, [&, step, settings](int i) {
                              const Bytes& input = ring[i % kRingFrames];
                              FrameBuffers frame{
                                  input.data(), length, output.data(), length, kWidth, lines, 16};
                              step->ProcessFrame(frame, settings, grab);
                              checksum += output[i % length];
                            }});
    }
  }
  MeasureInterleaved(candidates);

  SizeFigures figures;
  figures.floorSeconds = candidates[0].bestSeconds;
  for (int m = 0; m < 2; ++m) {
    for (std::size_t p = 0; p < paths.size(); ++p) {
      figures.seconds[m].push_back(candidates[1 + m * paths.size() + p].bestSeconds);
    }
  }
  return figures;
}

// ffmpeg's filters work on planar pictures; yuv422p is YUY2's planar twin.
Bytes ToYuv422p(const Bytes& yuy2, int lines) {
  const std::size_t pixels = static_cast<std::size_t>(kWidth) * lines;
  Bytes planar(pixels * 2);
  std::uint8_t* yPlane = planar.data();
  std::uint8_t* uPlane = yPlane + pixels;
  std::uint8_t* vPlane = uPlane + pixels / 2;
  for (std::size_t p = 0; p < pixels; p += 2) {
    yPlane[p] = yuy2[2 * p];
    uPlane[p / 2] = yuy2[2 * p + 1];
    yPlane[p + 1] = yuy2[2 * p + 2];
    vPlane[p / 2] = yuy2[2 * p + 3];
  }
  return planar;
}

bool FfmpegInstalled() {
  return std::system("ffmpeg -hide_banner -version >/dev/null 2>&1") == 0;
}

std::string FfmpegCommand(const std::string& file, int lines, const std::string& filter) {
  const int loops = kFfmpegFrames / kRingFrames - 1;
  return "ffmpeg -hide_banner -loglevel error -nostdin -threads 1 -filter_threads 1"
         " -stream_loop " +
         std::to_string(loops) + " -f rawvideo -pix_fmt yuv422p -s " + std::to_string(kWidth) +
         "x" + std::to_string(lines) + " -framerate 25 -i " + file + " -vf " + filter +
         " -f null - >/dev/null 2>&1";
}

// Writes the ring as yuv422p, then times ffmpeg over kFfmpegFrames frames
// with no filter, yadif and bwdif, trials interleaved; the best wall time of
// each counts.
void PrintFfmpeg(const std::vector<Bytes>& ring, int lines, const SizeFigures& figures,
                 const std::vector<PathUnderTest>& paths) {
  char path[] = "/tmp/deint_bench_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) {
    std::printf("  ffmpeg: cannot create a temporary file, skipped\n");
    return;
  }
  bool written = true;
  for (const Bytes& frame : ring) {
    const Bytes planar = ToYuv422p(frame, lines);
    written =
        written && write(fd, planar.data(), planar.size()) == static_cast<ssize_t>(planar.size());
  }
  close(fd);
  if (!written) {
    std::printf("  ffmpeg: cannot write the temporary file, skipped\n");
    unlink(path);
    return;
  }

  const char* filters[3] = {"null", "yadif", "bwdif"};
  double best[3] = {1e30, 1e30, 1e30};
  for (int trial = 0; trial < kFfmpegTrials; ++trial) {
    for (int f = 0; f < 3; ++f) {
      const auto start = Clock::now();
      if (std::system(FfmpegCommand(path, lines, filters[f]).c_str()) != 0) {
        std::printf("  ffmpeg -vf %s failed, skipped\n", filters[f]);
        unlink(path);
        return;
      }
      best[f] = std::min(best[f], std::chrono::duration<double>(Clock::now() - start).count());
    }
  }
  unlink(path);

  for (int f = 1; f < 3; ++f) {
    // The filter's own cost: the same run without it is subtracted.
    const double filterSeconds = (best[f] - best[0]) / kFfmpegFrames;
    if (filterSeconds <= 0) {
      std::printf("  ffmpeg %s: too fast to separate from reading the input\n", filters[f]);
      continue;
    }
    std::printf(
        "  ffmpeg %s (yuv422p, 1 thread): %6.3f ms/frame %7.0f fps   (whole ffmpeg run %.0f fps)\n",
        filters[f], filterSeconds * 1e3, 1 / filterSeconds, kFfmpegFrames / best[f]);
    // Without a vector path the reference is what the step runs.
    for (std::size_t p = paths.size() > 1 ? 1 : 0; p < paths.size(); ++p) {
      std::printf("    %s path: %.1fx %s's frames per second in mode 1111, %.1fx in mode 1113\n",
                  paths[p].name, filterSeconds / figures.seconds[0][p], filters[f],
                  filterSeconds / figures.seconds[1][p]);
    }
  }
}

}  // namespace

int main() {
#if !defined(__OPTIMIZE__)
  std::printf("warning: built without optimisation; use the native preset for real figures\n");
#endif
  const std::vector<PathUnderTest> paths = PathsUnderTest();
  std::printf("Deinterlacing step benchmark: YUY2, synthetic moving scene, %d-frame input ring\n",
              kRingFrames);
  std::printf("Best of %d interleaved trials, one thread. CPU: %s\n", kTrials, CpuName().c_str());
  std::printf("Paths: ");
  for (const PathUnderTest& path : paths) std::printf("%s ", path.name);
  std::printf("(the step picks %s)\n\n", paths.back().name);
  const bool ffmpeg = FfmpegInstalled();
  std::uint64_t checksum = 0;

  for (int lines : {576, 480}) {
    std::vector<Bytes> ring;
    for (int i = 0; i < kRingFrames; ++i) ring.push_back(SceneFrame(lines, i));
    std::printf("%dx%d YUY2, %zu bytes a frame\n", kWidth, lines, ring[0].size());

    const SizeFigures figures = MeasureSize(ring, lines, checksum);
    std::printf(
        "  memcpy floor (read input + history, write output + history): %6.3f ms/frame %7.0f fps\n",
        figures.floorSeconds * 1e3, 1 / figures.floorSeconds);
    for (int m = 0; m < 2; ++m) {
      const double reference = figures.seconds[m][0];
      for (std::size_t p = 0; p < paths.size(); ++p) {
        const double seconds = figures.seconds[m][p];
        std::printf("  mode %d %-9s: %6.3f ms/frame %7.0f fps", kModes[m], paths[p].name,
                    seconds * 1e3, 1 / seconds);
        if (p > 0) {
          std::printf("  %.2fx the floor's time, %.1fx the reference's speed, output %s",
                      seconds / figures.floorSeconds, reference / seconds,
                      PathMatchesReference(ring, lines, kModes[m], paths[p].path) ? "identical"
                                                                                  : "DIFFERENT");
        }
        std::printf("\n");
      }
    }
    if (ffmpeg) {
      PrintFfmpeg(ring, lines, figures, paths);
    } else {
      std::printf("  ffmpeg not installed: yadif and bwdif skipped\n");
    }
    std::printf("\n");
  }
  std::printf("(checksum %llu)\n", static_cast<unsigned long long>(checksum));
  return 0;
}

// The fast weave against the reference: random pictures with fixed seeds over
// many sizes, alignments and settings must give identical output and history.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdint>
#include <vector>

#include "deinterlace/weave_kernels.h"

namespace brontel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Pictures where part of the frame is still and part moves, with luma near
// every threshold: the previous frame is the current one plus noise whose
// size varies by region.
struct FramePair {
  Bytes current;
  Bytes previous;
};

// A small fixed-seed generator: std::mt19937 is slow in unoptimised builds.
struct XorShift32 {
  std::uint32_t state;
  std::uint32_t operator()() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

FramePair RandomFramePair(std::size_t length, XorShift32& rng) {
  FramePair pair{Bytes(length), Bytes(length)};
  int noise = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint32_t bits = rng();
    if (i % 64 == 0) {
      // 0 (identical), small, medium or full-range differences.
      const std::uint32_t pick = bits % 7;
      noise = pick == 0 ? 0 : pick <= 2 ? 8 : pick <= 4 ? 40 : 255;
    }
    const int value = static_cast<int>(bits & 0xFF);
    const int delta = static_cast<int>((bits >> 8) % (2 * noise + 1)) - noise;
    const int previous = value + delta;
    pair.current[i] = static_cast<std::uint8_t>(value);
    pair.previous[i] = static_cast<std::uint8_t>(previous < 0     ? 0
                                                 : previous > 255 ? 255
                                                                  : previous);
  }
  return pair;
}

struct Outcome {
  Bytes output;
  Bytes history;
};

// Runs one kernel on buffers placed `offset` bytes past a 16-byte boundary.
Outcome RunKernel(void (*weave)(const WeaveJob&), const FramePair& pair, std::size_t lineBytes,
                  std::size_t lines, bool adaptive, std::int32_t delta2, std::int32_t delta3,
                  std::size_t offset) {
  const std::size_t length = lineBytes * lines;
  Bytes input(length + offset);
  Bytes output(length + offset, 0xEE);
  Bytes history(length + offset);
  std::copy(pair.current.begin(), pair.current.end(), input.begin() + offset);
  std::copy(pair.previous.begin(), pair.previous.end(), history.begin() + offset);

  WeaveJob job;
  job.input = input.data() + offset;
  job.output = output.data() + offset;
  job.history = history.data() + offset;
  job.lineBytes = lineBytes;
  job.lines = lines;
  job.adaptive = adaptive;
  job.lDelta2 = delta2;
  job.lDelta3 = delta3;
  weave(job);
  return {Bytes(output.begin() + offset, output.end()),
          Bytes(history.begin() + offset, history.end())};
}

const std::int32_t kThresholds[] = {INT_MIN, -1, 0,  1,   2,   7,   8,   9,
                                    20,      31, 32, 100, 255, 256, 257, INT_MAX};

struct VectorPath {
  const char* name;
  bool (*available)();
  void (*weave)(const WeaveJob&);
};

const VectorPath kVectorPaths[] = {
    {"SSE2", Sse2WeaveAvailable, WeaveYuy2Sse2},
    {"AVX2", Avx2WeaveAvailable, WeaveYuy2Avx2},
};

// One run per vector path; a CPU without its instructions shows the test as
// skipped rather than passing on the reference alone.
class WeaveFastPath : public ::testing::TestWithParam<VectorPath> {
 protected:
  void SetUp() override {
    if (!GetParam().available()) GTEST_SKIP() << GetParam().name << " is not on this CPU";
  }
};

TEST_P(WeaveFastPath, MatchesTheReferenceOnRandomPicturesOfManySizes) {
  const VectorPath& path = GetParam();
  XorShift32 rng{20261208};
  // Up to and past the widest line whose decisions the vector paths carry
  // from pair to pair (2048 bytes).
  const std::size_t widths[] = {1,  2,  3,  5,  7,  8,   9,    15,   16,  17,
                                23, 24, 31, 33, 47, 100, 1024, 1025, 1041};
  const std::size_t lineCounts[] = {1, 2, 3, 4, 5, 6, 7, 12, 13};
  int compared = 0;
  for (std::size_t width : widths) {
    for (std::size_t lines : lineCounts) {
      const FramePair pair = RandomFramePair(width * 2 * lines, rng);
      for (bool adaptive : {false, true}) {
        for (std::int32_t threshold : kThresholds) {
          const std::int32_t delta2 = adaptive ? 8 : threshold;
          const std::int32_t delta3 = adaptive ? threshold : 20;
          const std::size_t offset = static_cast<std::size_t>(compared % 16);
          const Outcome expected = RunKernel(WeaveYuy2Reference, pair, width * 2, lines, adaptive,
                                             delta2, delta3, offset);
          const Outcome actual = RunKernel(path.weave, pair, width * 2, lines, adaptive, delta2,
                                           delta3, (offset * 7 + 3) % 16);
          ASSERT_EQ(actual.output, expected.output)
              << width << "x" << lines << " adaptive " << adaptive << " threshold " << threshold;
          ASSERT_EQ(actual.history, expected.history)
              << width << "x" << lines << " adaptive " << adaptive << " threshold " << threshold;
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 19 * 9 * 2 * 16);
}

INSTANTIATE_TEST_SUITE_P(VectorPaths, WeaveFastPath, ::testing::ValuesIn(kVectorPaths),
                         [](const ::testing::TestParamInfo<VectorPath>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace brontel

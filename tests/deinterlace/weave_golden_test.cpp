// Tiny frames whose expected pictures are worked out by hand, so that the
// reference weave itself is pinned; the fast paths are compared with it.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "deinterlace/weave_kernels.h"

namespace brontel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct GoldenCase {
  const char* name;
  bool adaptive;
  std::int32_t lDelta2;
  std::int32_t lDelta3;
  std::size_t lineBytes;
  std::size_t lines;
  Bytes input;
  Bytes history;  // luma only matters; chroma left 0
  Bytes expected;
};

std::vector<GoldenCase> GoldenCases() {
  return {
      // Mode 1111, T = 8. Three units a line, five lines: pairs (0,1,2) and
      // (2,3,4), line 4 copied.
      // Pair 0: u0 moving (d1 = 90): a0 50, a2 101 -> m 75, even 62, chroma
      //   line 0. u1 moving (d1 = 8, not below 8): a0 10, a2 30 -> m 20,
      //   even 15, equal distances -> chroma line 0. u2 still: d0 = 20 but
      //   d2 = 3 and d1 = 0.
      // Pair 1: u0 moving (d1 = 10): a0 101, a2 50 -> m 75, even 88, chroma
      //   line 4. u1 still. u2 moving (d1 = 255): a0 43, a2 254 -> m 148,
      //   even 95, odd sum but a0 < a2 -> chroma line 2.
      {"TwoFrameWeaveFiveLines",
       false,
       8,
       20,
       6,
       5,
       {
           50,  0xA0, 10,  0xA1, 40,  0xA2,  // line 0
           90,  0xB0, 20,  0xB1, 60,  0xB2,  // line 1
           101, 0xC0, 30,  0xC1, 43,  0xC2,  // line 2
           70,  0xD0, 200, 0xD1, 0,   0xD2,  // line 3
           50,  0xE0, 31,  0xE1, 254, 0xE2,  // line 4
       },
       {
           50,  0, 10,  0, 20,  0,  //
           0,   0, 28,  0, 60,  0,  //
           101, 0, 30,  0, 40,  0,  //
           60,  0, 200, 0, 255, 0,  //
           50,  0, 40,  0, 0,   0,  //
       },
       {
           62, 0xA0, 15,  0xA1, 40,  0xA2,  //
           75, 0xA0, 20,  0xA1, 60,  0xB2,  //
           88, 0xC0, 30,  0xC1, 95,  0xC2,  //
           75, 0xE0, 200, 0xD1, 148, 0xC2,  //
           50, 0xE0, 31,  0xE1, 254, 0xE2,  //
       }},
      // Mode 1113, lDelta3 20. Two units a line, four lines: one pair, lines 2
      // and 3 copied.
      // u0: a1 200 -> T 25; d1 = 24 -> still.
      // u1: a1 100 -> T 20; d1 = 20 -> moving: a0 255, a2 0 -> m 127,
      //   even 191, odd sum and a0 > a2 -> chroma line 2.
      {"AdaptiveFourLines",
       true,
       8,
       20,
       4,
       4,
       {
           100, 10, 255, 11,  //
           200, 20, 100, 21,  //
           51, 30, 0, 31,     //
           7, 40, 8, 41,      //
       },
       {
           100, 0, 255, 0,  //
           176, 0, 80, 0,   //
           51, 0, 0, 0,     //
           0, 0, 0, 0,      //
       },
       {
           100, 10, 191, 11,  //
           200, 20, 127, 31,  //
           51, 30, 0, 31,     //
           7, 40, 8, 41,      //
       }},
  };
}

// Repeats every line `times` times side by side; units are independent, so
// the expected picture repeats the same way. Makes the fast path use its
// vector loop and its remainder on the same hand-checked units.
Bytes Tile(const Bytes& picture, std::size_t lineBytes, std::size_t times) {
  Bytes tiled;
  for (std::size_t start = 0; start < picture.size(); start += lineBytes) {
    for (std::size_t t = 0; t < times; ++t) {
      tiled.insert(tiled.end(), picture.begin() + start, picture.begin() + start + lineBytes);
    }
  }
  return tiled;
}

void RunGolden(const GoldenCase& golden, std::size_t tiles, void (*weave)(const WeaveJob&)) {
  Bytes input = Tile(golden.input, golden.lineBytes, tiles);
  Bytes history = Tile(golden.history, golden.lineBytes, tiles);
  const Bytes expected = Tile(golden.expected, golden.lineBytes, tiles);
  Bytes output(input.size(), 0x5A);

  WeaveJob job;
  job.input = input.data();
  job.output = output.data();
  job.history = history.data();
  job.lineBytes = golden.lineBytes * tiles;
  job.lines = golden.lines;
  job.adaptive = golden.adaptive;
  job.lDelta2 = golden.lDelta2;
  job.lDelta3 = golden.lDelta3;
  weave(job);

  EXPECT_EQ(output, expected) << golden.name << " tiles " << tiles;
  EXPECT_EQ(history, input) << golden.name << " tiles " << tiles;
}

TEST(WeaveGolden, ReferenceMatchesHandComputedPictures) {
  for (const GoldenCase& golden : GoldenCases()) {
    RunGolden(golden, 1, WeaveYuy2Reference);
    RunGolden(golden, 7, WeaveYuy2Reference);
  }
}

}  // namespace
}  // namespace brontel

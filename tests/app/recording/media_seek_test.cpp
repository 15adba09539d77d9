// Seek targets of a playback and of the time-shift ring buffer.
#include <gtest/gtest.h>

#include "app/recording/media_seek.h"

namespace brontel::recording {
namespace {

TEST(PlaybackSeek, TargetsAndPartChanges) {
  using Kind = PlaybackSeek::Kind;
  struct Case {
    std::int32_t command;
    std::int64_t position;
    bool multiPart;
    Kind kind;
    std::int64_t target;
  };
  const Case cases[] = {
      {kSeekStart, 1, true, Kind::kPreviousPart, 0}, {kSeekStart, 2, true, Kind::kTarget, 0},
      {kSeekStart, 1, false, Kind::kTarget, 0},      {kSeekBack, 3, false, Kind::kTarget, 0},
      {kSeekBack, 20, true, Kind::kTarget, 15},      {kSeekForward, 28, false, Kind::kTarget, 30},
      {kSeekForward, 10, false, Kind::kTarget, 15},  {kSeekEnd, 10, true, Kind::kNextPart, 0},
      {kSeekEnd, 10, false, Kind::kTarget, 30},      {10130, 10, false, Kind::kNone, 0},
  };
  for (const Case& c : cases) {
    const PlaybackSeek seek = PlaybackSeekTarget(c.command, c.position, 30, c.multiPart);
    EXPECT_EQ(seek.kind, c.kind) << c.command << " at " << c.position;
    if (c.kind == Kind::kTarget) {
      EXPECT_EQ(seek.targetSec, c.target) << c.command;
    }
  }
}

// A buffer of L = 100 s; R1 and R3 grow across laps.
TEST(TimeShiftSeek, OverTheLapBoundary) {
  struct Case {
    const char* what;
    std::int32_t command;
    std::int64_t r1;
    std::int64_t r3;
    std::int64_t target;
  };
  const Case cases[] = {
      {"oldest, first fill", kSeekStart, 10, 30, 4},
      {"oldest, first fill with 2 s written", kSeekStart, 0, 2, 2},
      {"oldest after a lap", kSeekStart, 110, 130, 38},
      {"back, p > w, far from w", kSeekBack, 195, 205, 90},
      {"back, p > w, near w", kSeekBack, 12, 105, 10},
      {"back, p <= w, n >= 1, at the oldest", kSeekBack, 101, 197, 2},
      {"back, p <= w, n >= 1, wraps below 0", kSeekBack, 103, 120, 98},
      {"back, p <= w, n >= 1", kSeekBack, 150, 160, 45},
      {"back, first fill", kSeekBack, 20, 30, 15},
      {"back 5 s with 3 s buffered stays", kSeekBack, 3, 3, 3},
      {"forward, p > w, near the oldest", kSeekForward, 96, 103, 98},
      {"forward, p > w, wraps above L", kSeekForward, 95, 110, 3},
      {"forward, p > w", kSeekForward, 50, 120, 58},
      {"forward, p <= w, close to live", kSeekForward, 25, 30, 22},
      {"forward, p <= w", kSeekForward, 10, 30, 15},
      {"live", kSeekEnd, 10, 30, 22},
      {"live after a lap wraps", kSeekEnd, 90, 103, 95},
      {"live with 5 s written holds at the start", kSeekEnd, 0, 5, 0},
  };
  for (const Case& c : cases) {
    const TimeShiftSeek seek =
        TimeShiftSeekTarget(c.command, TimeShiftPositionOf({c.r1, 0, c.r3, 100}));
    EXPECT_TRUE(seek.valid) << c.what;
    EXPECT_EQ(seek.targetSec, c.target) << c.what;
  }
  EXPECT_FALSE(TimeShiftSeekTarget(kSeekEnd, TimeShiftPositionOf({0, 0, 5, 0})).valid);
  EXPECT_FALSE(TimeShiftSeekTarget(10130, TimeShiftPositionOf({0, 0, 5, 100})).valid);
}

}  // namespace
}  // namespace brontel::recording

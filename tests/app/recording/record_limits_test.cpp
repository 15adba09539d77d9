// The size given to the board, the length estimates and the one-second
// supervision of recordings and playbacks.
#include <gtest/gtest.h>

#include "app/recording/record_limits.h"

namespace brontel::recording {
namespace {

constexpr std::int64_t kMiB = 1048576;

TEST(BufferSize, LimitsByKindAndVolume) {
  struct Case {
    const char* what;
    BufferSizeInput input;
    std::int32_t megabytes;
  };
  BufferSizeInput fat;
  fat.Rec_clt = kLimitSize;
  fat.lRecSizeLimitMB = 5000;
  fat.ntfs = false;
  BufferSizeInput ntfs = fat;
  ntfs.ntfs = true;
  BufferSizeInput usable;
  usable.usableBytes = 3 * kMiB + 5;
  BufferSizeInput negative;
  negative.usableBytes = -kMiB;
  BufferSizeInput timeShift;
  timeShift.timeShift = true;
  timeShift.lTSBufferSizeMB = 512;
  BufferSizeInput scheduledSplit;
  scheduledSplit.scheduled = true;
  scheduledSplit.Rec_clt = kLimitSize;
  scheduledSplit.lRecSizeLimitMB = 9;
  scheduledSplit.usableBytes = 800 * kMiB;
  scheduledSplit.split = {true, kLimitSize, 0, 70};
  BufferSizeInput scheduledPlain = scheduledSplit;
  scheduledPlain.split.bMultipleCapture = false;
  const Case cases[] = {
      {"5000 MB on FAT passed as 4000", fat, 4000},
      {"NTFS takes the limit", ntfs, 5000},
      {"no limit: whole usable megabytes", usable, 3},
      {"no room gives 0, not a huge size", negative, 0},
      {"time shift: the buffer size", timeShift, 512},
      {"scheduled split by size", scheduledSplit, 70},
      {"scheduled without split: usable space", scheduledPlain, 800},
  };
  for (const Case& c : cases) EXPECT_EQ(BufferSizeMB(c.input), c.megabytes) << c.what;
}

TEST(Estimates, RadioAndAvi) {
  EXPECT_EQ(RadioEstimateSec(kLimitTime, 900, 10, 10), 900);
  EXPECT_EQ(RadioEstimateSec(kLimitSize, 900, 10, 99), 640);
  EXPECT_EQ(RadioEstimateSec(kLimitNone, 900, 10, 99), 6336);
  EXPECT_EQ(AviEstimateSec(1024), 51);  // 1 GiB at 20891664 bytes a second
  EXPECT_EQ(AviEstimateSec(19), 0);
}

RecordTickInput Mpeg(std::int32_t limitKind, CaptureTimes times) {
  RecordTickInput input;
  input.Rec_clt = limitKind;
  input.lRecTimeLimitSec = 15;
  input.lRecSizeLimitMB = 2;
  input.times = times;
  return input;
}

TEST(SuperviseRecording, TimesAndLimits) {
  struct Case {
    const char* what;
    RecordTickInput input;
    std::int64_t elapsed;
    std::int64_t remain;
    RecordAction action;
  };
  RecordTickInput timeLimit = Mpeg(kLimitTime, {0, 0, 15, 100});
  RecordTickInput running = Mpeg(kLimitTime, {0, 0, 9, 100});
  RecordTickInput sizeSplit = Mpeg(kLimitSize, {0, 0, 4, 100});
  sizeSplit.bMultiPart = true;
  sizeSplit.bytesWritten = 2 * kMiB;
  RecordTickInput sizeBelow = sizeSplit;
  sizeBelow.bytesWritten = 2 * kMiB - 1;
  RecordTickInput huge = Mpeg(kLimitSize, {0, 0, 4, 100});
  huge.lRecSizeLimitMB = 5000;
  huge.bytesWritten = 4999 * kMiB;  // past 32 bits, below the limit
  RecordTickInput noLimit = Mpeg(kLimitNone, {0, 0, 400000, 400000});
  RecordTickInput clamped = Mpeg(kLimitNone, {0, 0, 0, 500000});
  RecordTickInput radio = Mpeg(kLimitTime, {0, 0, 0, 0});
  radio.radio = true;
  radio.lElapsedSec = 7;
  radio.lEstimatedSec = 15;
  RecordTickInput aviAtLimit = radio;
  aviAtLimit.radio = false;
  aviAtLimit.avi = true;
  aviAtLimit.lElapsedSec = 15;
  RecordTickInput scheduled = Mpeg(kLimitTime, {0, 0, 60, 100});
  scheduled.scheduled = true;
  scheduled.secondsToScheStop = 0;
  RecordTickInput scheduledSplit = scheduled;
  scheduledSplit.split = {true, kLimitTime, 60, 0};
  const Case cases[] = {
      {"time limit reached ends it", timeLimit, 15, 0, RecordAction::kStop},
      {"time limit running", running, 9, 6, RecordAction::kNone},
      {"size limit with parts", sizeSplit, 4, 96, RecordAction::kNextPart},
      {"one byte short of the size", sizeBelow, 4, 96, RecordAction::kNone},
      {"sizes beyond 4 GiB compared in 64 bits", huge, 4, 96, RecordAction::kNone},
      {"no limit: the disk is full", noLimit, 400000, 0, RecordAction::kStop},
      {"remaining at most 99 hours", clamped, 0, kMaxRemainSec, RecordAction::kNone},
      {"radio counts its own seconds", radio, 7, 8, RecordAction::kNone},
      {"AVI is left to the size watch", aviAtLimit, 15, 0, RecordAction::kNone},
      {"scheduled ends through the scheduler", scheduled, 60, 0, RecordAction::kNone},
      {"scheduled split by time", scheduledSplit, 60, 0, RecordAction::kNextPart},
  };
  for (const Case& c : cases) {
    const RecordTick tick = SuperviseRecording(c.input);
    EXPECT_EQ(tick.elapsedSec, c.elapsed) << c.what;
    EXPECT_EQ(tick.remainSec, c.remain) << c.what;
    EXPECT_EQ(tick.action, c.action) << c.what;
  }
}

TEST(SuperviseRecording, CounterAndRemainingShown) {
  RecordTickInput radio = Mpeg(kLimitNone, {});
  radio.radio = true;
  radio.lElapsedSec = 4;
  radio.lEstimatedSec = 100;
  EXPECT_EQ(SuperviseRecording(radio).lElapsedSec, 5);
  EXPECT_FALSE(SuperviseRecording(radio).showRemain);
  RecordTickInput split = Mpeg(kLimitSize, {0, 0, 1, 10});
  split.bMultiPart = true;
  split.radio = true;
  split.lElapsedSec = 30;
  split.bytesWritten = 3 * kMiB;
  const RecordTick tick = SuperviseRecording(split);
  EXPECT_TRUE(tick.showRemain);
  EXPECT_EQ(tick.lElapsedSec, 0);  // a new part counts from 0
}

TEST(SupervisePlayback, EndOfPartsAndFiles) {
  struct Case {
    CaptureTimes times;
    bool multiPart;
    bool atEnd;
    PlaybackAction action;
  };
  const Case cases[] = {
      {{30, 30, 0, 0}, true, false, PlaybackAction::kStepForward},
      {{30, 30, 0, 0}, true, true, PlaybackAction::kNone},
      {{30, 30, 0, 0}, false, false, PlaybackAction::kSetAtEnd},
      {{12, 30, 0, 0}, false, true, PlaybackAction::kClearAtEnd},
      {{12, 30, 0, 0}, true, false, PlaybackAction::kNone},
      {{0, 0, 0, 0}, true, false, PlaybackAction::kNone},  // length not known yet
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SupervisePlayback(c.times, c.multiPart, c.atEnd), c.action)
        << c.times.r1 << "/" << c.times.r2 << " multi " << c.multiPart << " end " << c.atEnd;
  }
}

TEST(TimeShiftDelay, AcrossTheLapAndBeforeOverwrite) {
  struct Case {
    CaptureTimes times;
    std::int64_t delay;
    bool resume;
  };
  const Case cases[] = {
      {{10, 0, 15, 100}, 5, false},     // p <= w
      {{195, 0, 205, 100}, 10, false},  // p > w: p in the previous lap
      {{100, 0, 192, 100}, 92, true},   // p <= w: d >= L - 8
      {{101, 0, 192, 100}, 91, false}, {{195, 0, 287, 100}, 92, false},  // p > w: d > L - 8 needed
      {{195, 0, 288, 100}, 93, true},  {{5, 0, 5, 0}, 0, false},         // no buffer length
  };
  for (const Case& c : cases) {
    const TimeShiftPosition position = TimeShiftPositionOf(c.times);
    EXPECT_EQ(position.delay, c.delay) << c.times.r1 << " " << c.times.r3;
    EXPECT_EQ(MustResumeBeforeOverwrite(position), c.resume) << c.times.r1 << " " << c.times.r3;
  }
}

}  // namespace
}  // namespace brontel::recording

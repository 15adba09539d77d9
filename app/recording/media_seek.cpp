#include "app/recording/media_seek.h"

#include <algorithm>

namespace brontel::recording {
namespace {

// A paused or rewound picture is kept this far from the write position.
constexpr std::int64_t kLiveMarginSec = 8;
constexpr std::int64_t kNearEdgeSec = 10;
// The oldest position of a buffer that has not yet filled.
constexpr std::int64_t kFirstFillStartSec = 4;
// Before this far into a part, "to the start" goes to the previous part.
constexpr std::int64_t kPreviousPartWindowSec = 2;

}  // namespace

PlaybackSeek PlaybackSeekTarget(std::int32_t command, std::int64_t position, std::int64_t end,
                                bool bMultiPart) {
  PlaybackSeek seek;
  seek.kind = PlaybackSeek::Kind::kTarget;
  switch (command) {
    case kSeekStart:
      if (bMultiPart && position < kPreviousPartWindowSec) {
        seek.kind = PlaybackSeek::Kind::kPreviousPart;
        return seek;
      }
      seek.targetSec = 0;
      break;
    case kSeekBack:
      seek.targetSec = position - kSeekStepSec;
      break;
    case kSeekForward:
      seek.targetSec = position + kSeekStepSec;
      break;
    case kSeekEnd:
      if (bMultiPart) {
        seek.kind = PlaybackSeek::Kind::kNextPart;
        return seek;
      }
      seek.targetSec = end;
      break;
    default:
      seek.kind = PlaybackSeek::Kind::kNone;
      return seek;
  }
  seek.targetSec = std::clamp<std::int64_t>(seek.targetSec, 0, std::max<std::int64_t>(end, 0));
  return seek;
}

TimeShiftSeek TimeShiftSeekTarget(std::int32_t command, const TimeShiftPosition& position) {
  TimeShiftSeek seek;
  const std::int64_t length = position.length;
  if (length <= 0) return seek;
  const std::int64_t p = position.play;
  const std::int64_t w = position.write;
  const std::int64_t n = position.laps;
  std::int64_t t = 0;
  switch (command) {
    case kSeekStart:
      t = p < w && n == 0 ? kFirstFillStartSec : w + kLiveMarginSec;
      break;
    case kSeekBack:
      if (p > w) {
        t = p - w >= kNearEdgeSec ? p - kSeekStepSec : w + kSeekStepSec;
      } else if (n >= 1 && w - p >= length - kNearEdgeSec) {
        t = w - length + kSeekStepSec;
      } else if (n >= 1) {
        t = p - kSeekStepSec;
      } else {
        t = p >= kNearEdgeSec ? p - kSeekStepSec : p;
      }
      break;
    case kSeekForward:
      if (p > w) {
        t = p - w >= length - kNearEdgeSec ? w + length - kSeekStepSec : p + kLiveMarginSec;
      } else {
        t = p > w - kNearEdgeSec ? w - kLiveMarginSec : p + kSeekStepSec;
      }
      break;
    case kSeekEnd:
      t = w - kLiveMarginSec;
      break;
    default:
      return seek;
  }
  if (n == 0) {
    t = std::clamp<std::int64_t>(t, 0, w);
  } else if (t < 0) {
    t = length + t;
  } else if (t > length) {
    t -= length;
  }
  seek.valid = true;
  seek.targetSec = t;
  return seek;
}

}  // namespace brontel::recording

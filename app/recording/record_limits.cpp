#include "app/recording/record_limits.h"

#include <algorithm>
#include <limits>

namespace brontel::recording {
namespace {

constexpr double kRadioSecondsPerMB = 8192.0 * 0.0078125;
constexpr double kAviSecondsPerByte = 4.786598137898446e-08;
// How close the write position may come to a paused picture.
constexpr std::int64_t kOverwriteMarginSec = 8;

std::int32_t ClampToInt32(double value) {
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (value <= 0) return 0;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t BufferSizeMB(const BufferSizeInput& input) {
  if (input.timeShift) return input.lTSBufferSizeMB;
  if (!input.scheduled && input.Rec_clt == kLimitSize) {
    if (!input.ntfs && input.lRecSizeLimitMB > kFatSizeLimitMB) return kFatSizeLimitMB;
    return input.lRecSizeLimitMB;
  }
  if (input.scheduled && input.split.bMultipleCapture &&
      input.split.ScheMultRec_clt == kLimitSize) {
    return input.split.lScheMultRecSizeLimitMB;
  }
  const std::int64_t megabytes = std::max<std::int64_t>(input.usableBytes, 0) >> 20;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(megabytes, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t RadioEstimateSec(std::int32_t Rec_clt, std::int32_t lRecTimeLimitSec,
                              std::int32_t lRecSizeLimitMB, std::int32_t usableMB) {
  if (Rec_clt == kLimitTime) return lRecTimeLimitSec;
  const std::int32_t megabytes = Rec_clt == kLimitSize ? lRecSizeLimitMB : usableMB;
  return ClampToInt32(megabytes * kRadioSecondsPerMB);
}

std::int32_t AviEstimateSec(std::int32_t lRecSizeLimitMB) {
  return ClampToInt32(lRecSizeLimitMB * static_cast<double>(kBytesPerMegabyte) *
                      kAviSecondsPerByte);
}

RecordTick SuperviseRecording(const RecordTickInput& input) {
  RecordTick tick;
  const bool counted = input.radio || input.avi;
  tick.elapsedSec = counted ? input.lElapsedSec : input.times.r3;
  std::int64_t remain = 0;
  if (input.scheduled) {
    remain = input.secondsToScheStop;
  } else if (counted) {
    remain = static_cast<std::int64_t>(input.lEstimatedSec) - input.lElapsedSec;
  } else if (input.Rec_clt == kLimitTime) {
    remain = input.lRecTimeLimitSec - input.times.r3;
  } else {
    remain = input.times.r4 - input.times.r3;
  }
  tick.remainSec = std::clamp<std::int64_t>(remain, 0, kMaxRemainSec);
  tick.lElapsedSec = counted ? input.lElapsedSec + 1 : input.lElapsedSec;
  tick.showRemain = input.Rec_clt != kLimitNone || input.scheduled;

  const ScheduleSplit& split = input.split;
  bool limit = false;
  if (!input.scheduled && tick.remainSec == 0 &&
      (input.Rec_clt == kLimitNone || input.Rec_clt == kLimitTime)) {
    limit = true;
  }
  if (input.scheduled && split.bMultipleCapture && split.ScheMultRec_clt == kLimitTime) {
    const std::int64_t elapsed = input.radio ? tick.lElapsedSec : input.times.r3;
    if (elapsed != 0 && elapsed >= split.lScheMultRecTimeLimitSec) limit = true;
  }
  std::int64_t sizeLimitMB = -1;
  if (!input.scheduled && input.Rec_clt == kLimitSize) sizeLimitMB = input.lRecSizeLimitMB;
  if (input.scheduled && split.bMultipleCapture && split.ScheMultRec_clt == kLimitSize) {
    sizeLimitMB = split.lScheMultRecSizeLimitMB;
  }
  if (sizeLimitMB >= 0 && input.bytesWritten >= sizeLimitMB * kBytesPerMegabyte) limit = true;
  tick.limitReached = limit;
  if (!limit) return tick;

  if ((input.bMultiPart && !input.scheduled) || (input.scheduled && split.bMultipleCapture)) {
    tick.action = RecordAction::kNextPart;
    tick.lElapsedSec = 0;
  } else if (!input.avi && !input.scheduled) {
    // A scheduled recording ends at its stop time through the scheduler;
    // an AVI recording through its size watch.
    tick.action = RecordAction::kStop;
  }
  return tick;
}

PlaybackAction SupervisePlayback(const CaptureTimes& times, bool bMultiPart, bool bAtEnd) {
  // A file whose length the board does not know yet has not ended.
  if (times.r1 != times.r2 || times.r2 <= 0) {
    return bAtEnd ? PlaybackAction::kClearAtEnd : PlaybackAction::kNone;
  }
  if (bMultiPart && !bAtEnd) return PlaybackAction::kStepForward;
  return bAtEnd ? PlaybackAction::kNone : PlaybackAction::kSetAtEnd;
}

TimeShiftPosition TimeShiftPositionOf(const CaptureTimes& times) {
  TimeShiftPosition position;
  position.length = times.r4;
  if (position.length <= 0) return position;
  // A board that reports a negative time has no position yet.
  const std::int64_t played = std::max<std::int64_t>(times.r1, 0);
  const std::int64_t written = std::max<std::int64_t>(times.r3, 0);
  position.play = played % position.length;
  position.write = written % position.length;
  position.laps = written / position.length;
  position.delay = position.play <= position.write
                       ? position.write - position.play
                       : position.length - position.play + position.write;
  return position;
}

bool MustResumeBeforeOverwrite(const TimeShiftPosition& position) {
  if (position.length <= 0) return false;
  const std::int64_t edge = position.length - kOverwriteMarginSec;
  return position.play <= position.write ? position.delay >= edge : position.delay > edge;
}

}  // namespace brontel::recording

#pragma once
// Where the panel's skip and wind commands move a playback or the
// time-shift playback, in whole seconds.

#include <cstdint>

#include "app/recording/record_limits.h"

namespace brontel::recording {

// The panel's seek commands.
enum SeekCommand : std::int32_t {
  kSeekStart = 10110,
  kSeekBack = 10120,
  kSeekForward = 10150,
  kSeekEnd = 10160,
};

constexpr std::int64_t kSeekStepSec = 5;

struct PlaybackSeek {
  enum class Kind { kNone, kTarget, kPreviousPart, kNextPart };
  Kind kind = Kind::kNone;
  std::int64_t targetSec = 0;
};

// Playback at `position` of a file of length `end`.
PlaybackSeek PlaybackSeekTarget(std::int32_t command, std::int64_t position, std::int64_t end,
                                bool bMultiPart);

// The time-shift target inside the ring buffer (0 to L); nullopt-like
// kNone for an unknown command or a buffer without length. Before the
// buffer has filled once, nothing lies outside 0 to w, so a target there is
// held at those ends instead of wrapping into space never written.
struct TimeShiftSeek {
  bool valid = false;
  std::int64_t targetSec = 0;
};
TimeShiftSeek TimeShiftSeekTarget(std::int32_t command, const TimeShiftPosition& position);

}  // namespace brontel::recording

#include "app/recording/radio_playback_tick.h"

#include <cmath>
#include <limits>

namespace brontel::recording {
namespace {

// Whole seconds, never below 0; a value the player cannot give (not a
// number, or beyond the counter) counts as 0 rather than as garbage.
std::int32_t WholeSeconds(double seconds) {
  if (!(seconds > 0)) return 0;
  if (seconds >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) return 0;
  return static_cast<std::int32_t>(std::floor(seconds));
}

}  // namespace

RadioTick RadioPlaybackTick(const RadioTickInput& input) {
  RadioTick tick;
  const std::int32_t position = WholeSeconds(input.positionSec);
  tick.lElapsedSec = input.lElapsedSec;
  if (position == input.lElapsedSec) return tick;
  tick.show = true;
  tick.lElapsedSec = position;
  const std::int32_t remain = WholeSeconds(input.durationSec) - position;
  tick.lRemainSec = remain < 0 ? 0 : remain;
  tick.stepToNextPart = tick.lRemainSec == 0 && input.bMultiPart && !input.bAtEnd;
  return tick;
}

}  // namespace brontel::recording

#pragma once
// The decisions of the radio playback's position tick: what the panel shows
// from the media player's position and duration, and when the playback
// moves on to the next part of a multi-part recording.

#include <cstdint>

namespace brontel::recording {

struct RadioTickInput {
  double positionSec = 0;  // the player's current position
  double durationSec = 0;  // the player's duration
  std::int32_t lElapsedSec = 0;
  bool bMultiPart = false;
  bool bAtEnd = false;
};

struct RadioTick {
  bool show = false;  // the whole-second position changed: show the times
  std::int32_t lElapsedSec = 0;
  std::int32_t lRemainSec = 0;
  bool stepToNextPart = false;  // at the end of a part: open the next one
};

RadioTick RadioPlaybackTick(const RadioTickInput& input);

}  // namespace brontel::recording

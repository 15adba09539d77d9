#pragma once
// Sound modes (amCurrAudioMode, amPrefSAPMode); the board reports the
// receivable ones as a mask of these bits.

#include <cstdint>

namespace brontel {

enum AudioMode : std::int32_t {
  kAudioMono = 1,
  kAudioStereo = 2,
  kAudioA = 4,
  kAudioB = 8,
  kAudioAB = 16,
};

}  // namespace brontel

#pragma once
// lRunMode: what the program is doing with the picture.

#include <cstdint>

namespace brontel {

enum RunMode : std::int32_t {
  kRunLive = 0,
  kRunSchedulePrepared = 1,  // a scheduled entry is prepared
  kRunRecording = 2,
  kRunPlayback = 3,
  kRunTimeShift = 4,
  kRunModeCount
};

}  // namespace brontel

#pragma once
// Source numbers, as kept in msCurrSrc and written to "registersetting.ini".

#include <cstdint>

namespace brontel {

enum Source : std::int32_t {
  kSourceTv = 0,
  kSourceVideo = 1,
  kSourceSVideo = 2,
  kSourceRadio = 3,
  kSourceCount
};

}  // namespace brontel

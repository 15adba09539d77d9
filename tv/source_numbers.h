#pragma once
// Source numbers, as kept in msCurrSrc and written to "registersetting.ini".

#include <cstdint>

namespace brontel {

constexpr std::int32_t kSourceTV = 0;
constexpr std::int32_t kSourceVideo = 1;
constexpr std::int32_t kSourceSVideo = 2;
constexpr std::int32_t kSourceRadio = 3;

}  // namespace brontel

#pragma once

#include <cstdint>
#include <vector>

#include "outside/mpegenc/picture_convert.h"

namespace timeshift {

// The shown width x height of a decoded 4:2:0 picture as top-down 32-bit
// BGRX pixels (a DIB with a negative height), studio-range BT.601.
void ToBgrx(const mpegenc::Frame420& frame, int width, int height, std::vector<std::uint8_t>* out);

}  // namespace timeshift

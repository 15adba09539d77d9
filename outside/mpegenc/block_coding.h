#pragma once

#include <cstdint>

// What the encoder and a decoder share about one coded 8x8 block.
namespace mpegenc {

// The default intra quantiser matrix, in raster order.
const std::uint8_t* DefaultIntraMatrix();
// The zigzag scan: scan position -> raster index.
const std::uint8_t* ZigZagOrder();

// What a decoder does with the levels (raster order) of one coded block of
// the default matrices and 8-bit DC precision: inverse quantisation,
// saturation and mismatch control. scale is the quantiser scale (2 x code).
void Dequantise(const std::int16_t* levels, bool intra, int scale, std::int16_t* out);

}  // namespace mpegenc

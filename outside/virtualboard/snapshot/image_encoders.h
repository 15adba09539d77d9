#pragma once
// The two still-picture files the board writes.

#include <cstdint>
#include <vector>

#include "outside/virtualboard/snapshot/snapshot_image.h"

namespace brontel::snapshot {

// A 24-bit Windows bitmap (bottom-up, rows padded to four bytes); empty for
// an empty or inconsistent image.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// The JPEG quality range; values outside it are taken as its nearest end.
inline constexpr int kJpegQualityLowest = 1;
inline constexpr int kJpegQualityHighest = 100;

// A baseline JFIF file, YCbCr with 2x2 subsampled colour and the standard
// Huffman tables. The quality scales the standard quantisation tables the
// usual way: 50 keeps them, 100 makes every step 1, lower values coarsen
// them. Empty for an empty or inconsistent image.
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

}  // namespace brontel::snapshot

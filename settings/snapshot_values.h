#pragma once
// The snapshot page's values: the quality slider runs from best (left) to
// smallest file (right), the opposite of the stored JPEG quality.

#include <cstdint>

namespace brontel {

constexpr std::int32_t kDefaultJpegQuality = 75;
constexpr int kQualitySliderMax = 100;

int QualitySliderPosition(std::int32_t jpegQuality);
std::int32_t JpegQualityAt(int sliderPosition);

}  // namespace brontel

#include "settings/snapshot_values.h"

#include <algorithm>

namespace brontel {

// Both directions clamp, so that a stored quality out of range neither
// places the slider outside its track nor comes back out of range.
int QualitySliderPosition(std::int32_t jpegQuality) {
  return kQualitySliderMax - std::clamp<std::int32_t>(jpegQuality, 0, kQualitySliderMax);
}

std::int32_t JpegQualityAt(int sliderPosition) {
  return kQualitySliderMax - std::clamp(sliderPosition, 0, kQualitySliderMax);
}

}  // namespace brontel

#include "app/recording/snapshot_names.h"

namespace brontel::recording {

std::int32_t NextSnapshotCounter(std::int32_t lFileCounter) {
  if (lFileCounter < 0 || lFileCounter >= kLastSnapshotNumber) return 1;
  return lFileCounter + 1;
}

std::string SnapshotNumberText(std::int32_t number) {
  std::string digits = std::to_string(number);
  while (digits.size() < 4) digits.insert(digits.begin(), '0');
  return digits;
}

PictureSize SnapshotSize(std::int32_t lCaptDim) {
  if (lCaptDim == 320) return {320, 240};
  if (lCaptDim == 640) return {640, 480};
  return {800, 600};
}

const char* SnapshotExtension(std::int32_t lImageFormat) {
  return lImageFormat == kImageFormatBmp ? ".bmp" : ".jpg";
}

}  // namespace brontel::recording

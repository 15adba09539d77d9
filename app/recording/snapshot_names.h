#pragma once
// Names, sizes and formats of still pictures.

#include <cstdint>
#include <string>

namespace brontel::recording {

constexpr std::int32_t kLastSnapshotNumber = 9999;

// The counter after one numbered snapshot: one more, and 1 after 9999 (or
// after any value outside 1 to 9998).
std::int32_t NextSnapshotCounter(std::int32_t lFileCounter);
// Four digits at least.
std::string SnapshotNumberText(std::int32_t number);

struct PictureSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
// 320 × 240 for 320, 640 × 480 for 640, 800 × 600 for anything else.
PictureSize SnapshotSize(std::int32_t lCaptDim);

constexpr std::int32_t kImageFormatBmp = 2;
// ".bmp" for format 2, ".jpg" for every other.
const char* SnapshotExtension(std::int32_t lImageFormat);

}  // namespace brontel::recording

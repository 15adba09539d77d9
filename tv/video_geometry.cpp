#include "tv/video_geometry.h"

#include <algorithm>

namespace brontel::video {
namespace {

// Written as the window has always used them: a 4:3 picture at 1.333 and a
// 16:9 one at 1.778, in single precision.
constexpr float kFactor4x3 = 1.333f;
constexpr float kFactor16x9 = 1.778f;

constexpr TrackingLimits kOwnLimits = {160, 120, 1600, 1200};

constexpr Size kPresetSizes[kSizePresetCount] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}};
constexpr std::uint32_t kPresetBits[kSizePresetCount] = {1, 6, 24, 32};

}  // namespace

SpotChoice ChooseSizeMode(Spot spot) {
  switch (spot) {
    case Spot::kTopLeft:
      return {kSize16x9, SizePointer::kKeep16x9};
    case Spot::kTopRight:
      return {kSize4x3, SizePointer::kKeep4x3};
    case Spot::kBottomRight:
      return {kSizeFree, SizePointer::kNorthWestSouthEast};
    case Spot::kBottomLeft:
      return {kSizeFree, SizePointer::kNorthEastSouthWest};
    case Spot::kElsewhere:
      break;
  }
  return {kSizeFree, SizePointer::kArrow};
}

Rect KeepShape(const Rect& proposed, SizeMode mode) {
  if (mode != kSize4x3 && mode != kSize16x9) return proposed;
  const std::int32_t w = proposed.Width();
  const std::int32_t h = proposed.Height();
  if (w <= 0 || h <= 0) return proposed;
  const float f = mode == kSize4x3 ? kFactor4x3 : kFactor16x9;
  Rect shaped = proposed;
  // Each step is stored to a float so that x87 arithmetic on i686 gives
  // the same single-precision answers as the native build.
  const float ratio = static_cast<float>(w) / static_cast<float>(h);
  if (ratio >= f) {
    const float height = static_cast<float>(w) / f;
    shaped.top = proposed.bottom - static_cast<std::int32_t>(height);
  } else {
    const float width = static_cast<float>(h) * f;
    const auto newWidth = static_cast<std::int32_t>(width);
    if (mode == kSize4x3) {
      shaped.right = proposed.left + newWidth;
    } else {
      shaped.left = proposed.right - newWidth;
    }
  }
  return shaped;
}

TrackingLimits LimitsForBoard(const std::int32_t boardLimits[4]) {
  return {std::max(kOwnLimits.minWidth, boardLimits[0]),
          std::max(kOwnLimits.minHeight, boardLimits[1]),
          std::max(kOwnLimits.maxWidth, boardLimits[2]),
          std::max(kOwnLimits.maxHeight, boardLimits[3])};
}

WindowLook FullScreenMemory::Enter(const WindowLook& before, std::int32_t screenWidth,
                                   std::int32_t screenHeight) {
  if (!m_active) {
    m_before = before;
    m_active = true;
  }
  WindowLook full;
  full.rect = Rect{0, 0, screenWidth, screenHeight};
  full.style = m_before.style & ~kThickFrameStyle;
  full.exStyle = m_before.exStyle & ~kModalFrameExStyle;
  return full;
}

WindowLook FullScreenMemory::Leave() {
  m_active = false;
  return m_before;
}

Size PresetSize(int preset) {
  return kPresetSizes[std::clamp(preset, 0, kSizePresetCount - 1)];
}

std::uint32_t PresetMask(const TrackingLimits& limits, std::int32_t screenWidth,
                         std::int32_t screenHeight) {
  std::uint32_t mask = 0;
  for (int i = 0; i < kSizePresetCount; ++i) {
    const Size size = kPresetSizes[i];
    const bool fits = size.width >= limits.minWidth && size.height >= limits.minHeight &&
                      size.width <= limits.maxWidth && size.height <= limits.maxHeight &&
                      size.width <= screenWidth && size.height <= screenHeight;
    if (fits) mask |= kPresetBits[i];
  }
  return mask;
}

}  // namespace brontel::video

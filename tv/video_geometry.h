#pragma once
// The video window's arithmetic: which corner keeps which picture shape,
// the shape a corner drag is bent to, the tracking limits, the full-screen
// bookkeeping and the size presets. The Win32 window applies the results.

#include <cstdint>

namespace brontel::video {

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// lSizeMode: what a corner drag keeps.
enum SizeMode : std::int32_t {
  kSizeFree = 0,
  kSize4x3 = 1,
  kSize16x9 = 2,
};

// Where the pointer is on the window, as the hit test names it.
enum class Spot { kTopLeft, kTopRight, kBottomLeft, kBottomRight, kElsewhere };

// The pointer shown there.
enum class SizePointer {
  kArrow,
  kKeep16x9,  // cursor resource 130 of the language library
  kKeep4x3,   // cursor resource 115
  kNorthWestSouthEast,
  kNorthEastSouthWest,
};

struct SpotChoice {
  SizeMode mode;
  SizePointer pointer;
};
SpotChoice ChooseSizeMode(Spot spot);

// The rectangle a corner drag proposes, bent to the mode's shape. The
// factors are the single-precision 1.333 and 1.778, and results are
// truncated, so 400 x 400 from the top-right corner becomes 533 x 400. A
// free mode, or an empty proposal, is returned unchanged.
Rect KeepShape(const Rect& proposed, SizeMode mode);

struct TrackingLimits {
  std::int32_t minWidth;
  std::int32_t minHeight;
  std::int32_t maxWidth;
  std::int32_t maxHeight;
};
// At least 160 x 120 and at most 1600 x 1200, each widened by the board's
// own limits (minimum width, minimum height, maximum width, maximum height).
TrackingLimits LimitsForBoard(const std::int32_t boardLimits[4]);

// Style bits the full screen takes away: the sizing frame from the style
// and the modal-dialog frame from the extended style.
constexpr std::uint32_t kThickFrameStyle = 0x00040000u;
constexpr std::uint32_t kModalFrameExStyle = 0x00000001u;

struct WindowLook {
  Rect rect;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
};

// What the window looked like before full screen, to give it back exactly.
class FullScreenMemory {
 public:
  bool active() const { return m_active; }
  // The look for the whole screen. A second Enter keeps the first memory,
  // so the rectangle before full screen is never lost to the full one.
  WindowLook Enter(const WindowLook& before, std::int32_t screenWidth, std::int32_t screenHeight);
  // The look to return to; `before` of the first Enter.
  WindowLook Leave();

 private:
  bool m_active = false;
  WindowLook m_before;
};

// The size presets 0 to 3: the picture (client area) size each gives.
struct Size {
  std::int32_t width;
  std::int32_t height;
};
constexpr int kSizePresetCount = 4;
Size PresetSize(int preset);
// The preset mask the panel's preset commands test: the bits of each preset
// whose picture fits the tracking limits and the screen (1 for preset 0, 6
// for 1, 24 for 2, 32 for 3).
std::uint32_t PresetMask(const TrackingLimits& limits, std::int32_t screenWidth,
                         std::int32_t screenHeight);

}  // namespace brontel::video

#include "tv/video_geometry.h"

#include <gtest/gtest.h>

namespace brontel::video {
namespace {

TEST(VideoGeometry, CornerDragKeepsTheShapeOfItsMode) {
  struct Case {
    const char* name;
    Spot corner;
    Rect proposed;
    Rect expected;
  } cases[] = {
      // 400 x 1.333 = 533.2: wider, the left edge stays.
      {"top-right to 400x400", Spot::kTopRight, {100, 50, 500, 450}, {100, 50, 633, 450}},
      // 800 / 1.778 = 449.9: lower, the bottom edge stays.
      {"top-left to 800x300", Spot::kTopLeft, {100, 200, 900, 500}, {100, 51, 900, 500}},
      // Too tall for 16:9: wider, the right edge stays.
      {"top-left to 400x400", Spot::kTopLeft, {500, 100, 900, 500}, {189, 100, 900, 500}},
      // Too wide for 4:3: lower, the bottom edge stays (640 / 1.333 = 480.1).
      {"top-right to 640x200", Spot::kTopRight, {0, 300, 640, 500}, {0, 20, 640, 500}},
      // 900 x 1.333 = 1199.7, where 4:3 exactly would give 1200.
      {"top-right to 1000x900", Spot::kTopRight, {0, 0, 1000, 900}, {0, 0, 1199, 900}},
      // Exactly 1.333 counts as wide enough: 1333 / 1.333 = 1000.0002.
      {"top-right at the factor", Spot::kTopRight, {0, 0, 1333, 1000}, {0, 0, 1333, 1000}},
      {"bottom-right is free", Spot::kBottomRight, {10, 10, 410, 410}, {10, 10, 410, 410}},
      {"bottom-left is free", Spot::kBottomLeft, {10, 10, 810, 310}, {10, 10, 810, 310}},
      {"no height is left alone", Spot::kTopRight, {10, 10, 410, 10}, {10, 10, 410, 10}},
  };
  for (const Case& c : cases) {
    const Rect shaped = KeepShape(c.proposed, ChooseSizeMode(c.corner).mode);
    EXPECT_EQ(shaped, c.expected) << c.name << ": " << shaped.left << "," << shaped.top << ","
                                  << shaped.right << "," << shaped.bottom;
  }
}

TEST(VideoGeometry, SpotsChooseModeAndPointer) {
  struct Case {
    Spot spot;
    SizeMode mode;
    SizePointer pointer;
  } cases[] = {
      {Spot::kTopLeft, kSize16x9, SizePointer::kKeep16x9},
      {Spot::kTopRight, kSize4x3, SizePointer::kKeep4x3},
      {Spot::kBottomRight, kSizeFree, SizePointer::kNorthWestSouthEast},
      {Spot::kBottomLeft, kSizeFree, SizePointer::kNorthEastSouthWest},
      {Spot::kElsewhere, kSizeFree, SizePointer::kArrow},
  };
  for (const Case& c : cases) {
    const SpotChoice choice = ChooseSizeMode(c.spot);
    EXPECT_EQ(choice.mode, c.mode);
    EXPECT_EQ(choice.pointer, c.pointer);
  }
}

TEST(VideoGeometry, TrackingLimitsWidenToTheBoards) {
  struct Case {
    const char* name;
    std::int32_t board[4];
    TrackingLimits expected;
  } cases[] = {
      {"a small board keeps ours", {80, 60, 720, 576}, {160, 120, 1600, 1200}},
      {"a board wider than 1600", {160, 120, 1920, 1080}, {160, 120, 1920, 1200}},
      {"a board larger every way", {320, 240, 2048, 1536}, {320, 240, 2048, 1536}},
      {"nothing from the board", {0, 0, 0, 0}, {160, 120, 1600, 1200}},
  };
  for (const Case& c : cases) {
    const TrackingLimits limits = LimitsForBoard(c.board);
    EXPECT_EQ(limits.minWidth, c.expected.minWidth) << c.name;
    EXPECT_EQ(limits.minHeight, c.expected.minHeight) << c.name;
    EXPECT_EQ(limits.maxWidth, c.expected.maxWidth) << c.name;
    EXPECT_EQ(limits.maxHeight, c.expected.maxHeight) << c.name;
  }
}

TEST(VideoGeometry, FullScreenGivesBackTheFirstLook) {
  const WindowLook before{{120, 80, 760, 560}, 0x96040000u | kThickFrameStyle, 0x00000089u};
  FullScreenMemory memory;
  const WindowLook full = memory.Enter(before, 1024, 768);
  EXPECT_TRUE(memory.active());
  EXPECT_EQ(full.rect, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(full.style, before.style & ~kThickFrameStyle);
  EXPECT_EQ(full.exStyle, 0x00000088u);
  // Entering again from the full look must not overwrite the memory.
  memory.Enter(full, 1024, 768);
  const WindowLook back = memory.Leave();
  EXPECT_FALSE(memory.active());
  EXPECT_EQ(back.rect, before.rect);
  EXPECT_EQ(back.style, before.style);
  EXPECT_EQ(back.exStyle, before.exStyle);
}

TEST(VideoGeometry, PresetMaskHoldsThePresetsThatFit) {
  const std::int32_t board[4] = {160, 120, 1600, 1200};
  const TrackingLimits ours = LimitsForBoard(board);
  struct Case {
    const char* name;
    TrackingLimits limits;
    std::int32_t screenWidth, screenHeight;
    std::uint32_t mask;
  } cases[] = {
      {"all fit a large screen", ours, 1280, 1024, 63},
      {"1024x768 fits its own screen", ours, 1024, 768, 63},
      {"a 800x600 screen", ours, 800, 600, 1 | 6 | 24},
      {"a board that needs 400 wide", {400, 300, 1600, 1200}, 1280, 1024, 6 | 24 | 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PresetMask(c.limits, c.screenWidth, c.screenHeight), c.mask) << c.name;
  }
  EXPECT_EQ(PresetSize(0).width, 320);
  EXPECT_EQ(PresetSize(3).height, 768);
}

}  // namespace
}  // namespace brontel::video

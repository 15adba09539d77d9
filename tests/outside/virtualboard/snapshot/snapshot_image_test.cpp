// Grabbed frames to pictures, and scaling.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "outside/virtualboard/snapshot/snapshot_image.h"

namespace brontel::snapshot {
namespace {

struct Bgr {
  int b, g, r;
};

Bgr PixelAt(const Image& image, int x, int y) {
  const std::uint8_t* p = &image.bgr[(static_cast<std::size_t>(y) * image.width + x) * 3];
  return {p[0], p[1], p[2]};
}

struct ConversionCase {
  const char* name;
  int width, height, bits;
  YuvOrder order;
  std::vector<std::uint8_t> data;
  int x, y;  // the pixel checked, top-down
  Bgr expected;
};

TEST(SnapshotFrame, ConvertsEachGrabFormatTopDown) {
  const ConversionCase cases[] = {
      {"yuy2 black", 2, 1, 16, YuvOrder::kYuy2, {16, 128, 16, 128}, 1, 0, {0, 0, 0}},
      {"yuy2 white", 2, 1, 16, YuvOrder::kYuy2, {235, 128, 235, 128}, 0, 0, {255, 255, 255}},
      // Studio-range red of BT.601: Y 81, U 90, V 240.
      {"yuy2 red", 2, 1, 16, YuvOrder::kYuy2, {81, 90, 81, 240}, 0, 0, {0, 0, 255}},
      {"uyvy red", 2, 1, 16, YuvOrder::kUyvy, {90, 81, 240, 81}, 1, 0, {0, 0, 255}},
      // Packed YUV is top-down even with a positive height.
      {"yuy2 rows",
       2,
       2,
       16,
       YuvOrder::kYuy2,
       {16, 128, 16, 128, 235, 128, 235, 128},
       0,
       1,
       {255, 255, 255}},
      // A positive height stores the bottom row first; rows are padded to
      // four bytes.
      {"rgb24 bottom-up", 1, 2, 24, YuvOrder::kYuy2, {1, 2, 3, 0, 4, 5, 6, 0}, 0, 0, {4, 5, 6}},
      {"rgb24 top-down", 1, -2, 24, YuvOrder::kYuy2, {1, 2, 3, 0, 4, 5, 6, 0}, 0, 0, {1, 2, 3}},
      {"rgb32", 2, 1, 32, YuvOrder::kYuy2, {1, 2, 3, 255, 7, 8, 9, 255}, 1, 0, {7, 8, 9}},
  };
  for (const auto& c : cases) {
    GrabbedFrame frame{c.width, c.height, c.bits, c.data.data(), c.data.size(), c.order};
    const char* problem = "unset";
    const Image image = FrameToImage(frame, &problem);
    ASSERT_EQ(problem, nullptr) << c.name << ": " << problem;
    ASSERT_EQ(image.width, c.width) << c.name;
    ASSERT_EQ(image.height, std::abs(c.height)) << c.name;
    const Bgr got = PixelAt(image, c.x, c.y);
    EXPECT_NEAR(got.b, c.expected.b, 2) << c.name;
    EXPECT_NEAR(got.g, c.expected.g, 2) << c.name;
    EXPECT_NEAR(got.r, c.expected.r, 2) << c.name;
  }
}

TEST(SnapshotFrame, RefusesFramesTheirInformationDoesNotDescribe) {
  std::vector<std::uint8_t> bytes(64, 128);
  struct Case {
    const char* name;
    int width, height, bits;
    std::size_t size;
    bool data;
  } cases[] = {
      {"eight bits a pixel", 4, 4, 8, 16, true},
      {"odd packed width", 3, 2, 16, 12, true},
      {"data one byte short", 4, 4, 16, 31, true},
      {"no data", 4, 4, 16, 32, false},
      {"no width", 0, 4, 16, 32, true},
      {"before the first frame", -1, -1, -1, 0, true},
      {"absurd height", 4, 1 << 20, 16, 64, true},
  };
  for (const auto& c : cases) {
    GrabbedFrame frame{c.width, c.height, c.bits, c.data ? bytes.data() : nullptr, c.size};
    const char* problem = nullptr;
    EXPECT_TRUE(FrameToImage(frame, &problem).Empty()) << c.name;
    EXPECT_NE(problem, nullptr) << c.name;
  }
}

Image Filled(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i) image.bgr.insert(image.bgr.end(), {b, g, r});
  return image;
}

TEST(SnapshotScale, FlatColourStaysFlatAtAnySize) {
  const Image source = Filled(720, 480, 30, 140, 250);
  const int sizes[][2] = {{320, 240}, {640, 480}, {800, 600}, {1, 1}, {1441, 7}, {720, 480}};
  for (const auto& size : sizes) {
    const Image scaled = ScaleImage(source, size[0], size[1]);
    ASSERT_EQ(scaled.width, size[0]);
    ASSERT_EQ(scaled.height, size[1]);
    ASSERT_EQ(scaled.bgr.size(), static_cast<std::size_t>(size[0]) * size[1] * 3);
    for (std::size_t i = 0; i < scaled.bgr.size(); i += 3)
      ASSERT_EQ(PixelAt(scaled, 0, 0).b, scaled.bgr[i]) << size[0] << "x" << size[1];
    EXPECT_EQ(PixelAt(scaled, size[0] - 1, size[1] - 1).g, 140);
    EXPECT_EQ(PixelAt(scaled, 0, 0).r, 250);
  }
}

TEST(SnapshotScale, ReductionAveragesDetailInsteadOfPickingIt) {
  // One-pixel stripes: picking every other column would give pure black or
  // pure white.
  Image stripes = Filled(640, 4, 0, 0, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 1; x < 640; x += 2)
      for (int c = 0; c < 3; ++c)
        stripes.bgr[(static_cast<std::size_t>(y) * 640 + x) * 3 + c] = 255;
  const Image half = ScaleImage(stripes, 320, 2);
  for (int x = 0; x < 320; ++x) EXPECT_NEAR(PixelAt(half, x, 1).g, 128, 2) << x;
}

TEST(SnapshotScale, EnlargingKeepsARampInOrder) {
  Image ramp{8, 1, {}};
  for (int x = 0; x < 8; ++x) ramp.bgr.insert(ramp.bgr.end(), 3, static_cast<std::uint8_t>(x * 32));
  const Image wide = ScaleImage(ramp, 800, 3);
  EXPECT_EQ(PixelAt(wide, 0, 0).g, 0);
  EXPECT_EQ(PixelAt(wide, 799, 2).g, 224);
  for (int x = 1; x < 800; ++x) ASSERT_GE(PixelAt(wide, x, 1).g, PixelAt(wide, x - 1, 1).g) << x;
}

TEST(SnapshotScale, RefusesSizesThatMakeNoPicture) {
  const Image source = Filled(16, 16, 1, 2, 3);
  const int sizes[][2] = {{0, 240}, {320, 0}, {-320, 240}, {8193, 10}, {5000, 5000}};
  for (const auto& size : sizes) {
    EXPECT_TRUE(ScaleImage(source, size[0], size[1]).Empty()) << size[0] << "x" << size[1];
    EXPECT_NE(ImageSizeProblem(size[0], size[1]), nullptr);
  }
  EXPECT_EQ(ImageSizeProblem(8192, 2048), nullptr);
  EXPECT_TRUE(ScaleImage(Image{}, 320, 240).Empty());
}

}  // namespace
}  // namespace brontel::snapshot

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "outside/virtualboard/picture_synth.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

size_t Differences(const Frame& a, const Frame& b) {
  size_t count = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i] ? 1 : 0;
  return count;
}

double Mean(const Frame& f) {
  double sum = 0;
  for (uint32_t p : f.pixels) sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
  return sum / (3.0 * f.pixels.size());
}

int Red(uint32_t p) {
  return (p >> 16) & 0xFF;
}
int Green(uint32_t p) {
  return (p >> 8) & 0xFF;
}
int Blue(uint32_t p) {
  return p & 0xFF;
}

TEST(PictureSynth, MovingBoxStaysInsideAndBouncesBack) {
  int previous = MovingBoxX(kWidth, 0);
  bool movedRight = false;
  bool movedLeft = false;
  for (uint32_t frame = 1; frame < 400; ++frame) {
    const int x = MovingBoxX(kWidth, frame);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + 24, kWidth) << frame;
    movedRight |= x > previous;
    movedLeft |= x < previous;
    previous = x;
  }
  EXPECT_TRUE(movedRight);
  EXPECT_TRUE(movedLeft);
  // A frame narrower than the box does not divide by zero.
  EXPECT_EQ(MovingBoxX(10, 5), MovingBoxX(10, 5));
}

TEST(PictureSynth, StationPictureMovesAndDiffersPerStation) {
  Frame first(kWidth, kHeight), later(kWidth, kHeight), other(kWidth, kHeight);
  DrawStationPicture(first, 2, 0);
  DrawStationPicture(later, 2, 10);
  DrawStationPicture(other, 3, 0);
  EXPECT_GT(Differences(first, later), 0u);
  EXPECT_LT(Differences(first, later), first.pixels.size() / 10) << "only the box moves";
  EXPECT_GT(Differences(first, other), first.pixels.size() / 2);
}

TEST(PictureSynth, NoiseChangesEveryFrameAndIsGrey) {
  Frame a(kWidth, kHeight), b(kWidth, kHeight);
  DrawNoise(a, 1);
  DrawNoise(b, 2);
  EXPECT_GT(Differences(a, b), a.pixels.size() * 9 / 10);
  for (uint32_t p : a.pixels) {
    ASSERT_EQ(Red(p), Green(p));
    ASSERT_EQ(Green(p), Blue(p));
  }
  EXPECT_NEAR(Mean(a), 127.5, 10.0);
}

TEST(PictureSynth, NeutralPropertiesLeaveThePictureUnchanged) {
  Frame picture(kWidth, kHeight);
  DrawStationPicture(picture, 1, 5);
  Frame copy = picture;
  ApplyPictureProperties(copy, PictureProperties());
  EXPECT_EQ(Differences(picture, copy), 0u);
}

// Runs of one colour are worked out once: every pixel must still come out
// as it would on its own, next to the same colour or another.
TEST(PictureSynth, PropertiesGiveEachPixelItsOwnResult) {
  Frame picture(kWidth, kHeight);
  DrawStationPicture(picture, 2, 7);
  Frame noise(kWidth, 1);
  DrawNoise(noise, 3);
  std::copy(noise.pixels.begin(), noise.pixels.end(), picture.pixels.begin());
  PictureProperties changed;
  changed.contrast = 53;
  changed.hue = 60;
  Frame adjusted = picture;
  ApplyPictureProperties(adjusted, changed);
  for (size_t i = 0; i < picture.pixels.size(); i += 97) {
    Frame alone(1, 1);
    alone.pixels[0] = picture.pixels[i];
    ApplyPictureProperties(alone, changed);
    ASSERT_EQ(adjusted.pixels[i], alone.pixels[0]) << "pixel " << i;
  }
}

TEST(PictureSynth, PropertiesChangeThePictureVisibly) {
  Frame base(kWidth, kHeight);
  DrawStationPicture(base, 0, 0);

  PictureProperties bright;
  bright.brightness = 90;
  Frame brighter = base;
  ApplyPictureProperties(brighter, bright);
  EXPECT_GT(Mean(brighter), Mean(base) + 50);

  PictureProperties dark;
  dark.brightness = 10;
  Frame darker = base;
  ApplyPictureProperties(darker, dark);
  EXPECT_LT(Mean(darker), Mean(base) - 50);

  PictureProperties noColour;
  noColour.saturation = 0;
  Frame grey = base;
  ApplyPictureProperties(grey, noColour);
  for (uint32_t p : grey.pixels) {
    ASSERT_LE(std::abs(Red(p) - Green(p)), 1);
    ASSERT_LE(std::abs(Green(p) - Blue(p)), 1);
  }

  PictureProperties flat;
  flat.contrast = 0;
  Frame flatFrame = base;
  ApplyPictureProperties(flatFrame, flat);
  for (uint32_t p : flatFrame.pixels) {
    // Contrast scales the brightness signal only; the colour stays (and may
    // clip a little).
    ASSERT_NEAR(0.299 * Red(p) + 0.587 * Green(p) + 0.114 * Blue(p), 128.0, 8.0);
  }

  PictureProperties turned;
  turned.hue = 75;
  Frame hue = base;
  ApplyPictureProperties(hue, turned);
  EXPECT_GT(Differences(base, hue), base.pixels.size() / 2);
}

// The properties in floating point, pixel by pixel: the meaning the fast
// path must keep.
uint32_t ReferenceProperties(uint32_t pixel, const PictureProperties& p) {
  const double angle = (p.hue - 50) * 3.6 * 3.14159265358979 / 180.0;
  const double chroma = std::max(0, p.saturation) / 50.0;
  const double r = Red(pixel), g = Green(pixel), b = Blue(pixel);
  const double y = 0.299 * r + 0.587 * g + 0.114 * b;
  const double u = (b - y) * 0.565, v = (r - y) * 0.713;
  const double u2 = (u * std::cos(angle) - v * std::sin(angle)) * chroma;
  const double v2 = (u * std::sin(angle) + v * std::cos(angle)) * chroma;
  const double y2 = (y - 128.0) * std::max(0, p.contrast) / 50.0 + 128.0 + (p.brightness - 50) * 2.55;
  auto clamp = [](double c) {
    return static_cast<uint32_t>(std::lround(std::min(255.0, std::max(0.0, c))));
  };
  return clamp(y2 + 1.403 * v2) << 16 | clamp(y2 - 0.344 * u2 - 0.714 * v2) << 8 |
         clamp(y2 + 1.770 * u2);
}

TEST(PictureSynth, PropertiesMatchTheFloatingPointMeaningWithinOneStep) {
  const struct {
    int brightness, contrast, hue, saturation;
  } cases[] = {{50, 53, 50, 50}, {90, 50, 50, 50}, {10, 60, 75, 20}, {100, 100, 100, 100},
               {0, 0, 0, 0},     {50, 50, 51, 50}, {1000, 1000, -1000, -50}, {-5000, 300, 50, 400}};
  Frame noise(kWidth, kHeight);
  uint32_t state = 12345;
  for (uint32_t& pixel : noise.pixels) {
    state = state * 1664525u + 1013904223u;
    pixel = state >> 8;
  }
  // Runs of one colour as well as a new colour every pixel.
  noise.pixels[1] = noise.pixels[0];
  noise.pixels[2] = noise.pixels[0];
  for (const auto& c : cases) {
    PictureProperties p;
    p.brightness = c.brightness;
    p.contrast = c.contrast;
    p.hue = c.hue;
    p.saturation = c.saturation;
    Frame f = noise;
    ApplyPictureProperties(f, p);
    for (size_t i = 0; i < f.pixels.size(); ++i) {
      const uint32_t want = ReferenceProperties(noise.pixels[i], p);
      ASSERT_EQ(f.pixels[i] & 0xFF000000u, 0u);
      ASSERT_LE(std::abs(Red(f.pixels[i]) - Red(want)), 1) << c.brightness << " " << i;
      ASSERT_LE(std::abs(Green(f.pixels[i]) - Green(want)), 1) << c.brightness << " " << i;
      ASSERT_LE(std::abs(Blue(f.pixels[i]) - Blue(want)), 1) << c.brightness << " " << i;
    }
  }
}

TEST(PictureSynth, ExtremePropertiesStayWithinTheColourRange) {
  Frame f(kWidth, kHeight);
  DrawStationPicture(f, 4, 0);
  PictureProperties extreme;
  extreme.brightness = 1000;
  extreme.contrast = 1000;
  extreme.saturation = -50;
  extreme.hue = -1000;
  ApplyPictureProperties(f, extreme);
  for (uint32_t p : f.pixels) ASSERT_EQ(p & 0xFF000000u, 0u);
}

TEST(PictureSynth, InputPatternsDifferBetweenCompositeAndSVideo) {
  Frame composite(kWidth, kHeight), svideo(kWidth, kHeight);
  DrawInputPattern(composite, 2, 0, 0);
  DrawInputPattern(svideo, 3, 0, 0);
  EXPECT_EQ(Differences(composite, svideo), composite.pixels.size());
  Frame moved(kWidth, kHeight);
  DrawInputPattern(moved, 2, 0, 7);
  EXPECT_GT(Differences(composite, moved), 0u);
}

}  // namespace

#include "settings/snapshot_values.h"

#include <gtest/gtest.h>

namespace brontel {
namespace {

TEST(SnapshotQuality, SliderRunsOppositeToTheStoredQuality) {
  const struct {
    std::int32_t quality;
    int position;
  } cases[] = {{100, 0}, {0, 100}, {kDefaultJpegQuality, 25}, {140, 0}, {-5, 100}};
  for (const auto& c : cases) {
    EXPECT_EQ(QualitySliderPosition(c.quality), c.position) << c.quality;
  }
  const struct {
    int position;
    std::int32_t quality;
  } back[] = {{0, 100}, {100, 0}, {25, 75}, {-3, 100}, {120, 0}};
  for (const auto& c : back) EXPECT_EQ(JpegQualityAt(c.position), c.quality) << c.position;
}

}  // namespace
}  // namespace brontel

#include "settings/fine_tune.h"

#include <gtest/gtest.h>

#include "settings/channel_rows.h"
#include "tv/freq_tables.h"

namespace brontel {
namespace {

TEST(FineTune, PositionAndOffsetRoundTripAcrossTheRange) {
  const struct {
    int position;
    std::int32_t hertz;
    const char* megahertz;  // as dFreqOffset is stored
  } cases[] = {
      {-120, -6000000, "-6.000"}, {-1, -50000, "-0.050"},  {0, 0, "0.000"},
      {3, 150000, "0.150"},       {119, 5950000, "5.950"}, {120, 6000000, "6.000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FineTuneOffsetHertz(c.position), c.hertz);
    char stored[32];
    std::snprintf(stored, sizeof stored, "%.3f", FineTuneOffsetMegahertz(c.position));
    EXPECT_STREQ(stored, c.megahertz);
    // Back from the stored text, as the dialog opens on it the next time.
    EXPECT_EQ(FineTunePosition(MegahertzToHertz(ParseMegahertz(stored))), c.position) << stored;
  }
}

TEST(FineTune, PositionsStayOnTheSlider) {
  const struct {
    std::int32_t hertz;
    int position;
  } cases[] = {
      {149999, 3},    {-149999, -3},    {24999, 0},        {25000, 1},
      {7000000, 120}, {-7000000, -120}, {2147483647, 120}, {-2147483647 - 1, -120},
  };
  for (const auto& c : cases) EXPECT_EQ(FineTunePosition(c.hertz), c.position) << c.hertz;

  EXPECT_EQ(StepFineTune(120, true), 120);
  EXPECT_EQ(StepFineTune(-120, false), -120);
  EXPECT_EQ(StepFineTune(0, true), 1);
  EXPECT_EQ(StepFineTune(-119, false), -120);
}

TEST(FineTune, FrequencyTextIsMegahertzWithThreeDecimals) {
  EXPECT_EQ(MegahertzText(171250000.0 + FineTuneOffsetHertz(3)), "171.400");
  EXPECT_EQ(MegahertzText(91250000.0 + FineTuneOffsetHertz(-120)), "85.250");
  EXPECT_EQ(MegahertzText(0), "0.000");
}

}  // namespace
}  // namespace brontel

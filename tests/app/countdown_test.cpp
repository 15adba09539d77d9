#include "app/countdown.h"

#include <gtest/gtest.h>

namespace brontel {
namespace {

TEST(Countdown, RunsFromTenToZeroWhileTheBarFills) {
  Countdown countdown(10);
  EXPECT_EQ(countdown.SecondsLeft(), 10);
  EXPECT_EQ(countdown.ProgressPosition(), 0);
  for (int tick = 1; tick <= 9; ++tick) {
    EXPECT_FALSE(countdown.Tick()) << tick;
    EXPECT_EQ(countdown.SecondsLeft(), 10 - tick);
    EXPECT_EQ(countdown.ProgressPosition(), tick);
  }
  EXPECT_TRUE(countdown.Tick());  // the tenth second ends it, exactly once
  EXPECT_TRUE(countdown.Finished());
  EXPECT_EQ(countdown.ProgressPosition(), countdown.Total());
  EXPECT_FALSE(countdown.Tick());
  EXPECT_EQ(countdown.SecondsLeft(), 0);
}

TEST(Countdown, NegativeLengthIsAlreadyFinished) {
  Countdown countdown(-3);
  EXPECT_TRUE(countdown.Finished());
  EXPECT_EQ(countdown.Total(), 0);
  EXPECT_FALSE(countdown.Tick());
}

struct FormatCase {
  const char* format;
  long value;
  const char* expected;
};

class FormatWithIntegerCases : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatWithIntegerCases, SubstitutesOnlyTheFirstInteger) {
  EXPECT_EQ(FormatWithInteger(GetParam().format, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatWithIntegerCases,
    testing::Values(FormatCase{"Starting in %d seconds.", 10, "Starting in 10 seconds."},
                    FormatCase{"%d", 0, "0"}, FormatCase{"%ld s", -1, "-1 s"},
                    FormatCase{"%i%%", 50, "50%"},
                    FormatCase{"%d and %d", 3, "3 and %d"},      // one argument only
                    FormatCase{"%s is %d", 7, "%s is 7"},        // never reads a string
                    FormatCase{"100%", 1, "100%"},               // lone percent at the end
                    FormatCase{"\xE3\x81\x82%d\xE7\xA7\x92", 9,  // UTF-8 kept whole
                               "\xE3\x81\x82"
                               "9\xE7\xA7\x92"},
                    FormatCase{"no number", 5, "no number"}));

}  // namespace
}  // namespace brontel

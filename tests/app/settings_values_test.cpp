#include "app/settings/settings_values.h"

#include <gtest/gtest.h>

#include <string>

namespace brontel {
namespace {

TEST(SettingsValues, IntegerTextRoundTripsAs32BitPattern) {
  struct Case {
    std::int32_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-1, "4294967295"},
      {2147483647, "2147483647"},
      {-2147483647 - 1, "2147483648"},
      {1800, "1800"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatLong(c.value), c.text);
    EXPECT_EQ(ParseLong(c.text), c.value) << c.text;
  }
}

TEST(SettingsValues, IntegerTextStopsAtFirstNonDigit) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"abc", 0}, {"", 0}, {"12abc", 12}, {"  42", 42}, {"-5", -5}, {"+7", 7}, {"1 2", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLong(c.text), c.value) << '"' << c.text << '"';
}

TEST(SettingsValues, RealIsWrittenWithThreeDecimals) {
  EXPECT_EQ(FormatReal(0.0), "0.000");
  EXPECT_EQ(FormatReal(0.25), "0.250");
  EXPECT_EQ(FormatReal(-1.5), "-1.500");
  EXPECT_DOUBLE_EQ(ParseReal("91.250"), 91.25);
  EXPECT_DOUBLE_EQ(ParseReal("x"), 0.0);
}

TEST(SettingsValues, DateTimeIsLocalTimeWithoutLeadingZeros) {
  EXPECT_EQ(FormatDateTime(MakeLocalDateTime(2004, 12, 31, 23, 5)), "2004-12-31-23-5");
  EXPECT_EQ(FormatDateTime(MakeLocalDateTime(2000, 1, 1, 12, 0)), "2000-1-1-12-0");
  EXPECT_EQ(ParseDateTime("2004-12-31-23-5"), MakeLocalDateTime(2004, 12, 31, 23, 5));
  // Seconds are dropped; out-of-range parts normalise.
  EXPECT_EQ(FormatDateTime(MakeLocalDateTime(2004, 12, 31, 23, 5, 59)), "2004-12-31-23-5");
  EXPECT_EQ(FormatDateTime(ParseDateTime("2004-12-31-25-30")), "2005-1-1-1-30");
}

// 2038-01-19 03:14:07 is where a 32-bit time_t ends; nothing here may stop there.
TEST(SettingsValues, DateTimeTextAndPartsHoldBeyond2038) {
  struct Case {
    int year, month, day, hour, minute, second;
    const char* text;
    int weekday;
  } cases[] = {
      {2037, 12, 31, 23, 59, 0, "2037-12-31-23-59", 4},
      {2038, 1, 19, 3, 14, 6, "2038-1-19-3-14", 2},
      {2038, 1, 19, 3, 14, 7, "2038-1-19-3-14", 2},
      {2038, 1, 19, 3, 14, 8, "2038-1-19-3-14", 2},
      {2038, 1, 19, 3, 15, 0, "2038-1-19-3-15", 2},
      {2040, 2, 29, 12, 0, 0, "2040-2-29-12-0", 3},
      {2040, 3, 15, 21, 0, 0, "2040-3-15-21-0", 4},
  };
  for (const Case& c : cases) {
    const DateTime value = MakeLocalDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_EQ(FormatDateTime(value), c.text);
    EXPECT_EQ(ParseDateTime(c.text), value - c.second) << c.text;
    const LocalTimeParts parts = SplitLocalDateTime(value);
    EXPECT_EQ(parts.second, c.second) << c.text;
    EXPECT_EQ(parts.weekday, c.weekday) << c.text;
    const LocalTimeParts next = SplitLocalDateTime(value + 1);
    EXPECT_EQ(next.second, (c.second + 1) % 60) << c.text;
  }
  EXPECT_EQ(MakeLocalDateTime(2038, 1, 19, 3, 14, 8) - MakeLocalDateTime(2038, 1, 19, 3, 14, 7), 1);
  EXPECT_EQ(MakeLocalDateTime(2040, 3, 15, 0, 0) - MakeLocalDateTime(2037, 3, 15, 0, 0),
            (365 * 3 + 1) * 86400LL);
  EXPECT_EQ(FormatDateTime(ParseDateTime("2038-1-19-27-74")), "2038-1-20-4-14");
}

TEST(SettingsValues, TextIsCutAt255CharactersWithoutSplittingCharacters) {
  EXPECT_EQ(CutText(std::string(300, 'x')).size(), 255u);
  EXPECT_EQ(CutText(std::string(255, 'x')).size(), 255u);
  EXPECT_EQ(CutText("short"), "short");
  std::string japanese;
  for (int i = 0; i < 300; ++i) japanese += "\xE3\x81\x82";  // U+3042
  const std::string cut = CutText(japanese);
  EXPECT_EQ(cut.size(), 255u * 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "\xE3\x81\x82");
}

TEST(SettingsValues, RecordNamesHaveFixedDigits) {
  struct Case {
    int number;
    const char* three;
    const char* two;
  } cases[] = {
      {1, "ChnInfo001", "ScheItem01"},    {9, "ChnInfo009", "ScheItem09"},
      {10, "ChnInfo010", "ScheItem10"},   {99, "ChnInfo099", "ScheItem99"},
      {100, "ChnInfo100", "ScheItem100"}, {181, "ChnInfo181", "ScheItem181"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ThreeDigitRecordName("ChnInfo", c.number), c.three);
    EXPECT_EQ(TwoDigitRecordName("ScheItem", c.number), c.two);
  }
}

}  // namespace
}  // namespace brontel

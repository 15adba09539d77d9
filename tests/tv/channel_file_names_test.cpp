#include "tv/channel_file_names.h"

#include <gtest/gtest.h>

namespace brontel {
namespace {

TEST(FreqKeyName, NumberHasAtLeastThreeDigits) {
  const struct {
    int channel;
    const char* key;
  } cases[] = {
      {1, "Chn_001"},  {7, "Chn_007"},   {9, "Chn_009"},   {10, "Chn_010"},  {42, "Chn_042"},
      {99, "Chn_099"}, {100, "Chn_100"}, {105, "Chn_105"}, {181, "Chn_181"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FreqKeyName(c.channel), c.key) << c.channel;
  }
}

TEST(ChannelFileNames, CarryTheCountryCodeInDecimal) {
  EXPECT_EQ(FreqTableFileName(FreqTableKind::kBroadcast, 81), "TVFreqBroad_81.ini");
  EXPECT_EQ(FreqTableFileName(FreqTableKind::kCable, 81), "TVFreqCable_81.ini");
  EXPECT_EQ(FreqTableFileName(FreqTableKind::kBroadcast, 1), "TVFreqBroad_1.ini");
  EXPECT_EQ(RegionFileName(81), "TVChn_Cntry_81.ini");
  EXPECT_EQ(RegionFileName(1), "TVChn_Cntry_1.ini");
}

TEST(RegionSectionNames, NumberStateCityAndStationFromOne) {
  EXPECT_EQ(RegionStateSection(2), "State2");
  EXPECT_EQ(RegionCitySection(2, 3), "State2City3");
  EXPECT_EQ(RegionStationSection(2, 3), "State2City3ChnInfo");
  EXPECT_EQ(RegionStationKey(12), "ChnTVPIName12");
}

TEST(JoinWindowsPath, PutsExactlyOneBackslashBetween) {
  const struct {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"C:\\WINDOWS", "C:\\WINDOWS\\TVFreqBroad_81.ini"},
      {"C:\\WINDOWS\\", "C:\\WINDOWS\\TVFreqBroad_81.ini"},
      {"C:\\", "C:\\TVFreqBroad_81.ini"},
      {"C:", "C:\\TVFreqBroad_81.ini"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinWindowsPath(std::string(c.folder), std::string("TVFreqBroad_81.ini")), c.expected)
        << c.folder;
  }
}

TEST(JoinWindowsPath, WorksOnWideStrings) {
  EXPECT_EQ(JoinWindowsPath(std::wstring(L"D:\\Brontel\\"), std::wstring(L"registersetting.ini")),
            L"D:\\Brontel\\registersetting.ini");
}

}  // namespace
}  // namespace brontel

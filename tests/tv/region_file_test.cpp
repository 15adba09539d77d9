#include "tv/region_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tv/ini_document.h"

namespace brontel {
namespace {

using Names = std::vector<std::string>;
constexpr char kNoStation[] = "(none)";

IniDocument Fixture(const std::string& name) {
  return IniDocument::LoadFile(std::string(BRONTEL_TV_FIXTURE_DIR) + "/" + name);
}

IniDocument Shipped(const std::string& name) {
  return IniDocument::LoadFile(std::string(BRONTEL_DATA_DIR) + "/" + name);
}

TEST(RegionFile, ListsStatesCitiesAndStationsByZeroBasedIndex) {
  const IniDocument file = Fixture("region_utf16.ini");
  EXPECT_EQ(LoadRegionStates(file), (Names{"東京都", "大阪府"}));
  EXPECT_EQ(LoadRegionCities(file, 0), (Names{"東京23区", "八王子市"}));
  EXPECT_EQ(LoadRegionCities(file, 1), (Names{"大阪市"}));
  EXPECT_EQ(LoadRegionStations(file, 0, 1, kNoStation), (Names{kNoStation, "東京MXテレビ"}));
  EXPECT_EQ(LoadRegionStations(file, 1, 0, kNoStation),
            (Names{kNoStation, "毎日放送", "テレビ大阪"}));
}

TEST(RegionFile, MissingStationNameKeepsItsPlace) {
  EXPECT_EQ(LoadRegionStations(Fixture("region_utf16.ini"), 0, 0, kNoStation),
            (Names{kNoStation, "NHK総合・東京", "", "TBS"}));
}

TEST(RegionFile, MissingFileGivesEmptyListsAndTheNoStationItem) {
  const IniDocument missing;
  EXPECT_TRUE(LoadRegionStates(missing).empty());
  EXPECT_TRUE(LoadRegionCities(missing, 0).empty());
  EXPECT_EQ(LoadRegionStations(missing, 0, 0, kNoStation), (Names{kNoStation}));
}

TEST(RegionFile, IndexesOutsideTheFileGiveEmptyLists) {
  const IniDocument file = Fixture("region_utf16.ini");
  const struct {
    std::int32_t state;
    std::int32_t city;
  } cases[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 2}, {2147483647, 0}, {0, 2147483647}};
  for (const auto& c : cases) {
    EXPECT_EQ(LoadRegionStations(file, c.state, c.city, kNoStation), (Names{kNoStation}))
        << c.state << "/" << c.city;
  }
  EXPECT_TRUE(LoadRegionCities(file, -1).empty());
  EXPECT_TRUE(LoadRegionCities(file, 2).empty());
}

TEST(RegionFile, DamagedCountsAreBounded) {
  const IniDocument file = IniDocument::FromBytes(
      "[Country Channel Info]\nNumOfState=2000000000\n[State1]\nStateName=A\nNumOfCity=-3\n");
  const Names states = LoadRegionStates(file);
  ASSERT_EQ(states.size(), static_cast<std::size_t>(kMaxRegionItems));
  EXPECT_EQ(states[0], "A");
  EXPECT_EQ(states[1], "");
  EXPECT_TRUE(LoadRegionCities(file, 0).empty());
}

TEST(ShippedRegionFile, JapanHasThe47PrefecturesInCodeOrder) {
  const Names states = LoadRegionStates(Shipped("TVChn_Cntry_81.ini"));
  ASSERT_EQ(states.size(), 47u);
  EXPECT_EQ(states[0], "北海道");
  EXPECT_EQ(states[12], "東京都");
  EXPECT_EQ(states[13], "神奈川県");
  EXPECT_EQ(states[26], "大阪府");
  EXPECT_EQ(states[46], "沖縄県");
  for (const std::string& state : states) EXPECT_FALSE(state.empty());
}

TEST(ShippedRegionFile, EveryCityHasNamedStations) {
  const IniDocument file = Shipped("TVChn_Cntry_81.ini");
  const Names states = LoadRegionStates(file);
  for (std::int32_t s = 0; s < static_cast<std::int32_t>(states.size()); ++s) {
    const Names cities = LoadRegionCities(file, s);
    ASSERT_FALSE(cities.empty()) << states[s];
    for (std::int32_t c = 0; c < static_cast<std::int32_t>(cities.size()); ++c) {
      const Names stations = LoadRegionStations(file, s, c, kNoStation);
      ASSERT_GT(stations.size(), 1u) << states[s] << " " << cities[c];
      for (std::size_t n = 1; n < stations.size(); ++n) {
        EXPECT_FALSE(stations[n].empty()) << states[s] << " " << cities[c] << " " << n;
      }
    }
  }
}

TEST(ShippedRegionFile, TokyoAndOsakaCarryTheirKeyStations) {
  const IniDocument file = Shipped("TVChn_Cntry_81.ini");
  const Names tokyo = LoadRegionStations(file, 12, 0, kNoStation);
  EXPECT_EQ(LoadRegionCities(file, 12)[0], "東京23区");
  EXPECT_EQ(tokyo, (Names{kNoStation, "ＮＨＫ総合", "ＮＨＫ教育", "日本テレビ", "ＴＢＳ",
                          "フジテレビ", "テレビ朝日", "テレビ東京", "東京ＭＸテレビ", "放送大学"}));
  EXPECT_EQ(LoadRegionCities(file, 26)[0], "大阪市");
  EXPECT_EQ(LoadRegionStations(file, 26, 0, kNoStation),
            (Names{kNoStation, "ＮＨＫ総合", "ＮＨＫ教育", "毎日放送", "朝日放送", "関西テレビ",
                   "読売テレビ", "テレビ大阪"}));
}

TEST(ShippedRegionFile, UnitedStatesSample) {
  const IniDocument file = Shipped("TVChn_Cntry_1.ini");
  EXPECT_EQ(LoadRegionStates(file), (Names{"New York", "California", "Illinois"}));
  EXPECT_EQ(LoadRegionCities(file, 1), (Names{"Los Angeles", "San Francisco"}));
  EXPECT_EQ(LoadRegionStations(file, 2, 0, kNoStation).size(), 7u);
}

}  // namespace
}  // namespace brontel

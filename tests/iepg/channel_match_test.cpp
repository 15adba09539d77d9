#include "iepg/channel_match.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/settings/app_settings.h"
#include "iepg/iepg_parser.h"

namespace brontel {
namespace {

// Shift_JIS: full-width "ＮＨＫ" and "ｎｈｋ"; "ア" (83 41) and "ダ" (83 5F)
// whose trail bytes look like ASCII letters "A" and "_", and "ャ" (83 83).
const std::string kWideNhk = "\x82\x6d\x82\x67\x82\x6a";
const std::string kWideNhkLower = "\x82\x8e\x82\x88\x82\x8b";
const std::string kSjisA = "\x83\x41";     // trail byte 'A'
const std::string kSjisLowA = "\x83\x61";  // trail byte 'a': a different character

class ChannelMatchTest : public testing::Test {
 protected:
  void Set(int index, std::int32_t freqChn, const std::string& piName,
           const std::string& name = "") {
    entries[index].lChn = index + 1;
    entries[index].lFreqChn = freqChn;
    entries[index].szTVPIStnName = piName;
    entries[index].szTVStnName = name;
  }
  std::int32_t Find(const std::string& station, std::int32_t count) {
    return FindChannel(station, entries.data(), entries.size(), count, IsShiftJisLeadByte);
  }
  std::array<ChannelEntry, kChannelRecordCount> entries{};
};

TEST_F(ChannelMatchTest, LatinLettersMatchInAnyCase) {
  Set(0, 1, "NHK General", "NHK");
  Set(1, 3, "tv tokyo");
  EXPECT_EQ(Find("nhk general", 2), 1);
  EXPECT_EQ(Find("NHK GENERAL", 2), 1);
  EXPECT_EQ(Find("TV Tokyo", 2), 3);
  EXPECT_EQ(Find("NHK Genera", 2), kNoChannel);
  EXPECT_EQ(Find("NHK General ", 2), kNoChannel);
}

TEST_F(ChannelMatchTest, ReturnsTheFrequencyChannelNotTheRecordNumber) {
  Set(0, 27, "MX");
  EXPECT_EQ(Find("MX", 1), 27);
}

TEST_F(ChannelMatchTest, DisplayNameTakesNoPartInMatching) {
  Set(0, 1, "NHK-G", "NHK");
  EXPECT_EQ(Find("NHK", 1), kNoChannel);
}

TEST_F(ChannelMatchTest, LowerPositionWinsAmongEqualNames) {
  Set(0, 4, "other");
  Set(1, 8, "NTV");
  Set(2, 9, "ntv");
  EXPECT_EQ(Find("NTV", 3), 8);
}

TEST_F(ChannelMatchTest, EmptyStationMatchesTheFirstEmptyNameWithinTheCount) {
  Set(0, 5, "A");
  Set(1, 6, "");
  EXPECT_EQ(Find("", 2), 6);
  EXPECT_EQ(Find("", 1), kNoChannel);
}

TEST_F(ChannelMatchTest, OnlyEntriesWithinTheCountAreSearched) {
  Set(2, 12, "TBS");
  EXPECT_EQ(Find("TBS", 2), kNoChannel);
  EXPECT_EQ(Find("TBS", 3), 12);
  EXPECT_EQ(Find("TBS", 0), kNoChannel);
  EXPECT_EQ(Find("TBS", -1), kNoChannel);
}

TEST_F(ChannelMatchTest, CountBeyondTheTableStopsAtTheLastEntry) {
  for (auto& e : entries) e.szTVPIStnName = "filler";
  Set(kChannelRecordCount - 1, 62, "last");
  EXPECT_EQ(Find("last", 100000), 62);
  EXPECT_EQ(Find("missing", 100000), kNoChannel);
  EXPECT_EQ(FindChannel("x", nullptr, 0, 5, IsShiftJisLeadByte), kNoChannel);
}

TEST_F(ChannelMatchTest, DoubleByteCharactersMustMatchExactly) {
  Set(0, 1, kWideNhk);
  Set(1, 2, kSjisA + "TV");
  EXPECT_EQ(Find(kWideNhk, 2), 1);
  EXPECT_EQ(Find(kWideNhkLower, 2), kNoChannel);
  EXPECT_EQ(Find(kSjisA + "tv", 2), 2);  // the ASCII part still folds
  EXPECT_EQ(Find(kSjisLowA + "TV", 2), kNoChannel);
}

TEST(EqualIgnoringAsciiCase, TrailBytesAreNotFoldedInADoubleByteCodePage) {
  EXPECT_FALSE(EqualIgnoringAsciiCase(kSjisA, kSjisLowA, IsShiftJisLeadByte));
  // Without double-byte characters the same bytes are two single ones.
  EXPECT_TRUE(EqualIgnoringAsciiCase(kSjisA, kSjisLowA, nullptr));
}

TEST(EqualIgnoringAsciiCase, LoneLeadByteAtTheEndComparesAsItself) {
  EXPECT_TRUE(EqualIgnoringAsciiCase("ab\x83", "AB\x83", IsShiftJisLeadByte));
  EXPECT_FALSE(EqualIgnoringAsciiCase("ab\x83", "AB\x84", IsShiftJisLeadByte));
  EXPECT_FALSE(EqualIgnoringAsciiCase("a\x83", "a", IsShiftJisLeadByte));
}

TEST(IsShiftJisLeadByte, Ranges) {
  EXPECT_FALSE(IsShiftJisLeadByte(0x80));
  EXPECT_TRUE(IsShiftJisLeadByte(0x81));
  EXPECT_TRUE(IsShiftJisLeadByte(0x9F));
  EXPECT_FALSE(IsShiftJisLeadByte(0xA0));
  EXPECT_FALSE(IsShiftJisLeadByte(0xDF));  // half-width katakana
  EXPECT_TRUE(IsShiftJisLeadByte(0xE0));
  EXPECT_TRUE(IsShiftJisLeadByte(0xFC));
  EXPECT_FALSE(IsShiftJisLeadByte(0xFD));
  EXPECT_FALSE(IsShiftJisLeadByte('A'));
}

}  // namespace
}  // namespace brontel

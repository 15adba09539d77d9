// Recording file names, their part templates and the encoder record choice.
#include <gtest/gtest.h>

#include "app/recording/record_names.h"
#include "app/recording/record_profiles.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel::recording {
namespace {

// Shows every argument in order, so a test sees the order and the pieces.
constexpr char kProbeFormat[] = "%s|%s|%s|%s|%s|%s|%s|%s|%s";

RecordNameInput ManualTvChannel7() {
  RecordNameInput input;
  input.format = kProbeFormat;
  input.folder = "D:\\rec";
  input.source = kSourceTv;
  input.tag = "MPG2";
  input.channel = 7;
  input.time = {2003, 3, 5, 9, 4, 3};
  input.order = DateOrder::kDayMonthYear;
  return input;
}

TEST(RecordNames, ArgumentsInOrderForEachKind) {
  struct Case {
    const char* what;
    std::int32_t source;
    bool scheduled;
    bool multiPart;
    DateOrder order;
    const char* name;
  };
  const Case cases[] = {
      {"manual TV, multi-part", kSourceTv, false, true, DateOrder::kDayMonthYear,
       "_(1)|MPG2|007|05|03|2003|09|04|03.mpg"},
      {"manual TV", kSourceTv, false, false, DateOrder::kMonthDayYear,
       "|MPG2|007|03|05|2003|09|04|03.mpg"},
      {"video input: tag only", kSourceVideo, false, false, DateOrder::kYearMonthDay,
       "|MPG2|2003|03|05|09|04|03|.mpg"},
      {"scheduled: the description", kSourceTv, true, false, DateOrder::kDayMonthYear,
       "|News a_b|05|03|2003|09|04|03|.mpg"},
      {"radio", kSourceRadio, false, false, DateOrder::kDayMonthYear,
       "|MPG2|007|05|03|2003|09|04|03.wma"},
  };
  for (const Case& c : cases) {
    RecordNameInput input = ManualTvChannel7();
    input.source = c.source;
    input.scheduled = c.scheduled;
    input.multiPart = c.multiPart;
    input.order = c.order;
    input.scheduleDesc = "News a/b";
    EXPECT_EQ(MakeRecordNames(input).path, std::string("D:\\rec\\") + c.name) << c.what;
  }
}

TEST(RecordNames, NextPartKeepsDateAndTime) {
  RecordNameInput input = ManualTvChannel7();
  input.format = "%sTV_%s_Ch%s_%s-%s-%s_%s%s%s";
  input.multiPart = true;
  const RecordNames names = MakeRecordNames(input);
  EXPECT_EQ(names.path, "D:\\rec\\_(1)TV_MPG2_Ch007_05-03-2003_090403.mpg");
  EXPECT_EQ(ExpandPartTemplate(names.partTemplate, PartSuffix(2)),
            "D:\\rec\\_(2)TV_MPG2_Ch007_05-03-2003_090403.mpg");
}

TEST(RecordNames, PercentSignsStayLiteralInTemplates) {
  RecordNameInput input = ManualTvChannel7();
  input.folder = "D:\\100%s\\";
  input.format = "%s100%%_%s";
  input.multiPart = true;
  input.tag = "VCD";
  const RecordNames names = MakeRecordNames(input);
  EXPECT_EQ(names.path, "D:\\100%s\\_(1)100%_VCD.mpg");
  EXPECT_EQ(ExpandPartTemplate(names.partTemplate, "_(3)"), "D:\\100%s\\_(3)100%_VCD.mpg");
}

TEST(RecordNames, AviExtensionButMpgTemplate) {
  RecordNameInput input = ManualTvChannel7();
  input.tag = "AVI";
  input.multiPart = true;
  const RecordNames names = MakeRecordNames(input);
  EXPECT_TRUE(names.avi);
  EXPECT_EQ(names.path.substr(names.path.size() - 4), ".avi");
  EXPECT_EQ(names.partTemplate.substr(names.partTemplate.size() - 4), ".mpg");
}

TEST(RecordNames, NumberPieces) {
  const std::pair<std::int32_t, const char*> channels[] = {
      {7, "007"}, {10, "010"}, {99, "099"}, {100, "100"}, {1234, "1234"}};
  for (const auto& [channel, text] : channels) EXPECT_EQ(ChannelNumberText(channel), text);
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(10), "10");
  EXPECT_FALSE(ParseDateOrder("3"));
  EXPECT_FALSE(ParseDateOrder(""));
  EXPECT_EQ(ParseDateOrder("1"), DateOrder::kDayMonthYear);
}

TEST(RecordNames, FormatIdsBySourceAndStart) {
  EXPECT_EQ(RecordNameFormatId(kSourceTv, false), kFormatManual);
  EXPECT_EQ(RecordNameFormatId(kSourceRadio, true), kFormatScheduled);
  EXPECT_EQ(RecordNameFormatId(kSourceVideo, true), kFormatVideo);
  EXPECT_EQ(RecordNameFormatId(kSourceSVideo, false), kFormatSVideo);
}

TEST(RecordProfiles, TagsAndRefusals) {
  struct Case {
    std::int32_t source;
    std::int32_t mode;
    std::uint32_t customType;
    std::uint32_t customRate;
    bool avi;
    const char* tag;  // nullptr: refused
  };
  const Case cases[] = {
      {kSourceTv, kRecordNormal, 0, 0, false, "MPG2"},
      {kSourceTv, kRecordLong, 0, 0, false, "SVCD"},
      {kSourceTv, kRecordCustom, 4, 4096000, false, "DVD"},
      {kSourceTv, kRecordCustom, 5, 1150000, false, "VCD"},
      {kSourceTv, kRecordCustom, 172, 0, false, nullptr},
      {kSourceVideo, kRecordCustom, 172, 0, true, "AVI"},
      {kSourceTv, kRecordCustom, 3, 0, true, nullptr},
      {kSourceTv, 4, 0, 0, true, nullptr},
      {kSourceRadio, kRecordCustom, 172, 0, false, "WMA"},
  };
  for (const Case& c : cases) {
    ProfileInput input;
    input.source = c.source;
    input.cmCurrRecMode = c.mode;
    input.recSpc.dwmpeg_type = c.customType;
    input.recSpc.dwbit_rate = c.customRate;
    input.hasAviCapture = c.avi;
    const auto profile = ChooseRecordProfile(input);
    if (c.tag == nullptr) {
      EXPECT_FALSE(profile) << c.mode << " " << c.customType;
    } else {
      ASSERT_TRUE(profile) << c.tag;
      EXPECT_EQ(profile->tag, c.tag);
    }
  }
}

TEST(RecordProfiles, BuiltInRowsClearPreviewAndCustomKeepsIt) {
  const EncoderParams normal = BuiltInRecord(kRecordNormal);
  EXPECT_EQ(normal.dwbit_rate, 4000000u);
  EXPECT_EQ(normal.dwvbr_max_avg, 5000000u);
  EXPECT_EQ(normal.dwresolution, 6u);
  EXPECT_EQ(normal.dwcappreview, 0u);
  EXPECT_EQ(BuiltInRecord(kRecordLong).dwaudio_frequency, 44100u);
  EXPECT_EQ(BuiltInRecord(kRecordHigh).dwvbr_max_bit_rate, 8000000u);
  EXPECT_EQ(WmaRecord().dwcappreview, 0u);
  ProfileInput custom;
  custom.cmCurrRecMode = kRecordCustom;
  custom.recSpc.dwcappreview = 1;
  EXPECT_EQ(ChooseRecordProfile(custom)->params.dwcappreview, 1u);
}

TEST(RecordProfiles, UnsetStoredRecordTakesTheNormalRow) {
  EncoderParams fresh;  // a fresh install: zeros, preview 1
  fresh.dwcappreview = 2;
  const EncoderParams chosen = StoredOrNormalRecord(fresh);
  EXPECT_EQ(chosen.dwbit_rate, 4000000u);
  EXPECT_EQ(chosen.dwcappreview, 2u);
  EncoderParams stored;
  stored.dwreserved = 1;  // any field set means the user chose this record
  EXPECT_EQ(StoredOrNormalRecord(stored).dwbit_rate, 0u);
  ProfileInput custom;
  custom.cmCurrRecMode = kRecordCustom;
  EXPECT_EQ(ChooseRecordProfile(custom)->params.dwbit_rate, 4000000u);
}

TEST(RecordProfiles, ModeButtonCycles) {
  EXPECT_EQ(NextRecordMode(kRecordLong), kRecordNormal);
  EXPECT_EQ(NextRecordMode(kRecordCustom), kRecordLong);
  EXPECT_EQ(NextRecordMode(-3), kRecordLong);
}

}  // namespace
}  // namespace brontel::recording

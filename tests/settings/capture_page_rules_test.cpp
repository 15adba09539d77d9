#include "settings/capture_page_rules.h"

#include <gtest/gtest.h>

#include "app/recording/record_limits.h"
#include "app/recording/record_names.h"
#include "app/recording/record_profiles.h"

namespace brontel {
namespace {

using recording::kLimitNone;
using recording::kLimitSize;
using recording::kLimitTime;

EncoderParams Profile(std::uint32_t videoBitRate, std::uint32_t audioIndex) {
  EncoderParams params;
  params.dwbit_rate = videoBitRate;
  params.dwaudio_bitrate_index = audioIndex;
  return params;
}

TEST(CaptureFigures, RecordableSecondsForEachAudioIndex) {
  // 1000 MB at 4 Mbit/s of picture plus the index's sound.
  const struct {
    std::uint32_t index;
    std::int64_t seconds;
  } cases[] = {{0, 2064}, {1, 2050}, {2, 2040}, {3, 2032}, {4, 2016},  {5, 2001},
               {6, 1985}, {7, 1971}, {8, 1941}, {9, 1913}, {10, 2097}, {255, 2097}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    RecordFiguresInput input;
    input.freeMB = 5000;
    input.lRecSizeLimitMB = 1000;
    input.lRecTimeLimitSec = 1800;
    input.profile = Profile(4000000, c.index);
    const RecordFigures figures = RecordFiguresFor(input);
    EXPECT_EQ(figures.usableMB, 1000);
    EXPECT_EQ(figures.recordableSec, c.seconds);
  }
}

TEST(CaptureFigures, RecordableSecondsStopAtNinetyNineHours) {
  const struct {
    std::int64_t megabytes;
    std::int64_t bitRate;
    std::int64_t seconds;
  } cases[] = {
      {2719, 64000, 356384}, {2720, 64000, 356400}, {2000000000, 64000, 356400},
      {1, 0, 356400},  // no bit rate to divide by
      {0, 4000000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.megabytes);
    EXPECT_EQ(SecondsInMegabytes(c.megabytes, c.bitRate), c.seconds);
  }
}

TEST(CaptureFigures, SpinLimitsBelowAndAboveAnHour) {
  const struct {
    std::int64_t recordable;
    std::int64_t limit;
    TimeSpins spins;  // hoursMax, minutesMax, hours, minutes
  } cases[] = {
      {59, 1800, {0, 0, 0, 0}},          {600, 1800, {0, 10, 0, 10}}, {3599, 1800, {0, 59, 0, 30}},
      {3600, 1800, {1, 59, 0, 30}},      {3600, 7200, {1, 59, 1, 0}}, {9000, 5460, {2, 59, 1, 31}},
      {356400, 400000, {99, 59, 99, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.recordable);
    const TimeSpins spins = TimeSpinsFor(c.recordable, c.limit);
    EXPECT_EQ(spins.hoursMax, c.spins.hoursMax);
    EXPECT_EQ(spins.minutesMax, c.spins.minutesMax);
    EXPECT_EQ(spins.hours, c.spins.hours);
    EXPECT_EQ(spins.minutes, c.spins.minutes);
  }
  EXPECT_EQ(SpinSeconds(1, 30), 5400);
  EXPECT_EQ(SpinSeconds(120, 75), 99 * 3600 + 59 * 60);
}

TEST(CaptureFigures, WarningsOfTheRecordingFigures) {
  const struct {
    std::int64_t freeMB;
    std::int32_t kind;
    std::int32_t limitSec;
    bool belowSize;
    bool timeBeyond;
  } cases[] = {
      {999, kLimitNone, 1800, true, false},   // less free than the size limit
      {999, kLimitTime, 99999, true, false},  // ... and nothing else is worked out
      {1000, kLimitTime, 1986, false, true},  // 1985 s fit
      {1000, kLimitTime, 1985, false, false}, {1000, kLimitSize, 99999, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.freeMB);
    RecordFiguresInput input;
    input.freeMB = c.freeMB;
    input.Rec_clt = c.kind;
    input.lRecSizeLimitMB = 1000;
    input.lRecTimeLimitSec = c.limitSec;
    input.profile = Profile(4000000, 6);
    const RecordFigures figures = RecordFiguresFor(input);
    EXPECT_EQ(figures.spaceBelowSizeLimit, c.belowSize);
    EXPECT_EQ(figures.timeBeyondSpace, c.timeBeyond);
    EXPECT_EQ(figures.usableMB, std::min<std::int64_t>(c.freeMB, 1000));
  }
}

TEST(CaptureFigures, TimeShiftBufferLengthAtTheVideoBitRate) {
  // 1024 MB at 6 Mbit/s: 1431 s; the sound does not count.
  TimeShiftFigures figures = TimeShiftFiguresFor(5000, 1024, Profile(6000000, 6));
  EXPECT_FALSE(figures.spaceBelowBuffer);
  EXPECT_EQ(figures.seconds, 1431);
  EXPECT_EQ(figures.hours, 0);
  EXPECT_EQ(figures.minutes, 23);
  EXPECT_EQ(figures.secs, 51);
  figures = TimeShiftFiguresFor(60, 1024, Profile(2000000, 6));
  EXPECT_TRUE(figures.spaceBelowBuffer);
  EXPECT_EQ(figures.usableMB, 60);
  EXPECT_EQ(figures.seconds, 251);
}

TEST(CapturePageCheck, EachRefusalAndItsOrder) {
  constexpr std::int64_t kMB = 1048576;
  const auto base = [] {
    CapturePageCheckInput input;
    input.recFolderExists = true;
    input.tsFolderExists = true;
    input.recFreeBytes = 4000 * kMB + kMB - 1;  // 4000 whole megabytes
    input.tsFreeBytes = 2000 * kMB;
    input.Rec_clt = kLimitSize;
    input.lRecSizeLimitMB = 4000;
    input.lRecTimeLimitSec = 1800;
    input.lTSBufferSizeMB = 2000;
    return input;
  };
  const struct {
    const char* name;
    void (*change)(CapturePageCheckInput&);
    CapturePageRefusal refusal;
  } cases[] = {
      {"fits", [](CapturePageCheckInput&) {}, CapturePageRefusal::kNone},
      {"no recording folder", [](CapturePageCheckInput& i) { i.recFolderExists = false; },
       CapturePageRefusal::kFolderMissing},
      {"no time-shift folder, before the size",
       [](CapturePageCheckInput& i) {
         i.tsFolderExists = false;
         i.lRecSizeLimitMB = 5000;
       },
       CapturePageRefusal::kFolderMissing},
      {"5000 MB by size on 4000 free", [](CapturePageCheckInput& i) { i.lRecSizeLimitMB = 5000; },
       CapturePageRefusal::kSizeOverFree},
      {"4001 MB by size", [](CapturePageCheckInput& i) { i.lRecSizeLimitMB = 4001; },
       CapturePageRefusal::kSizeOverFree},
      {"5000 MB by time",
       [](CapturePageCheckInput& i) {
         i.lRecSizeLimitMB = 5000;
         i.Rec_clt = kLimitTime;
       },
       CapturePageRefusal::kNone},
      {"0 h 0 min by time",
       [](CapturePageCheckInput& i) {
         i.Rec_clt = kLimitTime;
         i.lRecTimeLimitSec = 0;
       },
       CapturePageRefusal::kTimeUnderMinute},
      {"59 s by time",
       [](CapturePageCheckInput& i) {
         i.Rec_clt = kLimitTime;
         i.lRecTimeLimitSec = 59;
       },
       CapturePageRefusal::kTimeUnderMinute},
      {"60 s by time",
       [](CapturePageCheckInput& i) {
         i.Rec_clt = kLimitTime;
         i.lRecTimeLimitSec = 60;
       },
       CapturePageRefusal::kNone},
      {"0 s without a limit",
       [](CapturePageCheckInput& i) {
         i.Rec_clt = kLimitNone;
         i.lRecTimeLimitSec = 0;
       },
       CapturePageRefusal::kNone},
      {"buffer beyond its own folder's space",
       [](CapturePageCheckInput& i) { i.lTSBufferSizeMB = 2001; },
       CapturePageRefusal::kBufferOverFree},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CapturePageCheckInput input = base();
    c.change(input);
    EXPECT_EQ(CheckCapturePage(input), c.refusal);
  }
}

TEST(CapturePageFields, MegabyteFieldsStayAtLeastOneAndWithinRange) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {{"30", 30},  {"", 1},      {"0", 1},
               {" 12", 12}, {"64MB", 64}, {"99999999999", 2147483647},
               {"-5", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseMegabytes(c.text), c.value);
  }
}

TEST(CaptureProfiles, StoredIndexAsListPosition) {
  const struct {
    std::int32_t stored;
    bool avi;
    int record;
  } cases[] = {{17, false, 4},  {17, true, 17}, {0, false, 0},
               {16, false, 16}, {18, true, 4},  {-1, true, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(RecordProfileIndex(c.stored, c.avi), c.record);
  }
  EXPECT_EQ(TimeShiftProfileIndex(2), 2);
  EXPECT_EQ(TimeShiftProfileIndex(3), 1);
  EXPECT_EQ(TimeShiftProfileIndex(-9999), 1);
}

TEST(CaptureProfiles, PresetTableBehindTheLists) {
  using recording::BuiltInRecord;
  using recording::QuickProfileRecord;
  // The panel's modes are rows of the same table.
  EXPECT_EQ(QuickProfileRecord(1).dwbit_rate, BuiltInRecord(recording::kRecordLong).dwbit_rate);
  EXPECT_EQ(QuickProfileRecord(4).dwvbr_max_bit_rate,
            BuiltInRecord(recording::kRecordNormal).dwvbr_max_bit_rate);
  EXPECT_EQ(QuickProfileRecord(5).dwbit_rate, BuiltInRecord(recording::kRecordHigh).dwbit_rate);
  // Every recording profile records: its type has a file-name tag.
  for (int i = 0; i < recording::kQuickProfileCount; ++i) {
    SCOPED_TRACE(i);
    const EncoderParams params = QuickProfileRecord(i);
    EXPECT_TRUE(recording::FormatTag(params).has_value());
    EXPECT_NE(params.dwbit_rate, 0u);
    EXPECT_EQ(params.dwcappreview, 0u);
  }
  EXPECT_EQ(*recording::FormatTag(QuickProfileRecord(7)), "DVD");
  EXPECT_EQ(*recording::FormatTag(QuickProfileRecord(17)), "AVI");
  for (int i = 0; i < recording::kTimeShiftProfileCount; ++i) {
    EXPECT_NE(recording::TimeShiftProfileRecord(i).dwbit_rate, 0u);
  }
  // The preview choice survives the copy of a preset.
  EXPECT_EQ(ProfileRecordWithPreview(QuickProfileRecord(6), kPreviewOn).dwcappreview, 2u);
  EXPECT_TRUE(PreviewTicked(0));
  EXPECT_FALSE(PreviewTicked(kPreviewOff));
}

TEST(CaptureAudioDevices, BoardDeviceLeftOutAndStoredNameFound) {
  const std::vector<std::string> names = {"Virtual 7134 Board Audio", "QUELN Capture",
                                          "Sound Blaster", "Line Card"};
  const std::vector<std::string> offered = OfferedAudioDevices(names);
  ASSERT_EQ(offered, (std::vector<std::string>{"Sound Blaster", "Line Card"}));
  const struct {
    const char* stored;
    std::size_t pick;
  } cases[] = {{"line card", 1}, {"Sound Blaster", 0}, {"Gone Card", 0}, {"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(PickByName(offered, c.stored), c.pick);
  }
  EXPECT_FALSE(PickByName({}, "Sound Blaster").has_value());
}

}  // namespace
}  // namespace brontel

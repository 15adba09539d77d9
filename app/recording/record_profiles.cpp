#include "app/recording/record_profiles.h"

#include <array>

#include "app/recording/record_names.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel::recording {
namespace {

constexpr std::uint32_t kMpegTypeAvi = 172;

using PresetRow = std::array<std::uint32_t, kEncoderFieldCount>;

// The encoder preset table, one row per entry of the recording profile
// list, field by field in stored order; the last field ("dwcappreview") is
// cleared on every copy. Rows 1, 4 and 5 are also the panel's Long, Normal
// and High modes. Type 5 is MPEG-1 (VCD), 4 SVCD, 0 MPEG-2, 172 AVI; the
// DVD row's 4096000 bit/s is what tags its files "DVD".
constexpr std::array<PresetRow, kQuickProfileCount> kPresetRows = {{
    // 0: VCD, 1.15 Mbit/s constant, SIF pictures.
    {12, 3, 5, 1150000, 4, 10, 2, 2, 0, 1, 6, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 1, 0},
    // 1: long play (the Long mode).
    {12, 3, 4, 2097200, 4, 10, 2, 2, 0, 1, 6, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 2, 0},
    // 2: SVCD, 2.5 Mbit/s constant.
    {12, 3, 4, 2500000, 4, 10, 2, 2, 0, 1, 6, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 2, 0},
    // 3: economy, 3 Mbit/s variable.
    {12, 3, 0, 3000000, 4, 10, 2, 2, 0, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 4500000, 3000000, 3500000, 3000000, 10000000, 0, 0, 6, 0},
    // 4: normal (the Normal mode).
    {12, 3, 0, 4000000, 4, 10, 2, 2, 0, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 6000000, 4000000, 5000000, 4000000, 10000000, 0, 0, 6, 0},
    // 5: high quality (the High mode).
    {12, 3, 0, 6000000, 4, 10, 2, 2, 0, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 8000000, 6000000, 7000000, 6000000, 10000000, 0, 0, 6, 0},
    // 6: best quality, 8 Mbit/s variable, peaks within a DVD's 9.8.
    {12, 3, 0, 8000000, 4, 10, 2, 2, 0, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 9800000, 8000000, 9000000, 8000000, 10000000, 0, 0, 6, 0},
    // 7 to 9: DVD, closed groups of 15, constant rate, 192 kbit/s sound.
    {15, 3, 0, 4096000, 4, 10, 2, 2, 0, 1, 5, 48000, 4, 8,
     1, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 6, 0},
    {15, 3, 0, 3000000, 4, 10, 2, 2, 0, 1, 5, 48000, 4, 8,
     1, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 6, 0},
    {15, 3, 0, 6000000, 4, 10, 2, 2, 0, 1, 5, 48000, 4, 8,
     1, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 6, 0},
    // 10 and 11: half D1, 2 and 3 Mbit/s variable.
    {12, 3, 0, 2000000, 4, 10, 2, 2, 1, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 3000000, 2000000, 2500000, 2000000, 10000000, 0, 0, 4, 0},
    {12, 3, 0, 3000000, 4, 10, 2, 2, 1, 1, 6, 48000, 4, 8,
     3, 2, 5, 4, 4500000, 3000000, 3500000, 3000000, 10000000, 0, 0, 4, 0},
    // 12 to 14: MPEG-1 at 1.5, 2 and 3 Mbit/s constant, 128 kbit/s sound.
    {12, 3, 5, 1500000, 4, 10, 2, 2, 0, 1, 3, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 1, 0},
    {12, 3, 5, 2000000, 4, 10, 2, 2, 0, 1, 3, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 1, 0},
    {12, 3, 5, 3000000, 4, 10, 2, 2, 0, 1, 3, 44100, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 1, 0},
    // 15: sports, no sub-groups and a wider motion search.
    {12, 1, 0, 8000000, 4, 20, 2, 2, 0, 1, 6, 48000, 4, 8,
     3, 2, 5, 3, 9800000, 8000000, 9000000, 8000000, 10000000, 0, 0, 6, 0},
    // 16: archive, 10 Mbit/s constant, 320 kbit/s sound.
    {12, 3, 0, 10000000, 4, 20, 2, 2, 0, 1, 8, 48000, 4, 8,
     3, 1, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 6, 0},
    // 17: uncompressed AVI; its bit rate is the 20891664 bytes a second of
    // the AVI length estimate.
    {0, 0, 172, 167133312, 4, 0, 2, 2, 0, 1, 0, 48000, 0, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 10000000, 0, 0, 6, 0},
}};

// The time-shift list: standard, high quality and long buffer.
constexpr std::array<int, kTimeShiftProfileCount> kTimeShiftRows = {3, 5, 10};
constexpr int kRowLong = 1;
constexpr int kRowNormal = 4;
constexpr int kRowHigh = 5;

EncoderParams RecordOfRow(int row) {
  EncoderParams params;
  for (int i = 0; i < kEncoderFieldCount; ++i) params.Field(i) = kPresetRows[row][i];
  params.dwcappreview = 0;
  return params;
}

constexpr std::uint32_t kWmaMpegType = 170;

}  // namespace

EncoderParams BuiltInRecord(RecordMode mode) {
  return RecordOfRow(mode == kRecordLong ? kRowLong : mode == kRecordHigh ? kRowHigh : kRowNormal);
}

EncoderParams QuickProfileRecord(int index) {
  return RecordOfRow(index >= 0 && index < kQuickProfileCount ? index : kRowNormal);
}

EncoderParams TimeShiftProfileRecord(int index) {
  return RecordOfRow(kTimeShiftRows[index >= 0 && index < kTimeShiftProfileCount ? index : 1]);
}

EncoderParams WmaRecord() {
  EncoderParams params;
  for (int i = 0; i < kEncoderFieldCount; ++i) params.Field(i) = 0;
  params.dwmpeg_type = kWmaMpegType;
  return params;
}

EncoderParams StoredOrNormalRecord(const EncoderParams& stored) {
  for (int i = 0; i < kEncoderFieldCount - 1; ++i) {
    if (stored.Field(i) != 0) return stored;
  }
  EncoderParams normal = BuiltInRecord(kRecordNormal);
  normal.dwcappreview = stored.dwcappreview;
  return normal;
}

std::optional<RecordProfile> ChooseRecordProfile(const ProfileInput& input) {
  if (input.source == kSourceRadio) return RecordProfile{WmaRecord(), "WMA"};
  RecordProfile profile;
  switch (input.cmCurrRecMode) {
    case kRecordLong:
    case kRecordNormal:
    case kRecordHigh:
      profile.params = BuiltInRecord(static_cast<RecordMode>(input.cmCurrRecMode));
      break;
    case kRecordCustom:
      profile.params = StoredOrNormalRecord(input.recSpc);
      if (profile.params.dwmpeg_type == kMpegTypeAvi && !input.hasAviCapture) return std::nullopt;
      break;
    default:
      return std::nullopt;
  }
  const std::optional<std::string> tag = FormatTag(profile.params);
  if (!tag) return std::nullopt;
  profile.tag = *tag;
  return profile;
}

std::int32_t NextRecordMode(std::int32_t mode) {
  return mode < kRecordLong || mode >= kRecordCustom ? kRecordLong : mode + 1;
}

}  // namespace brontel::recording

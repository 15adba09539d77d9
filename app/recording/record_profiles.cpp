#include "app/recording/record_profiles.h"

#include <array>

#include "app/recording/record_names.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel::recording {
namespace {

constexpr std::uint32_t kMpegTypeAvi = 172;

// Rows 1, 4 and 5 of the encoder preset table, field by field in stored
// order; the last field ("dwcappreview") is cleared on every copy.
constexpr std::array<std::array<std::uint32_t, kEncoderFieldCount>, 3> kBuiltInRows = {{
    {12, 3, 4, 2097200, 4, 10, 2, 2, 0,        1, 6, 44100, 4, 8,
     3,  1, 0, 0,       0, 0,  0, 0, 10000000, 0, 0, 2,     0},
    {12, 3, 0, 4000000, 4,       10,      2,       2,       0,        1, 6, 48000, 4, 8,
     3,  2, 5, 4,       6000000, 4000000, 5000000, 4000000, 10000000, 0, 0, 6,     0},
    {12, 3, 0, 6000000, 4,       10,      2,       2,       0,        1, 6, 48000, 4, 8,
     3,  2, 5, 4,       8000000, 6000000, 7000000, 6000000, 10000000, 0, 0, 6,     0},
}};
constexpr std::uint32_t kWmaMpegType = 170;

}  // namespace

EncoderParams BuiltInRecord(RecordMode mode) {
  EncoderParams params;
  const int row = mode == kRecordLong ? 0 : mode == kRecordHigh ? 2 : 1;
  for (int i = 0; i < kEncoderFieldCount; ++i) params.Field(i) = kBuiltInRows[row][i];
  params.dwcappreview = 0;
  return params;
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

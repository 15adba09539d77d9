#pragma once
// Which encoder record a recording or the time-shift buffer is made with,
// and the tag its file name carries.

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/app_settings.h"

namespace brontel::recording {

// cmCurrRecMode values.
enum RecordMode : std::int32_t {
  kRecordLong = 0,
  kRecordNormal = 1,
  kRecordHigh = 2,
  kRecordCustom = 3,
  kRecordModeCount
};

// The encoder preset table behind the capture page's profile lists: 18
// recording profiles, the last one uncompressed AVI, and 3 for time shift.
constexpr int kQuickProfileCount = 18;
constexpr int kQuickProfileAvi = 17;
constexpr int kTimeShiftProfileCount = 3;

// A row of the table with "dwcappreview" 0; an index outside the list gives
// the default profile (Normal, or the high-quality time shift).
EncoderParams QuickProfileRecord(int index);
EncoderParams TimeShiftProfileRecord(int index);

// The built-in records for Long, Normal and High, and the radio's WMA
// record; "dwcappreview" is 0 in each, since only the stored custom records
// carry the capture-preview choice.
EncoderParams BuiltInRecord(RecordMode mode);
EncoderParams WmaRecord();

// A stored custom record ("Rec_spc", "TS_spc") as a fresh install leaves it:
// every field 0 but "dwcappreview". Such a record was never chosen on the
// capture page and cannot encode anything, so the Normal row stands in for
// it, keeping the stored capture-preview choice; any other record is used as
// stored.
EncoderParams StoredOrNormalRecord(const EncoderParams& stored);

struct RecordProfile {
  EncoderParams params;
  std::string tag;
};

struct ProfileInput {
  std::int32_t source = 0;
  std::int32_t cmCurrRecMode = kRecordNormal;
  EncoderParams recSpc;        // CaptSet "Rec_spc"
  bool hasAviCapture = false;  // AppSet bHasAVICapt
};

// The record and tag of a recording; nullopt when it must not start: an
// unknown mode, a custom AVI record without AVI capture, or a record whose
// type has no tag.
std::optional<RecordProfile> ChooseRecordProfile(const ProfileInput& input);

// The next mode of the record-mode button: Long, Normal, High, Custom, Long.
std::int32_t NextRecordMode(std::int32_t mode);

}  // namespace brontel::recording

#pragma once
// The capture settings page's rules: how long a recording or the time-shift
// buffer can run in the space a folder offers, the limits of the time
// spins, the checks before the page lets go, the profile lists and the
// audio devices offered.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"

namespace brontel {

// The longest time limit the spins can show: 99 hours.
constexpr std::int64_t kMaxRecordableSec = 356400;
constexpr std::int32_t kMaxLimitHours = 99;

// The sound's share of a recording, by "dwaudio_bitrate_index"; 0 for an
// index the encoder does not know. Index 1 is 92,000, as the board counts it.
std::int64_t AudioBitRate(std::uint32_t index);

// Seconds that `megabytes` hold at `bitsPerSecond` (megabytes × 2^23 ÷ bit
// rate, truncated), at most 99 hours; a rate of 0 holds the most.
std::int64_t SecondsInMegabytes(std::int64_t megabytes, std::int64_t bitsPerSecond);

// The ranges and positions of the hours and minutes spins.
struct TimeSpins {
  std::int32_t hoursMax = 0;  // hours run 0..hoursMax
  std::int32_t minutesMax = 0;
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
};

// With an hour or more to record, hours up to the whole hours (at most 99)
// and minutes 0..59; below an hour, hours fixed at 0 and minutes up to the
// whole minutes. The positions show `limitSec` or `recordableSec`,
// whichever is smaller.
TimeSpins TimeSpinsFor(std::int64_t recordableSec, std::int64_t limitSec);

// The time limit the spins show.
std::int32_t SpinSeconds(std::int32_t hours, std::int32_t minutes);

struct RecordFiguresInput {
  std::int64_t freeMB = 0;  // free space of the recording folder
  std::int32_t Rec_clt = 0;
  std::int32_t lRecSizeLimitMB = 0;
  std::int32_t lRecTimeLimitSec = 0;
  EncoderParams profile;  // the recording profile's values
};

struct RecordFigures {
  std::int64_t usableMB = 0;
  // Less free space than the size limit (string 258); nothing below is
  // worked out then.
  bool spaceBelowSizeLimit = false;
  std::int64_t recordableSec = 0;
  TimeSpins spins;
  // Limited by time, and the disk holds less than the limit (string 299).
  bool timeBeyondSpace = false;
};

RecordFigures RecordFiguresFor(const RecordFiguresInput& input);

struct TimeShiftFigures {
  std::int64_t usableMB = 0;
  bool spaceBelowBuffer = false;  // string 260
  std::int64_t seconds = 0;       // the buffer's length
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t secs = 0;
};

// The buffer's length at the time-shift profile's video bit rate.
TimeShiftFigures TimeShiftFiguresFor(std::int64_t freeMB, std::int32_t lTSBufferSizeMB,
                                     const EncoderParams& profile);

// Why the page does not let go.
enum class CapturePageRefusal {
  kNone,
  kFolderMissing,    // string 278
  kSizeOverFree,     // string 300
  kTimeUnderMinute,  // string 301
  kBufferOverFree,   // string 302
};

struct CapturePageCheckInput {
  bool recFolderExists = false;
  bool tsFolderExists = false;
  std::int64_t recFreeBytes = 0;
  // The buffer is written to the time-shift folder, so its free space is
  // what the buffer must fit in.
  std::int64_t tsFreeBytes = 0;
  std::int32_t Rec_clt = 0;
  std::int32_t lRecSizeLimitMB = 0;
  std::int32_t lRecTimeLimitSec = 0;
  std::int32_t lTSBufferSizeMB = 0;
};

CapturePageRefusal CheckCapturePage(const CapturePageCheckInput& input);

// Whole megabytes of a byte count (shifted right by 20); 0 for less.
std::int64_t WholeMegabytes(std::int64_t bytes);

// A size typed into a megabyte field: its leading digits, at least 1 and
// at most what a stored value holds.
std::int32_t ParseMegabytes(const std::string& text);

// The stored recording profile as a list position: the AVI entry only when
// the board can capture AVI, the default for anything else out of range.
int RecordProfileIndex(std::int32_t stored, bool aviCapture);
int TimeShiftProfileIndex(std::int32_t stored);

// A profile's values for "Rec_spc" or "TS_spc", with the capture-preview
// word kept from `previewWord`.
EncoderParams ProfileRecordWithPreview(const EncoderParams& preset, std::uint32_t previewWord);

// "dwcappreview": 2 with the preview box ticked, 1 without; the box shows
// ticked for any stored value but 1.
constexpr std::uint32_t kPreviewOn = 2;
constexpr std::uint32_t kPreviewOff = 1;
inline bool PreviewTicked(std::uint32_t word) {
  return word != kPreviewOff;
}

// The board's own sound device, never offered for recording: its name
// holds "7134" or "QUELN".
bool IsOfferedAudioDevice(const std::string& name);
std::vector<std::string> OfferedAudioDevices(const std::vector<std::string>& names);

// The position of the name equal to `stored` ignoring case, else 0; nullopt
// for an empty list.
std::optional<std::size_t> PickByName(const std::vector<std::string>& names,
                                      const std::string& stored);

}  // namespace brontel

#include "settings/capture_page_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

#include "app/recording/record_limits.h"
#include "app/recording/record_profiles.h"

namespace brontel {
namespace {

constexpr std::int64_t kBitsPerMegabyte = 8388608;  // 2^23
constexpr std::int32_t kSecondsPerHour = 3600;
constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kMinutesPerHour = 60;
constexpr std::int32_t kShortestTimeLimitSec = 60;
constexpr int kDefaultRecordProfile = 4;
constexpr int kDefaultTimeShiftProfile = 1;

constexpr std::array<std::int64_t, 10> kAudioBitRates = {64000,  92000,  112000, 128000, 160000,
                                                         192000, 224000, 256000, 320000, 384000};

bool ContainsIgnoringCase(const std::string& text, const std::string& part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) ==
                  std::toupper(static_cast<unsigned char>(b));
         }) != text.end();
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ContainsIgnoringCase(a, b);
}

}  // namespace

std::int64_t AudioBitRate(std::uint32_t index) {
  return index < kAudioBitRates.size() ? kAudioBitRates[index] : 0;
}

std::int64_t SecondsInMegabytes(std::int64_t megabytes, std::int64_t bitsPerSecond) {
  if (megabytes <= 0) return 0;
  if (bitsPerSecond <= 0) return kMaxRecordableSec;
  // Megabytes come from a 64-bit byte count shifted by 20, so the product
  // stays far inside 64 bits.
  return std::min(megabytes * kBitsPerMegabyte / bitsPerSecond, kMaxRecordableSec);
}

TimeSpins TimeSpinsFor(std::int64_t recordableSec, std::int64_t limitSec) {
  TimeSpins spins;
  recordableSec = std::clamp<std::int64_t>(recordableSec, 0, kMaxRecordableSec);
  if (recordableSec >= kSecondsPerHour) {
    spins.hoursMax = static_cast<std::int32_t>(
        std::min<std::int64_t>(recordableSec / kSecondsPerHour, kMaxLimitHours));
    spins.minutesMax = kMinutesPerHour - 1;
  } else {
    spins.hoursMax = 0;
    spins.minutesMax = static_cast<std::int32_t>(recordableSec / kSecondsPerMinute);
  }
  const std::int64_t shown = std::clamp<std::int64_t>(limitSec, 0, recordableSec);
  spins.hours = static_cast<std::int32_t>(shown / kSecondsPerHour);
  spins.minutes = static_cast<std::int32_t>(shown % kSecondsPerHour / kSecondsPerMinute);
  return spins;
}

std::int32_t SpinSeconds(std::int32_t hours, std::int32_t minutes) {
  hours = std::clamp(hours, 0, kMaxLimitHours);
  minutes = std::clamp(minutes, 0, kMinutesPerHour - 1);
  return hours * kSecondsPerHour + minutes * kSecondsPerMinute;
}

RecordFigures RecordFiguresFor(const RecordFiguresInput& input) {
  RecordFigures figures;
  const std::int64_t limitMB = input.lRecSizeLimitMB;
  figures.usableMB = std::min(input.freeMB, limitMB);
  if (input.freeMB < limitMB) {
    figures.spaceBelowSizeLimit = true;
    return figures;
  }
  const std::int64_t bitRate = static_cast<std::int64_t>(input.profile.dwbit_rate) +
                               AudioBitRate(input.profile.dwaudio_bitrate_index);
  figures.recordableSec = SecondsInMegabytes(figures.usableMB, bitRate);
  figures.spins = TimeSpinsFor(figures.recordableSec, input.lRecTimeLimitSec);
  figures.timeBeyondSpace =
      input.Rec_clt == recording::kLimitTime && figures.recordableSec < input.lRecTimeLimitSec;
  return figures;
}

TimeShiftFigures TimeShiftFiguresFor(std::int64_t freeMB, std::int32_t lTSBufferSizeMB,
                                     const EncoderParams& profile) {
  TimeShiftFigures figures;
  figures.usableMB = std::min<std::int64_t>(freeMB, lTSBufferSizeMB);
  figures.spaceBelowBuffer = freeMB < lTSBufferSizeMB;
  figures.seconds = SecondsInMegabytes(figures.usableMB, profile.dwbit_rate);
  figures.hours = static_cast<std::int32_t>(figures.seconds / kSecondsPerHour);
  figures.minutes =
      static_cast<std::int32_t>(figures.seconds % kSecondsPerHour / kSecondsPerMinute);
  figures.secs = static_cast<std::int32_t>(figures.seconds % kSecondsPerMinute);
  return figures;
}

std::int64_t WholeMegabytes(std::int64_t bytes) {
  return bytes > 0 ? bytes >> 20 : 0;
}

CapturePageRefusal CheckCapturePage(const CapturePageCheckInput& input) {
  if (!input.recFolderExists || !input.tsFolderExists) return CapturePageRefusal::kFolderMissing;
  const std::int64_t recFreeMB = WholeMegabytes(input.recFreeBytes);
  if (input.Rec_clt == recording::kLimitSize && input.lRecSizeLimitMB > recFreeMB) {
    return CapturePageRefusal::kSizeOverFree;
  }
  if (input.Rec_clt == recording::kLimitTime && input.lRecTimeLimitSec < kShortestTimeLimitSec) {
    return CapturePageRefusal::kTimeUnderMinute;
  }
  if (input.lTSBufferSizeMB > WholeMegabytes(input.tsFreeBytes)) {
    return CapturePageRefusal::kBufferOverFree;
  }
  return CapturePageRefusal::kNone;
}

std::int32_t ParseMegabytes(const std::string& text) {
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLargest);
  }
  return static_cast<std::int32_t>(std::max<std::int64_t>(value, 1));
}

int RecordProfileIndex(std::int32_t stored, bool aviCapture) {
  if (stored == recording::kQuickProfileAvi && !aviCapture) return kDefaultRecordProfile;
  if (stored < 0 || stored >= recording::kQuickProfileCount) return kDefaultRecordProfile;
  return stored;
}

int TimeShiftProfileIndex(std::int32_t stored) {
  if (stored < 0 || stored >= recording::kTimeShiftProfileCount) return kDefaultTimeShiftProfile;
  return stored;
}

EncoderParams ProfileRecordWithPreview(const EncoderParams& preset, std::uint32_t previewWord) {
  EncoderParams record = preset;
  record.dwcappreview = previewWord;
  return record;
}

bool IsOfferedAudioDevice(const std::string& name) {
  return name.find("7134") == std::string::npos && name.find("QUELN") == std::string::npos;
}

std::vector<std::string> OfferedAudioDevices(const std::vector<std::string>& names) {
  std::vector<std::string> offered;
  for (const std::string& name : names) {
    if (IsOfferedAudioDevice(name)) offered.push_back(name);
  }
  return offered;
}

std::optional<std::size_t> PickByName(const std::vector<std::string>& names,
                                      const std::string& stored) {
  if (names.empty()) return std::nullopt;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (EqualsIgnoringCase(names[i], stored)) return i;
  }
  return 0;
}

}  // namespace brontel

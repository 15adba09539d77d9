#include "encodewriter/encoder_records.h"

#include <utility>

namespace encodewriter {
namespace {

// A word copied with its default, applied when the stored value is negative
// (or also when it is 0, for the words marked so).
struct DefaultedWord {
  std::size_t offset;
  std::int32_t fallback;
  bool zeroToo;
};

constexpr DefaultedWord kPlainWords[] = {
    {0, 12, false}, {4, 3, false},  {8, 0, false},      {12, 4, true},  {16, 0x200000, false},
    {20, 8, false}, {24, 4, false}, {28, 8, false},     {32, 2, false}, {36, 2, false},
    {40, 0, false}, {48, 0, false}, {52, 44100, false}, {56, 3, false}, {88, 10000000, true},
};

std::int32_t Defaulted(const ParamRecord& params, std::size_t offset, std::int32_t fallback,
                       bool zeroToo) {
  const std::int32_t value = ReadWord(params.data(), offset);
  if (value < 0 || (zeroToo && value == 0)) return fallback;
  return value;
}

void CopyWord(const ParamRecord& from, ParamRecord& to, std::size_t offset) {
  WriteWord(to.data(), offset, ReadWord(from.data(), offset));
}

}  // namespace

std::int32_t ReadWord(const std::uint8_t* record, std::size_t offset) {
  const std::uint32_t value = static_cast<std::uint32_t>(record[offset]) |
                              static_cast<std::uint32_t>(record[offset + 1]) << 8 |
                              static_cast<std::uint32_t>(record[offset + 2]) << 16 |
                              static_cast<std::uint32_t>(record[offset + 3]) << 24;
  return static_cast<std::int32_t>(value);
}

void WriteWord(std::uint8_t* record, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

OptionRecord DefaultOptionRecord() {
  OptionRecord options{};
  for (std::size_t offset : {88, 92, 96, 100, 108, 112, 116}) WriteWord(options.data(), offset, 1);
  return options;
}

std::int32_t FrameRateCode(const ParamRecord& params) {
  return Defaulted(params, kWordFrameRateCode, 4, true);
}

std::int32_t SampleRate(const ParamRecord& params) {
  return Defaulted(params, kWordSampleRate, 44100, false);
}

ParamRecord BuildEncodingRecord(const ParamRecord& params, int audioChannels) {
  ParamRecord record{};
  for (const DefaultedWord& word : kPlainWords) {
    WriteWord(record.data(), word.offset,
              Defaulted(params, word.offset, word.fallback, word.zeroToo));
  }
  CopyWord(params, record, 92);
  if (audioChannels == 1) WriteWord(record.data(), kWordChannels, 0);
  if (audioChannels == 2) WriteWord(record.data(), kWordChannels, 1);

  const std::int32_t mode = ReadWord(params.data(), kWordBitRateMode);
  WriteWord(record.data(), kWordBitRateMode, mode);
  if (mode == kVariableBitRate) {
    const std::int32_t subMode = ReadWord(params.data(), 64);
    WriteWord(record.data(), 64, subMode);
    CopyWord(params, record, 72);
    if (subMode >= 3 && subMode <= 5) {
      WriteWord(record.data(), 68, Defaulted(params, 68, 3, false));
    }
    if (subMode == 1 || subMode == 2) CopyWord(params, record, kWordVbrAverageRate);
    if (subMode == 5) {
      CopyWord(params, record, 80);
      CopyWord(params, record, 84);
    }
  }

  constexpr std::pair<std::size_t, std::int32_t> kFixedWords[] = {
      {96, 32}, {100, 32}, {104, 16}, {108, 16}, {112, 0},
      {116, 1}, {120, 4},  {132, 0},  {136, 0},  {140, 4},
  };
  for (const auto& [offset, value] : kFixedWords) WriteWord(record.data(), offset, value);
  return record;
}

OpenRecord BuildOpenRecord(const OpenRecordInputs& inputs) {
  OpenRecord record{};
  auto put = [&record](std::size_t offset, std::uint32_t value) {
    WriteWord(record.data(), offset, static_cast<std::int32_t>(value));
  };
  put(0, inputs.bitmapHeader);
  if (inputs.hasAudio) put(4, inputs.audioFormat);
  // One callback slot per connection shape, each with its context 12 bytes on.
  std::size_t slot = 16;
  if (inputs.hasVideo && !inputs.hasAudio) slot = 8;
  if (!inputs.hasVideo && inputs.hasAudio) slot = 12;
  put(slot, inputs.writeCallback);
  put(slot + 12, inputs.callbackContext);
  put(32, inputs.hasVideo ? 1 : 0);
  put(36, inputs.hasAudio ? 1 : 0);
  put(40, inputs.tempFileName);
  put(44, 1);
  put(48, 1);
  put(52, 0);
  return record;
}

std::int64_t TotalBitRate(const ParamRecord& params) {
  std::int64_t audio = 224000;
  switch (ReadWord(params.data(), kWordAudioBitRateIndex)) {
    case 0:
      audio = 64000;
      break;
    case 1:
      audio = 96000;
      break;
    case 2:
      audio = 112000;
      break;
    case 3:
      audio = 128000;
      break;
    case 4:
      audio = 160000;
      break;
    case 5:
      audio = 192000;
      break;
    case 7:
      audio = 256000;
      break;
    case 8:
      audio = 320000;
      break;
    case 9:
      audio = 384000;
      break;
    default:
      break;  // 6 and every unlisted index: 224 kbit/s
  }
  const std::size_t videoWord =
      ReadWord(params.data(), kWordBitRateMode) == 1 ? kWordVideoBitRate : kWordVbrAverageRate;
  return audio + ReadWord(params.data(), videoWord);
}

std::int64_t BufferedBytes(bool circular, bool wrappedOnce, std::int64_t totalBitRate,
                           std::int64_t wrapPeriodMs, std::int64_t sizeLimit) {
  if (circular && wrappedOnce) return totalBitRate * wrapPeriodMs / 8000;
  return sizeLimit;
}

std::string ResolveOutputName(const std::string& name, bool writingEnabled) {
  if (!name.empty()) return name;
  return writingEnabled ? kDefaultOutputName : std::string();
}

}  // namespace encodewriter

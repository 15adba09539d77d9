#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The byte records the encode-writer hands to the encoder library, built from
// the filter's parameter record. All words are 32-bit little-endian.
namespace encodewriter {

constexpr std::size_t kParamRecordBytes = 220;
constexpr std::size_t kExtraRecordBytes = 92;
constexpr std::size_t kOptionRecordBytes = 288;
constexpr std::size_t kOpenRecordBytes = 84;

using ParamRecord = std::array<std::uint8_t, kParamRecordBytes>;
using OptionRecord = std::array<std::uint8_t, kOptionRecordBytes>;
using OpenRecord = std::array<std::uint8_t, kOpenRecordBytes>;

// Offsets of the parameter-record words the filter reads itself.
constexpr std::size_t kWordFrameRateCode = 12;
constexpr std::size_t kWordVideoBitRate = 16;
constexpr std::size_t kWordChannels = 44;
constexpr std::size_t kWordAudioBitRateIndex = 48;
constexpr std::size_t kWordSampleRate = 52;
constexpr std::size_t kWordBitRateMode = 60;
constexpr std::size_t kWordVbrAverageRate = 76;

constexpr std::int32_t kVariableBitRate = 2;

std::int32_t ReadWord(const std::uint8_t* record, std::size_t offset);
void WriteWord(std::uint8_t* record, std::size_t offset, std::int32_t value);

// The option record a new filter starts with.
OptionRecord DefaultOptionRecord();

// The frame-rate code of a parameter record, with its default.
std::int32_t FrameRateCode(const ParamRecord& params);
// The audio sample rate the audio pin must match, with its default.
std::int32_t SampleRate(const ParamRecord& params);

// The encoding record of one encoder start; `audioChannels` 0 when no audio
// is connected.
ParamRecord BuildEncodingRecord(const ParamRecord& params, int audioChannels);

// What goes into the open record. Addresses are 32-bit: the filter and the
// encoder run as 32-bit code.
struct OpenRecordInputs {
  std::uint32_t bitmapHeader = 0;
  std::uint32_t audioFormat = 0;
  std::uint32_t writeCallback = 0;
  std::uint32_t callbackContext = 0;
  std::uint32_t tempFileName = 0;
  bool hasVideo = false;
  bool hasAudio = false;
};

OpenRecord BuildOpenRecord(const OpenRecordInputs& inputs);

// Audio plus video bit rate in bits per second.
std::int64_t TotalBitRate(const ParamRecord& params);

// Bytes of programme a time-shift file holds: after its first wrap what the
// last wrap period spans at the total bit rate, otherwise the size limit.
std::int64_t BufferedBytes(bool circular, bool wrappedOnce, std::int64_t totalBitRate,
                           std::int64_t wrapPeriodMs, std::int64_t sizeLimit);

constexpr const char* kDefaultOutputName = "kxPVR.mpg";
constexpr const char* kTempFileName = "kxTemp.mpg";

// The file an encoder start writes to: the given name, or the default when
// it is empty and writing is enabled; empty when the start must fail.
std::string ResolveOutputName(const std::string& name, bool writingEnabled);

}  // namespace encodewriter

#pragma once

#include <cstddef>
#include <cstdint>

#include "outside/mpegenc/program_encoder.h"

// The byte layouts the encode-writer hands over, read and written without
// any platform header so that they can be checked natively.
namespace mpegenc {

constexpr std::size_t kParamRecordBytes = 220;
constexpr std::size_t kExtraRecordBytes = 92;
constexpr std::size_t kOptionRecordBytes = 288;

// Offsets of the 32-bit words of the parameter and encoding records.
enum RecordWord : std::size_t {
  kWordGopLength = 0,
  kWordSubGroup = 4,
  kWordMpegType = 8,
  kWordFrameRateCode = 12,
  kWordVideoBitRate = 16,
  kWordMotionSearch = 20,
  kWordAspectRatio = 24,
  kWordVideoFormat = 28,
  kWordAudioMode = 36,
  kWordChannels = 44,  // 0 mono, 1 stereo
  kWordAudioBitRateIndex = 48,
  kWordSampleRate = 52,
  kWordProfile = 56,
  kWordBitRateMode = 60,  // 1 constant, 2 variable
  kWordVbrMode = 64,
  kWordVbrQuant = 68,
  kWordVbrMaxRate = 72,
  kWordVbrAverageRate = 76,
  kWordVbrMaxAverage = 80,
  kWordVbrMinAverage = 84,
  kWordFrameLimit = 88,
  kWordSequenceHeaders = 92,
};

std::uint32_t ReadWord(const std::uint8_t* record, std::size_t offset);
void WriteWord(std::uint8_t* record, std::size_t offset, std::uint32_t value);

// Audio bit rate (bit/s) of an audio bit-rate index.
int AudioBitRateOfIndex(std::int32_t index);

// The default profile: 12-picture groups, 29.97 pictures a second, 4 Mbit/s
// video on average (6 Mbit/s peak), 224 kbit/s stereo audio at 48000 Hz.
void FillDefaultParams(std::uint8_t params[kParamRecordBytes],
                       std::uint8_t extra[kExtraRecordBytes]);

// Session settings from the encoding record, the video bitmap header (40
// bytes or more, may be null when there is no video) and the audio format
// (a wave format of 16 bytes or more, may be null). Returns kResultOk or the
// negative result that open gives.
int SettingsFromRecords(const std::uint8_t* encoding, const std::uint8_t* bitmapHeader,
                        const std::uint8_t* waveFormat, SessionSettings* settings);

}  // namespace mpegenc

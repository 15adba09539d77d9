#include "outside/mpegenc/encoder_records.h"

#include <cstring>

namespace mpegenc {

std::uint32_t ReadWord(const std::uint8_t* record, std::size_t offset) {
  const std::uint8_t* p = record + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void WriteWord(std::uint8_t* record, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

int AudioBitRateOfIndex(std::int32_t index) {
  switch (index) {
    case 0:
      return 64000;
    case 1:
      return 96000;
    case 2:
      return 112000;
    case 3:
      return 128000;
    case 4:
      return 160000;
    case 5:
      return 192000;
    case 7:
      return 256000;
    case 8:
      return 320000;
    case 9:
      return 384000;
    default:
      return 224000;
  }
}

void FillDefaultParams(std::uint8_t params[kParamRecordBytes],
                       std::uint8_t extra[kExtraRecordBytes]) {
  std::memset(params, 0, kParamRecordBytes);
  std::memset(extra, 0, kExtraRecordBytes);
  struct Entry {
    std::size_t offset;
    std::uint32_t value;
  };
  static const Entry kNormal[] = {
      {kWordGopLength, 12},
      {kWordSubGroup, 3},
      {kWordMpegType, 0},
      {kWordFrameRateCode, 4},
      {kWordVideoBitRate, 4000000},
      {kWordMotionSearch, 10},
      {kWordAspectRatio, 2},
      {kWordVideoFormat, 2},
      {kWordAudioMode, 1},
      {kWordChannels, 1},
      {kWordAudioBitRateIndex, 6},
      {kWordSampleRate, 48000},
      {kWordProfile, 4},
      {kWordBitRateMode, 2},
      {kWordVbrMode, 5},
      {kWordVbrQuant, 4},
      {kWordVbrMaxRate, 6000000},
      {kWordVbrAverageRate, 4000000},
      {kWordVbrMaxAverage, 5000000},
      {kWordVbrMinAverage, 4000000},
      {kWordFrameLimit, 10000000},
  };
  for (const Entry& e : kNormal) WriteWord(params, e.offset, e.value);
}

int SettingsFromRecords(const std::uint8_t* encoding, const std::uint8_t* bitmapHeader,
                        const std::uint8_t* waveFormat, SessionSettings* settings) {
  if (!encoding || !settings || (!bitmapHeader && !waveFormat)) return kResultBadArgument;
  SessionSettings s;
  auto word = [&](std::size_t offset) {
    return static_cast<std::int32_t>(ReadWord(encoding, offset));
  };

  s.hasVideo = bitmapHeader != nullptr;
  if (s.hasVideo) {
    const std::int32_t width = static_cast<std::int32_t>(ReadWord(bitmapHeader, 4));
    const std::int32_t height = static_cast<std::int32_t>(ReadWord(bitmapHeader, 8));
    const int bitCount = bitmapHeader[14] | bitmapHeader[15] << 8;
    const std::uint32_t compression = ReadWord(bitmapHeader, 16);
    if (!PictureFormatFromBitmap(compression, bitCount, &s.picture.format))
      return kResultUnsupportedFormat;
    if (width <= 0 || height == 0 || height == INT32_MIN) return kResultBadParameter;
    s.picture.width = width;
    s.picture.height = height < 0 ? -height : height;
    // Only RGB bitmaps are stored bottom-up, and only with a positive height.
    s.picture.bottomUp = s.picture.format == PictureFormat::kRgb24 && height > 0;

    VideoSettings& v = s.video;
    v.gopLength = word(kWordGopLength) > 0 ? word(kWordGopLength) : 12;
    v.frameRateCode = word(kWordFrameRateCode) > 0 ? word(kWordFrameRateCode) : 4;
    v.aspectRatioCode =
        word(kWordAspectRatio) >= 1 && word(kWordAspectRatio) <= 4 ? word(kWordAspectRatio) : 2;
    double average = word(kWordVideoBitRate);
    double peak = average;
    if (word(kWordBitRateMode) == 2) {
      if (word(kWordVbrAverageRate) > 0) average = word(kWordVbrAverageRate);
      peak = word(kWordVbrMaxRate) > average ? word(kWordVbrMaxRate) : average * 1.5;
    }
    if (average <= 0) return kResultBadParameter;
    v.bitRate = average;
    v.maxBitRate = std::min(peak, 15.0e6);
    s.frameLimit =
        word(kWordFrameLimit) > 0 ? static_cast<std::uint32_t>(word(kWordFrameLimit)) : 10000000u;
  }

  s.hasAudio = waveFormat != nullptr;
  if (s.hasAudio) {
    const int tag = waveFormat[0] | waveFormat[1] << 8;
    s.channels = waveFormat[2] | waveFormat[3] << 8;
    s.sampleRate = static_cast<int>(ReadWord(waveFormat, 4));
    s.bitsPerSample = waveFormat[14] | waveFormat[15] << 8;
    if (tag != 1 /* PCM */) return kResultUnsupportedFormat;
    // The stream carries the record's rate; this encoder does not resample.
    if (word(kWordSampleRate) > 0 && word(kWordSampleRate) != s.sampleRate)
      return kResultUnsupportedFormat;
    s.audioBitRate = AudioBitRateOfIndex(word(kWordAudioBitRateIndex));
    // One channel allows no more than 192 kbit/s.
    if (s.channels == 1 && s.audioBitRate > 192000) s.audioBitRate = 192000;
  }
  *settings = s;
  return kResultOk;
}

}  // namespace mpegenc

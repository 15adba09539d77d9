#include <gtest/gtest.h>

#include <cstring>

#include "outside/mpegenc/encoder_records.h"
#include "outside/mpegenc/program_encoder.h"

namespace mpegenc {
namespace {

SessionSettings SmallSettings() {
  SessionSettings s;
  s.picture.format = PictureFormat::kYuy2;
  s.picture.width = 64;
  s.picture.height = 48;
  s.video.bitRate = 500000;
  s.video.maxBitRate = 750000;
  return s;
}

struct Sink {
  std::vector<std::uint8_t> bytes;
  size_t largestBlock = 0;
  ProgramMux::Writer Writer() {
    return [this](const std::uint8_t* d, size_t n) {
      bytes.insert(bytes.end(), d, d + n);
      largestBlock = std::max(largestBlock, n);
    };
  }
};

TEST(MpegencSession, DemandWordAndBackPressureKeepTheStreamsInterleaved) {
  Sink sink;
  ProgramEncoder enc;
  ASSERT_EQ(enc.Open(SmallSettings(), sink.Writer()), kResultOk);
  std::vector<std::uint8_t> frame(64 * 48 * 2, 128);
  std::vector<std::uint8_t> audio(4608, 0);  // 1152 stereo samples: 24 ms
  std::int32_t demand = 0;
  ASSERT_EQ(enc.CompressVideo(frame.data(), 0, &demand), kResultOk);
  EXPECT_GT(demand, 0) << "one picture encoded, no audio: audio is wanted";
  ASSERT_EQ(enc.CompressAudio(audio.data(), audio.size(), &demand), kResultOk);
  ASSERT_EQ(enc.CompressAudio(audio.data(), audio.size(), &demand), kResultOk);
  EXPECT_LT(demand, 0) << "48 ms of audio against 33 ms of video: video is wanted";
  // Audio that would run more than the allowed lead ahead is refused...
  int accepted = 0, result = kResultOk;
  while ((result = enc.CompressAudio(audio.data(), audio.size(), &demand)) == kResultOk) ++accepted;
  EXPECT_EQ(result, kResultWantsVideoFirst);
  EXPECT_EQ(accepted, 11);  // 13 frames of 24 ms stay within 33 ms + 300 ms
  EXPECT_LT(demand, 0);
  // ...and taken once video has caught up.
  for (int i = 0; i < 12; ++i) enc.CompressVideo(frame.data(), 0, &demand);
  EXPECT_EQ(enc.CompressAudio(audio.data(), audio.size(), &demand), kResultOk);
  enc.Close();
  EXPECT_LE(sink.largestBlock, static_cast<size_t>(ProgramMux::kPackBytes));
  EXPECT_EQ(sink.bytes.size() % ProgramMux::kPackBytes, 4u) << "whole packs and the end code";
}

TEST(MpegencSession, FrameLimitEndsTheStreamWithResultOne) {
  struct Case {
    std::uint32_t limit;
    int repeatAt;  // frame given with the repeat flag, -1 for none
    int acceptedBeforeEnd;
  };
  for (const Case& c : {Case{5, -1, 4}, Case{5, 3, 3}, Case{1, -1, 0}}) {
    Sink sink;
    ProgramEncoder enc;
    SessionSettings s = SmallSettings();
    s.hasAudio = false;
    s.frameLimit = c.limit;
    ASSERT_EQ(enc.Open(s, sink.Writer()), kResultOk);
    std::vector<std::uint8_t> frame(64 * 48 * 2, 100);
    int accepted = 0;
    std::int32_t demand = 0;
    while (enc.CompressVideo(frame.data(), accepted == c.repeatAt, &demand) == kResultOk)
      ++accepted;
    EXPECT_EQ(accepted, c.acceptedBeforeEnd) << c.limit;
    EXPECT_EQ(enc.PicturesCoded(), static_cast<std::int64_t>(c.limit));
    EXPECT_EQ(enc.CompressVideo(frame.data(), 0, &demand), kResultEndOfStream);
    enc.Close();
  }
}

TEST(MpegencSession, CallsOutOfOrderAndBadArgumentsGiveNegativeResults) {
  ProgramEncoder enc;
  std::uint8_t frame[64 * 48 * 2] = {};
  std::int32_t demand = 0;
  EXPECT_EQ(enc.CompressVideo(frame, 0, &demand), kResultNotOpen);
  EXPECT_EQ(enc.CompressAudio(frame, 16, &demand), kResultNotOpen);
  enc.Close();
  enc.Close();
  Sink sink;
  SessionSettings s = SmallSettings();
  s.video.bitRate = 0;
  EXPECT_EQ(enc.Open(s, sink.Writer()), kResultBadParameter);
  s = SmallSettings();
  s.sampleRate = 22050;
  EXPECT_EQ(enc.Open(s, sink.Writer()), kResultUnsupportedFormat);
  ASSERT_EQ(enc.Open(SmallSettings(), sink.Writer()), kResultOk);
  EXPECT_EQ(enc.CompressVideo(nullptr, 0, &demand), kResultBadArgument);
  EXPECT_EQ(enc.CompressAudio(nullptr, 16, &demand), kResultBadArgument);
  enc.Close();
}

std::vector<std::uint8_t> Bitmap(std::int32_t width, std::int32_t height, const char* fourcc,
                                 int bits) {
  std::vector<std::uint8_t> h(40, 0);
  WriteWord(h.data(), 0, 40);
  WriteWord(h.data(), 4, static_cast<std::uint32_t>(width));
  WriteWord(h.data(), 8, static_cast<std::uint32_t>(height));
  h[12] = 1;
  h[14] = static_cast<std::uint8_t>(bits);
  if (fourcc) std::memcpy(&h[16], fourcc, 4);
  return h;
}

TEST(MpegencRecords, PictureFormatsAndParametersFromTheRecords) {
  std::uint8_t params[kParamRecordBytes], extra[kExtraRecordBytes];
  FillDefaultParams(params, extra);
  struct Case {
    const char* fourcc;
    int bits;
    std::int32_t height;
    int result;
    PictureFormat format;
    bool bottomUp;
  };
  const Case cases[] = {
      {"YUY2", 16, 480, kResultOk, PictureFormat::kYuy2, false},
      {"UYVY", 16, 480, kResultOk, PictureFormat::kUyvy, false},
      {"I420", 12, 480, kResultOk, PictureFormat::kI420, false},
      {"IYUV", 12, 480, kResultOk, PictureFormat::kI420, false},
      {"YV12", 12, 480, kResultOk, PictureFormat::kYv12, false},
      {nullptr, 24, 480, kResultOk, PictureFormat::kRgb24, true},
      {nullptr, 24, -480, kResultOk, PictureFormat::kRgb24, false},
      {nullptr, 32, 480, kResultUnsupportedFormat, PictureFormat::kYuy2, false},
      {"Y411", 12, 480, kResultUnsupportedFormat, PictureFormat::kYuy2, false},
      {"dvsd", 16, 480, kResultUnsupportedFormat, PictureFormat::kYuy2, false},
      {"YUY2", 16, 0, kResultBadParameter, PictureFormat::kYuy2, false},
  };
  for (const Case& c : cases) {
    const auto header = Bitmap(720, c.height, c.fourcc, c.bits);
    SessionSettings s;
    EXPECT_EQ(SettingsFromRecords(params, header.data(), nullptr, &s), c.result)
        << c.bits << " " << c.height;
    if (c.result != kResultOk) continue;
    EXPECT_EQ(s.picture.format, c.format);
    EXPECT_EQ(s.picture.bottomUp, c.bottomUp);
    EXPECT_EQ(s.picture.height, 480);
  }

  // The default profile: variable rate around 4 Mbit/s, 224 kbit/s audio.
  std::uint8_t wave[18] = {1, 0, 2, 0};
  WriteWord(wave, 4, 48000);
  wave[14] = 16;
  const auto yuy2 = Bitmap(720, 480, "YUY2", 16);
  SessionSettings s;
  ASSERT_EQ(SettingsFromRecords(params, yuy2.data(), wave, &s), kResultOk);
  EXPECT_EQ(s.video.bitRate, 4000000);
  EXPECT_EQ(s.video.maxBitRate, 6000000);
  EXPECT_EQ(s.video.gopLength, 12);
  EXPECT_EQ(s.video.frameRateCode, 4);
  EXPECT_EQ(s.audioBitRate, 224000);
  EXPECT_EQ(s.frameLimit, 10000000u);
  // A rate the record does not ask for, and a zero bit rate, are refused.
  WriteWord(wave, 4, 44100);
  EXPECT_EQ(SettingsFromRecords(params, yuy2.data(), wave, &s), kResultUnsupportedFormat);
  WriteWord(params, kWordBitRateMode, 1);
  WriteWord(params, kWordVideoBitRate, 0);
  EXPECT_EQ(SettingsFromRecords(params, yuy2.data(), nullptr, &s), kResultBadParameter);
  EXPECT_EQ(SettingsFromRecords(nullptr, yuy2.data(), nullptr, &s), kResultBadArgument);
}

}  // namespace
}  // namespace mpegenc

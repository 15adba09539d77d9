#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "tests/outside/mpegenc/stream_tools.h"

namespace mpegenc {
namespace {

using mpegenc_test::RunCommand;

std::string TempPath(const char* name) {
  return std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/mpegenc_" +
         std::to_string(getpid()) + "_" + name;
}

// The Normal profile on two seconds of interlaced test video with a tone: the
// stream must be what standard tools expect, decode without a single error,
// carry every frame given plus the repeats, and look like its source.
TEST(MpegencStream, NormalProfileStreamIsAcceptedDecodedAndFaithful) {
  if (!mpegenc_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  const int w = 720, h = 480, frames = 60;
  const std::vector<std::uint8_t> video = mpegenc_test::InterlacedYuy2(w, h, frames);
  ASSERT_EQ(video.size(), static_cast<size_t>(w) * h * 2 * frames);
  const std::vector<std::uint8_t> pcm = mpegenc_test::TonePcm(48000, 2, 3.0);

  std::uint8_t params[kParamRecordBytes], extra[kExtraRecordBytes];
  FillDefaultParams(params, extra);
  std::uint8_t header[40] = {40};
  WriteWord(header, 4, w);
  WriteWord(header, 8, h);
  header[14] = 16;
  std::memcpy(header + 16, "YUY2", 4);
  std::uint8_t wave[18] = {1, 0, 2, 0};
  WriteWord(wave, 4, 48000);
  wave[14] = 16;
  SessionSettings settings;
  ASSERT_EQ(SettingsFromRecords(params, header, wave, &settings), kResultOk);

  const std::string path = TempPath("normal.mpg");
  std::ofstream file(path, std::ios::binary);
  ProgramEncoder enc;
  ASSERT_EQ(enc.Open(settings,
                     [&](const std::uint8_t* d, size_t n) {
                       file.write(reinterpret_cast<const char*>(d),
                                  static_cast<std::streamsize>(n));
                     }),
            kResultOk);
  // Obey the demand word as a filter does; frames 10 and 30 are repeated.
  std::vector<std::uint8_t> expected;  // the source as the decoder should show it
  size_t audioAt = 0;
  std::int32_t demand = 0;
  const size_t frameBytes = static_cast<size_t>(w) * h * 2;
  for (int i = 0; i < frames; ++i) {
    const int repeat = (i == 10 || i == 30) ? 1 : 0;
    const std::uint8_t* f = &video[i * frameBytes];
    ASSERT_EQ(enc.CompressVideo(f, repeat, &demand), kResultOk);
    for (int k = 0; k <= repeat; ++k) expected.insert(expected.end(), f, f + frameBytes);
    while (demand >= 0 && audioAt + 4608 <= pcm.size()) {
      if (enc.CompressAudio(&pcm[audioAt], 4608, &demand) != kResultOk) break;
      audioAt += 4608;
    }
  }
  enc.Close();
  file.close();

  const std::string probe = RunCommand(
      "ffprobe -v error -show_entries format=format_name:stream=codec_name,profile,width,height,"
      "r_frame_rate,sample_rate,channels,start_time -of default=nw=1 " +
      path);
  EXPECT_NE(probe.find("format_name=mpeg"), std::string::npos) << probe;
  EXPECT_NE(probe.find("codec_name=mpeg2video"), std::string::npos) << probe;
  EXPECT_NE(probe.find("profile=Main"), std::string::npos) << probe;
  EXPECT_NE(probe.find("width=720\nheight=480"), std::string::npos) << probe;
  EXPECT_NE(probe.find("r_frame_rate=30000/1001"), std::string::npos) << probe;
  EXPECT_NE(probe.find("codec_name=mp2"), std::string::npos) << probe;
  EXPECT_NE(probe.find("sample_rate=48000\nchannels=2"), std::string::npos) << probe;
  double starts[2] = {-1, -1};
  int found = 0;
  for (size_t at = 0; found < 2 && (at = probe.find("start_time=", at)) != std::string::npos;
       at += 11)
    starts[found++] = std::atof(probe.c_str() + at + 11);
  ASSERT_EQ(found, 2) << probe;
  EXPECT_LT(std::fabs(starts[0] - starts[1]), 0.040) << probe;

  const std::string errors = TempPath("errors.txt");
  const std::string decoded =
      RunCommand("ffmpeg -v error -xerror -i " + path +
                 " -map 0:v -fps_mode passthrough -f rawvideo -pix_fmt yuv420p - 2>" + errors);
  std::ifstream errorFile(errors);
  const std::string errorText((std::istreambuf_iterator<char>(errorFile)),
                              std::istreambuf_iterator<char>());
  EXPECT_EQ(errorText, "");
  EXPECT_EQ(decoded.size(), static_cast<size_t>(w) * h * 3 / 2 * (frames + 2));
  const double psnr = mpegenc_test::LumaPsnr(expected, decoded, w, h);
  EXPECT_GE(psnr, 32.0);
  RecordProperty("luma_psnr", std::to_string(psnr));
  std::remove(path.c_str());
  std::remove(errors.c_str());
}

// Every input format, at sizes that are odd or not whole macroblocks: the
// stream keeps the input's size and decodes cleanly.
TEST(MpegencStream, EveryFormatAtOddSizesDecodesAtItsOwnSize) {
  if (!mpegenc_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  struct Case {
    PictureFormat format;
    int width, height;
    bool bottomUp;
  };
  const Case cases[] = {
      {PictureFormat::kRgb24, 97, 61, true},  {PictureFormat::kRgb24, 96, 64, false},
      {PictureFormat::kI420, 100, 50, false}, {PictureFormat::kYv12, 66, 34, false},
      {PictureFormat::kUyvy, 130, 70, false}, {PictureFormat::kYuy2, 33, 17, false}};
  for (const Case& c : cases) {
    SessionSettings s;
    s.hasAudio = false;
    s.picture.format = c.format;
    s.picture.width = c.width;
    s.picture.height = c.height;
    s.picture.bottomUp = c.bottomUp;
    s.video.bitRate = 400000;
    const std::string path = TempPath("odd.mpg");
    std::ofstream file(path, std::ios::binary);
    ProgramEncoder enc;
    ASSERT_EQ(enc.Open(s,
                       [&](const std::uint8_t* d, size_t n) {
                         file.write(reinterpret_cast<const char*>(d),
                                    static_cast<std::streamsize>(n));
                       }),
              kResultOk);
    std::vector<std::uint8_t> frame(s.picture.FrameBytes());
    std::int32_t demand = 0;
    for (int f = 0; f < 8; ++f) {
      for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>((i * 7 + f * 13) & 0xFF);
      ASSERT_EQ(enc.CompressVideo(frame.data(), 0, &demand), kResultOk);
    }
    enc.Close();
    file.close();
    const std::string probe =
        RunCommand("ffprobe -v error -show_entries stream=width,height -of csv=p=0 " + path);
    EXPECT_EQ(probe.rfind(std::to_string(c.width) + "," + std::to_string(c.height) + ",", 0), 0u)
        << probe;
    const std::string errors = RunCommand("ffmpeg -v error -xerror -i " + path + " -f null - 2>&1");
    EXPECT_EQ(errors, "") << c.width << "x" << c.height;
    std::remove(path.c_str());
  }
}

// One minute at a small picture size: the rate control holds the average
// within 10 %, and a decoder buffer filled at the peak rate never runs dry.
TEST(MpegencStream, RateHoldsOverAMinuteWithinTheDecoderBuffer) {
  if (!mpegenc_test::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  const int w = 176, h = 128, sourceFrames = 300, frames = 1800;
  const std::vector<std::uint8_t> video = mpegenc_test::InterlacedYuy2(w, h, sourceFrames);
  ASSERT_EQ(video.size(), static_cast<size_t>(w) * h * 2 * sourceFrames);
  VideoSettings settings;
  settings.width = w;
  settings.height = h;
  settings.bitRate = 300000;
  settings.maxBitRate = 450000;
  VideoEncoder enc(settings);
  PictureLayout layout;
  layout.width = w;
  layout.height = h;
  double total = 0;
  double buffer = VideoEncoder::kVbvBits;  // the decoder starts with a full buffer
  const double fps = FrameRateOfCode(settings.frameRateCode);
  std::vector<std::uint8_t> out;
  for (int i = 0; i < frames; ++i) {
    ConvertPicture(layout, &video[static_cast<size_t>(i % sourceFrames) * w * h * 2],
                   &enc.InputFrame());
    out.clear();
    enc.EncodePicture(&out);
    const double bits = static_cast<double>(out.size()) * 8;
    total += bits;
    ASSERT_LE(bits, buffer) << "decoder buffer underflow at picture " << i;
    buffer = std::min(VideoEncoder::kVbvBits, buffer - bits + settings.maxBitRate / fps);
  }
  const double rate = total / (frames / fps);
  EXPECT_NEAR(rate, settings.bitRate, 0.1 * settings.bitRate);
}

}  // namespace
}  // namespace mpegenc

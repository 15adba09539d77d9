// ASF audio files as ffprobe and ffmpeg read them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "outside/asfwriter/asf_audio_writer.h"
#include "outside/mpegenc/stream_tools.h"

namespace brontel::asf {
namespace {

using mpegenc_test::HaveFfmpeg;
using mpegenc_test::RunCommand;

class MemorySink : public AsfSink {
 public:
  bool Append(const std::uint8_t* data, std::size_t size) override {
    if (bytes.size() + size > limit) return false;
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
  bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (offset + size > bytes.size()) return false;
    std::copy(data, data + size, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  }
  std::vector<std::uint8_t> bytes;
  std::size_t limit = SIZE_MAX;
};

std::uint64_t Le64At(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

std::vector<std::uint8_t> Record(MemorySink* sink, int rate, int channels, double seconds,
                                 bool* finished) {
  const std::vector<std::uint8_t> pcm = mpegenc_test::TonePcm(rate, channels, seconds);
  AsfAudioWriter writer(sink, rate, channels);
  bool ok = writer.Begin();
  // In the pieces a capture pin delivers.
  const std::size_t frameBytes = 2u * static_cast<std::size_t>(channels);
  const std::size_t piece = 4410 * frameBytes;
  for (std::size_t at = 0; ok && at < pcm.size(); at += piece) {
    const std::size_t n = std::min(piece, pcm.size() - at);
    ok = writer.AddSamples(reinterpret_cast<const std::int16_t*>(pcm.data() + at), n / frameBytes);
  }
  *finished = ok && writer.Finish();
  return sink->bytes;
}

TEST(AsfAudioWriter, FfprobeReadsTheFormatAndTheDuration) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  struct Case {
    int rate, channels;
    double seconds;
  } cases[] = {{48000, 2, 5.0}, {44100, 1, 2.5}, {44100, 2, 0.01}};
  for (const auto& c : cases) {
    MemorySink sink;
    bool finished = false;
    const std::vector<std::uint8_t> file = Record(&sink, c.rate, c.channels, c.seconds, &finished);
    ASSERT_TRUE(finished);
    // The patched header agrees with the file: its size and its packets.
    EXPECT_EQ(Le64At(file, 70), file.size());
    EXPECT_EQ(Le64At(file, 16) + 50 + Le64At(file, 86) * kPacketBytes, file.size());
    char name[] = "/tmp/asf_testXXXXXX";
    const int fd = mkstemp(name);
    ASSERT_EQ(write(fd, file.data(), file.size()), static_cast<ssize_t>(file.size()));
    close(fd);
    const std::string probe = RunCommand(
        std::string("ffprobe -v error -show_entries format=format_name,duration:stream=codec_name,"
                    "sample_rate,channels -of default=nw=1 ") +
        name);
    char expected[128];
    std::snprintf(expected, sizeof expected, "codec_name=mp2\nsample_rate=%d\nchannels=%d\n",
                  c.rate, c.channels);
    EXPECT_NE(probe.find(expected), std::string::npos) << probe;
    EXPECT_NE(probe.find("format_name=asf"), std::string::npos) << probe;
    const std::size_t at = probe.find("duration=");
    ASSERT_NE(at, std::string::npos) << probe;
    // Whole frames of 1152 samples: up to one frame more than the input.
    EXPECT_NEAR(std::atof(probe.c_str() + at + 9), c.seconds + 0.013, 0.03) << probe;
    const std::string errors =
        RunCommand(std::string("ffmpeg -v error -xerror -i ") + name + " -f null - 2>&1");
    EXPECT_EQ(errors, "");
    std::remove(name);
  }
}

TEST(AsfAudioWriter, AWriteFailureIsReported) {
  MemorySink sink;
  sink.limit = 20000;  // the disk fills after a few packets
  bool finished = true;
  Record(&sink, 48000, 2, 2.0, &finished);
  EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace brontel::asf

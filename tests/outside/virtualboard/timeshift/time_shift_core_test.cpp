#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "outside/mpegenc/program_encoder.h"
#include "outside/virtualboard/timeshift/program_stream.h"
#include "outside/virtualboard/timeshift/time_shift_position.h"
#include "outside/virtualboard/timeshift/video_decoder.h"

namespace timeshift {
namespace {

constexpr int kWidth = 176, kHeight = 128;

// Interlaced YUY2 with motion in both fields: a moving grid and a ramp.
std::vector<std::uint8_t> MovingPicture(int index) {
  std::vector<std::uint8_t> p(static_cast<std::size_t>(kWidth) * kHeight * 2);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int shift = 3 * index + (y & 1);
      const int luma = ((((x + shift) / 12) + (y / 10)) & 1) ? 200 : 40 + (x + 2 * y) % 90;
      std::uint8_t* o = &p[(static_cast<std::size_t>(y) * kWidth + x) * 2];
      o[0] = static_cast<std::uint8_t>(luma);
      o[1] = static_cast<std::uint8_t>((x & 1) ? 128 + (y + index) % 60 : 160 - x % 50);
    }
  return p;
}

mpegenc::SessionSettings Settings() {
  mpegenc::SessionSettings s;
  s.picture.width = kWidth;
  s.picture.height = kHeight;
  s.video.gopLength = 6;
  s.video.bitRate = 1.5e6;
  s.video.maxBitRate = 2e6;
  s.hasAudio = false;
  return s;
}

// An in-memory circular file with the writer's wrap rule.
struct CircularFile : ByteSource {
  explicit CircularFile(std::size_t size) : bytes(size) {}
  void Write(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      bytes[static_cast<std::size_t>(written++ % bytes.size())] = p[i];
  }
  bool ReadAt(std::int64_t offset, std::uint8_t* out, std::size_t n) override {
    if (offset < 0 || static_cast<std::size_t>(offset) + n > bytes.size()) return false;
    std::memcpy(out, bytes.data() + offset, n);
    return true;
  }
  std::vector<std::uint8_t> bytes;
  std::int64_t written = 0;
};

// Encodes moving pictures into file until it holds atLeast bytes (or
// pictures pictures), keeping each reconstruction; closes the stream when
// finish is set.
std::vector<mpegenc::Frame420> Encode(CircularFile& file, int pictures, std::int64_t atLeast,
                                      bool finish) {
  mpegenc::ProgramEncoder encoder;
  std::vector<mpegenc::Frame420> reconstructions;
  EXPECT_EQ(
      encoder.Open(Settings(), [&](const std::uint8_t* p, std::size_t n) { file.Write(p, n); }),
      mpegenc::kResultOk);
  for (int i = 0; i < pictures || file.written < atLeast; ++i) {
    if (encoder.CompressVideo(MovingPicture(i).data(), 0, nullptr) != mpegenc::kResultOk) break;
    reconstructions.push_back(encoder.Video()->Reconstruction());
  }
  if (finish) encoder.Close();
  return reconstructions;
}

// Demultiplexes [from, to) of the circular file and decodes every picture.
struct Playback {
  std::vector<mpegenc::Frame420> pictures;
  std::vector<std::int64_t> pts;
  int failures = 0;
};
// finished: the stream was closed, so its last picture is whole.
Playback Play(CircularFile& file, std::int64_t from, std::int64_t to, bool finished = true) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(to - from));
  EXPECT_TRUE(ReadCircular(file, static_cast<std::int64_t>(file.bytes.size()), from, data.data(),
                           data.size()));
  PictureAssembler assembler;
  VideoDecoder decoder;
  Playback out;
  std::size_t pos = FindPackStart(data.data(), data.size(), 0);
  PictureAssembler::Picture picture;
  auto drain = [&] {
    while (assembler.Next(&picture)) {
      const DecodeResult r = decoder.Decode(picture.data.data(), picture.data.size());
      if (r == DecodeResult::kPicture) {
        out.pictures.push_back(decoder.Picture());
        out.pts.push_back(picture.pts);
      } else if (r != DecodeResult::kWaitForIntra) {
        ++out.failures;
      }
    }
  };
  PackInfo info;
  while (pos < data.size() &&
         ParsePack(data.data() + pos, data.size() - pos, &info) == PackParse::kPack) {
    for (const VideoPayload& v : info.video)
      assembler.Add(data.data() + pos + v.offset, v.size, v.hasPts, v.pts);
    drain();
    pos += info.length;
  }
  if (finished) {
    static const std::uint8_t kFlush[4] = {0, 0, 1, 0xB7};  // ends the last picture
    assembler.Add(kFlush, 4, false, 0);
    drain();
  }
  return out;
}

bool SamePicture(const mpegenc::Frame420& a, const mpegenc::Frame420& b) {
  return a.y == b.y && a.cb == b.cb && a.cr == b.cr;
}

TEST(TimeShiftDecoder, DecodesOurStreamExactlyAsTheEncoderReconstructs) {
  CircularFile file(1 << 22);
  const auto reconstructions = Encode(file, 20, 0, true);
  const Playback played = Play(file, 0, file.written);
  EXPECT_EQ(played.failures, 0);
  ASSERT_EQ(played.pictures.size(), reconstructions.size());
  for (std::size_t i = 0; i < reconstructions.size(); ++i) {
    EXPECT_TRUE(SamePicture(played.pictures[i], reconstructions[i])) << "picture " << i;
    // Pictures are stamped one frame apart from 0.5 s.
    EXPECT_EQ(played.pts[i], 45000 + std::llround(i * 3003.0)) << i;
  }
}

TEST(TimeShiftDecoder, PlaysALappedBufferFromTheFirstIntraAfterTheWritePoint) {
  CircularFile file(64 * kPackBytes);
  const auto reconstructions =
      Encode(file, 0, 3 * static_cast<std::int64_t>(file.bytes.size()), false);
  // Start mid-pack just after the oldest byte, as a reader does after a lap.
  const std::int64_t oldest = file.written - static_cast<std::int64_t>(file.bytes.size()) + 700;
  const Playback played = Play(file, oldest, file.written, false);
  EXPECT_EQ(played.failures, 0);
  ASSERT_GT(played.pictures.size(), 6u);
  // The pictures played are the last ones encoded, in order, bar the ones
  // whose data the multiplexer still held.
  const std::int64_t firstIndex = (played.pts.front() - 45000) / 3003;
  for (std::size_t k = 0; k < played.pictures.size(); ++k)
    EXPECT_TRUE(
        SamePicture(played.pictures[k], reconstructions[static_cast<std::size_t>(firstIndex) + k]))
        << k;
  EXPECT_LE(reconstructions.size() - (firstIndex + played.pictures.size()), 4u);

  // Bisection over the pack clocks finds the pack at a time in the buffer.
  const std::int64_t target = played.pts[played.pts.size() / 2];
  const std::int64_t at = FindPackAtClock(file, static_cast<std::int64_t>(file.bytes.size()),
                                          oldest, file.written, target);
  ASSERT_GE(at, oldest);
  std::vector<std::uint8_t> pack(kPackBytes);
  ASSERT_TRUE(ReadCircular(file, static_cast<std::int64_t>(file.bytes.size()), at, pack.data(),
                           pack.size()));
  PackInfo info;
  ASSERT_EQ(ParsePack(pack.data(), pack.size(), &info), PackParse::kPack);
  EXPECT_LE(info.scr, target);
  std::vector<std::uint8_t> next(kPackBytes);
  ASSERT_TRUE(ReadCircular(file, static_cast<std::int64_t>(file.bytes.size()), at + kPackBytes,
                           next.data(), next.size()));
  ASSERT_EQ(ParsePack(next.data(), next.size(), &info), PackParse::kPack);
  EXPECT_GT(info.scr, target);
}

TEST(TimeShiftDecoder, RefusesWhatOurEncoderNeverWritesAndSurvivesDamage) {
  CircularFile file(1 << 22);
  Encode(file, 3, 0, true);
  std::vector<std::uint8_t> stream(file.bytes.begin(), file.bytes.begin() + file.written);
  PictureAssembler assembler;
  PackInfo info;
  for (std::size_t pos = 0;
       ParsePack(stream.data() + pos, stream.size() - pos, &info) == PackParse::kPack;
       pos += info.length)
    for (const VideoPayload& v : info.video)
      assembler.Add(stream.data() + pos + v.offset, v.size, false, 0);
  PictureAssembler::Picture intra, predicted;
  ASSERT_TRUE(assembler.Next(&intra));
  ASSERT_TRUE(assembler.Next(&predicted));

  // Byte offset of a picture's coding extension (after the picture header).
  auto extensionOf = [](const std::vector<std::uint8_t>& d) {
    for (std::size_t i = 0; i + 8 < d.size(); ++i)
      if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1 && d[i + 3] == 0xB5 && (d[i + 4] >> 4) == 8)
        return i + 4;
    return std::size_t{0};
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
  };
  const Case cases[] = {
      {"field picture",
       [&](std::vector<std::uint8_t>& d) {
         d[extensionOf(d) + 2] &= ~0x03;
         d[extensionOf(d) + 2] |= 0x01;
       }},
      {"alternate scan", [&](std::vector<std::uint8_t>& d) { d[extensionOf(d) + 3] |= 0x04; }},
      {"intra VLC table one", [&](std::vector<std::uint8_t>& d) { d[extensionOf(d) + 3] |= 0x08; }},
  };
  for (const Case& c : cases) {
    VideoDecoder decoder;
    std::vector<std::uint8_t> d = intra.data;
    c.change(d);
    EXPECT_EQ(decoder.Decode(d.data(), d.size()), DecodeResult::kUnsupported) << c.what;
    EXPECT_FALSE(decoder.Error().empty()) << c.what;
  }

  // A P picture before any I picture waits; damaged or cut pictures fail
  // without reading outside the data (the sanitizers watch).
  VideoDecoder decoder;
  EXPECT_EQ(decoder.Decode(predicted.data.data(), predicted.data.size()),
            DecodeResult::kWaitForIntra);
  for (std::size_t cut = 0; cut < intra.data.size(); cut += 97) {
    VideoDecoder d;
    EXPECT_NE(d.Decode(intra.data.data(), cut), DecodeResult::kPicture) << cut;
  }
  std::vector<std::uint8_t> damaged = intra.data;
  for (std::size_t i = 40; i < damaged.size(); i += 13) damaged[i] ^= 0x5A;
  decoder.Decode(damaged.data(), damaged.size());
  ASSERT_EQ(decoder.Decode(intra.data.data(), intra.data.size()), DecodeResult::kPicture);
  EXPECT_EQ(decoder.Decode(predicted.data.data(), predicted.data.size()), DecodeResult::kPicture);
}

TEST(TimeShiftDecoder, MatchesFfmpegDecodeWithinIdctRounding) {
  if (std::system("command -v ffmpeg >/dev/null") != 0) GTEST_SKIP() << "no ffmpeg";
  CircularFile file(1 << 22);
  Encode(file, 13, 0, true);
  const std::string path = testing::TempDir() + "timeshift_ffmpeg.mpg";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(file.bytes.data(), 1, static_cast<std::size_t>(file.written), f);
  std::fclose(f);
  const Playback played = Play(file, 0, file.written);

  const std::string command =
      "ffmpeg -v error -i " + path + " -f rawvideo -pix_fmt yuv420p - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_TRUE(pipe);
  std::string raw;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) raw.append(buffer, n);
  pclose(pipe);
  const std::size_t frameBytes = static_cast<std::size_t>(kWidth) * kHeight * 3 / 2;
  ASSERT_EQ(raw.size() / frameBytes, played.pictures.size());
  for (std::size_t k = 0; k < played.pictures.size(); ++k) {
    int worst = 0;
    double se = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kWidth) * kHeight; ++i) {
      const int d = played.pictures[k].y[i] - static_cast<std::uint8_t>(raw[k * frameBytes + i]);
      worst = std::max(worst, std::abs(d));
      se += d * d;
    }
    const double mse = se / (kWidth * kHeight);
    EXPECT_LT(mse, 0.5) << k;  // IDCT rounding only, drifting a little over P pictures
    EXPECT_LE(worst, 6) << k;
  }
}

TEST(TimeShiftPosition, LapsTimesAndSeekTargets) {
  WriteTotal total(1000);
  const std::int64_t positions[] = {200, 900, 100, 0, 500};
  const std::int64_t totals[] = {200, 900, 1100, 2000, 2500};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(total.Update(positions[i]), totals[i]) << i;

  struct SeekCase {
    std::int64_t bufferMs, lengthMs, writeMs, expected;
  };
  const SeekCase seeks[] = {
      {4000, 60000, 30000, 4000},      // first lap: as given
      {38000, 60000, 130000, 98000},   // after the write point: the lap before
      {5000, 60000, 130000, 125000},   // before it: this lap
      {10000, 60000, 130000, 130000},  // exactly the write point
      {60000, 60000, 130000, 120000},  // the full length is position 0
      {7000, 0, 130000, 0},            // no length yet
  };
  for (const SeekCase& c : seeks)
    EXPECT_EQ(SeekTargetMs(c.bufferMs, c.lengthMs, c.writeMs), c.expected) << c.bufferMs;

  EXPECT_EQ(BufferLengthMs(8 << 20, {4 << 20, 7000}), 14000);
  EXPECT_EQ(BufferLengthMs(8 << 20, {0, 0}), 0);
  EXPECT_EQ(OldestReadableByte(1000, 900, 100), 0);
  EXPECT_EQ(OldestReadableByte(1000, 2500, 100), 1600);
  EXPECT_EQ(OldestReadableByte(1000, 1050, 100), 150);
  EXPECT_EQ(MsOfByte(1 << 20, {4 << 20, 8000}), 2000);

  // 33-bit clocks unwrap next to a reference on either side of the wrap.
  EXPECT_EQ(UnwrapClock(100, kClockModulus - 50), kClockModulus + 100);
  EXPECT_EQ(UnwrapClock(kClockModulus - 50, kClockModulus + 100), kClockModulus - 50);
  EXPECT_EQ(UnwrapClock(45000, 0), 45000);
}

}  // namespace
}  // namespace timeshift

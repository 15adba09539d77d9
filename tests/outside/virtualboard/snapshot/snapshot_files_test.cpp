// The files a snapshot writes, judged by the host's ffmpeg and ffprobe.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "outside/mpegenc/stream_tools.h"
#include "outside/virtualboard/snapshot/image_encoders.h"
#include "outside/virtualboard/snapshot/snapshot_encoder.h"

namespace brontel::snapshot {
namespace {

using mpegenc_test::HaveFfmpeg;
using mpegenc_test::RunCommand;

// A file that removes itself.
class TempFile {
 public:
  explicit TempFile(const std::vector<std::uint8_t>& bytes, const char* suffix) {
    char name[] = "/tmp/snapshot_testXXXXXX";
    const int fd = mkstemp(name);
    base_ = name;
    close(fd);
    path_ = base_ + suffix;
    FILE* f = std::fopen(path_.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ~TempFile() {
    std::remove(path_.c_str());
    std::remove(base_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string base_, path_;
};

// "codec width height" as ffprobe sees the file.
std::string Probe(const TempFile& file) {
  return RunCommand("ffprobe -v error -show_entries stream=codec_name,width,height -of csv=p=0 '" +
                    file.Path() + "'");
}

// The decoded picture as top-down BGR; empty when ffmpeg reports any error.
std::string Decode(const TempFile& file) {
  const std::string out = RunCommand("ffmpeg -v error -xerror -i '" + file.Path() +
                                     "' -f rawvideo -pix_fmt bgr24 - 2>/dev/null");
  return out;
}

// Smooth shading with sharp edges and fine texture, like a TV picture.
Image TestPicture(int width, int height) {
  Image image{width, height, {}};
  unsigned noise = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int grain = static_cast<int>((noise >> 16) % 24);
      const bool bar = (x / 40) % 2 == 0;
      image.bgr.push_back(static_cast<std::uint8_t>(x * 255 / width));
      image.bgr.push_back(static_cast<std::uint8_t>(bar ? 200 - grain : 40 + grain));
      image.bgr.push_back(static_cast<std::uint8_t>(y * 255 / height));
    }
  return image;
}

double Psnr(const Image& image, const std::string& decoded) {
  if (decoded.size() != image.bgr.size()) return 0;
  double error = 0;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const double d = static_cast<std::uint8_t>(decoded[i]) - image.bgr[i];
    error += d * d;
  }
  return 10 * std::log10(255.0 * 255.0 / (error / decoded.size() + 1e-9));
}

TEST(SnapshotBmp, DecodesPixelExactWithPaddedRows) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  // 13 pixels make 39-byte rows, padded to 40.
  const Image image = TestPicture(13, 7);
  const std::vector<std::uint8_t> bmp = EncodeBmp(image);
  ASSERT_EQ(bmp.size(), 54u + 40u * 7u);
  const TempFile file(bmp, ".bmp");
  EXPECT_EQ(Probe(file), "bmp,13,7\n");
  const std::string decoded = Decode(file);
  ASSERT_EQ(decoded.size(), image.bgr.size());
  EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), image.bgr.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
}

TEST(SnapshotJpeg, LowerQualityGivesASmallerFileThatStillDecodes) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  const Image image = TestPicture(320, 240);
  const int qualities[] = {95, 75, 50, 25, 5};
  std::size_t previousSize = SIZE_MAX;
  double previousPsnr = 1e9;
  for (int quality : qualities) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(image, quality);
    const TempFile file(jpeg, ".jpg");
    EXPECT_EQ(Probe(file), "mjpeg,320,240\n") << quality;
    const double psnr = Psnr(image, Decode(file));
    std::printf("quality %d: %zu bytes, %.1f dB\n", quality, jpeg.size(), psnr);
    EXPECT_LT(jpeg.size(), previousSize) << quality;
    EXPECT_LT(psnr, previousPsnr) << quality;
    EXPECT_GT(psnr, quality >= 75 ? 30.0 : 20.0) << quality;
    previousSize = jpeg.size();
    previousPsnr = psnr;
  }
}

TEST(SnapshotJpeg, QualityOutsideTheRangeTakesTheNearestEnd) {
  const Image image = TestPicture(64, 48);
  EXPECT_EQ(EncodeJpeg(image, 0), EncodeJpeg(image, 1));
  EXPECT_EQ(EncodeJpeg(image, -40), EncodeJpeg(image, 1));
  EXPECT_EQ(EncodeJpeg(image, 250), EncodeJpeg(image, 100));
  EXPECT_NE(EncodeJpeg(image, 99), EncodeJpeg(image, 100));
}

TEST(SnapshotFile, GrabbedFrameBecomesTheFileAsked) {
  if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  // A YUY2 broadcast frame: a grey ramp.
  std::vector<std::uint8_t> yuy2;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 720; x += 2)
      yuy2.insert(yuy2.end(), {static_cast<std::uint8_t>(16 + x * 219 / 720), 128,
                               static_cast<std::uint8_t>(16 + x * 219 / 720), 128});
  const GrabbedFrame frame{720, 480, 16, yuy2.data(), yuy2.size()};
  struct Case {
    int width, height, format;
    const char* probe;
    const char* suffix;
  } cases[] = {
      {640, 480, kImageFormatBmp, "bmp,640,480\n", ".bmp"},
      {320, 240, 1, "mjpeg,320,240\n", ".jpg"},
      {800, 600, 3, "mjpeg,800,600\n", ".jpg"},
  };
  for (const auto& c : cases) {
    const char* problem = "unset";
    const std::vector<std::uint8_t> bytes =
        EncodeSnapshot(frame, c.width, c.height, c.format, 75, &problem);
    EXPECT_EQ(problem, nullptr);
    const TempFile file(bytes, c.suffix);
    EXPECT_EQ(Probe(file), c.probe);
    const std::string decoded = Decode(file);
    ASSERT_EQ(decoded.size(), static_cast<std::size_t>(c.width) * c.height * 3) << c.probe;
    // The ramp runs from black on the left to white on the right.
    EXPECT_LT(static_cast<std::uint8_t>(decoded[3 * 2]), 16) << c.probe;
    EXPECT_GT(static_cast<std::uint8_t>(decoded[3 * (c.width - 3)]), 235) << c.probe;
  }
  const char* problem = nullptr;
  EXPECT_TRUE(EncodeSnapshot(frame, 0, 240, 1, 75, &problem).empty());
  EXPECT_NE(problem, nullptr);
}

}  // namespace
}  // namespace brontel::snapshot

#pragma once

// Helpers of the stream tests: test pictures from ffmpeg's generators and
// the judgement of ffprobe and ffmpeg on the streams written.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "outside/mpegenc/encoder_records.h"
#include "outside/mpegenc/program_encoder.h"

namespace mpegenc_test {

inline std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

inline bool HaveFfmpeg() {
  return RunCommand("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null && echo yes") ==
         "yes\n";
}

// Interlaced YUY2 frames with motion: ffmpeg's testsrc2 at twice the frame
// rate, two pictures woven into the two fields of each frame.
inline std::vector<std::uint8_t> InterlacedYuy2(int width, int height, int frames) {
  char command[512];
  std::snprintf(command, sizeof command,
                "ffmpeg -v error -f lavfi -i testsrc2=size=%dx%d:rate=60000/1001 -vf "
                "tinterlace=mode=merge -frames:v %d -pix_fmt yuyv422 -f rawvideo -",
                width, height / 2, frames);
  const std::string raw = RunCommand(command);
  return std::vector<std::uint8_t>(raw.begin(), raw.end());
}

// 16-bit PCM of a tone.
inline std::vector<std::uint8_t> TonePcm(int sampleRate, int channels, double seconds) {
  std::vector<std::uint8_t> pcm;
  const int n = static_cast<int>(sampleRate * seconds);
  for (int i = 0; i < n; ++i)
    for (int c = 0; c < channels; ++c) {
      const double v =
          12000.0 * __builtin_sin(2 * 3.14159265358979 * (440.0 + 220 * c) * i / sampleRate);
      const std::int16_t s = static_cast<std::int16_t>(v);
      pcm.push_back(static_cast<std::uint8_t>(s & 0xFF));
      pcm.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
  return pcm;
}

// Luma PSNR of decoded yuv420p frames against the source YUY2 frames.
inline double LumaPsnr(const std::vector<std::uint8_t>& yuy2, const std::string& decoded, int width,
                       int height) {
  const size_t frameY = static_cast<size_t>(width) * height;
  const size_t frames = std::min(yuy2.size() / (frameY * 2), decoded.size() / (frameY * 3 / 2));
  double se = 0;
  for (size_t f = 0; f < frames; ++f)
    for (size_t i = 0; i < frameY; ++i) {
      const double d =
          yuy2[f * frameY * 2 + 2 * i] - static_cast<std::uint8_t>(decoded[f * frameY * 3 / 2 + i]);
      se += d * d;
    }
  const double mse = se / (static_cast<double>(frames) * frameY);
  return mse > 0 ? 10 * __builtin_log10(255.0 * 255.0 / mse) : 99.0;
}

}  // namespace mpegenc_test

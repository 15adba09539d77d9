// Speed and quality of the MPEG encoder stand-in on a 720x480 interlaced
// sequence, beside ffmpeg's mpeg2video encoder at the same bit rate, group
// length and picture types (I and P), one thread each. Every figure comes
// from this one run.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "outside/mpegenc/picture_convert.h"
#include "outside/mpegenc/video_encoder.h"

namespace {

using mpegenc::Frame420;
using mpegenc::PictureFormat;
using mpegenc::PictureLayout;
using mpegenc::VideoEncoder;
using mpegenc::VideoSettings;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 720;
constexpr int kHeight = 480;
constexpr int kFrames = 150;  // five seconds
constexpr double kBitRate = 4.0e6;
constexpr double kMaxBitRate = 6.0e6;
constexpr int kGop = 12;
constexpr double kFrameRate = 30000.0 / 1001;
constexpr double kPi = 3.14159265358979323846;

// A scene with detail and motion: a fine still texture, a ball moving
// diagonally, bars scrolling sideways, a little noise; the two fields of a
// frame are half a frame apart, as from a TV camera.
Bytes MakeFrame(int index) {
  Bytes frame(static_cast<size_t>(kWidth) * kHeight * 2);
  std::uint32_t noise = 12345u + 977u * static_cast<std::uint32_t>(index);
  for (int y = 0; y < kHeight; ++y) {
    const double t = index + 0.5 * (y & 1);
    const double ballX = 120 + 6 * t, ballY = 100 + 3 * t;
    for (int x = 0; x < kWidth; ++x) {
      double luma = 110 + 40 * std::sin(x * 0.21) * std::cos(y * 0.17);
      if (y > 360) luma = ((static_cast<int>(x + 5 * t) / 24) % 2) ? 200 : 50;
      const double dx = x - ballX, dy = y - ballY;
      if (dx * dx + dy * dy < 60 * 60) luma = 180 + 50 * std::sin((dx + dy) * 0.3);
      noise = noise * 1664525u + 1013904223u;
      luma += static_cast<int>((noise >> 28) & 3) - 1.5;
      std::uint8_t* p = &frame[(static_cast<size_t>(y) * kWidth + x) * 2];
      p[0] = static_cast<std::uint8_t>(std::clamp(luma, 16.0, 235.0));
      p[1] = static_cast<std::uint8_t>(x & 1 ? 128 + 30 * std::sin(y * 0.02 + t * 0.1)
                                             : 128 + 30 * std::cos(x * 0.01 + t * 0.05));
    }
  }
  return frame;
}

double Psnr(double squaredError, double samples) {
  return squaredError > 0 ? 10 * std::log10(255.0 * 255.0 * samples / squaredError) : 99;
}

struct Result {
  double fps = 0;
  double psnr = 0;
  double kbps = 0;
};

// Our encoder: conversion from YUY2 included, as the DLL does it. PSNR from
// the encoder's reconstruction, which is the decoder's picture.
Result RunOurs(const std::vector<Bytes>& frames) {
  Result best;
  for (int trial = 0; trial < 3; ++trial) {
    VideoSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.bitRate = kBitRate;
    settings.maxBitRate = kMaxBitRate;
    settings.gopLength = kGop;
    VideoEncoder encoder(settings);
    PictureLayout layout;
    layout.format = PictureFormat::kYuy2;
    layout.width = kWidth;
    layout.height = kHeight;
    Bytes out;
    double error = 0, seconds = 0;
    for (const Bytes& frame : frames) {
      const auto start = Clock::now();
      mpegenc::ConvertPicture(layout, frame.data(), &encoder.InputFrame());
      encoder.EncodePicture(&out);
      seconds += std::chrono::duration<double>(Clock::now() - start).count();
      const Frame420& r = encoder.Reconstruction();
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          const double d = frame[(static_cast<size_t>(y) * kWidth + x) * 2] -
                           r.y[static_cast<size_t>(y) * r.width + x];
          error += d * d;
        }
    }
    const double fps = frames.size() / seconds;
    if (fps > best.fps) {
      best.fps = fps;
      best.psnr = Psnr(error, static_cast<double>(frames.size()) * kWidth * kHeight);
      best.kbps = out.size() * 8.0 / (frames.size() / kFrameRate) / 1000;
    }
  }
  return best;
}

#ifndef _WIN32
bool RunFfmpeg(const std::vector<Bytes>& frames, Result* result) {
  const std::string raw = "/tmp/mpegenc_bench_src.yuv", coded = "/tmp/mpegenc_bench_ff.mpg";
  FILE* f = std::fopen(raw.c_str(), "wb");
  if (!f) return false;
  for (const Bytes& frame : frames) std::fwrite(frame.data(), 1, frame.size(), f);
  std::fclose(f);
  const std::string input = " -f rawvideo -pix_fmt yuyv422 -s 720x480 -framerate 30000/1001 ";
  const std::string encode =
      "ffmpeg -v error -y -threads 1" + input + "-i " + raw +
      " -c:v mpeg2video -threads 1 -b:v 4M -maxrate 6M -bufsize 1835k -g 12 -bf 0"
      " -flags +ildct+ilme " +
      coded;
  double best = 1e30;
  for (int trial = 0; trial < 3; ++trial) {
    const auto start = Clock::now();
    if (std::system(encode.c_str()) != 0) return false;
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  result->fps = frames.size() / best;
  // Luma PSNR with ffmpeg's own filter, decoded against the source.
  const std::string psnr =
      "ffmpeg -v info -i " + coded + input + "-i " + raw +
      " -lavfi \"[0:v]setpts=PTS-STARTPTS,format=gray[a];[1:v]format=gray[b];[a][b]psnr\""
      " -f null - 2>&1 | grep -o 'average:[0-9.]*' | cut -d: -f2";
  FILE* p = popen(psnr.c_str(), "r");
  if (!p) return false;
  if (std::fscanf(p, "%lf", &result->psnr) != 1) result->psnr = 0;
  pclose(p);
  FILE* c = std::fopen(coded.c_str(), "rb");
  if (c) {
    std::fseek(c, 0, SEEK_END);
    result->kbps = std::ftell(c) * 8.0 / (frames.size() / kFrameRate) / 1000;
    std::fclose(c);
  }
  std::remove(raw.c_str());
  std::remove(coded.c_str());
  return true;
}
#endif

}  // namespace

int main() {
  std::vector<Bytes> frames;
  for (int i = 0; i < kFrames; ++i) frames.push_back(MakeFrame(i));
  std::printf(
      "MPEG-2 video, 720x480 interlaced YUY2, %d frames, 4 Mbit/s (6 peak), GOP %d, I and P\n",
      kFrames, kGop);
  const Result ours = RunOurs(frames);
  std::printf(
      "  ours:   %6.1f frames/s (%.1f x real time), luma PSNR %.2f dB, %.0f kbit/s (program stream "
      "overhead excluded)\n",
      ours.fps, ours.fps / kFrameRate, ours.psnr, ours.kbps);
#ifndef _WIN32
  Result ff;
  if (std::system("command -v ffmpeg >/dev/null 2>&1") == 0 && RunFfmpeg(frames, &ff)) {
    std::printf(
        "  ffmpeg: %6.1f frames/s (%.1f x real time), luma PSNR %.2f dB, %.0f kbit/s (whole "
        "process, file muxing included)\n",
        ff.fps, ff.fps / kFrameRate, ff.psnr, ff.kbps);
    std::printf("  speed ours / ffmpeg: %.2f; PSNR ours - ffmpeg: %+.2f dB\n", ours.fps / ff.fps,
                ours.psnr - ff.psnr);
  } else {
    std::printf("  ffmpeg: not on the PATH, skipped\n");
  }
#else
  std::printf(
      "  ffmpeg: not run from the Windows build (run the native build for the comparison)\n");
#endif
  return 0;
}

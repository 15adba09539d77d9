#include "outside/virtualboard/picture_synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kBarCount = 7;
const uint32_t kBars[kBarCount] = {0xC0C0C0, 0xC0C000, 0x00C0C0, 0x00C000,
                                   0xC000C0, 0xC00000, 0x0000C0};
// One band colour per station, so that stations are told apart at a glance.
const uint32_t kStationBands[] = {0x2040A0, 0xA02040, 0x20A040, 0xA08020,
                                  0x8020A0, 0x20A0A0, 0xA0A020, 0x606060};
constexpr int kBoxSize = 24;
constexpr uint32_t kBoxPixelsPerFrame = 4;

void FillRect(Frame& frame, int x0, int y0, int x1, int y1, uint32_t colour) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, frame.width);
  y1 = std::min(y1, frame.height);
  for (int y = y0; y < y1; ++y) {
    std::fill(frame.pixels.begin() + static_cast<size_t>(y) * frame.width + x0,
              frame.pixels.begin() + static_cast<size_t>(y) * frame.width + x1, colour);
  }
}

}  // namespace

int MovingBoxX(int frameWidth, uint32_t frameNumber) {
  const int travel = std::max(1, frameWidth - kBoxSize);
  const uint32_t step = (frameNumber * kBoxPixelsPerFrame) % static_cast<uint32_t>(2 * travel);
  const int position = static_cast<int>(step);
  return position <= travel ? position : 2 * travel - position;  // back and forth
}

void DrawStationPicture(Frame& frame, int stationIndex, uint32_t frameNumber) {
  const int barsBottom = frame.height * 2 / 3;
  const int rotation = stationIndex % kBarCount;
  for (int i = 0; i < kBarCount; ++i) {
    const int x0 = frame.width * i / kBarCount;
    const int x1 = frame.width * (i + 1) / kBarCount;
    FillRect(frame, x0, 0, x1, barsBottom, kBars[(i + rotation) % kBarCount]);
  }
  const size_t bandCount = sizeof kStationBands / sizeof kStationBands[0];
  FillRect(frame, 0, barsBottom, frame.width, frame.height,
           kStationBands[static_cast<size_t>(stationIndex) % bandCount]);
  const int boxX = MovingBoxX(frame.width, frameNumber);
  const int boxY = barsBottom - kBoxSize / 2;
  FillRect(frame, boxX, boxY, boxX + kBoxSize, boxY + kBoxSize, kWhite);
}

void DrawNoise(Frame& frame, uint32_t frameNumber) {
  uint32_t state = 0x9E3779B9u ^ (frameNumber * 2654435761u);
  for (uint32_t& pixel : frame.pixels) {
    // xorshift32
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    const uint32_t grey = state & 0xFF;
    pixel = (grey << 16) | (grey << 8) | grey;
  }
}

void DrawInputPattern(Frame& frame, int inputType, int connector, uint32_t frameNumber) {
  constexpr int kCell = 20;
  const uint32_t dark = inputType == 3 ? 0x203060 : 0x302010;
  const uint32_t light = inputType == 3 ? 0x6080C0 : 0xC09040;
  const int shift = static_cast<int>(frameNumber % (2 * kCell));
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const bool on = (((x + shift) / kCell) + (y / kCell) + connector) % 2 == 0;
      frame.pixels[static_cast<size_t>(y) * frame.width + x] = on ? light : dark;
    }
  }
}

void DrawBlack(Frame& frame) {
  std::fill(frame.pixels.begin(), frame.pixels.end(), 0);
}

void ApplyPictureProperties(Frame& frame, const PictureProperties& p) {
  const PictureProperties neutral;
  if (p.brightness == neutral.brightness && p.contrast == neutral.contrast &&
      p.hue == neutral.hue && p.saturation == neutral.saturation) {
    return;
  }
  const double offset = (p.brightness - 50) * 2.55;
  const double gain = std::max(0, p.contrast) / 50.0;
  const double chroma = std::max(0, p.saturation) / 50.0;
  const double angle = (p.hue - 50) * 3.6 * 3.14159265358979 / 180.0;
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  // YUV (BT.601) with the chroma plane turned by the hue and scaled by the
  // saturation, and the luma stretched about mid-grey: every step is linear,
  // so each output channel is a weighted sum of the inputs plus a constant.
  // The source applies this to two full pictures a frame, 30 times a
  // second: per-pixel floating point there cannot keep up, so the weights go
  // into tables of fixed-point terms, one per input channel and output
  // channel.
  const double ky[3] = {0.299, 0.587, 0.114};
  double out[3][3];  // out[channel][input]: r, g, b
  for (int i = 0; i < 3; ++i) {
    const double y = ky[i];
    const double u = ((i == 2 ? 1.0 : 0.0) - y) * 0.565;
    const double v = ((i == 0 ? 1.0 : 0.0) - y) * 0.713;
    const double u2 = (u * cosA - v * sinA) * chroma;
    const double v2 = (u * sinA + v * cosA) * chroma;
    const double y2 = y * gain;
    out[0][i] = y2 + 1.403 * v2;
    out[1][i] = y2 - 0.344 * u2 - 0.714 * v2;
    out[2][i] = y2 + 1.770 * u2;
  }
  const double constant = 128.0 - 128.0 * gain + offset;
  constexpr double kOne = 65536.0;  // 16 fractional bits
  // 64-bit terms: the properties are not bounded, and a huge gain must clip
  // rather than wrap.
  std::vector<int64_t> table(3 * 3 * 256);
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3; ++i) {
      for (int value = 0; value < 256; ++value) {
        const double term = out[c][i] * value + (i == 0 ? constant + 0.5 : 0.0);
        table[(c * 3 + i) * 256 + value] = static_cast<int64_t>(std::llround(term * kOne));
      }
    }
  }
  const int64_t* t = table.data();
  auto channel = [t](int c, uint32_t r, uint32_t g, uint32_t b) {
    const int64_t* row = t + c * 3 * 256;
    const int64_t sum = row[r] + row[256 + g] + row[512 + b];
    // Floor of the sum: the half was added with the constant.
    const int64_t value = sum >> 16;
    return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
  };
  // Runs of one colour are the common case: the last answer is kept.
  uint32_t lastIn = 0;
  uint32_t lastOut = channel(0, 0, 0, 0) << 16 | channel(1, 0, 0, 0) << 8 | channel(2, 0, 0, 0);
  for (uint32_t& pixel : frame.pixels) {
    if (pixel != lastIn) {
      lastIn = pixel;
      const uint32_t r = (pixel >> 16) & 0xFF;
      const uint32_t g = (pixel >> 8) & 0xFF;
      const uint32_t b = pixel & 0xFF;
      lastOut = channel(0, r, g, b) << 16 | channel(1, r, g, b) << 8 | channel(2, r, g, b);
    }
    pixel = lastOut;
  }
}

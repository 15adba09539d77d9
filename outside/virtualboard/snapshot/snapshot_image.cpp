#include "outside/virtualboard/snapshot/snapshot_image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brontel::snapshot {
namespace {

std::uint8_t Clamp255(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Studio-range BT.601, the colours of analogue broadcast video, in 16-bit
// fixed point.
void YuvToBgr(int y, int u, int v, std::uint8_t* out) {
  const int c = 76309 * (y - 16);
  const int d = u - 128;
  const int e = v - 128;
  out[0] = Clamp255((c + 132201 * d + 32768) >> 16);
  out[1] = Clamp255((c - 25675 * d - 53279 * e + 32768) >> 16);
  out[2] = Clamp255((c + 104597 * e + 32768) >> 16);
}

void SetProblem(const char** problem, const char* text) {
  if (problem) *problem = text;
}

// The taps of one output sample along one axis: source indices from
// `first`, weights in 1/16384 that add up to exactly 16384.
struct Taps {
  int first = 0;
  std::vector<int> weights;
};
constexpr int kWeightBits = 14;

std::vector<Taps> MakeTaps(int sourceLength, int targetLength) {
  const double scale = static_cast<double>(sourceLength) / targetLength;
  // Reducing widens the triangle to cover every source sample that falls
  // into the output sample; enlarging keeps it at plain linear interpolation.
  const double radius = std::max(1.0, scale);
  std::vector<Taps> all(static_cast<std::size_t>(targetLength));
  for (int i = 0; i < targetLength; ++i) {
    double centre = (i + 0.5) * scale - 0.5;
    // Enlarged edges hold the edge pixel rather than reach past it.
    if (scale < 1) centre = std::clamp(centre, 0.0, sourceLength - 1.0);
    const int lo = static_cast<int>(std::floor(centre - radius)) + 1;
    const int hi = static_cast<int>(std::ceil(centre + radius)) - 1;
    // Beyond an edge the picture is taken as mirrored about the edge pixel,
    // so that the edge pixels weigh no more than their neighbours.
    auto mirror = [sourceLength](int s) {
      if (s < 0) s = -s;
      if (s >= sourceLength) s = 2 * sourceLength - 2 - s;
      return std::clamp(s, 0, sourceLength - 1);
    };
    int first = sourceLength, last = 0;
    for (int s = lo; s <= hi; ++s) {
      first = std::min(first, mirror(s));
      last = std::max(last, mirror(s));
    }
    std::vector<double> raw(static_cast<std::size_t>(last - first + 1), 0.0);
    double sum = 0;
    for (int s = lo; s <= hi; ++s) {
      const double w = std::max(0.0, 1.0 - std::fabs(s - centre) / radius);
      raw[static_cast<std::size_t>(mirror(s) - first)] += w;
      sum += w;
    }
    Taps& taps = all[static_cast<std::size_t>(i)];
    taps.first = first;
    int total = 0;
    std::size_t largest = 0;
    for (std::size_t k = 0; k < raw.size(); ++k) {
      taps.weights.push_back(static_cast<int>(std::lround(raw[k] / sum * (1 << kWeightBits))));
      total += taps.weights.back();
      if (taps.weights[k] > taps.weights[largest]) largest = k;
    }
    // Rounding must not brighten or darken a flat area.
    taps.weights[largest] += (1 << kWeightBits) - total;
  }
  return all;
}

// Resamples `lines` lines of pixels along one axis. Steps are in bytes:
// `step` between neighbouring pixels of a line, `lineStep` between lines.
void ResampleAxis(const std::uint8_t* source, std::ptrdiff_t sourceStep,
                  std::ptrdiff_t sourceLineStep, std::uint8_t* target, std::ptrdiff_t targetStep,
                  std::ptrdiff_t targetLineStep, int lines, const std::vector<Taps>& taps) {
  for (int line = 0; line < lines; ++line) {
    const std::uint8_t* in = source + line * sourceLineStep;
    std::uint8_t* out = target + line * targetLineStep;
    for (const Taps& t : taps) {
      int acc[3] = {0, 0, 0};
      const std::uint8_t* p = in + t.first * sourceStep;
      for (int w : t.weights) {
        acc[0] += w * p[0];
        acc[1] += w * p[1];
        acc[2] += w * p[2];
        p += sourceStep;
      }
      for (int c = 0; c < 3; ++c)
        out[c] = Clamp255((acc[c] + (1 << (kWeightBits - 1))) >> kWeightBits);
      out += targetStep;
    }
  }
}

}  // namespace

const char* ImageSizeProblem(long long width, long long height) {
  if (width <= 0 || height <= 0) return "the picture has no width or no height";
  if (width > kMaxImageSide || height > kMaxImageSide)
    return "the picture is wider or taller than 8192 pixels";
  if (width * height > kMaxImagePixels) return "the picture has more than 16777216 pixels";
  return nullptr;
}

Image FrameToImage(const GrabbedFrame& frame, const char** problem) {
  SetProblem(problem, nullptr);
  const long long width = frame.width;
  const long long rows = std::llabs(static_cast<long long>(frame.height));
  if (const char* sizeProblem = ImageSizeProblem(width, rows)) {
    SetProblem(problem, sizeProblem);
    return {};
  }
  const int bytesPerPixel = frame.bitsPerPixel / 8;
  if (frame.bitsPerPixel != 16 && frame.bitsPerPixel != 24 && frame.bitsPerPixel != 32) {
    SetProblem(problem, "the frame has neither 16, 24 nor 32 bits a pixel");
    return {};
  }
  if (frame.bitsPerPixel == 16 && width % 2 != 0) {
    SetProblem(problem, "a packed YUV frame has an odd width");
    return {};
  }
  const std::size_t minRow = static_cast<std::size_t>(width) * bytesPerPixel;
  const std::size_t naturalRow = (minRow + 3) & ~static_cast<std::size_t>(3);
  std::size_t stride = 0;
  const std::size_t rowCount = static_cast<std::size_t>(rows);
  if (frame.data && frame.size % rowCount == 0 && frame.size / rowCount >= minRow) {
    stride = frame.size / rowCount;
  } else if (frame.data && frame.size / rowCount >= naturalRow) {
    stride = naturalRow;
  } else {
    SetProblem(problem, "the frame's data is shorter than its size needs");
    return {};
  }

  Image image;
  image.width = frame.width;
  image.height = static_cast<int>(rows);
  image.bgr.resize(static_cast<std::size_t>(width * rows * 3));
  // Bitmaps with a positive height store the bottom row first; YUV is
  // top-down whatever the sign.
  const bool bottomUp = frame.bitsPerPixel != 16 && frame.height > 0;
  for (long long y = 0; y < rows; ++y) {
    const long long sourceRow = bottomUp ? rows - 1 - y : y;
    const std::uint8_t* in = frame.data + static_cast<std::size_t>(sourceRow) * stride;
    std::uint8_t* out = image.bgr.data() + static_cast<std::size_t>(y * width * 3);
    if (frame.bitsPerPixel == 16) {
      const bool yuy2 = frame.yuvOrder == YuvOrder::kYuy2;
      for (long long x = 0; x < width; x += 2, in += 4, out += 6) {
        const int y0 = yuy2 ? in[0] : in[1];
        const int y1 = yuy2 ? in[2] : in[3];
        const int u = yuy2 ? in[1] : in[0];
        const int v = yuy2 ? in[3] : in[2];
        YuvToBgr(y0, u, v, out);
        YuvToBgr(y1, u, v, out + 3);
      }
    } else {
      for (long long x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
  }
  return image;
}

Image ScaleImage(const Image& source, int width, int height) {
  if (source.Empty() || ImageSizeProblem(width, height) ||
      source.bgr.size() != static_cast<std::size_t>(source.width) * source.height * 3)
    return {};
  if (width == source.width && height == source.height) return source;
  const std::vector<Taps> across = MakeTaps(source.width, width);
  const std::vector<Taps> down = MakeTaps(source.height, height);
  Image target;
  target.width = width;
  target.height = height;
  target.bgr.resize(static_cast<std::size_t>(width) * height * 3);
  const std::ptrdiff_t sourceRow = static_cast<std::ptrdiff_t>(source.width) * 3;
  const std::ptrdiff_t targetRow = static_cast<std::ptrdiff_t>(width) * 3;
  // The pass order that keeps the intermediate picture smaller.
  const long long acrossFirst = static_cast<long long>(width) * source.height;
  const long long downFirst = static_cast<long long>(source.width) * height;
  if (acrossFirst <= downFirst) {
    std::vector<std::uint8_t> middle(static_cast<std::size_t>(acrossFirst) * 3);
    ResampleAxis(source.bgr.data(), 3, sourceRow, middle.data(), 3, targetRow, source.height,
                 across);
    ResampleAxis(middle.data(), targetRow, 3, target.bgr.data(), targetRow, 3, width, down);
  } else {
    std::vector<std::uint8_t> middle(static_cast<std::size_t>(downFirst) * 3);
    ResampleAxis(source.bgr.data(), sourceRow, 3, middle.data(), sourceRow, 3, source.width, down);
    ResampleAxis(middle.data(), 3, sourceRow, target.bgr.data(), 3, targetRow, height, across);
  }
  return target;
}

}  // namespace brontel::snapshot

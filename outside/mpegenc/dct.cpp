#include "outside/mpegenc/dct.h"

#include <algorithm>
#include <cmath>

#include "outside/mpegenc/simd_kernels.h"

namespace mpegenc {
namespace {

struct Basis {
  double a[8][8];  // a[u][x] = C(u)/2 cos((2x+1) u pi / 16)
  Basis() {
    const double pi = 3.14159265358979323846;
    for (int u = 0; u < 8; ++u) {
      const double c = u == 0 ? std::sqrt(0.5) : 1.0;
      for (int x = 0; x < 8; ++x) a[u][x] = c / 2.0 * std::cos((2 * x + 1) * u * pi / 16.0);
    }
  }
};

const Basis& TheBasis() {
  static const Basis basis;
  return basis;
}

std::int16_t RoundClip(double v, int lo, int hi) {
  const double r = std::floor(v + 0.5);
  return static_cast<std::int16_t>(std::clamp(r, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace

void ForwardDctReference(const std::int16_t in[64], std::int16_t out[64]) {
  const Basis& b = TheBasis();
  double tmp[8][8];
  for (int y = 0; y < 8; ++y)
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int x = 0; x < 8; ++x) s += b.a[u][x] * in[8 * y + x];
      tmp[y][u] = s;
    }
  for (int v = 0; v < 8; ++v)
    for (int u = 0; u < 8; ++u) {
      double s = 0;
      for (int y = 0; y < 8; ++y) s += b.a[v][y] * tmp[y][u];
      out[8 * v + u] = RoundClip(s, -2048, 2047);
    }
}

void InverseDctReference(const std::int16_t in[64], std::int16_t out[64]) {
  const Basis& b = TheBasis();
  double tmp[8][8];
  for (int v = 0; v < 8; ++v)
    for (int x = 0; x < 8; ++x) {
      double s = 0;
      for (int u = 0; u < 8; ++u) s += b.a[u][x] * in[8 * v + u];
      tmp[v][x] = s;
    }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      double s = 0;
      for (int v = 0; v < 8; ++v) s += b.a[v][y] * tmp[v][x];
      out[8 * y + x] = RoundClip(s, -256, 255);
    }
}

bool DctPathAvailable(DctPath path) {
  return path == DctPath::kReference || (path == DctPath::kSse2 && CpuHasSse2());
}

DctPath FastestDctPath() {
  return DctPathAvailable(DctPath::kSse2) ? DctPath::kSse2 : DctPath::kReference;
}

void ForwardDct(DctPath path, const std::int16_t in[64], std::int16_t out[64]) {
  if (path == DctPath::kSse2 && CpuHasSse2()) {
    ForwardDctSse2(in, out);
  } else {
    ForwardDctReference(in, out);
  }
}

void InverseDct(DctPath path, const std::int16_t in[64], std::int16_t out[64]) {
  if (path == DctPath::kSse2 && CpuHasSse2()) {
    InverseDctSse2(in, out);
  } else {
    InverseDctReference(in, out);
  }
}

}  // namespace mpegenc

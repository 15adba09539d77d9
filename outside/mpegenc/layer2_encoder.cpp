#include "outside/mpegenc/layer2_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "outside/mpegenc/bit_writer.h"

namespace mpegenc {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Quantisation classes: steps, grouped (three samples in one code word),
// bits per code word.
struct QuantClass {
  int steps;
  bool grouped;
  int bits;
  double snrDb;  // signal to noise ratio of a full-scale signal
};
const QuantClass kClasses[17] = {
    {3, true, 5, 7.00},        {5, true, 7, 11.00},      {7, false, 3, 16.00},
    {9, true, 10, 20.84},      {15, false, 4, 25.28},    {31, false, 5, 31.59},
    {63, false, 6, 37.75},     {127, false, 7, 43.84},   {255, false, 8, 49.89},
    {511, false, 9, 55.93},    {1023, false, 10, 61.96}, {2047, false, 11, 67.98},
    {4095, false, 12, 74.01},  {8191, false, 13, 80.03}, {16383, false, 14, 86.05},
    {32767, false, 15, 92.01}, {65535, false, 16, 98.01}};

// Allocation tables: per subband, the bits of the allocation field and the
// class of each allocation value (value 0: nothing coded).
struct SubbandRow {
  int nbal;
  int classes[16];
};
const SubbandRow kRowHighA = {4, {-1, 0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}};
const SubbandRow kRowHighB = {4, {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16}};
const SubbandRow kRowMid = {3, {-1, 0, 1, 2, 3, 4, 5, 16}};
const SubbandRow kRowLow = {2, {-1, 0, 1, 16}};
const SubbandRow kRowLowRateHigh = {4, {-1, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};
const SubbandRow kRowLowRateMid = {3, {-1, 0, 1, 3, 4, 5, 6, 7}};

// Tables for the higher rates (27 or 30 subbands) and the low rates (8 or 12).
const SubbandRow& Row(int table, int sb) {
  if (table <= 1) {
    if (sb < 3) return kRowHighA;
    if (sb < 11) return kRowHighB;
    if (sb < 23) return kRowMid;
    return kRowLow;
  }
  return sb < 2 ? kRowLowRateHigh : kRowLowRateMid;
}
const int kSbLimit[4] = {27, 30, 8, 12};

int MaxAllocation(int table, int sb) {
  return (1 << Row(table, sb).nbal) - 1;
}

double ScaleFactor(int index) {
  return 2.0 * std::pow(2.0, -index / 3.0);
}

struct Window {
  float c[512];     // analysis window
  float m[32][64];  // cosine matrix
  Window() {
    // Prototype: a root-raised-cosine low-pass (half-band edge pi/64) under
    // a Kaiser window. Squared, it splits the spectrum into 32 bands that add
    // up to one, which lets a decoder's synthesis cancel the aliasing between
    // neighbouring bands. Roll-off 0.6 matched standard decoders best: a
    // two-tone signal comes back from ffmpeg's decoder at about 41 dB SNR at
    // 224 kbit/s (0.4: 35 dB, 0.5: 38.5 dB, 0.7: 36 dB).
    const double t = 64.0, alpha = 0.6, beta = 4.0;
    auto bessel0 = [](double x) {
      double sum = 1, term = 1;
      for (int k = 1; k < 30; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
      }
      return sum;
    };
    double h[512];
    h[0] = 0;
    for (int n = 1; n < 512; ++n) {
      const double tt = (n - 256) / t;
      double g;
      if (n == 256) {
        g = 1 - alpha + 4 * alpha / kPi;
      } else if (std::fabs(std::fabs(4 * alpha * tt) - 1) < 1e-9) {
        g = alpha / std::sqrt(2.0) *
            ((1 + 2 / kPi) * std::sin(kPi / (4 * alpha)) +
             (1 - 2 / kPi) * std::cos(kPi / (4 * alpha)));
      } else {
        g = (std::sin(kPi * tt * (1 - alpha)) + 4 * alpha * tt * std::cos(kPi * tt * (1 + alpha))) /
            (kPi * tt * (1 - (4 * alpha * tt) * (4 * alpha * tt)));
      }
      const double r = (n - 256) / 256.0;
      const double w = bessel0(beta * std::sqrt(std::max(0.0, 1 - r * r))) / bessel0(beta);
      // Gain 2/T: a full-scale tone gives subband samples of about 1.
      h[n] = 2.0 / t * g * w;
    }
    for (int n = 0; n < 512; ++n) c[n] = static_cast<float>(((n / 64) % 2 ? -1.0 : 1.0) * h[n]);
    for (int k = 0; k < 32; ++k)
      for (int i = 0; i < 64; ++i)
        m[k][i] = static_cast<float>(std::cos((2 * k + 1) * (i - 16) * kPi / 64));
  }
};

const Window& TheWindow() {
  static const Window window;
  return window;
}

int BitRateIndex(int bitRate) {
  static const int kRates[15] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
  for (int i = 1; i < 15; ++i)
    if (kRates[i] * 1000 == bitRate) return i;
  return -1;
}

// Threshold in quiet (dB SPL) at f Hz.
double QuietThreshold(double f) {
  const double k = std::max(f, 20.0) / 1000.0;
  return 3.64 * std::pow(k, -0.8) - 6.5 * std::exp(-0.6 * (k - 3.3) * (k - 3.3)) +
         1e-3 * k * k * k * k;
}

}  // namespace

bool Layer2Encoder::SampleRateAllowed(int sampleRate) {
  return sampleRate == 32000 || sampleRate == 44100 || sampleRate == 48000;
}

bool Layer2Encoder::BitRateAllowed(int bitRate, int channels) {
  const int index = BitRateIndex(bitRate);
  if (index < 0) return false;
  if (channels == 1) return index <= 10;               // up to 192 kbit/s
  if (channels == 2) return index >= 4 && index != 5;  // 64 kbit/s up, not 80
  return false;
}

Layer2Encoder::Analysis::Analysis() {
  TheWindow();
}

void Layer2Encoder::Analysis::Run(const float* in32, float* out32) {
  const Window& w = TheWindow();
  std::memmove(history_ + 32, history_, sizeof(float) * 480);
  for (int i = 0; i < 32; ++i) history_[i] = in32[31 - i];  // newest sample at 0
  float y[64];
  for (int i = 0; i < 64; ++i) {
    float s = 0;
    for (int j = 0; j < 8; ++j) s += w.c[i + 64 * j] * history_[i + 64 * j];
    y[i] = s;
  }
  for (int k = 0; k < 32; ++k) {
    float s = 0;
    for (int i = 0; i < 64; ++i) s += w.m[k][i] * y[i];
    out32[k] = s;
  }
}

Layer2Encoder::Layer2Encoder(int sampleRate, int channels, int bitRate)
    : sampleRate_(sampleRate), channels_(std::clamp(channels, 1, 2)), bitRate_(bitRate) {
  const int perChannel = bitRate / 1000 / channels_;
  if (perChannel < 56) {
    table_ = sampleRate == 32000 ? 3 : 2;
  } else if (perChannel <= 80 || sampleRate == 48000) {
    table_ = 0;
  } else {
    table_ = 1;
  }
  sbLimit_ = kSbLimit[table_];
}

void Layer2Encoder::AddSamples(const std::int16_t* samples, std::size_t sampleFrames,
                               std::vector<std::vector<std::uint8_t>>* frames) {
  for (std::size_t i = 0; i < sampleFrames; ++i) {
    for (int ch = 0; ch < channels_; ++ch)
      pcm_[ch].push_back(samples[i * channels_ + ch] / 32768.0f);
    if (pcm_[0].size() == kSamplesPerFrame) {
      frames->emplace_back();
      EncodeFrame(&frames->back());
    }
  }
}

void Layer2Encoder::Flush(std::vector<std::vector<std::uint8_t>>* frames) {
  if (pcm_[0].empty()) return;
  for (int ch = 0; ch < channels_; ++ch) pcm_[ch].resize(kSamplesPerFrame, 0.0f);
  frames->emplace_back();
  EncodeFrame(&frames->back());
}

void Layer2Encoder::EncodeFrame(std::vector<std::uint8_t>* out) {
  const int nch = channels_;
  // Subband samples [ch][36][32].
  static thread_local float subband[2][36][32];
  for (int ch = 0; ch < nch; ++ch) {
    for (int s = 0; s < 36; ++s) analysis_[ch].Run(&pcm_[ch][32 * s], subband[ch][s]);
    pcm_[ch].clear();
  }

  // Scale factors per third of the frame, and which ones are sent.
  int scf[2][32][3];
  int scfsi[2][32];
  int nScf[2][32];
  double levelDb[2][32];
  for (int ch = 0; ch < nch; ++ch)
    for (int sb = 0; sb < sbLimit_; ++sb) {
      for (int part = 0; part < 3; ++part) {
        float peak = 0;
        for (int s = 12 * part; s < 12 * part + 12; ++s)
          peak = std::max(peak, std::fabs(subband[ch][s][sb]));
        int index = 0;
        while (index < 62 && ScaleFactor(index + 1) > peak) ++index;
        scf[ch][sb][part] = index;
      }
      int* f = scf[ch][sb];
      const int lo = std::min({f[0], f[1], f[2]}), hi = std::max({f[0], f[1], f[2]});
      if (hi - lo <= 1) {
        scfsi[ch][sb] = 2;
        f[0] = f[1] = f[2] = lo;
        nScf[ch][sb] = 1;
      } else if (std::abs(f[0] - f[1]) <= 1) {
        scfsi[ch][sb] = 1;
        f[0] = f[1] = std::min(f[0], f[1]);
        nScf[ch][sb] = 2;
      } else if (std::abs(f[1] - f[2]) <= 1) {
        scfsi[ch][sb] = 3;
        f[1] = f[2] = std::min(f[1], f[2]);
        nScf[ch][sb] = 2;
      } else {
        scfsi[ch][sb] = 0;
        nScf[ch][sb] = 3;
      }
      levelDb[ch][sb] = 96.0 + 20.0 * std::log10(ScaleFactor(lo));
    }

  // The frame's size in bits; 44.1 kHz frames alternate with padded ones.
  const std::int64_t slotBytes = 144LL * bitRate_;
  int frameBytes = static_cast<int>(slotBytes / sampleRate_);
  paddingRest_ += slotBytes % sampleRate_;
  int padding = 0;
  if (paddingRest_ >= sampleRate_) {
    paddingRest_ -= sampleRate_;
    padding = 1;
  }
  frameBytes += padding;
  const int frameBits = frameBytes * 8;

  // Masking threshold: the threshold in quiet, raised near loud bands.
  double mnrBase[2][32];
  for (int ch = 0; ch < nch; ++ch)
    for (int sb = 0; sb < sbLimit_; ++sb) {
      double mask = QuietThreshold((sb + 0.5) * sampleRate_ / 64.0);
      for (int j = 0; j < sbLimit_; ++j)
        mask = std::max(mask, levelDb[ch][j] - 18.0 - 6.0 * std::abs(j - sb));
      mnrBase[ch][sb] = mask - levelDb[ch][sb];  // plus the class SNR = noise-to-mask margin
    }

  // Greedy allocation: always improve the band whose noise stands out most.
  int alloc[2][32] = {};
  bool closed[2][32] = {};
  int used = 32;  // header
  for (int sb = 0; sb < sbLimit_; ++sb) used += Row(table_, sb).nbal * nch;
  auto sampleBits = [&](int sb, int a) {
    if (a == 0) return 0;
    const QuantClass& q = kClasses[Row(table_, sb).classes[a]];
    return q.grouped ? 12 * q.bits : 36 * q.bits;
  };
  for (;;) {
    int bestCh = -1, bestSb = -1;
    double bestMnr = 1e9;
    for (int ch = 0; ch < nch; ++ch)
      for (int sb = 0; sb < sbLimit_; ++sb) {
        if (closed[ch][sb]) continue;
        const int a = alloc[ch][sb];
        const double snr = a ? kClasses[Row(table_, sb).classes[a]].snrDb : 0.0;
        const double mnr = snr + mnrBase[ch][sb];
        if (mnr < bestMnr) {
          bestMnr = mnr;
          bestCh = ch;
          bestSb = sb;
        }
      }
    if (bestCh < 0) break;
    int& a = alloc[bestCh][bestSb];
    int cost = sampleBits(bestSb, a + 1) - sampleBits(bestSb, a);
    if (a == 0) cost += 2 + 6 * nScf[bestCh][bestSb];
    if (used + cost > frameBits) {
      closed[bestCh][bestSb] = true;
      continue;
    }
    used += cost;
    ++a;
    if (a == MaxAllocation(table_, bestSb)) closed[bestCh][bestSb] = true;
  }

  // Header.
  BitWriter bits;
  bits.Put(0xFFF, 12);
  bits.Put(1, 1);  // MPEG-1
  bits.Put(2, 2);  // Layer II
  bits.Put(1, 1);  // no CRC
  bits.Put(static_cast<std::uint32_t>(BitRateIndex(bitRate_)), 4);
  bits.Put(sampleRate_ == 44100 ? 0 : (sampleRate_ == 48000 ? 1 : 2), 2);
  bits.Put(static_cast<std::uint32_t>(padding), 1);
  bits.Put(0, 1);                 // private
  bits.Put(nch == 1 ? 3 : 0, 2);  // single channel or stereo
  bits.Put(0, 2);                 // mode extension
  bits.Put(0, 1);                 // copyright
  bits.Put(1, 1);                 // original
  bits.Put(0, 2);                 // no emphasis

  for (int sb = 0; sb < sbLimit_; ++sb)
    for (int ch = 0; ch < nch; ++ch)
      bits.Put(static_cast<std::uint32_t>(alloc[ch][sb]), Row(table_, sb).nbal);
  for (int sb = 0; sb < sbLimit_; ++sb)
    for (int ch = 0; ch < nch; ++ch)
      if (alloc[ch][sb]) bits.Put(static_cast<std::uint32_t>(scfsi[ch][sb]), 2);
  for (int sb = 0; sb < sbLimit_; ++sb)
    for (int ch = 0; ch < nch; ++ch) {
      if (!alloc[ch][sb]) continue;
      const int* f = scf[ch][sb];
      switch (scfsi[ch][sb]) {
        case 0:
          bits.Put(f[0], 6);
          bits.Put(f[1], 6);
          bits.Put(f[2], 6);
          break;
        case 1:
          bits.Put(f[0], 6);
          bits.Put(f[2], 6);
          break;
        case 2:
          bits.Put(f[0], 6);
          break;
        case 3:
          bits.Put(f[0], 6);
          bits.Put(f[1], 6);
          break;
      }
    }
  for (int gr = 0; gr < 12; ++gr)
    for (int sb = 0; sb < sbLimit_; ++sb)
      for (int ch = 0; ch < nch; ++ch) {
        if (!alloc[ch][sb]) continue;
        const QuantClass& q = kClasses[Row(table_, sb).classes[alloc[ch][sb]]];
        const double scale = ScaleFactor(scf[ch][sb][gr / 4]);
        int codes[3];
        for (int i = 0; i < 3; ++i) {
          const double x = std::clamp(subband[ch][3 * gr + i][sb] / scale, -1.0, 1.0);
          codes[i] =
              std::clamp(static_cast<int>(std::floor((x + 1.0) * q.steps / 2.0)), 0, q.steps - 1);
        }
        if (q.grouped) {
          bits.Put(static_cast<std::uint32_t>(codes[0] + q.steps * (codes[1] + q.steps * codes[2])),
                   q.bits);
        } else {
          for (int i = 0; i < 3; ++i) bits.Put(static_cast<std::uint32_t>(codes[i]), q.bits);
        }
      }
  lastPayloadBits_ = static_cast<int>(bits.BitCount());
  lastFrameBits_ = frameBits;
  bits.Align();
  *out = std::move(bits.Bytes());
  out->resize(static_cast<std::size_t>(frameBytes), 0);
  ++framesCoded_;
}

}  // namespace mpegenc

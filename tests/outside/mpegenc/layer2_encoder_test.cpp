#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "outside/mpegenc/layer2_encoder.h"

namespace mpegenc {
namespace {

TEST(MpegencLayer2, AllocationStaysWithinEveryFramesBudget) {
  struct Case {
    int rate, channels, bitRate;
  };
  const Case cases[] = {{48000, 2, 224000}, {44100, 2, 224000}, {32000, 2, 384000},
                        {48000, 2, 64000},  {44100, 1, 192000}, {48000, 1, 64000},
                        {32000, 1, 48000},  {44100, 2, 96000}};
  std::mt19937 rng(5);
  for (const Case& c : cases) {
    Layer2Encoder enc(c.rate, c.channels, c.bitRate);
    std::vector<std::int16_t> pcm(Layer2Encoder::kSamplesPerFrame * c.channels);
    std::int64_t totalBytes = 0;
    const int frames = 12;
    for (int f = 0; f < frames; ++f) {
      // Silence, a tone, full-scale noise, a loud square wave.
      for (size_t i = 0; i < pcm.size(); ++i) {
        const int kind = f % 4;
        const double t = static_cast<double>(i / c.channels) / c.rate;
        double v = 0;
        if (kind == 1) v = 20000 * std::sin(2 * 3.14159265358979323846 * 1000 * t);
        if (kind == 2) v = static_cast<double>(static_cast<std::int16_t>(rng()));
        if (kind == 3) v = std::fmod(t * 300, 1.0) < 0.5 ? 32767 : -32768;
        pcm[i] = static_cast<std::int16_t>(v);
      }
      std::vector<std::vector<std::uint8_t>> out;
      enc.AddSamples(pcm.data(), Layer2Encoder::kSamplesPerFrame, &out);
      ASSERT_EQ(out.size(), 1u);
      EXPECT_LE(enc.LastPayloadBits(), enc.LastFrameBits())
          << c.rate << " " << c.bitRate << " frame " << f;
      EXPECT_EQ(static_cast<int>(out[0].size()) * 8, enc.LastFrameBits());
      EXPECT_EQ(out[0][0], 0xFF);
      EXPECT_EQ(out[0][1] & 0xFE, 0xFC);  // sync, MPEG-1, Layer II
      totalBytes += static_cast<std::int64_t>(out[0].size());
    }
    // Padding keeps the mean frame size at 144 x rate / sample rate.
    const double mean = static_cast<double>(totalBytes) / frames;
    EXPECT_NEAR(mean, 144.0 * c.bitRate / c.rate, 1.0);
  }
}

TEST(MpegencLayer2, OnlyTheStandardsRateAndModeCombinationsAreAllowed) {
  EXPECT_TRUE(Layer2Encoder::BitRateAllowed(224000, 2));
  EXPECT_FALSE(Layer2Encoder::BitRateAllowed(224000, 1));
  EXPECT_TRUE(Layer2Encoder::BitRateAllowed(192000, 1));
  EXPECT_FALSE(Layer2Encoder::BitRateAllowed(48000, 2));
  EXPECT_FALSE(Layer2Encoder::BitRateAllowed(100000, 2));
  EXPECT_FALSE(Layer2Encoder::SampleRateAllowed(22050));
}

}  // namespace
}  // namespace mpegenc

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegenc {

// MPEG-1 Layer II audio: 1152 samples per channel and frame, 32 subbands,
// scale factors per third of a frame, and a bit allocation that spends each
// frame's fixed budget where the quantisation noise would be heard most.
class Layer2Encoder {
 public:
  static constexpr int kSamplesPerFrame = 1152;

  // The Layer II bit rates (bit/s) a channel count allows.
  static bool BitRateAllowed(int bitRate, int channels);
  static bool SampleRateAllowed(int sampleRate);

  // sampleRate 32000, 44100 or 48000; channels 1 or 2; bitRate allowed.
  Layer2Encoder(int sampleRate, int channels, int bitRate);

  // Interleaved 16-bit samples; every frame completed is appended to frames.
  void AddSamples(const std::int16_t* samples, std::size_t sampleFrames,
                  std::vector<std::vector<std::uint8_t>>* frames);
  // Completes a partly filled frame with silence.
  void Flush(std::vector<std::vector<std::uint8_t>>* frames);

  int SampleRate() const { return sampleRate_; }
  int Channels() const { return channels_; }
  std::int64_t FramesCoded() const { return framesCoded_; }

  // Bits of the last frame that carry header, allocation, scale factors and
  // samples (the rest of the frame is padding), and the frame's size in bits.
  int LastPayloadBits() const { return lastPayloadBits_; }
  int LastFrameBits() const { return lastFrameBits_; }

  // The subband analysis alone, for checks of the filter bank: 32 samples of
  // one channel in, 32 subband samples out.
  class Analysis {
   public:
    Analysis();
    void Run(const float* in32, float* out32);

   private:
    float history_[512] = {};
  };

 private:
  void EncodeFrame(std::vector<std::uint8_t>* out);

  int sampleRate_, channels_, bitRate_;
  int table_;  // bit allocation table 0..3
  int sbLimit_;
  std::vector<float> pcm_[2];
  Analysis analysis_[2];
  std::int64_t framesCoded_ = 0;
  std::int64_t paddingRest_ = 0;
  int lastPayloadBits_ = 0;
  int lastFrameBits_ = 0;
};

}  // namespace mpegenc

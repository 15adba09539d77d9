#pragma once
// 16-bit PCM in, an ASF file of MPEG-1 Layer II audio out (the ".wma"
// recordings of the radio).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "outside/asfwriter/asf_muxer.h"
#include "outside/mpegenc/layer2_encoder.h"

namespace brontel::asf {

class AsfAudioWriter {
 public:
  // The formats taken: 44100 or 48000 samples a second, one or two channels.
  static bool FormatAllowed(int sampleRate, int channels);
  // The Layer II bit rate used for a channel count.
  static int BitRate(int channels) { return channels == 1 ? 96000 : 192000; }
  // The WAVEFORMATEX (MPEG1WAVEFORMAT) the stream is described by.
  static std::vector<std::uint8_t> WaveFormat(int sampleRate, int channels);

  // The format must be allowed; nothing is written before Begin.
  AsfAudioWriter(AsfSink* sink, int sampleRate, int channels, std::uint64_t creationTime = 0);

  bool Begin();
  // Interleaved samples; false once a write failed.
  bool AddSamples(const std::int16_t* samples, std::size_t sampleFrames);
  // Codes what is left (padded to a whole frame with silence) and completes
  // the file.
  bool Finish();

  // The time coded so far, in milliseconds.
  std::int64_t CodedMs() const;
  std::uint64_t BytesWritten() const { return muxer_.BytesWritten(); }

 private:
  bool Mux(const std::vector<std::vector<std::uint8_t>>& frames);

  mpegenc::Layer2Encoder encoder_;
  AsfMuxer muxer_;
  std::int64_t framesMuxed_ = 0;
};

}  // namespace brontel::asf

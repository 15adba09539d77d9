#include "outside/asfwriter/asf_audio_writer.h"

#include "outside/asfwriter/le_bytes.h"

namespace brontel::asf {
namespace {

constexpr std::uint16_t kWaveFormatMpeg = 0x0050;
constexpr std::uint16_t kMpegLayer2 = 2;
constexpr std::uint16_t kMpegStereo = 1;
constexpr std::uint16_t kMpegSingleChannel = 8;
constexpr std::uint16_t kMpegNoEmphasis = 1;
constexpr std::uint16_t kMpegIdMpeg1 = 0x10;
constexpr std::uint16_t kMpegExtraBytes = 22;

}  // namespace

bool AsfAudioWriter::FormatAllowed(int sampleRate, int channels) {
  return (sampleRate == 44100 || sampleRate == 48000) && (channels == 1 || channels == 2);
}

std::vector<std::uint8_t> AsfAudioWriter::WaveFormat(int sampleRate, int channels) {
  Bytes b;
  const int bitRate = BitRate(channels);
  b.U16(kWaveFormatMpeg);
  b.U16(static_cast<std::uint32_t>(channels));
  b.U32(static_cast<std::uint32_t>(sampleRate));
  b.U32(static_cast<std::uint32_t>(bitRate / 8));
  b.U16(1);  // block alignment: frames vary by a padding byte at 44.1 kHz
  b.U16(0);  // bits per sample: none for a coded stream
  b.U16(kMpegExtraBytes);
  b.U16(kMpegLayer2);
  b.U32(static_cast<std::uint32_t>(bitRate));
  b.U16(channels == 1 ? kMpegSingleChannel : kMpegStereo);
  b.U16(0);  // mode extension
  b.U16(kMpegNoEmphasis);
  b.U16(kMpegIdMpeg1);
  b.U32(0);  // no time stamps
  b.U32(0);
  return b.Get();
}

AsfAudioWriter::AsfAudioWriter(AsfSink* sink, int sampleRate, int channels,
                               std::uint64_t creationTime)
    : encoder_(sampleRate, channels, BitRate(channels)),
      muxer_(sink, WaveFormat(sampleRate, channels), static_cast<std::uint32_t>(BitRate(channels)),
             creationTime) {}

bool AsfAudioWriter::Begin() {
  return muxer_.Begin();
}

std::int64_t AsfAudioWriter::CodedMs() const {
  return framesMuxed_ * mpegenc::Layer2Encoder::kSamplesPerFrame * 1000 / encoder_.SampleRate();
}

bool AsfAudioWriter::Mux(const std::vector<std::vector<std::uint8_t>>& frames) {
  for (const auto& frame : frames) {
    if (!muxer_.AddObject(frame.data(), frame.size(), static_cast<std::uint32_t>(CodedMs())))
      return false;
    ++framesMuxed_;
  }
  return true;
}

bool AsfAudioWriter::AddSamples(const std::int16_t* samples, std::size_t sampleFrames) {
  if (muxer_.Failed()) return false;
  std::vector<std::vector<std::uint8_t>> frames;
  encoder_.AddSamples(samples, sampleFrames, &frames);
  return Mux(frames);
}

bool AsfAudioWriter::Finish() {
  std::vector<std::vector<std::uint8_t>> frames;
  encoder_.Flush(&frames);
  if (!Mux(frames)) return false;
  const std::uint64_t duration100ns = static_cast<std::uint64_t>(framesMuxed_) *
                                      mpegenc::Layer2Encoder::kSamplesPerFrame * 10000000ULL /
                                      static_cast<std::uint64_t>(encoder_.SampleRate());
  return muxer_.Finish(duration100ns);
}

}  // namespace brontel::asf

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "outside/mpegenc/layer2_encoder.h"
#include "outside/mpegenc/picture_convert.h"
#include "outside/mpegenc/program_mux.h"
#include "outside/mpegenc/video_encoder.h"

namespace mpegenc {

// Results of the encoder's entry points.
constexpr int kResultOk = 0;
constexpr int kResultEndOfStream = 1;         // frame limit reached
constexpr int kResultNotOpen = -1;            // call before open or after close
constexpr int kResultBadArgument = -2;        // null pointer, empty data
constexpr int kResultUnsupportedFormat = -3;  // picture or audio format refused
constexpr int kResultBadParameter = -4;       // bit rate, sizes
constexpr int kResultWantsVideoFirst = -702;

struct SessionSettings {
  bool hasVideo = true;
  bool hasAudio = true;
  PictureLayout picture;
  VideoSettings video;
  int sampleRate = 48000;
  int channels = 2;
  int bitsPerSample = 16;
  int audioBitRate = 224000;
  std::uint32_t frameLimit = 10000000;
};

// One recording: video pictures and PCM audio in, one program stream out.
// The demand word tells the caller which stream to feed next, from the two
// clocks of what has been encoded: above 0 audio is behind, below 0 video is.
class ProgramEncoder {
 public:
  // Audio may run ahead of video by this much before it is refused.
  static constexpr double kAudioLeadSeconds = 0.3;

  int Open(const SessionSettings& settings, ProgramMux::Writer writer);
  int CompressVideo(const std::uint8_t* frame, int repeat, std::int32_t* demand);
  int CompressAudio(const std::uint8_t* pcm, std::size_t bytes, std::int32_t* demand);
  // Flushes and writes the end of the stream; a second call does nothing.
  void Close();
  bool IsOpen() const { return open_; }

  std::int64_t PicturesCoded() const { return pictures_; }
  VideoEncoder* Video() { return video_.get(); }

 private:
  double VideoSeconds() const;
  double AudioSeconds() const;
  std::int32_t Demand() const;
  void EmitAudioFrames(std::vector<std::vector<std::uint8_t>>& frames);

  static constexpr std::int64_t kStartTicks = 45000;  // first picture shown at 0.5 s

  bool open_ = false;
  SessionSettings settings_;
  std::unique_ptr<VideoEncoder> video_;
  std::unique_ptr<Layer2Encoder> audio_;
  std::unique_ptr<ProgramMux> mux_;
  std::int64_t pictures_ = 0;
  std::int64_t audioSamples_ = 0;  // per channel, accepted so far
  std::int64_t audioFramesMuxed_ = 0;
  bool finished_ = false;
  std::vector<std::uint8_t> pictureBytes_;
  std::vector<std::uint8_t> carry_;  // part of a sample frame left from the last call
};

}  // namespace mpegenc

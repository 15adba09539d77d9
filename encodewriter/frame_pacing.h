#pragma once

#include <cstdint>

// Keeps the video frames in step with the audio clock: the audio bytes given
// to the encoder measure the time, and each video sample is encoded once,
// twice or not at all so that the frame count follows it.
namespace encodewriter {

enum class FrameAction { kEncodeOnce, kEncodeTwice, kSkip };

// Frames per second of a frame-rate code (1 = 23.97 ... 5 = 30); unknown
// codes count as 29.97, the default code.
float FrameRateOfCode(std::int32_t code);

// Milliseconds of audio in `totalBytes` of PCM, truncated; 0 when the format
// gives no bytes per second.
std::int64_t AudioTimeMs(std::uint64_t totalBytes, int bitsPerSample, int channels, int sampleRate);

// The decision for one sample, `framesEncoded` frames into the recording.
FrameAction DecideFrame(float elapsedMs, float frameRate, std::uint32_t framesEncoded);

struct PacingStep {
  FrameAction action;
  std::int64_t elapsedMs;
};

// Pacing state of one encoder run.
class FramePacer {
 public:
  void Reset(float frameRate);

  // The decision for the next video sample at the given audio time. Without
  // an audio clock (`haveAudio` false) every sample is encoded once.
  PacingStep Next(std::int64_t audioTimeMs, bool haveAudio);

  // Counts what was done with the sample Next decided on.
  void Account(FrameAction action);

  std::uint32_t Received() const { return received_; }
  std::uint32_t Encoded() const { return encoded_; }
  std::uint32_t Doubled() const { return doubled_; }
  std::uint32_t Skipped() const { return skipped_; }

 private:
  bool first_ = true;
  std::int64_t baseMs_ = 0;
  float frameRate_ = 29.97f;
  std::uint32_t received_ = 0;
  std::uint32_t encoded_ = 0;
  std::uint32_t doubled_ = 0;
  std::uint32_t skipped_ = 0;
};

}  // namespace encodewriter

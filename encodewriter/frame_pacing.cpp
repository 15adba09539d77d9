#include "encodewriter/frame_pacing.h"

namespace encodewriter {

float FrameRateOfCode(std::int32_t code) {
  switch (code) {
    case 1:
      return 23.976f;
    case 2:
      return 24.0f;
    case 3:
      return 25.0f;
    case 5:
      return 30.0f;
    default:
      return 29.97f;
  }
}

std::int64_t AudioTimeMs(std::uint64_t totalBytes, int bitsPerSample, int channels,
                         int sampleRate) {
  const double bytesPerSecond =
      static_cast<double>(bitsPerSample * channels / 8) * static_cast<double>(sampleRate);
  if (bytesPerSecond <= 0) return 0;
  return static_cast<std::int64_t>(static_cast<double>(totalBytes) / bytesPerSecond * 1000.0);
}

FrameAction DecideFrame(float elapsedMs, float frameRate, std::uint32_t framesEncoded) {
  const auto expected = static_cast<std::int64_t>(elapsedMs * frameRate * 0.001f);
  const auto encoded = static_cast<std::int64_t>(framesEncoded);
  if (expected > encoded + 2) return FrameAction::kEncodeTwice;
  if (expected + 2 < encoded) return FrameAction::kSkip;
  return FrameAction::kEncodeOnce;
}

void FramePacer::Reset(float frameRate) {
  *this = FramePacer();
  frameRate_ = frameRate;
}

PacingStep FramePacer::Next(std::int64_t audioTimeMs, bool haveAudio) {
  if (first_) {
    first_ = false;
    baseMs_ = audioTimeMs < 0 ? 0 : audioTimeMs;
    return {FrameAction::kEncodeOnce, 0};
  }
  if (!haveAudio) {
    // No audio clock: the frames themselves are the clock.
    return {FrameAction::kEncodeOnce, static_cast<std::int64_t>(encoded_ * 1000.0 / frameRate_)};
  }
  const std::int64_t elapsed = audioTimeMs - baseMs_;
  return {DecideFrame(static_cast<float>(elapsed), frameRate_, encoded_), elapsed};
}

void FramePacer::Account(FrameAction action) {
  ++received_;
  switch (action) {
    case FrameAction::kEncodeOnce:
      ++encoded_;
      break;
    case FrameAction::kEncodeTwice:
      encoded_ += 2;
      ++doubled_;
      break;
    case FrameAction::kSkip:
      ++skipped_;
      break;
  }
}

}  // namespace encodewriter

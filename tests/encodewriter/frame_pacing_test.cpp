// Video frames follow the audio clock.

#include <gtest/gtest.h>

#include "encodewriter/frame_pacing.h"

namespace encodewriter {
namespace {

TEST(FramePacing, TwoSecondsAtTwentyFiveFramesExpectsFifty) {
  const struct {
    std::uint32_t encoded;
    FrameAction action;
  } cases[] = {
      {46, FrameAction::kEncodeTwice}, {47, FrameAction::kEncodeTwice},
      {48, FrameAction::kEncodeOnce},  {50, FrameAction::kEncodeOnce},
      {52, FrameAction::kEncodeOnce},  {53, FrameAction::kSkip},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideFrame(2000.0f, 25.0f, c.encoded), c.action) << c.encoded;
  }
}

TEST(FramePacing, AudioTimeFromPcmBytes) {
  const struct {
    std::uint64_t bytes;
    int bits, channels, rate;
    std::int64_t ms;
  } cases[] = {
      {192000, 16, 2, 48000, 1000},  // one second of 48 kHz stereo
      {191999, 16, 2, 48000, 999},   // truncated, not rounded
      {44100, 8, 1, 44100, 1000},
      {1000, 0, 2, 48000, 0},  // no format yet: no clock
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AudioTimeMs(c.bytes, c.bits, c.channels, c.rate), c.ms) << c.bytes;
  }
}

TEST(FramePacing, PacerKeepsCountsFromTheFirstSample) {
  FramePacer pacer;
  pacer.Reset(25.0f);
  // The first sample sets the base at the current audio time.
  PacingStep step = pacer.Next(5000, true);
  EXPECT_EQ(step.action, FrameAction::kEncodeOnce);
  EXPECT_EQ(step.elapsedMs, 0);
  pacer.Account(step.action);
  // 400 ms later ten frames are expected, one was encoded.
  step = pacer.Next(5400, true);
  EXPECT_EQ(step.elapsedMs, 400);
  EXPECT_EQ(step.action, FrameAction::kEncodeTwice);
  pacer.Account(step.action);
  EXPECT_EQ(pacer.Encoded(), 3u);
  EXPECT_EQ(pacer.Doubled(), 1u);
  // Without audio every sample is encoded once and the frames give the time.
  step = pacer.Next(9000, false);
  EXPECT_EQ(step.action, FrameAction::kEncodeOnce);
  EXPECT_EQ(step.elapsedMs, 120);
  pacer.Reset(25.0f);
  EXPECT_EQ(pacer.Encoded(), 0u);
  EXPECT_EQ(pacer.Next(-40, true).elapsedMs, 0);
  EXPECT_EQ(pacer.Next(40, true).elapsedMs, 40);  // a negative base counts as 0
}

}  // namespace
}  // namespace encodewriter

#include <gtest/gtest.h>

#include "outside/virtualboard/capture_session.h"

namespace virtualboard {
namespace {

using A = SessionAction;

// Brings a session to `state` the way the board does: plan, then commit.
CaptureSession SessionIn(CaptureKind kind, RunState state) {
  CaptureSession session(7, kind);
  session.SetFile("C:\\rec\\a.mpg");
  session.SetBufferBytes(16u << 20);
  if (state != RunState::kStopped) session.Commit(session.Plan(kCaptureRun));
  if (state == RunState::kPaused) session.Commit(session.Plan(kCapturePause));
  EXPECT_EQ(session.State(), state);
  return session;
}

TEST(CaptureSession, RequestedStateFromEachState) {
  struct Case {
    CaptureKind kind;
    RunState from;
    uint32_t state;
    SessionAction action;
  };
  const CaptureKind rec = CaptureKind::kRecord, play = CaptureKind::kPlayback,
                    shift = CaptureKind::kTimeShift;
  const RunState stopped = RunState::kStopped, running = RunState::kRunning,
                 paused = RunState::kPaused;
  const Case cases[] = {
      {rec, stopped, kCaptureStop, A::kNone},      {rec, stopped, kCaptureRun, A::kStart},
      {rec, stopped, kCaptureContinue, A::kStart}, {rec, stopped, kCapturePause, A::kNotNow},
      {rec, running, kCaptureRun, A::kNone},       {rec, running, kCapturePause, A::kNotNow},
      {rec, running, kCaptureContinue, A::kNone},  {rec, running, kCaptureStop, A::kStop},
      {play, running, kCapturePause, A::kPause},   {play, paused, kCapturePause, A::kNone},
      {play, paused, kCaptureRun, A::kResume},     {play, paused, kCaptureContinue, A::kResume},
      {shift, paused, kCaptureStop, A::kStop},     {shift, running, 4, A::kBadValue},
      {shift, stopped, 0xFFFFFFFFu, A::kBadValue},
  };
  for (const Case& c : cases) {
    const CaptureSession session = SessionIn(c.kind, c.from);
    EXPECT_EQ(session.Plan(c.state), c.action) << "kind " << static_cast<int>(c.kind) << " from "
                                               << static_cast<int>(c.from) << " state " << c.state;
  }
}

TEST(CaptureSession, StartNeedsAFileAndForWritingASize) {
  CaptureSession record(1, CaptureKind::kRecord);
  EXPECT_EQ(record.Plan(kCaptureRun), A::kNotNow);
  record.SetFile("a.mpg");
  EXPECT_EQ(record.Plan(kCaptureRun), A::kNotNow) << "no size limit yet";
  record.SetBufferBytes(1);
  EXPECT_EQ(record.Plan(kCaptureRun), A::kStart);

  CaptureSession playback(2, CaptureKind::kPlayback);
  playback.SetFile("a.mpg");
  EXPECT_EQ(playback.Plan(kCaptureRun), A::kStart) << "a playback reads, its size is the file's";
}

TEST(CaptureSession, NewFileWhileRunningWaitsForContinue) {
  for (RunState from : {RunState::kRunning, RunState::kPaused}) {
    CaptureSession session = SessionIn(CaptureKind::kPlayback, from);
    session.SetFile("C:\\rec\\a_(2).mpg");
    EXPECT_TRUE(session.FilePending());
    EXPECT_EQ(session.Plan(kCaptureRun), from == RunState::kPaused ? A::kResume : A::kNone)
        << "run alone does not change files";
    ASSERT_EQ(session.Plan(kCaptureContinue), A::kSwitchFile);
    session.Commit(A::kSwitchFile);
    EXPECT_FALSE(session.FilePending());
    EXPECT_EQ(session.State(), RunState::kRunning);
    EXPECT_EQ(session.File(), "C:\\rec\\a_(2).mpg");
  }
  // A file set while stopped is simply the file of the next start.
  CaptureSession stopped(3, CaptureKind::kRecord);
  stopped.SetFile("b.mpg");
  EXPECT_FALSE(stopped.FilePending());
}

TEST(CaptureSession, StopForgetsAPendingFile) {
  CaptureSession session = SessionIn(CaptureKind::kRecord, RunState::kRunning);
  session.SetFile("c.mpg");
  session.Commit(session.Plan(kCaptureStop));
  EXPECT_FALSE(session.FilePending());
  EXPECT_EQ(session.Plan(kCaptureContinue), A::kStart);
}

}  // namespace
}  // namespace virtualboard

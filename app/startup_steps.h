#pragma once
// The order of the start-up continuation and what each step's result leads
// to: the next step, a message and the shutdown, or a quiet stop.

namespace brontel {

enum class StartupStep {
  kDirectX,      // result: the DirectX level found
  kOverlayTest,  // result: 1 (the test cannot fail)
  kCreateBoard,  // result: CreateBoard's 0, 1 or 2
  kBoardStart,   // result: 1 when the board reports an audio device
  kTrayIcon,     // result: 1 when the icon was added
  kVideoWindow,  // result: 1 when the video window and the picture run
};

enum class StartupNext {
  kNextStep,
  kFail,  // show `messageId` (caption 107, stop icon), then shut down
  kStop,  // the shutdown has begun: nothing further runs
  kDone,  // the program runs
};

struct StartupVerdict {
  StartupNext next = StartupNext::kNextStep;
  int messageId = 0;
};

// What follows `step` with `result`. Once the shutdown has begun (a message
// box or a dialog of an earlier step let the user leave) nothing further
// runs, so that no board is opened or picture started behind a closing
// program.
StartupVerdict AfterStartupStep(StartupStep step, long result, bool shuttingDown);

}  // namespace brontel

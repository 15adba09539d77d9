#include "app/startup_steps.h"

#include <gtest/gtest.h>

#include "lang/resource_ids.h"

namespace brontel {
namespace {

TEST(StartupSteps, EachResultLeadsOnOrToItsMessage) {
  using S = StartupStep;
  using N = StartupNext;
  const struct {
    StartupStep step;
    long result;
    StartupNext next;
    int messageId;
  } cases[] = {
      {S::kDirectX, 0x800, N::kNextStep, 0},
      {S::kDirectX, 0x700, N::kFail, IDS_ERR_DIRECTX},
      {S::kDirectX, 0, N::kFail, IDS_ERR_DIRECTX},
      {S::kOverlayTest, 1, N::kNextStep, 0},
      {S::kCreateBoard, 0, N::kNextStep, 0},
      {S::kCreateBoard, 1, N::kFail, IDS_ERR_APIMGR_MISSING},
      {S::kCreateBoard, 2, N::kFail, IDS_ERR_APIMGR_FAILED},
      {S::kBoardStart, 1, N::kNextStep, 0},
      {S::kBoardStart, 0, N::kFail, IDS_ERR_BOARD_START},
      // Without a tray icon the program still gets its picture and panel.
      {S::kTrayIcon, 1, N::kNextStep, 0},
      {S::kTrayIcon, 0, N::kNextStep, 0},
      {S::kVideoWindow, 1, N::kDone, 0},
      {S::kVideoWindow, 0, N::kFail, IDS_ERR_VIDEO_START},
  };
  for (const auto& c : cases) {
    const StartupVerdict verdict = AfterStartupStep(c.step, c.result, false);
    EXPECT_EQ(verdict.next, c.next) << static_cast<int>(c.step) << " " << c.result;
    EXPECT_EQ(verdict.messageId, c.messageId) << static_cast<int>(c.step) << " " << c.result;
  }
}

TEST(StartupSteps, NothingRunsOnceTheShutdownHasBegun) {
  for (StartupStep step :
       {StartupStep::kDirectX, StartupStep::kOverlayTest, StartupStep::kCreateBoard,
        StartupStep::kBoardStart, StartupStep::kTrayIcon, StartupStep::kVideoWindow}) {
    for (long result : {0L, 1L, 0x800L}) {
      const StartupVerdict verdict = AfterStartupStep(step, result, true);
      EXPECT_EQ(verdict.next, StartupNext::kStop) << static_cast<int>(step) << " " << result;
      EXPECT_EQ(verdict.messageId, 0);
    }
  }
}

}  // namespace
}  // namespace brontel

#include "app/startup_steps.h"

#include "app/directx_probe.h"
#include "lang/resource_ids.h"
#include "tv/board_logic.h"

namespace brontel {
namespace {

StartupVerdict Fail(int messageId) {
  return StartupVerdict{StartupNext::kFail, messageId};
}

}  // namespace

StartupVerdict AfterStartupStep(StartupStep step, long result, bool shuttingDown) {
  if (shuttingDown) return StartupVerdict{StartupNext::kStop, 0};
  switch (step) {
    case StartupStep::kDirectX:
      if (result != static_cast<long>(kRequiredDirectXLevel)) return Fail(IDS_ERR_DIRECTX);
      break;
    case StartupStep::kOverlayTest:
      break;
    case StartupStep::kCreateBoard:
      if (result == kBoardClassMissing) return Fail(IDS_ERR_APIMGR_MISSING);
      if (result != kBoardCreated) return Fail(IDS_ERR_APIMGR_FAILED);
      break;
    case StartupStep::kBoardStart:
      if (result == 0) return Fail(IDS_ERR_BOARD_START);
      break;
    case StartupStep::kTrayIcon:
      // The panel works without a tray icon; only minimising to the tray
      // loses its way back, so the start goes on.
      break;
    case StartupStep::kVideoWindow:
      if (result == 0) return Fail(IDS_ERR_VIDEO_START);
      return StartupVerdict{StartupNext::kDone, 0};
  }
  return StartupVerdict{};
}

}  // namespace brontel

// Recording, time shift and playback as the panel reaches them. The recorder
// itself is a later part of the program; until it exists these operations
// leave the board and the live picture untouched.

#include "app/brontel_dlg.h"

namespace brontel {
namespace {

// Recording quality: 0 Long, 1 Normal, 2 High, 3 Custom.
constexpr std::int32_t kRecordModeCount = 4;

}  // namespace

bool CBrontelDlg::StartCapture(std::int32_t, bool) {
  return false;
}

void CBrontelDlg::StopMedia() {}

void CBrontelDlg::TimeShiftButton() {
  if (lRunMode != 0) {
    StopMedia();
  } else {
    StartCapture(kCaptureTimeShift, false);
  }
}

void CBrontelDlg::OpenPlayback() {}

void CBrontelDlg::TogglePause() {}

void CBrontelDlg::SeekMedia(std::int32_t) {}

void CBrontelDlg::CycleRecordMode() {
  std::int32_t& mode = m_settings.appSet.cmCurrRecMode;
  mode = mode < 0 || mode >= kRecordModeCount - 1 ? 0 : mode + 1;
  RefreshPanel();
}

void CBrontelDlg::OpenSettingsSheet() {}

void CBrontelDlg::TakeSnapshot() {}

}  // namespace brontel

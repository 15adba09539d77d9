// The main dialog's side of the video window: full screen, the
// picture-in-picture window, whose sound is heard, and the size presets.

#include "app/brontel_dlg.h"

namespace brontel {

bool CBrontelDlg::PipPlaybackRuns() const {
  return lRunMode == kRunPlayback && bPlayInPIP;
}

void CBrontelDlg::SetFullScreen(bool on) {
  if (m_videoWnd.hwnd() == nullptr) return;
  if (on) {
    m_videoWnd.EnterFullScreen();
    bFullScreen = true;
    return;
  }
  m_videoWnd.LeaveFullScreen(m_settings.appSet.AlwaysOnTop != 0);
  bFullScreen = false;
  RefreshVideo();
}

void CBrontelDlg::ToggleFullScreenFromPanel() {
  if (m_videoWnd.hwnd() == nullptr || m_settings.appSet.msCurrSrc == kSourceRadio) return;
  if (!bFullScreen) {
    SetFullScreen(true);
    return;
  }
  SetFullScreen(false);
  m_videoWnd.ShowPip(false, POINT{});
  if (PipPlaybackRuns()) m_board.SetSound(kSoundMainOverPip);
}

void CBrontelDlg::OnVideoDoubleClick() {
  if (!bFullScreen) {
    SetFullScreen(true);
    return;
  }
  SetFullScreen(false);
  m_videoWnd.ShowPip(false, POINT{});
}

void CBrontelDlg::RefreshVideo() {
  // Until the board has made its picture window there is nothing to fit,
  // and asking would only raise the board error during start-up.
  if (!bVideoWndExists) return;
  m_board.RefreshVideo();
}

void CBrontelDlg::TogglePip(POINT point) {
  if (!bFullScreen || !PipPlaybackRuns()) return;
  m_videoWnd.ShowPip(!m_videoWnd.pipVisible(), point);
  RefreshVideo();
  m_board.SetSound(kSoundMainOverPip);
}

void CBrontelDlg::OnVideoRightPress(POINT screen) {
  if (!PipPlaybackRuns()) return;
  if (bFullScreen) {
    TogglePip(screen);
  } else {
    m_board.SetSound(kSoundMainOverPip);
  }
}

void CBrontelDlg::OnPicturePress(bool pip) {
  if (PipPlaybackRuns()) m_board.SetSound(pip ? kSoundPip : kSoundMainOverPip);
}

void CBrontelDlg::ApplyVideoSizePreset(int preset) {
  if (m_videoWnd.hwnd() == nullptr) return;
  // A preset is a window size: it takes the window out of full screen.
  if (bFullScreen) {
    SetFullScreen(false);
    m_videoWnd.ShowPip(false, POINT{});
  }
  m_videoWnd.ApplySizePreset(preset);
}

}  // namespace brontel

// The panel's commands: skin events, classic buttons and menu commands all
// end in DoPanelAction; what the panel shows is refreshed from the state.

#include <cstdlib>

#include "app/brontel_dlg.h"
#include "win32/resource_module.h"
#include "lang/resource_ids.h"

namespace brontel {

panel::PanelState CBrontelDlg::MakePanelState() const {
  panel::PanelState state;
  state.lRunMode = lRunMode;
  state.msCurrSrc = m_settings.appSet.msCurrSrc;
  state.overlayMode = overlayMode;
  state.reservationAvailable = m_powerLibrary.complete();
  return state;
}

panel::CommandContext CBrontelDlg::MakeCommandContext() const {
  panel::CommandContext context;
  context.states = panel::GetActionStates(MakePanelState());
  context.lRunMode = lRunMode;
  context.msCurrSrc = m_settings.appSet.msCurrSrc;
  context.lastRecordingName = szRecFile;
  context.videoPresetMask = m_videoWnd.PresetMask();
  return context;
}

void CBrontelDlg::OnSkinEvent(const std::string& codeText) {
  const std::optional<std::int32_t> code = panel::ParseActionCodeText(codeText);
  if (code) DoPanelAction(*code);
}

void CBrontelDlg::DoPanelAction(std::int32_t code) {
  const panel::PanelActionResult result = panel::DecidePanelAction(code, &gates);
  RunPanelOp(result.op);
  if (result.refresh && gates.bActionAllowed) RefreshPanel();
}

void CBrontelDlg::RunPanelOp(panel::PanelOp op) {
  using panel::PanelOp;
  switch (op) {
    case PanelOp::kStopVolumeRepeat:
      for (unsigned id : {kTimerVolumeUpHold, kTimerVolumeDownHold, kTimerVolumeUpRepeat,
                          kTimerVolumeDownRepeat}) {
        KillTimer(m_hwnd, id);
      }
      break;
    case PanelOp::kNextSource:
      m_board.NextSource();
      break;
    case PanelOp::kNextSoundMode:
      m_board.NextAudioMode();
      break;
    case PanelOp::kChannelUp:
      m_board.ChannelStep(true);
      break;
    case PanelOp::kChannelDown:
      m_board.ChannelStep(false);
      break;
    case PanelOp::kVolumeUpStep:
      KillTimer(m_hwnd, kTimerVolumeUpHold);
      KillTimer(m_hwnd, kTimerVolumeUpRepeat);
      m_board.VolumeUp();
      break;
    case PanelOp::kVolumeDownStep:
      KillTimer(m_hwnd, kTimerVolumeDownHold);
      KillTimer(m_hwnd, kTimerVolumeDownRepeat);
      m_board.VolumeDown();
      break;
    case PanelOp::kStartVolumeUpHold:
      SetTimer(m_hwnd, kTimerVolumeUpHold, panel::kVolumeHoldMs, nullptr);
      break;
    case PanelOp::kStartVolumeDownHold:
      SetTimer(m_hwnd, kTimerVolumeDownHold, panel::kVolumeHoldMs, nullptr);
      break;
    case PanelOp::kToggleSound:
      m_board.ToggleSound();
      break;
    case PanelOp::kToggleFullScreen:
      ToggleFullScreenFromPanel();
      break;
    case PanelOp::kExit:
      if (!bShuttingDown) StartShutdown();
      break;
    case PanelOp::kMinimiseToTray:
      MinimisePanelToTray();
      break;
    case PanelOp::kTimeShift:
      TimeShiftButton();
      break;
    case PanelOp::kSkipBack:
      SeekMedia(panel::kCodeSkipBack);
      break;
    case PanelOp::kRewind:
      SeekMedia(panel::kCodeRewind);
      break;
    case PanelOp::kFastForward:
      SeekMedia(panel::kCodeFastForward);
      break;
    case PanelOp::kSkipForward:
      SeekMedia(panel::kCodeSkipForward);
      break;
    case PanelOp::kPlay:
      OpenPlayback();
      break;
    case PanelOp::kPause:
      TogglePause();
      break;
    case PanelOp::kRecord:
      StartCapture(kCaptureRecord, false);
      break;
    case PanelOp::kStop:
      StopMedia();
      break;
    case PanelOp::kNextRecQuality:
      CycleRecordMode();
      break;
    case PanelOp::kReservationMode:
      HandOverToPowerManager();
      break;
    case PanelOp::kOpenSettings:
      OpenSettingsSheet();
      break;
    case PanelOp::kSnapshot:
      TakeSnapshotToFile();
      break;
    case PanelOp::kNone:
      break;
  }
}

void CBrontelDlg::OnCommand(UINT id) {
  const panel::CommandRoute route = panel::RouteCommand(static_cast<int>(id), MakeCommandContext());
  // Until the picture runs there is no board to act on: a board key pressed
  // while the splash shows would raise the board error and move the channel
  // list away from the one the start is about to tune. Leaving, minimising,
  // the volume and the sound need no board and run at once.
  if (!bVideoWndExists && panel::WaitsForPicture(route)) return;
  if (route.setActionAllowed) gates.bActionAllowed = 1;
  switch (route.kind) {
    case panel::CommandKind::kNotOurs:
    case panel::CommandKind::kNothing:
      break;
    case panel::CommandKind::kAction:
      DoPanelAction(route.actionCode);
      break;
    case panel::CommandKind::kMenuSoundToggle: {
      std::int32_t& on = m_settings.appSet.bAudioOn;
      on = on ? 0 : 1;
      m_board.SetSound(on ? kSoundOn : kSoundMute);
      break;
    }
    case panel::CommandKind::kPreviousChannel:
      if (m_board.Lists().ReturnToPrevious(m_settings.appSet.msCurrSrc) > 0) {
        m_board.TuneCurrentEntry();
      }
      break;
    case panel::CommandKind::kDigit:
      RunDigitStep(m_digits.OnDigit(route.arg));
      break;
    case panel::CommandKind::kDigitEntryKey: {
      const std::int32_t source = m_settings.appSet.msCurrSrc;
      RunDigitStep(m_digits.OnEntryKey(source == kSourceTv || source == kSourceRadio));
      break;
    }
    case panel::CommandKind::kRestoreFromTray:
      ShowWindow(m_hwnd, SW_RESTORE);
      break;
    case panel::CommandKind::kPlayLastRecording:
      // Where the user plays recordings: in the picture-in-picture window
      // when that is the choice; the radio's play through the player.
      StartPlayback(szRecFile, m_settings.appSet.msCurrSrc != kSourceRadio &&
                                   m_settings.appSet.bPlaybackInPIP != 0);
      break;
    case panel::CommandKind::kVideoSizePreset:
      ApplyVideoSizePreset(route.arg);
      break;
    case panel::CommandKind::kTogglePip:
      // The key shows the window where it was last shown.
      TogglePip(m_videoWnd.pipPoint());
      break;
  }
  if (route.refreshAfter) RefreshPanel();
}

void CBrontelDlg::RunDigitStep(const panel::DigitEntry::Step& step) {
  switch (step.timer) {
    case panel::DigitEntry::Timer::kRestart:
      SetTimer(m_hwnd, kTimerDigitEntry, panel::kDigitEntryMs, nullptr);
      break;
    case panel::DigitEntry::Timer::kStop:
      KillTimer(m_hwnd, kTimerDigitEntry);
      break;
    case panel::DigitEntry::Timer::kLeave:
      break;
  }
  if (step.select && m_board.SelectChannelNumber(step.number)) RefreshPanel();
}

void CBrontelDlg::RefreshPanel() {
  if (!m_panel.IsBound()) return;
  panel::PanelView view;
  view.state = MakePanelState();
  view.sourceChangePending = m_board.SourcePending();
  view.pendingSource = m_board.PendingSource();
  view.amCurrAudioMode = m_settings.appSet.amCurrAudioMode;
  view.cmCurrRecMode = m_settings.appSet.cmCurrRecMode;
  view.bAudioOn = m_settings.appSet.bAudioOn != 0;
  const std::optional<ListEntry> entry =
      const_cast<CBoardClient&>(m_board).Lists().CurrentEntry(m_settings.appSet.msCurrSrc);
  if (entry) {
    view.channel.exists = true;
    view.channel.number = entry->number;
    view.channel.name = entry->name;
  }
  m_panel.Refresh(view);
}

void CBrontelDlg::ShowBoardError() {
  ShowResMessage(m_hwnd, IDS_ERR_BOARD, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

void CBrontelDlg::ShowVolume(std::int32_t step) {
  m_panel.ShowVolume(static_cast<int>(step));
}

void CBrontelDlg::ShowAudioMode(std::int32_t) {
  RefreshPanel();
}

void CBrontelDlg::ShowChannelTexts(const std::string& name, const std::string& number) {
  m_panel.SetLabel(IDC_LABEL_CHN_NAME, name);
  m_panel.SetLabel(IDC_LABEL_CHN_NUM, number);
}

void CBrontelDlg::ShowPendingSource(std::int32_t) {
  RefreshPanel();
}

}  // namespace brontel

// Recording, time shift, playback and snapshots as the panel and the
// scheduler reach them. The rules live in app/recording; this file gathers
// the settings and the board's positions and applies the decisions.

#include "app/brontel_dlg.h"

#include <algorithm>
#include <cstdint>

#include "app/file_dialog_ex.h"
#include "app/recording/disk_checks_win.h"
#include "app/recording/disk_space.h"
#include "app/recording/media_seek.h"
#include "app/recording/part_files.h"
#include "app/recording/record_names.h"
#include "app/recording/record_profiles.h"
#include "app/recording/snapshot_names.h"
#include "win32/resource_module.h"
#include "app/scheduler/schedule_times.h"
#include "app/settings/settings_values.h"
#include "lang/resource_ids.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

using recording::CaptureTimes;

constexpr UINT kMediaSupervisionMs = 1000;
constexpr UINT kRadioPositionMs = 500;
// The board needs this long after a stop, and between a part change and a
// renewed pause.
constexpr DWORD kMediaSettleMs = 500;
constexpr LONG kNeutralAudioLevel = 50;
constexpr LONG kMillisecondsPerSecond = 1000;

// Message strings.
constexpr UINT kStringFolderMissing = 278;
constexpr UINT kStringDiskFull = 277;
constexpr UINT kStringNoticeCaption = 197;
constexpr UINT kStringOpenTitle = 267;
constexpr UINT kStringMpegFilter = 273;
constexpr UINT kStringWmaFilter = 281;
constexpr UINT kStringPipCheckBox = 320;

// SetCaptureAudioMode of a played-back bilingual file.
constexpr LONG kPlaybackSoundA = 1;
constexpr LONG kPlaybackSoundB = 0;
constexpr LONG kPlaybackSoundAB = 2;

std::string ResText(UINT id) {
  return Narrow(LoadResString(id));
}

std::optional<recording::DateOrder> ReadDateOrder() {
  wchar_t value[8] = {};
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDATE, value, 8) == 0) return std::nullopt;
  return recording::ParseDateOrder(Narrow(value));
}

recording::LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool CBrontelDlg::StartCapture(std::int32_t kind, bool scheduled) {
  if (lRunMode != kRunLive && lRunMode != kRunSchedulePrepared) return false;
  const CaptSetGroup& capt = m_settings.captSet;
  const AppSetGroup& app = m_settings.appSet;
  const bool timeShift = kind == kCaptureTimeShift;
  const std::string& folder = timeShift ? capt.szTimeShiftDestDir : capt.szRecDestDir;
  if (!RecordFolderExists(folder)) {
    ShowResMessage(m_hwnd, kStringFolderMissing, IDS_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!recording::EnoughFreeSpace(GetFreeBytes(capt.szRecDestDir))) {
    StopMedia();
    RefreshPanel();
    ShowResMessage(m_hwnd, kStringDiskFull, kStringNoticeCaption, MB_OK | MB_ICONINFORMATION);
    return false;
  }

  const std::int32_t source = app.msCurrSrc;
  const bool radio = source == kSourceRadio;
  std::string path;
  EncoderParams params;
  recording::RecordNames names;
  if (timeShift) {
    path = recording::TimeShiftPath(folder, ResText(recording::kStringTimeShiftName));
    params = recording::StoredOrNormalRecord(capt.TS_spc);
  } else {
    const std::optional<recording::DateOrder> order = ReadDateOrder();
    if (!order) return false;
    recording::ProfileInput profileInput;
    profileInput.source = source;
    profileInput.cmCurrRecMode = app.cmCurrRecMode;
    profileInput.recSpc = capt.Rec_spc;
    profileInput.hasAviCapture = app.bHasAVICapt != 0;
    const std::optional<recording::RecordProfile> profile =
        recording::ChooseRecordProfile(profileInput);
    if (!profile) return false;
    params = profile->params;
    recording::RecordNameInput input;
    input.format = ResText(recording::RecordNameFormatId(source, scheduled));
    // Without its name format the language library would give a nameless file.
    if (input.format.empty()) return false;
    input.folder = folder;
    input.source = source;
    input.scheduled = scheduled;
    input.multiPart =
        (capt.bMultiple && !scheduled) || (scheduled && ActiveScheItem.bMultipleCapture);
    input.tag = profile->tag;
    const std::optional<ListEntry> entry = m_board.Lists().CurrentEntry(source);
    input.channel = entry ? entry->number : 0;
    input.scheduleDesc = ActiveScheItem.szScheDesc;
    input.time = Now();
    input.order = *order;
    lPartNo = 1;
    names = recording::MakeRecordNames(input);
    path = names.path;
  }

  m_board.SelectAudioInput(capt.szAudioDevice, capt.szAudioInputSrc);
  hCapture = 0;
  const auto abandon = [this]() {
    m_board.CloseCapture(hCapture);
    hCapture = 0;
    return false;
  };
  if (!m_board.OpenCapture(timeShift ? kCaptureKindTimeShift : kCaptureKindRecord,
                           timeShift ? PipWindow() : nullptr, &hCapture)) {
    return abandon();
  }
  if (!m_board.SetCaptureFile(hCapture, path) || !m_board.SetEncoderParams(hCapture, params)) {
    return abandon();
  }
  recording::BufferSizeInput size;
  size.timeShift = timeShift;
  size.lTSBufferSizeMB = capt.lTSBufferSizeMB;
  size.usableBytes = timeShift ? 0 : GetUsableRecordBytes(capt.szRecDestDir);
  size.ntfs = timeShift || IsNtfsVolume(capt.szRecDestDir);
  size.scheduled = scheduled;
  size.Rec_clt = capt.Rec_clt;
  size.lRecSizeLimitMB = capt.lRecSizeLimitMB;
  size.split = {ActiveScheItem.bMultipleCapture != 0, ActiveScheItem.ScheMultRec_clt,
                ActiveScheItem.lScheMultRecTimeLimitSec, ActiveScheItem.lScheMultRecSizeLimitMB};
  if (!m_board.SetBufferSize(hCapture, recording::BufferSizeMB(size))) return abandon();
  if (!m_board.SetCaptureState(hCapture, kCaptureRun)) return abandon();

  bPlayInPIP = false;
  bPaused = false;
  bAtEnd = false;
  if (timeShift) {
    lRunMode = kRunTimeShift;
    bMultiPart = false;
    m_board.SetSound(kSoundTimeShift);
  } else {
    lRunMode = kRunRecording;
    bMultiPart = capt.Rec_clt != recording::kLimitNone && capt.bMultiple != 0;
    szRecFile = path;
    szPartTemplate = names.partTemplate;
    bAviRecording = names.avi;
    m_board.SetSound(kSoundOn);
    m_sizeWatch.Stop(false);
    if (bAviRecording) {
      m_sizeWatch.Start(
          m_hwnd, szRecFile,
          static_cast<std::int64_t>(capt.lRecSizeLimitMB) * recording::kBytesPerMegabyte);
    }
    if (radio) {
      const std::int64_t usableMB = std::max<std::int64_t>(size.usableBytes, 0) >> 20;
      lElapsedSec = 0;
      lEstimatedSec = recording::RadioEstimateSec(
          capt.Rec_clt, capt.lRecTimeLimitSec, capt.lRecSizeLimitMB,
          static_cast<std::int32_t>(std::min<std::int64_t>(usableMB, INT32_MAX)));
    } else if (bAviRecording) {
      lElapsedSec = 0;
      lEstimatedSec = recording::AviEstimateSec(capt.lRecSizeLimitMB);
    }
  }
  SetTimer(m_hwnd, kTimerRecordStatus, kMediaSupervisionMs, nullptr);
  return true;
}

void CBrontelDlg::StopMedia() {
  if (lRunMode == kRunLive || m_stoppingMedia) return;
  m_stoppingMedia = true;
  // A prepared entry is given up: that occurrence is not prepared again.
  if (lRunMode == kRunSchedulePrepared) CancelSchePreparation();
  if (RadioPlaybackRuns()) {
    StopRadio();
    KillTimer(m_hwnd, kTimerRadioPosition);
  } else {
    m_board.SetCaptureState(hCapture, kCaptureStop);
    m_board.CloseCapture(hCapture);
  }
  hCapture = 0;
  Sleep(kMediaSettleMs);
  bScheRecording = 0;
  lRunMode = kRunLive;
  m_board.SetSound(m_settings.appSet.bAudioOn ? kSoundOn : kSoundMute);
  m_board.SetAudioLevel(kNeutralAudioLevel);
  bPaused = false;
  bAtEnd = false;
  // Otherwise the next snapshot would still see a picture-in-picture file.
  bPlayInPIP = false;
  KillTimer(m_hwnd, kTimerRecordStatus);
  ShowMediaTime(panel::kAreaElapsed, false, panel::kKindRecord, 0);
  ShowMediaTime(panel::kAreaRemaining, false, panel::kKindRecord, 0);
  m_sizeWatch.Stop(m_inSizeWatchMessage);
  m_stoppingMedia = false;
}

void CBrontelDlg::OnStopMediaMessage(WPARAM sender) {
  if (m_stoppingMedia) return;
  m_inSizeWatchMessage = sender == kStopFromSizeWatch;
  StopMedia();
  m_inSizeWatchMessage = false;
  RefreshPanel();
}

void CBrontelDlg::TimeShiftButton() {
  if (lRunMode != kRunLive) {
    StopMedia();
  } else {
    StartCapture(kCaptureTimeShift, false);
  }
}

bool CBrontelDlg::RadioPlaybackRuns() const {
  return lRunMode == kRunPlayback && m_settings.appSet.msCurrSrc == kSourceRadio;
}

void CBrontelDlg::OpenPlayback() {
  if (lRunMode != kRunLive) {
    // Resuming belongs to a playback or the time shift; a recording has
    // nothing to play.
    if (lRunMode != kRunPlayback && lRunMode != kRunTimeShift) return;
    if (!RadioPlaybackRuns()) {
      if (bAtEnd) SeekMedia(recording::kSeekStart);
      m_board.SetCaptureState(hCapture, kCaptureRun);
    } else {
      PlayRadio();
    }
    bAtEnd = false;
    bPaused = false;
    return;
  }
  const bool radio = m_settings.appSet.msCurrSrc == kSourceRadio;
  const std::wstring filter = radio ? LoadResString(kStringWmaFilter) + L" (.wma)|*.wma||"
                                    : LoadResString(kStringMpegFilter) + L" (.mpg)|*.mpg||";
  CFileDialogEx dialog(LoadResString(kStringOpenTitle), filter, LoadResString(kStringPipCheckBox),
                       m_settings.appSet.bPlaybackInPIP != 0, !radio);
  if (!dialog.DoModal(m_hwnd)) return;
  StartPlayback(Narrow(dialog.path()), dialog.checked());
}

bool CBrontelDlg::StartPlayback(const std::string& path, bool inPIP) {
  if (path.empty() || lRunMode != kRunLive) return false;
  const bool radio = m_settings.appSet.msCurrSrc == kSourceRadio;
  if (radio) {
    if (!StartRadioPlayback(path)) return false;
    SetTimer(m_hwnd, kTimerRadioPosition, kRadioPositionMs, nullptr);
  } else {
    hCapture = 0;
    if (!m_board.OpenCapture(kCaptureKindPlayback, inPIP ? PipWindow() : nullptr, &hCapture) ||
        !m_board.SetCaptureFile(hCapture, path) ||
        !m_board.SetCaptureState(hCapture, kCaptureRun)) {
      m_board.CloseCapture(hCapture);
      hCapture = 0;
      StopMedia();
      return false;
    }
    SetTimer(m_hwnd, kTimerRecordStatus, kMediaSupervisionMs, nullptr);
  }
  const recording::PlaybackParts parts = recording::ParsePlaybackParts(path);
  if (parts.partNo != 0) {
    szPartTemplate = parts.partTemplate;
    lPartNo = parts.partNo;
    lFirstPartNo = parts.partNo;
    lEndPartNo = recording::FindEndPart(szPartTemplate, lPartNo, FileExists);
    bMultiPart = lEndPartNo > lPartNo;
  } else {
    bMultiPart = false;
  }
  lRunMode = kRunPlayback;
  bAtEnd = false;
  bPaused = false;
  lElapsedSec = 0;
  lRemainSec = 0;
  m_board.SetAudioModeValue(radio ? kAudioStereo : kAudioAB);
  bPlayInPIP = inPIP;
  m_board.SetSound(inPIP ? kSoundMainOverPip : m_settings.appSet.bAudioOn ? kSoundOn : kSoundMute);
  return true;
}

bool CBrontelDlg::StepPlaybackPart(bool forward) {
  const std::int32_t number = recording::StepPartNumber(lPartNo, forward, lFirstPartNo);
  const std::string file = recording::PlaybackPartPath(szPartTemplate, number);
  if (!FileExists(file)) return false;
  if (RadioPlaybackRuns() ? !OpenRadioFile(file) : !m_board.SetCaptureFile(hCapture, file)) {
    return false;
  }
  lPartNo = number;
  return true;
}

void CBrontelDlg::TogglePause() {
  if (bPaused) {
    OpenPlayback();
  } else {
    PauseMedia();
  }
}

void CBrontelDlg::PauseMedia() {
  if (lRunMode != kRunPlayback && lRunMode != kRunTimeShift) return;
  if (RadioPlaybackRuns()) {
    PauseRadio();
  } else if (!m_board.SetCaptureState(hCapture, kCapturePause)) {
    return;
  }
  bPaused = true;
}

void CBrontelDlg::SeekMedia(std::int32_t command) {
  if (lRunMode == kRunPlayback) {
    CaptureTimes times;
    if (RadioPlaybackRuns()) {
      times.r1 = lElapsedSec;
      times.r2 = static_cast<std::int64_t>(lElapsedSec) + lRemainSec;
    } else if (!ReadCaptureTimes(&times)) {
      return;
    }
    const recording::PlaybackSeek seek =
        recording::PlaybackSeekTarget(command, times.r1, times.r2, bMultiPart);
    switch (seek.kind) {
      case recording::PlaybackSeek::Kind::kNone:
        return;
      case recording::PlaybackSeek::Kind::kTarget:
        if (RadioPlaybackRuns()) {
          SeekRadio(seek.targetSec);
        } else {
          m_board.SetCapturePosition(hCapture,
                                     static_cast<LONG>(seek.targetSec * kMillisecondsPerSecond));
        }
        bAtEnd = false;
        return;
      case recording::PlaybackSeek::Kind::kPreviousPart:
      case recording::PlaybackSeek::Kind::kNextPart: {
        const bool forward = seek.kind == recording::PlaybackSeek::Kind::kNextPart;
        if (!StepPlaybackPart(forward)) return;
        const bool wasPaused = bPaused;
        if (wasPaused) OpenPlayback();
        if (RadioPlaybackRuns()) {
          PlayRadio();
        } else {
          m_board.SetCaptureState(hCapture, kCaptureContinue);
        }
        bAtEnd = false;
        if (wasPaused) {
          Sleep(kMediaSettleMs);
          PauseMedia();
        }
        return;
      }
    }
    return;
  }
  if (lRunMode == kRunTimeShift) {
    CaptureTimes times;
    if (!ReadCaptureTimes(&times)) return;
    const recording::TimeShiftSeek seek =
        recording::TimeShiftSeekTarget(command, recording::TimeShiftPositionOf(times));
    if (!seek.valid) return;
    if (m_board.SetCapturePosition(hCapture,
                                   static_cast<LONG>(seek.targetSec * kMillisecondsPerSecond))) {
      bAtEnd = false;
    }
  }
}

void CBrontelDlg::NextRecordPart() {
  ++lPartNo;
  const std::string file = recording::RecordPartPath(szPartTemplate, lPartNo);
  if (m_board.SetCaptureFile(hCapture, file)) szRecFile = file;
}

void CBrontelDlg::CycleRecordMode() {
  std::int32_t& mode = m_settings.appSet.cmCurrRecMode;
  mode = recording::NextRecordMode(mode);
  RefreshPanel();
}

bool CBrontelDlg::ReadCaptureTimes(CaptureTimes* times) {
  LONG values[4] = {};
  if (!m_board.GetCaptureValues(hCapture, values)) return false;
  times->r1 = values[0] / kMillisecondsPerSecond;
  times->r2 = values[1] / kMillisecondsPerSecond;
  times->r3 = values[2] / kMillisecondsPerSecond;
  times->r4 = values[3] / kMillisecondsPerSecond;
  return true;
}

std::int64_t CBrontelDlg::SecondsToActiveScheStop() const {
  const recording::LocalTime now = Now();
  return SecondsToScheStop(ActiveScheItem, MakeLocalDateTime(now.year, now.month, now.day, now.hour,
                                                             now.minute, now.second));
}

void CBrontelDlg::ShowMediaTime(int area, bool visible, int kind, std::int64_t seconds) {
  const bool showPart = (bScheRecording && ActiveScheItem.bMultipleCapture) ||
                        ((lRunMode == kRunRecording || lRunMode == kRunPlayback) && bMultiPart);
  m_panel.ShowTime(panel::PlanShowTime(area, visible, kind, seconds, showPart, lPartNo));
}

void CBrontelDlg::SuperviseMedia() {
  if (lRunMode == kRunLive || lRunMode == kRunSchedulePrepared) return;
  if (RadioPlaybackRuns()) return;  // the media player's own tick shows it
  CaptureTimes times;
  // Without positions nothing can be judged: a tick that could not read
  // them must not end a recording that runs.
  if (!ReadCaptureTimes(&times)) return;
  const CaptSetGroup& capt = m_settings.captSet;

  if (lRunMode == kRunRecording) {
    recording::RecordTickInput input;
    input.radio = m_settings.appSet.msCurrSrc == kSourceRadio;
    input.avi = bAviRecording;
    input.scheduled = bScheRecording != 0;
    if (input.scheduled) input.secondsToScheStop = SecondsToActiveScheStop();
    input.split = {ActiveScheItem.bMultipleCapture != 0, ActiveScheItem.ScheMultRec_clt,
                   ActiveScheItem.lScheMultRecTimeLimitSec, ActiveScheItem.lScheMultRecSizeLimitMB};
    input.Rec_clt = capt.Rec_clt;
    input.lRecTimeLimitSec = capt.lRecTimeLimitSec;
    input.lRecSizeLimitMB = capt.lRecSizeLimitMB;
    input.bMultiPart = bMultiPart;
    input.lElapsedSec = lElapsedSec;
    input.lEstimatedSec = lEstimatedSec;
    input.times = times;
    if (!m_board.GetCapturePosition(hCapture, &input.bytesWritten)) input.bytesWritten = 0;
    const recording::RecordTick tick = recording::SuperviseRecording(input);
    lElapsedSec = tick.lElapsedSec;
    ShowMediaTime(panel::kAreaElapsed, true, panel::kKindRecord, tick.elapsedSec);
    ShowMediaTime(panel::kAreaRemaining, tick.showRemain, panel::kKindRecord, tick.remainSec);
    if (tick.action == recording::RecordAction::kNextPart) {
      NextRecordPart();
      m_board.SetCaptureState(hCapture, kCaptureContinue);
    } else if (tick.action == recording::RecordAction::kStop) {
      StopMedia();
    }
    if (tick.limitReached) RefreshPanel();
    return;
  }

  if (lRunMode == kRunPlayback) {
    ShowMediaTime(panel::kAreaElapsed, true, panel::kKindPlay, times.r1);
    ShowMediaTime(panel::kAreaRemaining, true, panel::kKindPlay, times.r2 - times.r1);
    switch (recording::SupervisePlayback(times, bMultiPart, bAtEnd)) {
      case recording::PlaybackAction::kStepForward:
        if (StepPlaybackPart(true)) {
          m_board.SetCaptureState(hCapture, kCaptureContinue);
        } else {
          bAtEnd = true;
        }
        break;
      case recording::PlaybackAction::kSetAtEnd:
        bAtEnd = true;
        break;
      case recording::PlaybackAction::kClearAtEnd:
        bAtEnd = false;
        break;
      case recording::PlaybackAction::kNone:
        break;
    }
    return;
  }

  if (lRunMode == kRunTimeShift) {
    recording::TimeShiftPosition position = recording::TimeShiftPositionOf(times);
    if (bPaused && recording::MustResumeBeforeOverwrite(position)) {
      OpenPlayback();
      SeekMedia(recording::kSeekStart);
      if (ReadCaptureTimes(&times)) position = recording::TimeShiftPositionOf(times);
    }
    ShowMediaTime(panel::kAreaElapsed, true, panel::kKindDelay, position.delay);
    ShowMediaTime(panel::kAreaRemaining, false, panel::kKindDelay, 0);
  }
}

bool CBrontelDlg::OnMediaTimer(UINT_PTR id) {
  switch (id) {
    case kTimerRecordStatus:
      SuperviseMedia();
      return true;
    case kTimerPlaybackShow:
      KillTimer(m_hwnd, kTimerPlaybackShow);
      ShowMediaTime(panel::kAreaElapsed, true, panel::kKindPlay, lElapsedSec);
      ShowMediaTime(panel::kAreaRemaining, true, panel::kKindPlay, lRemainSec);
      return true;
    case kTimerRadioPosition:
      OnRadioPositionTick();
      return true;
    default:
      return false;
  }
}

void CBrontelDlg::SetRecorderAudioMode(std::int32_t mode) {
  switch (mode) {
    case kAudioA:
      SetCaptureAudioMode(kPlaybackSoundA);
      break;
    case kAudioB:
      SetCaptureAudioMode(kPlaybackSoundB);
      break;
    case kAudioAB:
      SetCaptureAudioMode(kPlaybackSoundAB);
      break;
    default:
      break;
  }
}

void CBrontelDlg::SetCaptureAudioMode(std::int32_t mode) {
  m_board.SetCaptureAudioMode(hCapture, mode);
}

int CBrontelDlg::TakeSnapshotToFile() {
  if (bPlayInPIP) return 0;
  if (!m_board.SnapshotAvailable()) return 0;
  SnapSetGroup& snap = m_settings.snapSet;
  const recording::PictureSize size = recording::SnapshotSize(snap.lCaptDim);
  std::string name;
  if (snap.lFileNameType != 0) {
    const std::optional<recording::DateOrder> order = ReadDateOrder();
    if (!order) return 0;
    name = recording::FormatStrings(ResText(recording::kFormatSnapshotDated),
                                    recording::DateTimeArgs(Now(), *order));
  } else {
    snap.lFileCounter = recording::NextSnapshotCounter(snap.lFileCounter);
    name = recording::FormatStrings(ResText(recording::kFormatSnapshotNumbered),
                                    {recording::SnapshotNumberText(snap.lFileCounter)});
  }
  const std::string path =
      recording::JoinFolder(snap.szDestDir, name + recording::SnapshotExtension(snap.lImageFormat));
  const std::optional<bool> taken =
      m_board.TakeSnapshot(path, size.width, size.height, snap.lImageFormat, snap.lJPGQuality);
  return taken.value_or(false) ? 1 : 0;
}

}  // namespace brontel

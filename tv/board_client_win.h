#pragma once
// The main program's side of every board operation: it holds the board API
// manager object, obtains the interface each operation needs, calls it and
// releases it again. The main dialog owns one and forwards its timers.

#include "win32/windows_include.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apimgr/kx_interfaces.h"
#include "app/settings/app_settings.h"
#include "app/vocabulary/message_ids.h"
#include "app/vocabulary/timer_ids.h"
#include "tv/board_logic.h"
#include "tv/channel_lists.h"
#include "tv/freq_tables.h"
#include "win32/com_ptr.h"

namespace brontel {

// Sound states of SetSound.
enum SoundState : int {
  kSoundMute = 0,
  kSoundOn = 1,
  kSoundMainOverPip = 2,
  kSoundPip = 3,
  kSoundTimeShift = 4,
};

// Audio paths sent to the board.
constexpr LONG kAudioPathLive = 0;
constexpr LONG kAudioPathPlayback = 1;
constexpr LONG kAudioPathMuted = 3;
constexpr LONG kAudioPathTimeShift = 5;

// The open record of OpenCapture: six 32-bit fields in this order.
struct CaptureOpenRecord {
  LONG kind;           // 0 record, 1 play back, 2 time shift
  LONG videoWindow;    // the video window
  LONG overlay;        // the overlay flag in the low byte
  LONG pipWindow;      // the picture-in-picture window for a file played there, else 0
  LONG reserved;       // 0
  LONG captureHandle;  // address where the board returns the capture handle
};
static_assert(sizeof(CaptureOpenRecord) == 24, "six 32-bit fields");

// Kinds of OpenCapture.
constexpr LONG kCaptureKindRecord = 0;
constexpr LONG kCaptureKindPlayback = 1;
constexpr LONG kCaptureKindTimeShift = 2;

// States of SetCaptureState.
constexpr LONG kCaptureStop = 0;
constexpr LONG kCaptureRun = 1;
constexpr LONG kCapturePause = 2;
constexpr LONG kCaptureContinue = 3;

// What the board client needs from the main dialog.
class BoardClientHost {
 public:
  virtual ~BoardClientHost() = default;
  virtual HWND MainWindow() = 0;
  virtual HWND VideoWindow() = 0;
  // The board error: string 181, caption 107, exclamation icon.
  virtual void ShowBoardError() = 0;
  virtual void ShowVolume(std::int32_t step) = 0;
  virtual void ShowAudioMode(std::int32_t mode) = 0;
  virtual void ShowChannelTexts(const std::string& name, const std::string& number) = 0;
  // The source the source button has chosen, before the switch happens.
  virtual void ShowPendingSource(std::int32_t source) = 0;
  // After a deferred source switch.
  virtual void RefreshPanel() = 0;
  virtual bool VideoWindowVisible() = 0;
  // Shows (in full screen when that flag is set) or hides the video window.
  virtual void ShowVideoWindow(bool show) = 0;
  // lRunMode: 0 live, 1 preparing, 2 recording, 3 playback, 4 time shift.
  virtual std::int32_t RunMode() = 0;
  // The sound-mode choice while recording or playing back goes to the recorder.
  virtual void SetRecorderAudioMode(std::int32_t mode) {}
  // SetCaptureAudioMode of the playback, for the picture-in-picture sound.
  virtual void SetCaptureAudioMode(std::int32_t mode) {}
};

class CBoardClient {
 public:
  CBoardClient(CAppSettings& settings, BoardClientHost& host);
  ~CBoardClient();
  CBoardClient(const CBoardClient&) = delete;
  CBoardClient& operator=(const CBoardClient&) = delete;

  // Start-up flags decided by the main dialog.
  bool overlayMode = false;
  bool screenSaverWasActive = false;
  bool bWakeStart = false;

  int CreateBoard();
  // False when the board reports no audio device.
  bool CheckBoardStart();
  bool StartPicture(LONG param);
  void SelectSource(std::int32_t source, bool updateWindow);
  void NextSource();
  void ReselectSource();
  bool TuneChannel(std::int32_t table, std::int32_t channel, bool reselect);
  bool SetFrequency(std::int32_t hertz);
  // Whether the tuner has a signal at the frequency tuned last; false when
  // it cannot tell.
  bool HasSignal();
  void ChannelStep(bool up);
  // Shows and tunes the current list entry of the TV or radio source.
  void TuneCurrentEntry();
  void VolumeUp();
  void VolumeDown();
  void SetSound(int state);
  void ToggleSound();  // the panel's sound button
  void ChooseAudioMode();
  void CheckAudioMode();
  void NextAudioMode();
  void SetAudioModeValue(std::int32_t mode);
  void ApplyColour(std::int32_t source);
  // Sends one set of colour values, as ApplyColour does (the colour page's
  // live preview).
  void SendColour(const InputColour& colour);
  // Exit command, before the shutdown timer: live sound path.
  void QuietForShutdown();
  void CloseBoard();

  // Capture operations of recording, time shift and playback. Each obtains
  // the capture interface for the one call and gives false on any failure;
  // the board refuses every one but OpenCapture while `capture` is 0.
  // OpenCapture writes the new handle through `capture`.
  bool OpenCapture(LONG kind, HWND pipWindow, LONG* capture);
  bool CloseCapture(LONG capture);
  bool SetCaptureState(LONG capture, LONG state);
  // Moves the play position (value id 1) to `milliseconds`.
  bool SetCapturePosition(LONG capture, LONG milliseconds);
  // `path` is UTF-8; the board takes it in the ANSI code page.
  bool SetCaptureFile(LONG capture, const std::string& path);
  bool SetEncoderParams(LONG capture, const EncoderParams& params);
  bool SetBufferSize(LONG capture, LONG megabytes);
  // Play position, end of file, recorded time and capacity in milliseconds.
  bool GetCaptureValues(LONG capture, LONG values[4]);
  // The bytes written so far.
  bool GetCapturePosition(LONG capture, std::int64_t* bytes);
  bool SetCaptureAudioMode(LONG capture, LONG mode);
  bool SelectAudioInput(const std::string& device, const std::string& input);
  // The board's list of sound capture devices, and the input lines of one
  // of them, in UTF-8; empty when the board cannot tell.
  std::vector<std::string> AudioDevices();
  std::vector<std::string> AudioInputs(const std::string& device);
  void SetAudioLevel(LONG level);
  // Whether the snapshot interface can be had; shows the board error when not.
  bool SnapshotAvailable();
  // Asks the board to save the current picture; nullopt when the snapshot
  // interface is missing (the board error was shown), else whether the
  // board accepted it.
  std::optional<bool> TakeSnapshot(const std::string& path, LONG width, LONG height, LONG format,
                                   LONG quality);

  // Tunes to the entry with this channel number (digit entry); false when
  // no entry has it.
  bool SelectChannelNumber(std::int32_t number);

  // GetVideoInfo: the board fits its picture to the video window after a
  // change of its size or look. False, after the board error, when it fails.
  bool RefreshVideo();
  // The board's minimum and maximum picture size (board_client_video_win.cpp).
  void VideoSizeLimits(std::int32_t limits[4]) const;

  // Dispatch of the timers above; false for other ids.
  bool OnTimer(UINT_PTR id);

  std::int32_t VolumeStep() const { return m_volStep; }
  bool SourcePending() const { return m_pendingSource; }
  std::int32_t PendingSource() const { return m_pendingSourceValue; }
  ChannelLists& Lists() { return m_lists; }

 private:
  class EventSink;

  BoardEntry* Entry() { return &m_boardList[0]; }
  // Obtains one of the manager's interfaces for one operation; shows the
  // board error and gives null when it cannot.
  template <class I>
  I* Query(REFIID iid);
  void StepVolumeBy(bool up);

  void ApplyInitialState();
  void ShowChannelEntry(std::int32_t source);
  void RestartAudioModeTimer();
  std::uint32_t ReadAudioModes();

  CAppSettings& m_settings;
  BoardClientHost& m_host;
  // The sink outlives the board object, which may still call it while it
  // is released.
  std::unique_ptr<EventSink> m_sink;
  ComPtr<IKXBoard> m_board;
  BoardEntry m_boardList[10] = {};
  std::int32_t m_boardCount = 0;
  LONG m_boardCaps[kBoardCapsWords] = {};
  std::uint32_t m_srcAvailMask = 0;
  LONG m_videoSizeLimits[4] = {160, 120, 1600, 1200};
  std::int32_t m_connector = 0;
  LONG m_deintBypass = -1;
  std::int32_t m_volStep = 0;
  bool m_pendingSource = false;
  std::int32_t m_pendingSourceValue = 0;
  bool m_pipSoundMark = false;
  // Volume and sound before this only change the settings the picture
  // starts with.
  bool m_pictureStarted = false;
  FreqTables m_tables;
  ChannelLists m_lists;
};

template <class I>
I* CBoardClient::Query(REFIID iid) {
  void* out = nullptr;
  if (!m_board || FAILED(m_board->QueryInterface(iid, &out)) || out == nullptr) {
    m_host.ShowBoardError();
    return nullptr;
  }
  return static_cast<I*>(out);
}

}  // namespace brontel

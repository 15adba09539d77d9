#pragma once
// One board of the virtual board driver: its state and the commands the
// board API manager sends through kxTVA_DoThis.

#include "win32/windows_include.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "outside/virtualboard/picture_synth.h"
#include "outside/virtualboard/station_plan.h"

class CaptureSet;
class PictureWindow;

// The manager's notifier, handed over by command 6: one virtual operation,
// called with the member-call convention.
class BoardEventNotifier {
 public:
  virtual void NotifyEvent(LONG value) = 0;
};

// Results of kxTVA_DoThis.
constexpr int32_t kBoardOk = 0;
constexpr int32_t kBoardBadArgument = 1;  // missing block, value out of range
constexpr int32_t kBoardBadState = 2;     // e.g. no picture window, unknown device
constexpr int32_t kBoardUnsupported = 3;  // capture and still picture, unknown commands

// Events reported to the notifier.
constexpr LONG kEventSignalFound = 1;
constexpr LONG kEventSignalLost = 2;

// What the picture window shows now.
struct PictureState {
  enum class Content { kNoise, kStation, kInput, kBlack };
  Content content = Content::kNoise;
  int stationIndex = 0;
  std::string stationName;
  int32_t channel = 0;
  uint32_t hertz = 0;
  int inputType = 1;
  int connector = 0;
  uint8_t audioModes = 1;     // what the station sends
  uint32_t soundMode = 1;     // what the board was asked to play
  bool radioStation = false;  // the radio receives a station
  bool deinterlaceBypass = false;
  PictureProperties properties;
};

// Draws what the state shows, picture properties applied.
void DrawBoardPicture(Frame& frame, const PictureState& state, uint32_t frameNumber);

class VirtualBoard {
 public:
  VirtualBoard(uint32_t boardClass, const ChannelTable& broadcast, const ChannelTable& cable);
  // The first two virtual operations belong to the driver contract: the
  // manager checks a handle by calling the second one.
  virtual uint32_t BoardClass() const;
  virtual VirtualBoard* Identify();
  virtual ~VirtualBoard();

  int32_t DoThis(bool write, uint32_t command, void* block);

  PictureState CurrentPicture() const;
  void CountFrame();
  // kxDIgrab's mode for the board's deinterlace switch.
  LONG DeinterlaceMode() const;

 private:
  int32_t VideoWindowCommand(uint32_t command, void* block);
  int32_t AudioCommand(bool write, uint32_t command, void* block);
  int32_t VideoCommand(bool write, uint32_t command, void* block);
  int32_t TunerCommand(bool write, uint32_t command, void* block);
  // Tunes and reports a change of the signal lock.
  int32_t Tune(uint32_t hertz);
  uint8_t ReceivableAudioModes() const;
  const ChannelTable& ActiveTable() const;
  const Station* TunedStation() const;
  void Notify(LONG event);

  const uint32_t m_boardClass;
  const ChannelTable m_broadcast;
  const ChannelTable m_cable;
  const StationPlan m_plan;

  mutable std::mutex m_lock;  // guards the state below against the picture timer
  std::unique_ptr<PictureWindow> m_window;
  BoardEventNotifier* m_notifier = nullptr;
  uint32_t m_eventValue = 0;
  uint32_t m_frames = 0;
  // audio
  uint32_t m_audioConnection = 0;
  uint32_t m_audioConnectionParam = 0;
  bool m_audioRunning = true;
  uint32_t m_audioSource = 0;
  int32_t m_volume = 0;
  int32_t m_audioLevel = 0;
  int32_t m_audioPath = 0;
  uint32_t m_audioMode = kAudioMono;
  int32_t m_audioValues[4] = {};  // commands 105, 106, 107, 109
  std::string m_audioDevice;
  std::string m_audioInput;
  // video
  int m_connector = 0;
  int m_inputType = 1;  // tuner
  bool m_videoEnabled = true;
  bool m_deinterlaceBypass = false;
  int32_t m_videoMode = 0;
  int32_t m_videoValue207 = 0;
  int32_t m_videoValues211[2] = {};
  int32_t m_videoValue212 = 0;
  PictureProperties m_properties;
  // tuner
  bool m_radio = false;
  int32_t m_tunerValue401 = 0;
  int32_t m_tunerTable = 0;  // command 402: 1 = cable
  int32_t m_tunerValue403 = 0;
  uint32_t m_hertz = 0;
  int32_t m_channel = 0;
  bool m_locked = false;
  // Last: its graphs draw from the state above and go first.
  std::unique_ptr<CaptureSet> m_captures;
};

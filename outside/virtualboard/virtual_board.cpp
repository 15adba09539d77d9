#include "outside/virtualboard/virtual_board.h"

#include <cstring>

#include "apimgr/board_blocks.h"
#include "apimgr/board_protocol.h"
#include "outside/virtualboard/capture_set_win.h"
#include "outside/virtualboard/picture_window.h"
#include "win32/text_convert.h"

namespace {

const uint32_t kBoardCaps[7] = {
    1,  // a tuner
    3,  // connector 0: composite and S-Video
    3,  // connector 1: composite and S-Video
    0, 0, 0,
    1,  // audio connection kind
};
const uint32_t kVideoSizeLimits[4] = {120, 90, 1600, 1200};

constexpr int32_t kMaxVolume = 100;
constexpr int32_t kMaxAudioPath = 6;
constexpr int kVideoInputRadio = 0;
constexpr int kVideoInputTuner = 1;
constexpr int kVideoInputSVideo = 3;
constexpr uint32_t kPropertyCount = 5;
constexpr uint32_t kAudioSourceRadio = 2;
constexpr LONG kModeBypass = 1110;
constexpr LONG kModeAdaptive = 1113;

struct AudioDevice {
  const char* name;
  const char* inputs[4];
};

// The board's own capture device (which the program leaves out of its
// recording choice) and an ordinary sound card.
const AudioDevice kAudioDevices[] = {
    {"Virtual 7134 Board Audio", {"Tuner", "Line 1", "Line 2", nullptr}},
    {"Virtual Sound Card", {"Line In", "Microphone", "CD Audio", "Stereo Mix"}},
};

template <typename T>
T* At(uint32_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

uint32_t* Words(void* block) {
  return static_cast<uint32_t*>(block);
}

std::string FieldText(const char* field, size_t capacity) {
  return std::string(field, strnlen(field, capacity));
}

const AudioDevice* FindAudioDevice(const std::string& name) {
  for (const AudioDevice& device : kAudioDevices) {
    if (name == device.name) return &device;
  }
  return nullptr;
}

// Kinds 0 brightness, 1 contrast, 2 hue, 3 saturation, 4 sharpness.
int32_t* PropertySlot(PictureProperties& properties, uint32_t kind) {
  switch (kind) {
    case 0:
      return &properties.brightness;
    case 1:
      return &properties.contrast;
    case 2:
      return &properties.hue;
    case 3:
      return &properties.saturation;
    default:
      return &properties.sharpness;
  }
}

void CopyField(char* field, const char* text) {
  std::strncpy(field, text, kAudioNameBytes - 1);
  field[kAudioNameBytes - 1] = '\0';
}

}  // namespace

void DrawBoardPicture(Frame& frame, const PictureState& state, uint32_t frameNumber) {
  switch (state.content) {
    case PictureState::Content::kStation:
      DrawStationPicture(frame, state.stationIndex, frameNumber);
      break;
    case PictureState::Content::kNoise:
      DrawNoise(frame, frameNumber);
      break;
    case PictureState::Content::kInput:
      DrawInputPattern(frame, state.inputType, state.connector, frameNumber);
      break;
    case PictureState::Content::kBlack:
      DrawBlack(frame);
      return;
  }
  ApplyPictureProperties(frame, state.properties);
}

VirtualBoard::VirtualBoard(uint32_t boardClass, const ChannelTable& broadcast,
                           const ChannelTable& cable)
    : m_boardClass(boardClass),
      m_broadcast(broadcast),
      m_cable(cable),
      m_plan(broadcast),
      m_captures(new CaptureSet(*this)) {}

uint32_t VirtualBoard::BoardClass() const {
  return m_boardClass;
}

VirtualBoard* VirtualBoard::Identify() {
  return this;
}

VirtualBoard::~VirtualBoard() {
  // The graphs stop before the state they draw from goes.
  m_captures.reset();
}

LONG VirtualBoard::DeinterlaceMode() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_deinterlaceBypass ? kModeBypass : kModeAdaptive;
}

void VirtualBoard::CountFrame() {
  std::lock_guard<std::mutex> guard(m_lock);
  ++m_frames;
}

const ChannelTable& VirtualBoard::ActiveTable() const {
  // Without an installed cable table the broadcast plan serves both.
  if (m_tunerTable == 1 && !m_cable.hertz.empty()) return m_cable;
  return m_broadcast;
}

const Station* VirtualBoard::TunedStation() const {
  return m_radio ? m_plan.FindRadio(m_hertz) : m_plan.FindTv(m_hertz);
}

uint8_t VirtualBoard::ReceivableAudioModes() const {
  if (m_radio || m_inputType == kVideoInputTuner) {
    const Station* station = TunedStation();
    return station != nullptr ? station->audioModes : kAudioMono;
  }
  return kAudioMono | kAudioStereo;  // line inputs carry stereo sound
}

PictureState VirtualBoard::CurrentPicture() const {
  std::lock_guard<std::mutex> guard(m_lock);
  PictureState state;
  state.properties = m_properties;
  state.deinterlaceBypass = m_deinterlaceBypass;
  state.hertz = m_hertz;
  state.channel = m_channel;
  state.inputType = m_inputType;
  state.connector = m_connector;
  state.soundMode = m_audioMode;
  state.radioStation = m_radio && m_locked;
  if (!m_videoEnabled || m_radio || m_inputType == kVideoInputRadio ||
      m_audioSource == kAudioSourceRadio) {
    state.content = PictureState::Content::kBlack;
  } else if (m_inputType == kVideoInputTuner) {
    const Station* station = m_plan.FindTv(m_hertz);
    if (station != nullptr) {
      state.content = PictureState::Content::kStation;
      state.stationIndex = static_cast<int>(station - m_plan.TvStations().data());
      state.stationName = station->name;
      state.channel = station->channel;
      state.audioModes = station->audioModes;
    } else {
      state.content = PictureState::Content::kNoise;
    }
  } else {
    state.content = PictureState::Content::kInput;
  }
  return state;
}

void VirtualBoard::Notify(LONG event) {
  BoardEventNotifier* notifier = nullptr;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    notifier = m_notifier;
  }
  if (notifier != nullptr) notifier->NotifyEvent(event);
}

int32_t VirtualBoard::DoThis(bool write, uint32_t command, void* block) {
  if (command >= kxcmd::kOpenCapture && command <= kxcmd::kCapturePosition) {
    // Without the board lock: stopping a graph waits for its streaming
    // threads, which read the picture state under that lock.
    return m_captures->Command(write, command, block);
  }
  if (command == kxcmd::kDeinterlaceBypass && block != nullptr) {
    const int32_t result = VideoCommand(write, command, block);
    if (result == kBoardOk) m_captures->ApplyDeinterlaceMode(DeinterlaceMode());
    return result;
  }
  if (command <= kxcmd::kEventSink) return VideoWindowCommand(command, block);
  if (command >= kxcmd::kAudioConnection && command <= kxcmd::kSelectAudioInput) {
    return AudioCommand(write, command, block);
  }
  if (command >= kxcmd::kGetVideoProperty && command <= kxcmd::kVideoStatus) {
    return VideoCommand(write, command, block);
  }
  if (command >= kxcmd::kTunerMode && command <= kxcmd::kChannelFrequency) {
    return TunerCommand(write, command, block);
  }
  return kBoardUnsupported;
}

int32_t VirtualBoard::VideoWindowCommand(uint32_t command, void* block) {
  switch (command) {
    case kxcmd::kCreateVideoWindow: {
      if (block == nullptr) return kBoardBadArgument;
      auto* w = static_cast<VideoWindowBlock*>(block);
      if (m_window) return kBoardBadState;
      std::wstring title;
      if (w->title != 0) {
        title = brontel::AnsiToWide(At<const char>(w->title));
      }
      PictureWindow* window = PictureWindow::Create(this, At<HWND__>(w->parent), title, w->style,
                                                    w->left, w->top, w->width, w->height);
      if (window == nullptr) return kBoardBadState;
      {
        std::lock_guard<std::mutex> guard(m_lock);
        m_window.reset(window);
      }
      // Outside the lock: the live graph's source reads the picture state.
      m_captures->SetPictureSink(window);
      return kBoardOk;
    }
    case kxcmd::kDestroyVideoWindow: {
      m_captures->SetPictureSink(nullptr);
      std::unique_ptr<PictureWindow> window;
      {
        std::lock_guard<std::mutex> guard(m_lock);
        window.swap(m_window);
      }
      return window ? kBoardOk : kBoardBadState;
    }
    case kxcmd::kBoardCaps:
      if (block == nullptr) return kBoardBadArgument;
      std::memcpy(block, kBoardCaps, sizeof kBoardCaps);
      return kBoardOk;
    case kxcmd::kVideoSizeLimits:
      if (block == nullptr) return kBoardBadArgument;
      std::memcpy(block, kVideoSizeLimits, sizeof kVideoSizeLimits);
      return kBoardOk;
    case kxcmd::kBoardCommand5: {
      // Back to the picture the board starts with.
      std::lock_guard<std::mutex> guard(m_lock);
      m_properties = PictureProperties();
      return kBoardOk;
    }
    case kxcmd::kEventSink: {
      if (block == nullptr) return kBoardBadArgument;
      std::lock_guard<std::mutex> guard(m_lock);
      m_eventValue = Words(block)[0];
      m_notifier = At<BoardEventNotifier>(Words(block)[1]);
      return kBoardOk;
    }
    default:
      return kBoardUnsupported;
  }
}

int32_t VirtualBoard::AudioCommand(bool write, uint32_t command, void* block) {
  if (block == nullptr && command != kxcmd::kStopAudio) return kBoardBadArgument;
  std::lock_guard<std::mutex> guard(m_lock);
  uint32_t* words = Words(block);
  switch (command) {
    case kxcmd::kAudioConnection:
      m_audioConnectionParam = words[0];
      m_audioConnection = words[1];
      m_audioRunning = true;
      return kBoardOk;
    case kxcmd::kStopAudio:
      m_audioRunning = false;
      return kBoardOk;
    case kxcmd::kAudioSource:
      if (words[0] > 3) return kBoardBadArgument;
      m_audioSource = words[0];
      return kBoardOk;
    case kxcmd::kVolume:
    case kxcmd::kAudioPath:
      if (!write) {
        words[0] = m_audioSource;
        words[1] = static_cast<uint32_t>(m_audioLevel);
        words[2] = static_cast<uint32_t>(m_volume);
        words[3] = static_cast<uint32_t>(m_audioPath);
        return kBoardOk;
      }
      if (command == kxcmd::kVolume) {
        const int32_t volume = static_cast<int32_t>(words[0]);
        if (volume < 0 || volume > kMaxVolume) return kBoardBadArgument;
        m_volume = volume;
      } else {
        const int32_t path = static_cast<int32_t>(words[0]);
        if (path < 0 || path > kMaxAudioPath) return kBoardBadArgument;
        m_audioPath = path;
      }
      return kBoardOk;
    case kxcmd::kAudioLevel:
      m_audioLevel = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kAudioValue105:
    case kxcmd::kAudioValue106:
    case kxcmd::kAudioValue107:
      m_audioValues[command - kxcmd::kAudioValue105] = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kAudioValue109:
      m_audioValues[3] = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kAudioMode:
      // Only a mode the current signal carries can be chosen.
      if ((words[0] & ReceivableAudioModes()) == 0 || (words[0] & (words[0] - 1)) != 0) {
        return kBoardBadArgument;
      }
      m_audioMode = words[0];
      return kBoardOk;
    case kxcmd::kAudioModes:
      *static_cast<uint8_t*>(block) = ReceivableAudioModes();
      return kBoardOk;
    case kxcmd::kAudioData112:
      // The sound mode in use, as one 32-bit word.
      words[0] = m_audioMode;
      return kBoardOk;
    case kxcmd::kAudioDevices: {
      auto* lists = static_cast<AudioDeviceLists*>(block);
      if (lists->deviceCount == 0) return kBoardBadArgument;
      uint32_t count = 0;
      for (const AudioDevice& device : kAudioDevices) {
        CopyField(lists->deviceNames[count++], device.name);
      }
      *At<uint32_t>(lists->deviceCount) = count;
      return kBoardOk;
    }
    case kxcmd::kAudioInputs: {
      auto* lists = static_cast<AudioDeviceLists*>(block);
      if (lists->inputCount == 0) return kBoardBadArgument;
      const AudioDevice* device =
          FindAudioDevice(FieldText(lists->selectedDevice, kAudioNameBytes));
      if (device == nullptr) return kBoardBadState;
      uint32_t count = 0;
      for (const char* input : device->inputs) {
        if (input != nullptr) CopyField(lists->inputNames[count++], input);
      }
      *At<uint32_t>(lists->inputCount) = count;
      return kBoardOk;
    }
    case kxcmd::kSelectAudioInput: {
      auto* lists = static_cast<AudioDeviceLists*>(block);
      const std::string deviceName = FieldText(lists->selectedDevice, kAudioNameBytes);
      const std::string inputName = FieldText(lists->selectedInput, kAudioNameBytes);
      const AudioDevice* device = FindAudioDevice(deviceName);
      if (device == nullptr) return kBoardBadState;
      for (const char* input : device->inputs) {
        if (input != nullptr && inputName == input) {
          m_audioDevice = deviceName;
          m_audioInput = inputName;
          return kBoardOk;
        }
      }
      return kBoardBadState;
    }
    default:
      return kBoardUnsupported;
  }
}

int32_t VirtualBoard::VideoCommand(bool write, uint32_t command, void* block) {
  if (block == nullptr && command != kxcmd::kRestartVideo) return kBoardBadArgument;
  if (command == kxcmd::kVideoInfo || command == kxcmd::kVideoRect) {
    // The window is only made and destroyed by this thread's commands, and
    // moving it sends messages: no lock is held here.
    auto* w = static_cast<VideoWindowBlock*>(block);
    if (!m_window) return kBoardBadState;
    if (command == kxcmd::kVideoRect && !m_window->Move(w->left, w->top, w->width, w->height)) {
      return kBoardBadState;
    }
    w->result = m_window->PackedSize();
    return kBoardOk;
  }
  std::lock_guard<std::mutex> guard(m_lock);
  uint32_t* words = Words(block);
  switch (command) {
    case kxcmd::kGetVideoProperty: {
      auto* p = static_cast<VideoPropertyBlock*>(block);
      if (p->kind >= kPropertyCount || p->resultAddress == 0) return kBoardBadArgument;
      *At<int32_t>(p->resultAddress) = *PropertySlot(m_properties, p->kind);
      return kBoardOk;
    }
    case kxcmd::kSetVideoProperty: {
      auto* p = static_cast<VideoPropertyBlock*>(block);
      if (p->kind >= kPropertyCount) return kBoardBadArgument;
      *PropertySlot(m_properties, p->kind) = static_cast<int32_t>(p->value);
      return kBoardOk;
    }
    case kxcmd::kVideoInput:
      if (words[0] > 1 || words[1] > static_cast<uint32_t>(kVideoInputSVideo)) {
        return kBoardBadArgument;
      }
      m_connector = static_cast<int>(words[0]);
      m_inputType = static_cast<int>(words[1]);
      return kBoardOk;
    case kxcmd::kVideoValue207:
      m_videoValue207 = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kVideoEnable:
      m_videoEnabled = words[0] != 0;
      return kBoardOk;
    case kxcmd::kVideoValues211:
      m_videoValues211[0] = static_cast<int32_t>(words[0]);
      m_videoValues211[1] = static_cast<int32_t>(words[1]);
      return kBoardOk;
    case kxcmd::kVideoValue212:
      m_videoValue212 = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kRestartVideo:
      if (m_window) m_window->Restart();
      return kBoardOk;
    case kxcmd::kDeinterlaceBypass:
      m_deinterlaceBypass = words[0] != 0;
      return kBoardOk;
    case kxcmd::kVideoMode:
      m_videoMode = static_cast<int32_t>(words[0]);
      return kBoardOk;
    case kxcmd::kVideoStatus: {
      // Items: 0 signal lock, 1 frames drawn, 2 video input kind.
      if (words[1] == 0) return kBoardBadArgument;
      const uint32_t item = words[0];
      const uint32_t values[] = {m_locked ? 1u : 0u, m_frames, static_cast<uint32_t>(m_inputType)};
      if (item >= sizeof values / sizeof values[0]) return kBoardBadArgument;
      *At<uint32_t>(words[1]) = values[item];
      return kBoardOk;
    }
    default:
      return kBoardUnsupported;
  }
}

int32_t VirtualBoard::Tune(uint32_t hertz) {
  bool wasLocked;
  bool locked;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_hertz = hertz;
    wasLocked = m_locked;
    m_locked = TunedStation() != nullptr;
    locked = m_locked;
    if (!m_radio) {
      const Station* station = m_plan.FindTv(hertz);
      m_channel = 0;
      for (const auto& entry : ActiveTable().hertz) {
        if (entry.second == hertz || (station != nullptr && entry.second == station->hertz)) {
          m_channel = entry.first;
          break;
        }
      }
    }
  }
  if (locked != wasLocked) Notify(locked ? kEventSignalFound : kEventSignalLost);
  return kBoardOk;
}

int32_t VirtualBoard::TunerCommand(bool write, uint32_t command, void* block) {
  if (block == nullptr) return kBoardBadArgument;
  uint32_t* words = Words(block);
  auto* tuner = static_cast<TunerBlock*>(block);
  switch (command) {
    case kxcmd::kTunerMode: {
      std::lock_guard<std::mutex> guard(m_lock);
      m_radio = words[0] != 0;
      m_locked = TunedStation() != nullptr;
      return kBoardOk;
    }
    case kxcmd::kTunerValue401: {
      std::lock_guard<std::mutex> guard(m_lock);
      m_tunerValue401 = static_cast<int32_t>(words[0]);
      return kBoardOk;
    }
    case kxcmd::kTunerValue402: {
      std::lock_guard<std::mutex> guard(m_lock);
      m_tunerTable = static_cast<int32_t>(words[0]);
      return kBoardOk;
    }
    case kxcmd::kTunerValue403: {
      std::lock_guard<std::mutex> guard(m_lock);
      m_tunerValue403 = static_cast<int32_t>(words[0]);
      return kBoardOk;
    }
    case kxcmd::kFrequency:
      if (tuner->frequency == 0) return kBoardBadArgument;
      return Tune(tuner->frequency);
    case kxcmd::kChannel: {
      uint32_t hertz = 0;
      {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_radio) return kBoardBadState;
        auto found = ActiveTable().hertz.find(tuner->channel);
        if (found == ActiveTable().hertz.end()) return kBoardBadArgument;
        hertz = found->second;
      }
      return Tune(hertz);
    }
    case kxcmd::kSignalLock: {
      std::lock_guard<std::mutex> guard(m_lock);
      words[0] = m_locked ? 1 : 0;
      return kBoardOk;
    }
    case kxcmd::kFrequencyRange: {
      std::lock_guard<std::mutex> guard(m_lock);
      if (m_radio) {
        tuner->lowestFrequency = kRadioLowestHertz;
        tuner->highestFrequency = kRadioHighestHertz;
      } else {
        tuner->lowestFrequency = ActiveTable().LowestHertz();
        tuner->highestFrequency = ActiveTable().HighestHertz();
      }
      return kBoardOk;
    }
    case kxcmd::kChannelRange: {
      std::lock_guard<std::mutex> guard(m_lock);
      if (m_radio) return kBoardBadState;  // the radio has no channel numbers
      tuner->lowestChannel = static_cast<uint16_t>(ActiveTable().minChannel);
      tuner->highestChannel = static_cast<uint16_t>(ActiveTable().maxChannel);
      return kBoardOk;
    }
    case kxcmd::kChannelFrequency: {
      std::lock_guard<std::mutex> guard(m_lock);
      auto found = ActiveTable().hertz.find(tuner->channel);
      if (found == ActiveTable().hertz.end()) return kBoardBadArgument;
      tuner->frequency = found->second;
      return kBoardOk;
    }
    default:
      return kBoardUnsupported;
  }
}

#include "tv/board_client_win.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "tv/channel_files_win.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr LONG kOpenBoardKind = 7;
constexpr std::uint32_t kBoardListBytes = sizeof(BoardEntry) * 10;
constexpr LONG kEventSinkValue = 2048;
constexpr DWORD kPictureWindowStyle = 0x50000000;  // visible child
constexpr char kPictureWindowTitle[] = "Pellamy Screen";
constexpr LONG kStartAudioLevel = 50;
constexpr UINT kAudioModeDelayMs = 2000;
constexpr UINT kPendingSourceMs = 1500;
constexpr LONG kPropertyBrightness = 0;
constexpr LONG kPropertyContrast = 1;
constexpr LONG kPropertyHue = 2;
constexpr LONG kPropertySaturation = 3;
constexpr LONG kPropertyFifth = 4;

const InputColour* ColourOf(const VidClrGroup& colours, std::int32_t source) {
  switch (source) {
    case kSourceTv:
      return &colours.tv;
    case kSourceVideo:
      return &colours.video1;
    case kSourceSVideo:
      return &colours.video2;
    default:
      return nullptr;
  }
}

}  // namespace

// The board library reports events on its own thread; the sink only posts
// them to the main window, which handles them on the user-interface thread.
class CBoardClient::EventSink : public IKXEventSink {
 public:
  explicit EventSink(HWND window) : m_window(window) {}
  void OnBoardEvent(LONG code) override {
    PostMessageW(m_window, kMsgBoardEvent, static_cast<WPARAM>(code), 0);
  }

 private:
  HWND m_window;
};

CBoardClient::CBoardClient(CAppSettings& settings, BoardClientHost& host)
    : m_settings(settings), m_host(host), m_lists(settings) {}

CBoardClient::~CBoardClient() = default;

int CBoardClient::CreateBoard() {
  ComPtr<IKXBoard> board;
  if (FAILED(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                              reinterpret_cast<void**>(board.GetAddressOf()))) ||
      !board) {
    return kBoardClassMissing;
  }
  m_board = std::move(board);
  for (BoardEntry& entry : m_boardList) entry = BoardEntry{};
  m_boardCount = 0;
  BoardListInfo list{kBoardListBytes,
                     static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(m_boardList))};
  if (m_board->OpenBoard(kOpenBoardKind, 0, &list) != S_OK) return kBoardNotOpened;
  m_boardCount = static_cast<std::int32_t>(list.cbEntries / sizeof(BoardEntry));

  m_board->GetBoardCaps(Entry(), m_boardCaps);
  std::uint32_t caps[kBoardCapsWords];
  for (int i = 0; i < kBoardCapsWords; ++i) caps[i] = static_cast<std::uint32_t>(m_boardCaps[i]);
  m_srcAvailMask = SourceMaskFromCaps(caps);
  m_board->GetVideoSizeLimits(Entry(), m_videoSizeLimits);
  m_sink = std::make_unique<EventSink>(m_host.MainWindow());
  m_board->SetEventSink(Entry(), kEventSinkValue, m_sink.get());
  return kBoardCreated;
}

bool CBoardClient::CheckBoardStart() {
  return !AudioDevices().empty();
}

bool CBoardClient::StartPicture(LONG param) {
  RECT client{};
  GetClientRect(m_host.VideoWindow(), &client);
  {
    ComPtr<IKXVideo> video = AdoptComPtr(Query<IKXVideo>(IID_IKXVideo));
    if (!video) return false;
    m_deintBypass = m_settings.vidClrSet.bUseDeinterlacer == 0 ? 1 : 0;
    video->SetDeinterlaceBypass(Entry(), m_deintBypass);
  }
  if (!m_board) {
    m_host.ShowBoardError();
    return false;
  }
  if (FAILED(m_board->CreateVideoWindow(Entry(), m_host.VideoWindow(), kPictureWindowTitle,
                                        kPictureWindowStyle, overlayMode ? 1 : 0, param, 0, 0,
                                        client.right - client.left, client.bottom - client.top))) {
    return false;
  }
  m_pictureStarted = true;
  ApplyInitialState();
  return true;
}

void CBoardClient::ApplyInitialState() {
  ChannelFiles::InWindowsDirectory(m_settings.appSet.lCountryCode).LoadFreqTables(&m_tables);
  m_connector = m_settings.appSet.imsCurrSrcIndex;
  const std::int32_t source = m_settings.appSet.msCurrSrc;
  if (source != kSourceRadio) ApplyColour(source);
  {
    ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
    if (audio) {
      const LONG word6 = m_boardCaps[6];
      if (word6 == 1 || word6 == 2) {
        audio->SetAudioConnection(
            Entry(), word6 == 1 ? 2 : 1,
            static_cast<LONG>(reinterpret_cast<LONG_PTR>(m_host.MainWindow())));
      }
      // A stored level beyond the board's range (a hand-edited 150) starts
      // at the nearest end of it.
      m_volStep = StartVolumeStep(m_settings.appSet.lVolLevel);
      audio->SetAudioLevel(Entry(), kStartAudioLevel);
      audio->SetAudioPath(Entry(), kAudioPathLive);
      audio->SetVolume(Entry(), m_volStep * 10);
    }
  }
  if (bWakeStart) {
    // Redraws the meter and sends the volume once more.
    if (m_volStep == 0) {
      VolumeUp();
      VolumeDown();
    } else {
      VolumeDown();
      VolumeUp();
    }
  }
  RestartAudioModeTimer();
  SelectSource(source, true);
  SetWindowPos(m_host.MainWindow(), m_settings.appSet.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST,
               0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CBoardClient::SelectSource(std::int32_t source, bool updateWindow) {
  if (screenSaverWasActive) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
  ComPtr<IKXVideo> video = AdoptComPtr(Query<IKXVideo>(IID_IKXVideo));
  if (!video) return;
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return;

  if (source != kSourceRadio && overlayMode) {
    const LONG bypass = m_settings.vidClrSet.bUseDeinterlacer == 0 ? 1 : 0;
    video->SetDeinterlaceBypass(Entry(), bypass);
    if (bypass == m_deintBypass) video->RestartVideo(Entry());
    m_deintBypass = bypass;
  } else {
    video->SetDeinterlaceBypass(Entry(), 1);
    m_deintBypass = 1;
  }

  video->SelectVideoInput(Entry(), m_connector, VideoInputKindFor(source));
  audio->SetAudioSource(Entry(), AudioSourceFor(source));
  if (source == kSourceRadio) {
    if (updateWindow && m_host.VideoWindowVisible()) m_host.ShowVideoWindow(false);
    ComPtr<IKXTuner> tuner = AdoptComPtr(Query<IKXTuner>(IID_IKXTuner));
    if (tuner) {
      tuner->SetTunerMode(Entry(), 1);
      tuner->SetFrequency(Entry(), m_lists.PresetHertz(kSourceRadio));
    }
  } else {
    if (updateWindow && !m_host.VideoWindowVisible()) m_host.ShowVideoWindow(true);
    video->SetVideoMode(Entry(), 0);
    if (source == kSourceTv) {
      {
        ComPtr<IKXTuner> tuner = AdoptComPtr(Query<IKXTuner>(IID_IKXTuner));
        if (tuner) tuner->SetTunerMode(Entry(), 0);
      }
      const std::optional<ListEntry> entry = m_lists.CurrentEntry(kSourceTv);
      TuneChannel(m_settings.tvSet.lTunerSrc, entry ? entry->number : 0, false);
      SetAudioModeValue(kAudioMono);
    }
    ApplyColour(source);
  }
  ChooseAudioMode();
  m_settings.appSet.msCurrSrc = source;
  m_settings.appSet.imsCurrSrcIndex = m_connector;
  WriteCurrentSource(m_settings.appSet.InstallPath, source);
}

void CBoardClient::ApplyColour(std::int32_t source) {
  const InputColour* colour = ColourOf(m_settings.vidClrSet, source);
  if (colour != nullptr) SendColour(*colour);
}

void CBoardClient::SendColour(const InputColour& colour) {
  ComPtr<IKXVideo> video = AdoptComPtr(Query<IKXVideo>(IID_IKXVideo));
  if (!video) return;
  video->SetVideoProperty(Entry(), kPropertyBrightness, colour.lBrightness);
  video->SetVideoProperty(Entry(), kPropertyContrast, colour.lContrast);
  video->SetVideoProperty(Entry(), kPropertyHue, colour.lHue);
  video->SetVideoProperty(Entry(), kPropertySaturation, colour.lSaturation);
  LONG fifth = 0;
  video->GetVideoProperty(Entry(), kPropertyFifth, &fifth);
  video->SetVideoProperty(Entry(), kPropertyFifth, fifth);
}

void CBoardClient::NextSource() {
  SourceChoice from{m_pendingSource ? m_pendingSourceValue : m_settings.appSet.msCurrSrc,
                    m_connector};
  const SourceChoice next = NextSourceChoice(from, m_srcAvailMask);
  m_connector = next.connector;
  KillTimer(m_host.MainWindow(), kTimerPendingSource);
  m_pendingSource = true;
  m_pendingSourceValue = next.source;
  m_host.ShowPendingSource(next.source);
  SetTimer(m_host.MainWindow(), kTimerPendingSource, kPendingSourceMs, nullptr);
}

void CBoardClient::ReselectSource() {
  const std::int32_t source = m_settings.appSet.msCurrSrc;
  SetSound(kSoundMute);
  if (source == kSourceRadio) SelectSource(kSourceTv, false);
  SetSound(kSoundOn);
  SelectSource(source, true);
}

bool CBoardClient::TuneChannel(std::int32_t table, std::int32_t channel, bool reselect) {
  {
    ComPtr<IKXTuner> tuner = AdoptComPtr(Query<IKXTuner>(IID_IKXTuner));
    if (!tuner) return false;
  }
  const std::optional<std::int32_t> hertz = TuneChannelHertz(m_tables, m_lists, table, channel);
  if (!hertz) return false;
  const bool tuned = SetFrequency(*hertz);
  if (reselect) ReselectSource();
  return tuned;
}

bool CBoardClient::SetFrequency(std::int32_t hertz) {
  ComPtr<IKXTuner> tuner = AdoptComPtr(Query<IKXTuner>(IID_IKXTuner));
  if (!tuner) return false;
  return SUCCEEDED(tuner->SetFrequency(Entry(), hertz));
}

bool CBoardClient::HasSignal() {
  ComPtr<IKXTuner> tuner = AdoptComPtr(Query<IKXTuner>(IID_IKXTuner));
  if (!tuner) return false;
  LONG locked = 0;
  return SUCCEEDED(tuner->GetSignalLock(Entry(), &locked)) && locked != 0;
}

void CBoardClient::ShowChannelEntry(std::int32_t source) {
  const std::optional<ListEntry> entry = m_lists.CurrentEntry(source);
  if (!entry) return;
  char number[32];
  std::snprintf(number, sizeof number, source == kSourceTv ? "Ch %ld" : "St %ld",
                static_cast<long>(entry->number));
  m_host.ShowChannelTexts(entry->name, number);
}

void CBoardClient::ChannelStep(bool up) {
  const std::int32_t source = m_settings.appSet.msCurrSrc;
  if (source != kSourceTv && source != kSourceRadio) return;
  m_lists.StepPosition(source, up);
  TuneCurrentEntry();
}

void CBoardClient::TuneCurrentEntry() {
  const std::int32_t source = m_settings.appSet.msCurrSrc;
  if (source != kSourceTv && source != kSourceRadio) return;
  ShowChannelEntry(source);
  const std::optional<ListEntry> entry = m_lists.CurrentEntry(source);
  if (source == kSourceRadio) {
    SetFrequency(m_lists.PresetHertz(kSourceRadio));
  } else if (entry) {
    TuneChannel(m_settings.tvSet.lTunerSrc, entry->number, false);
  }
  RestartAudioModeTimer();
}

bool CBoardClient::SelectChannelNumber(std::int32_t number) {
  const std::int32_t source = m_settings.appSet.msCurrSrc;
  if ((source != kSourceTv && source != kSourceRadio) || !m_lists.HasNumber(source, number)) {
    return false;
  }
  m_lists.SelectByNumber(source, number);
  TuneCurrentEntry();
  return true;
}

void CBoardClient::RestartAudioModeTimer() {
  KillTimer(m_host.MainWindow(), kTimerAudioModeChoice);
  KillTimer(m_host.MainWindow(), kTimerAudioModeCheck);
  SetTimer(m_host.MainWindow(), kTimerAudioModeChoice, kAudioModeDelayMs, nullptr);
}

void CBoardClient::VolumeUp() {
  StepVolumeBy(true);
}

void CBoardClient::VolumeDown() {
  StepVolumeBy(false);
}

void CBoardClient::StepVolumeBy(bool up) {
  // Before the picture runs the step moves the level it will start with.
  if (!m_pictureStarted) m_volStep = StartVolumeStep(m_settings.appSet.lVolLevel);
  m_volStep = StepVolume(m_volStep, up);
  m_host.ShowVolume(m_volStep);
  m_settings.appSet.lVolLevel = m_volStep * 10;
  if (!m_pictureStarted) return;
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (audio) audio->SetVolume(Entry(), m_volStep * 10);
}

void CBoardClient::SetSound(int state) {
  // Before the picture runs "bAudioOn" alone changes; the picture start
  // sends it.
  if (!m_pictureStarted) return;
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return;
  m_pipSoundMark = false;
  switch (state) {
    case kSoundMute:
      audio->SetAudioPath(Entry(), kAudioPathMuted);
      break;
    case kSoundOn:
      audio->SetAudioPath(Entry(), kAudioPathLive);
      if (m_host.RunMode() == 3) audio->SetAudioPath(Entry(), kAudioPathPlayback);
      break;
    case kSoundMainOverPip:
      audio->SetAudioPath(Entry(), kAudioPathLive);
      m_host.SetCaptureAudioMode(2);
      audio->SetAudioPath(Entry(), kAudioPathPlayback);
      break;
    case kSoundPip:
      audio->SetAudioPath(Entry(), kAudioPathLive);
      m_host.SetCaptureAudioMode(3);
      m_pipSoundMark = true;
      break;
    case kSoundTimeShift:
      audio->SetAudioPath(Entry(), kAudioPathTimeShift);
      break;
    default:
      break;
  }
}

void CBoardClient::ToggleSound() {
  std::int32_t& on = m_settings.appSet.bAudioOn;
  on = on ? 0 : 1;
  if (!on) {
    SetSound(kSoundMute);
    return;
  }
  const bool pipMark = m_pipSoundMark;
  SetSound(kSoundOn);
  const std::int32_t runMode = m_host.RunMode();
  if (runMode == 3) SetSound(pipMark ? kSoundPip : kSoundMainOverPip);
  if (runMode == 4) SetSound(kSoundTimeShift);
}

std::uint32_t CBoardClient::ReadAudioModes() {
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return 0;
  unsigned char mask = 0;
  audio->GetAudioModes(Entry(), &mask);
  return mask;
}

void CBoardClient::ChooseAudioMode() {
  const std::uint32_t mask = ReadAudioModes();
  SetAudioModeValue(ChooseAudioModeFor(mask, m_settings.tvSet.amPrefSAPMode));
  m_host.ShowAudioMode(m_settings.appSet.amCurrAudioMode);
}

void CBoardClient::CheckAudioMode() {
  if (!KeepAudioMode(m_settings.appSet.amCurrAudioMode, ReadAudioModes())) ChooseAudioMode();
}

void CBoardClient::NextAudioMode() {
  const std::uint32_t mask = m_host.RunMode() != 0 ? kPlaybackAudioMask : ReadAudioModes();
  SetAudioModeValue(NextAudioModeFor(m_settings.appSet.amCurrAudioMode, mask));
  m_host.ShowAudioMode(m_settings.appSet.amCurrAudioMode);
}

void CBoardClient::SetAudioModeValue(std::int32_t mode) {
  m_settings.appSet.amCurrAudioMode = mode;
  if (m_host.RunMode() != 0) {
    m_host.SetRecorderAudioMode(mode);
    return;
  }
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (audio) audio->SetAudioMode(Entry(), mode);
}

void CBoardClient::QuietForShutdown() {
  if (!m_board) return;
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (audio) audio->SetAudioPath(Entry(), kAudioPathLive);
}

void CBoardClient::CloseBoard() {
  if (!m_board) return;
  {
    ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
    if (audio) audio->StopAudio(Entry());
  }
  m_board->DestroyVideoWindow(Entry());
  for (std::int32_t i = 0; i < m_boardCount && i < 10; ++i) m_board->CloseBoard(&m_boardList[i]);
  m_board.Reset();
  m_pictureStarted = false;
}

bool CBoardClient::OpenCapture(LONG kind, HWND pipWindow, LONG* capture) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  if (!api) return false;
  // The board library is 32-bit: window handles and addresses are 32-bit
  // values in its records.
  CaptureOpenRecord record{};
  record.kind = kind;
  record.videoWindow = static_cast<LONG>(reinterpret_cast<LONG_PTR>(m_host.VideoWindow()));
  record.overlay = overlayMode ? 1 : 0;
  record.pipWindow = static_cast<LONG>(reinterpret_cast<LONG_PTR>(pipWindow));
  record.captureHandle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(capture));
  return SUCCEEDED(api->OpenCapture(Entry(), &record));
}

bool CBoardClient::CloseCapture(LONG capture) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  return api && SUCCEEDED(api->CloseCapture(Entry(), capture));
}

bool CBoardClient::SetCaptureState(LONG capture, LONG state) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  return api && SUCCEEDED(api->SetCaptureState(Entry(), capture, state));
}

bool CBoardClient::SetCapturePosition(LONG capture, LONG milliseconds) {
  constexpr LONG kValuePlayPosition = 1;
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  return api && SUCCEEDED(api->SetCaptureValue(Entry(), capture, kValuePlayPosition, milliseconds));
}

bool CBoardClient::SetCaptureFile(LONG capture, const std::string& path) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  if (!api) return false;
  const std::string ansi = Utf8ToAnsi(path);
  return SUCCEEDED(api->SetCaptureFile(Entry(), capture, ansi.c_str()));
}

bool CBoardClient::SetEncoderParams(LONG capture, const EncoderParams& params) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  if (!api) return false;
  EncoderParams copy = params;
  return SUCCEEDED(api->SetEncoderParams(Entry(), capture, 0,
                                         static_cast<LONG>(reinterpret_cast<LONG_PTR>(&copy))));
}

bool CBoardClient::SetBufferSize(LONG capture, LONG megabytes) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  return api && SUCCEEDED(api->SetBufferSize(Entry(), capture, megabytes));
}

bool CBoardClient::GetCaptureValues(LONG capture, LONG values[4]) {
  constexpr LONG kValueTimes = 1;
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  if (!api) return false;
  LONG got[4] = {};
  if (FAILED(api->GetCaptureValues(Entry(), capture, kValueTimes, &got[0], &got[1], &got[2],
                                   &got[3]))) {
    return false;
  }
  for (int i = 0; i < 4; ++i) values[i] = got[i];
  return true;
}

bool CBoardClient::GetCapturePosition(LONG capture, std::int64_t* bytes) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  if (!api) return false;
  LONG words[2] = {};
  if (FAILED(api->GetCapturePosition(Entry(), capture, words))) return false;
  *bytes =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(words[1])) << 32) |
                                static_cast<DWORD>(words[0]));
  return true;
}

bool CBoardClient::SetCaptureAudioMode(LONG capture, LONG mode) {
  ComPtr<IKXCapture> api = AdoptComPtr(Query<IKXCapture>(IID_IKXCapture));
  return api && SUCCEEDED(api->SetCaptureAudioMode(Entry(), capture, mode));
}

bool CBoardClient::SelectAudioInput(const std::string& device, const std::string& input) {
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return false;
  const std::string ansiDevice = Utf8ToAnsi(device);
  const std::string ansiInput = Utf8ToAnsi(input);
  return SUCCEEDED(audio->SelectAudioInput(Entry(), ansiDevice.c_str(), ansiInput.c_str()));
}

namespace {

// The names the board filled in, as UTF-8; a name fills at most its field.
std::vector<std::string> AudioNames(const char* names, std::uint32_t count,
                                    std::uint32_t capacity) {
  std::vector<std::string> result;
  for (std::uint32_t i = 0; i < count && i < capacity; ++i) {
    const char* name = names + i * kAudioNameBytes;
    result.push_back(AnsiToUtf8(std::string(name, strnlen(name, kAudioNameBytes))));
  }
  return result;
}

}  // namespace

std::vector<std::string> CBoardClient::AudioDevices() {
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return {};
  // 10760 bytes: too large for the stack of a dialog's message handler.
  auto lists = std::make_unique<AudioDeviceLists>();
  *lists = AudioDeviceLists{};
  std::uint32_t count = 0;
  lists->deviceCount = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&count));
  if (FAILED(audio->GetAudioDevices(Entry(), lists.get()))) return {};
  return AudioNames(&lists->deviceNames[0][0], count, kMaxAudioDevices);
}

std::vector<std::string> CBoardClient::AudioInputs(const std::string& device) {
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (!audio) return {};
  auto lists = std::make_unique<AudioDeviceLists>();
  *lists = AudioDeviceLists{};
  const std::string ansi = Utf8ToAnsi(device);
  if (ansi.size() >= kAudioNameBytes) return {};
  std::memcpy(lists->selectedDevice, ansi.data(), ansi.size());
  std::uint32_t count = 0;
  lists->inputCount = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&count));
  if (FAILED(audio->GetAudioInputs(Entry(), lists.get()))) return {};
  return AudioNames(&lists->inputNames[0][0], count, kMaxAudioInputs);
}

void CBoardClient::SetAudioLevel(LONG level) {
  ComPtr<IKXAudio> audio = AdoptComPtr(Query<IKXAudio>(IID_IKXAudio));
  if (audio) audio->SetAudioLevel(Entry(), level);
}

bool CBoardClient::SnapshotAvailable() {
  ComPtr<IKXSnapshot> api = AdoptComPtr(Query<IKXSnapshot>(IID_IKXSnapshot));
  return static_cast<bool>(api);
}

std::optional<bool> CBoardClient::TakeSnapshot(const std::string& path, LONG width, LONG height,
                                               LONG format, LONG quality) {
  ComPtr<IKXSnapshot> api = AdoptComPtr(Query<IKXSnapshot>(IID_IKXSnapshot));
  if (!api) return std::nullopt;
  const std::string ansi = Utf8ToAnsi(path);
  return SUCCEEDED(api->TakeSnapshot(Entry(),
                                     static_cast<LONG>(reinterpret_cast<LONG_PTR>(ansi.c_str())),
                                     width, height, format, quality));
}

bool CBoardClient::OnTimer(UINT_PTR id) {
  const HWND window = m_host.MainWindow();
  switch (id) {
    case kTimerAudioModeChoice:
      KillTimer(window, id);
      if (m_host.RunMode() == 0) ChooseAudioMode();
      SetTimer(window, kTimerAudioModeCheck, kAudioModeDelayMs, nullptr);
      return true;
    case kTimerAudioModeCheck:
      if (m_host.RunMode() == 0) CheckAudioMode();
      return true;
    case kTimerPendingSource:
      KillTimer(window, id);
      m_pendingSource = false;
      SelectSource(m_pendingSourceValue, true);
      m_host.RefreshPanel();
      return true;
    default:
      return false;
  }
}

}  // namespace brontel

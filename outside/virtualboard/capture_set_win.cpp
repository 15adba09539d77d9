#include "outside/virtualboard/capture_set_win.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "apimgr/board_protocol.h"
#include "outside/virtualboard/board_journal.h"
#include "outside/virtualboard/capture_graph_win.h"
#include "outside/virtualboard/capture_session.h"
#include "outside/virtualboard/capture_times.h"
#include "outside/virtualboard/picture_renderer_win.h"
#include "outside/virtualboard/picture_yuy2.h"
#include "outside/virtualboard/snapshot/snapshot_writer_win.h"
#include "outside/virtualboard/timeshift/time_shift_player.h"
#include "outside/virtualboard/virtual_board.h"
#include "win32/text_convert.h"

using virtualboard::CaptureKind;
using virtualboard::CaptureSession;
using virtualboard::SessionAction;

struct CaptureEntry {
  CaptureEntry(uint32_t handle, CaptureKind kind) : session(handle, kind) {}

  CaptureSession session;
  HWND videoWindow = nullptr;
  HWND pipWindow = nullptr;
  virtualboard::ProgramEncoderRecord fields{};
  bool haveFields = false;
  std::unique_ptr<WritingGraph> writer;
  std::unique_ptr<PlaybackGraph> player;
  // Plays the ring buffer behind the writer; stops before the writer.
  std::unique_ptr<timeshift::TimeShiftPlayer> viewer;
  std::string openFile;  // the file the graph has open
  virtualboard::ShiftPosition shift;
};

namespace {

constexpr uint32_t kSeekValueId = 1;
constexpr uint32_t kPositionValueId = 1;
constexpr size_t kPathBytes = 260;
constexpr uint32_t kOpenRecordWords = 6;
constexpr int kStationToneBaseHz = 400;
constexpr int kStationToneStepHz = 100;
constexpr int kInputToneHz = 1000;
constexpr int kRadioToneHz = 660;
constexpr uint32_t kStillSampleRate = 48000;

// The capture sound modes of the program.
constexpr uint32_t kSoundB = 0;
constexpr uint32_t kSoundA = 1;
constexpr uint32_t kSoundMainPicture = 2;
constexpr uint32_t kSoundPipPicture = 3;

template <typename T>
T* At(uint32_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

std::string TextAt(uint32_t address) {
  const char* text = At<const char>(address);
  return std::string(text, strnlen(text, kPathBytes - 1));
}

int64_t FileBytes(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(brontel::AnsiToWide(file).c_str(), GetFileExInfoStandard, &data)) {
    return -1;
  }
  return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void NoteFileClosed(const std::string& file) {
  AppendBoardNote("file closed " + brontel::AnsiToUtf8(file) +
                  " bytes=" + std::to_string(FileBytes(file)));
}

// A tone per station; the two sounds of a bilingual station differ.
void ChooseTones(const PictureState& state, double tones[2]) {
  double a = 0;
  if (state.content == PictureState::Content::kStation) {
    a = kStationToneBaseHz + kStationToneStepHz * (state.stationIndex % 8);
  } else if (state.content == PictureState::Content::kInput) {
    a = kInputToneHz;
  } else if (state.radioStation) {
    a = kRadioToneHz;
  }
  // Noise and black carry no sound: a zero tone is silence.
  const double b = a * 1.5;
  switch (state.soundMode) {
    case kAudioStereo:
      tones[0] = a;
      tones[1] = a * 1.25;
      break;
    case kAudioB:
      tones[0] = tones[1] = b;
      break;
    case kAudioAB:
      tones[0] = a;
      tones[1] = b;
      break;
    default:  // mono and A
      tones[0] = tones[1] = a;
      break;
  }
  if (a == 0) tones[0] = tones[1] = 0;
}

// Only the mode changes; the filter and thresholds stay as they are.
void SetDeinterlaceMode(brontel::IDeinterlaceControl* control, LONG mode) {
  LONG current = 0, filter = 0, delta1 = 0, delta2 = 0, delta3 = 0;
  if (control && SUCCEEDED(control->GetSettings(&current, &filter, &delta1, &delta2, &delta3))) {
    control->SetSettings(mode, filter, delta1, delta2, delta3);
  }
}

struct FieldPictures {
  Frame top{0, 0};
  Frame bottom{0, 0};
};

}  // namespace

CaptureSet::CaptureSet(VirtualBoard& board) : m_board(board) {}

void CaptureSet::StillSetup(WritingSetup* setup) {
  setup->grabOnly = true;
  setup->sizeLimit = 1;
  // The writer's audio pin takes only the record's rate.
  virtualboard::ProgramEncoderRecord fields{};
  fields[virtualboard::kFieldAudioFrequency] = kStillSampleRate;
  setup->params = virtualboard::TranslateEncoderRecord(fields);
  DescribeSource(&setup->source);
  setup->source.sampleRate = kStillSampleRate;
}

void CaptureSet::DescribeSource(brontel::CaptureSourceConfig* source) {
  ChooseTones(m_board.CurrentPicture(), source->toneHz);
  auto pictures = std::make_shared<FieldPictures>();
  VirtualBoard* board = &m_board;
  // Two pictures a frame, one per field, so that motion combs as it does
  // from an interlaced camera.
  source->drawPicture = [board, pictures](BYTE* data, int width, int height, long index) {
    if (pictures->top.width != width || pictures->top.height != height) {
      pictures->top = Frame(width, height);
      pictures->bottom = Frame(width, height);
    }
    const PictureState now = board->CurrentPicture();
    DrawBoardPicture(pictures->top, now, static_cast<uint32_t>(index) * 2);
    DrawBoardPicture(pictures->bottom, now, static_cast<uint32_t>(index) * 2 + 1);
    InterleaveFieldsToYuy2(pictures->top, pictures->bottom, data);
  };
}

CaptureSet::~CaptureSet() {
  m_sink = nullptr;
  StopLive();
  for (auto& item : m_entries) Stop(*item.second);
  m_graph.Reset();
  if (m_comInitialised) CoUninitialize();
}

IBaseFilter* CaptureSet::NewRenderer() {
  if (m_sink == nullptr) return nullptr;
  return new (std::nothrow) PictureRendererFilter(m_sink);
}

void CaptureSet::SetPictureSink(PictureSink* sink) {
  StopLive();
  m_sink = sink;
  StartLive();
}

void CaptureSet::StartLive() {
  if (m_sink == nullptr || m_live || Writing() != nullptr) return;
  // No writer: the deinterlaced pictures go straight to the window.
  WritingSetup setup;
  setup.liveOnly = true;
  DescribeSource(&setup.source);
  setup.source.sampleRate = kStillSampleRate;
  brontel::ComPtr<IBaseFilter> renderer;
  renderer.Attach(NewRenderer());
  setup.preview = renderer.Get();
  setup.graph = SharedGraph();
  auto live = std::unique_ptr<WritingGraph>(new (std::nothrow) WritingGraph());
  if (!renderer || !live || !live->Start(setup)) {
    // The window then draws the picture itself.
    AppendBoardNote("live graph refused");
    return;
  }
  SetDeinterlaceMode(live->Deinterlacer(), m_board.DeinterlaceMode());
  AppendBoardNote("graph live capture source>kxDIgrab>picture window");
  m_live = std::move(live);
}

void CaptureSet::StopLive() {
  m_live.reset();
}

IGraphBuilder* CaptureSet::SharedGraph() {
  if (!m_graph) {
    if (!m_comInitialised) {
      const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      m_comInitialised = hr == S_OK || hr == S_FALSE;
    }
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     reinterpret_cast<void**>(m_graph.GetAddressOf()));
  }
  return m_graph.Get();
}

CaptureEntry* CaptureSet::Find(uint32_t handle) {
  auto found = m_entries.find(handle);
  return found == m_entries.end() ? nullptr : found->second.get();
}

CaptureEntry* CaptureSet::Writing() {
  for (auto& item : m_entries) {
    if (item.second->writer && item.second->writer->Running()) return item.second.get();
  }
  return nullptr;
}

int32_t CaptureSet::Command(bool write, uint32_t command, void* block) {
  if (block == nullptr) return kBoardBadArgument;
  auto* words = static_cast<uint32_t*>(block);
  switch (command) {
    case kxcmd::kOpenCapture:
      return Open(words);
    case kxcmd::kSnapshot:
      return Snapshot(words);
    case kxcmd::kCaptureStatus:
      // One word: 1 while a capture runs.
      words[0] = 0;
      for (auto& item : m_entries) {
        if (item.second->session.State() != virtualboard::RunState::kStopped) words[0] = 1;
      }
      return kBoardOk;
    case kxcmd::kCaptureAudioMode:
      if (words[0] > kSoundPipPicture) return kBoardBadArgument;
      m_soundMode = words[0];
      for (auto& item : m_entries) ApplySound(*item.second);
      return kBoardOk;
    case kxcmd::kCapturePosition: {
      // The bytes the writing capture has put in its file.
      CaptureEntry* entry = Writing();
      if (entry == nullptr) return kBoardBadState;
      const uint64_t bytes = static_cast<uint64_t>(entry->writer->WrittenBytes());
      words[0] = static_cast<uint32_t>(bytes);
      words[1] = static_cast<uint32_t>(bytes >> 32);
      return kBoardOk;
    }
    default:
      break;
  }
  CaptureEntry* entry = Find(words[0]);
  if (entry == nullptr) return kBoardBadArgument;
  switch (command) {
    case kxcmd::kCloseCapture:
      return Close(words[0]);
    case kxcmd::kCaptureState:
      return SetState(*entry, words[1]);
    case kxcmd::kCaptureValue:
      return Values(*entry, write, words);
    case kxcmd::kCaptureFile:
      return File(*entry, write, words);
    case kxcmd::kBufferSize:
      return BufferSize(*entry, write, words);
    case kxcmd::kEncoderParams:
      return EncoderParams(*entry, write, words);
    default:
      return kBoardUnsupported;
  }
}

int32_t CaptureSet::Open(uint32_t* words) {
  const uint32_t kind = words[0];
  if (kind > static_cast<uint32_t>(CaptureKind::kTimeShift) || words[kOpenRecordWords - 1] == 0) {
    return kBoardBadArgument;
  }
  const uint32_t handle = m_nextHandle++;
  if (m_nextHandle == 0) m_nextHandle = 1;
  auto entry = std::unique_ptr<CaptureEntry>(
      new (std::nothrow) CaptureEntry(handle, static_cast<CaptureKind>(kind)));
  if (!entry) return kBoardBadState;
  entry->videoWindow = At<HWND__>(words[1]);
  entry->pipWindow = At<HWND__>(words[3]);
  m_entries[handle] = std::move(entry);
  *At<uint32_t>(words[kOpenRecordWords - 1]) = handle;
  return kBoardOk;
}

int32_t CaptureSet::Close(uint32_t handle) {
  auto found = m_entries.find(handle);
  Stop(*found->second);
  m_entries.erase(found);
  return kBoardOk;
}

int32_t CaptureSet::SetState(CaptureEntry& entry, uint32_t state) {
  const SessionAction action = entry.session.Plan(state);
  int32_t result = kBoardOk;
  switch (action) {
    case SessionAction::kBadValue:
      return kBoardBadArgument;
    case SessionAction::kNotNow:
      return kBoardBadState;
    case SessionAction::kNone:
      return kBoardOk;
    case SessionAction::kStart:
      result = Start(entry);
      break;
    case SessionAction::kStop:
      Stop(entry);
      break;
    case SessionAction::kSwitchFile:
      result = SwitchFile(entry);
      break;
    case SessionAction::kPause:
    case SessionAction::kResume: {
      const bool pause = action == SessionAction::kPause;
      if (entry.player) {
        if (!(pause ? entry.player->Pause() : entry.player->Resume())) result = kBoardBadState;
      } else if (entry.viewer) {
        // The recording goes on; only the viewer holds.
        pause ? entry.viewer->Pause() : entry.viewer->Resume();
      } else if (entry.writer) {
        const int64_t write = entry.writer->EncodedMs();
        const int64_t length =
            virtualboard::DurationMs(entry.writer->BufferedBytes(), entry.writer->TotalBitRate());
        pause ? entry.shift.Pause(write, length) : entry.shift.Resume(write, length);
      }
      break;
    }
  }
  if (result == kBoardOk) entry.session.Commit(action);
  return result;
}

int32_t CaptureSet::Start(CaptureEntry& entry) {
  const CaptureSession& session = entry.session;
  if (session.Kind() == CaptureKind::kPlayback) {
    auto player = std::unique_ptr<PlaybackGraph>(new (std::nothrow) PlaybackGraph());
    HWND window = entry.pipWindow != nullptr ? entry.pipWindow : entry.videoWindow;
    if (!player || !player->Open(session.File(), window)) {
      AppendBoardNote("playback refused " + brontel::AnsiToUtf8(session.File()));
      return kBoardBadState;
    }
    AppendBoardNote("graph playback " + brontel::AnsiToUtf8(session.File()) + " through " +
                    player->Describe() + " duration=" + std::to_string(player->DurationMs()));
    entry.player = std::move(player);
    entry.openFile = session.File();
    ApplySound(entry);
    return kBoardOk;
  }
  // A recording needs to know what to encode.
  if (!entry.haveFields) return kBoardBadState;
  // One board has one capture source.
  if (Writing() != nullptr) return kBoardBadState;

  WritingSetup setup;
  setup.file = session.File();
  setup.sizeLimit = session.BufferBytes();
  setup.circular = session.Kind() == CaptureKind::kTimeShift;
  // The radio's preset records the sound alone.
  setup.audioOnly = entry.fields[virtualboard::kFieldMpegType] == virtualboard::kMpegTypeWma;
  if (setup.audioOnly && setup.circular) return kBoardBadState;
  setup.params = virtualboard::TranslateEncoderRecord(entry.fields);
  setup.previewMode = virtualboard::PreviewModeOf(entry.fields[virtualboard::kFieldCapturePreview]);
  const uint32_t rate = entry.fields[virtualboard::kFieldAudioFrequency];
  setup.source.sampleRate = rate == 44100 ? 44100 : 48000;
  DescribeSource(&setup.source);

  // One source: the live graph gives way to the recording, whose preview
  // takes over the picture window.
  StopLive();
  brontel::ComPtr<IBaseFilter> renderer;
  renderer.Attach(NewRenderer());
  setup.preview = renderer.Get();
  setup.graph = SharedGraph();
  auto writer = std::unique_ptr<WritingGraph>(new (std::nothrow) WritingGraph());
  if (!writer || !writer->Start(setup)) {
    AppendBoardNote("recording refused " + brontel::AnsiToUtf8(session.File()));
    StartLive();
    return kBoardBadState;
  }
  SetDeinterlaceMode(writer->Deinterlacer(), m_board.DeinterlaceMode());
  AppendBoardNote(setup.audioOnly
                      ? std::string("graph record capture source>ASF audio writer")
                      : std::string("graph ") + (setup.circular ? "time-shift" : "record") +
                            " capture source>kxDIgrab>kxEncodeWriter");
  AppendBoardNote("file opened " + brontel::AnsiToUtf8(setup.file));
  entry.writer = std::move(writer);
  entry.openFile = setup.file;
  entry.shift = virtualboard::ShiftPosition();
  HWND window = entry.pipWindow != nullptr ? entry.pipWindow : entry.videoWindow;
  if (setup.circular && window != nullptr) StartViewer(entry, window);
  return kBoardOk;
}

void CaptureSet::StartViewer(CaptureEntry& entry, HWND window) {
  const auto fileBytes = static_cast<int64_t>(entry.session.BufferBytes());
  WritingGraph* writer = entry.writer.get();
  auto total = std::make_shared<timeshift::WriteTotal>(fileBytes);
  // Runs on the viewer's thread, which ends before the writer stops.
  auto progress = [writer, total] {
    timeshift::WriterProgress now;
    now.bytesWritten = total->Update(writer->WrittenBytes());
    now.encodedMs = writer->EncodedMs();
    return now;
  };
  auto viewer =
      std::unique_ptr<timeshift::TimeShiftPlayer>(new (std::nothrow) timeshift::TimeShiftPlayer(
          brontel::AnsiToWide(entry.session.File()), fileBytes, window, progress));
  if (viewer && viewer->Start()) {
    AppendBoardNote("time-shift viewer " + brontel::AnsiToUtf8(entry.session.File()));
    entry.viewer = std::move(viewer);
  }
}

void CaptureSet::Stop(CaptureEntry& entry) {
  if (entry.viewer) {
    entry.viewer->Stop();
    AppendBoardNote("time-shift viewer stopped pictures=" +
                    std::to_string(entry.viewer->PicturesShown()));
    entry.viewer.reset();
  }
  if (entry.writer) {
    entry.writer->Stop();
    AppendBoardNote("graph stopped pictures=" + std::to_string(entry.writer->Pictures()));
    entry.writer.reset();
    NoteFileClosed(entry.openFile);
    StartLive();
  }
  if (entry.player) {
    entry.player->Close();
    entry.player.reset();
    AppendBoardNote("playback closed " + brontel::AnsiToUtf8(entry.openFile));
  }
  entry.openFile.clear();
}

int32_t CaptureSet::SwitchFile(CaptureEntry& entry) {
  const std::string& file = entry.session.File();
  if (entry.writer) {
    const std::string previous = entry.openFile;
    if (!entry.writer->SwitchFile(file)) return kBoardBadState;
    NoteFileClosed(previous);
    AppendBoardNote("file opened " + brontel::AnsiToUtf8(file));
  } else if (entry.player) {
    HWND window = entry.pipWindow != nullptr ? entry.pipWindow : entry.videoWindow;
    if (!entry.player->Open(file, window)) return kBoardBadState;
    AppendBoardNote("graph playback " + brontel::AnsiToUtf8(file) + " through " +
                    entry.player->Describe() +
                    " duration=" + std::to_string(entry.player->DurationMs()));
    ApplySound(entry);
  }
  entry.openFile = file;
  return kBoardOk;
}

int32_t CaptureSet::Values(CaptureEntry& entry, bool write, uint32_t* words) {
  if (write) {
    if (words[1] != kSeekValueId) return kBoardBadArgument;
    const int64_t target = static_cast<int32_t>(words[2]);
    if (entry.player) {
      const bool paused = entry.session.State() == virtualboard::RunState::kPaused;
      return entry.player->Seek(target, paused) ? kBoardOk : kBoardBadState;
    }
    if (entry.viewer) return entry.viewer->SeekMs(target) ? kBoardOk : kBoardBadState;
    if (entry.writer && entry.session.Kind() == CaptureKind::kTimeShift) {
      const int64_t write = entry.writer->EncodedMs();
      const int64_t length =
          virtualboard::DurationMs(entry.writer->BufferedBytes(), entry.writer->TotalBitRate());
      entry.shift.Seek(write, length, virtualboard::RingSeekPosition(target, write, length));
      return kBoardOk;
    }
    return kBoardBadState;
  }
  if (words[1] != kPositionValueId) return kBoardBadArgument;
  int64_t times[4] = {};
  if (entry.player) {
    times[0] = entry.player->PositionMs();
    times[1] = entry.player->DurationMs();
    times[3] = times[1];
  } else if (entry.writer) {
    times[2] = entry.writer->EncodedMs();
    if (entry.viewer) {
      times[3] = entry.viewer->BufferLengthMs();
      times[0] = entry.viewer->PlayPositionMs();
    } else if (entry.session.Kind() == CaptureKind::kTimeShift) {
      times[3] =
          virtualboard::DurationMs(entry.writer->BufferedBytes(), entry.writer->TotalBitRate());
      times[0] = entry.shift.Position(times[2], times[3]);
    } else {
      times[3] = virtualboard::DurationMs(static_cast<int64_t>(entry.session.BufferBytes()),
                                          entry.writer->TotalBitRate());
      times[0] = times[2];
    }
    times[1] = times[2];
  }
  for (int i = 0; i < 4; ++i) words[2 + i] = virtualboard::TimeWord(times[i]);
  return kBoardOk;
}

int32_t CaptureSet::File(CaptureEntry& entry, bool write, uint32_t* words) {
  if (words[1] == 0) return kBoardBadArgument;
  if (!write) {
    char* buffer = At<char>(words[1]);
    std::snprintf(buffer, kPathBytes, "%s", entry.session.File().c_str());
    return kBoardOk;
  }
  const std::string path = TextAt(words[1]);
  if (path.empty()) return kBoardBadArgument;
  entry.session.SetFile(path);
  return kBoardOk;
}

int32_t CaptureSet::BufferSize(CaptureEntry& entry, bool write, uint32_t* words) {
  if (!write) {
    if (words[1] == 0) return kBoardBadArgument;
    *At<uint32_t>(words[1]) = static_cast<uint32_t>(entry.session.BufferBytes());
    return kBoardOk;
  }
  const uint64_t bytes = static_cast<uint64_t>(words[2]) << 32 | words[1];
  // The count comes from a signed megabyte figure: a negative one is no size.
  if (bytes == 0 || static_cast<int64_t>(bytes) < 0) return kBoardBadArgument;
  entry.session.SetBufferBytes(bytes);
  return kBoardOk;
}

int32_t CaptureSet::EncoderParams(CaptureEntry& entry, bool write, uint32_t* words) {
  if (words[1] != 0 || words[2] == 0) return kBoardBadArgument;
  if (!write) {
    // The field asked for by its position in the record.
    if (!entry.haveFields || words[3] >= virtualboard::kProgramEncoderFields) {
      return kBoardBadArgument;
    }
    *At<uint32_t>(words[2]) = entry.fields[words[3]];
    return kBoardOk;
  }
  std::memcpy(entry.fields.data(), At<const uint32_t>(words[2]), sizeof entry.fields);
  entry.haveFields = true;
  return kBoardOk;
}

void CaptureSet::ApplySound(CaptureEntry& entry) {
  if (!entry.player) return;
  using Sound = PlaybackGraph::Sound;
  Sound sound = Sound::kBoth;
  if (m_soundMode == kSoundA) sound = Sound::kA;
  if (m_soundMode == kSoundB) sound = Sound::kB;
  // In the small window the file is heard only when that window has the sound.
  if (entry.pipWindow != nullptr && m_soundMode == kSoundMainPicture) sound = Sound::kSilent;
  entry.player->SetSound(sound);
}

void CaptureSet::ApplyDeinterlaceMode(LONG mode) {
  if (m_live) SetDeinterlaceMode(m_live->Deinterlacer(), mode);
  for (auto& item : m_entries) {
    if (item.second->writer) SetDeinterlaceMode(item.second->writer->Deinterlacer(), mode);
  }
}

int32_t CaptureSet::Snapshot(uint32_t* words) {
  // {path, width, height, image format, JPEG quality}
  if (words[0] == 0) return kBoardBadArgument;
  const std::string path = TextAt(words[0]);
  const auto width = static_cast<int32_t>(words[1]);
  const auto height = static_cast<int32_t>(words[2]);
  if (path.empty() || width <= 0 || height <= 0) return kBoardBadArgument;

  // The frame comes from the deinterlacer of the graph that runs, or of a
  // graph made for this one picture.
  CaptureEntry* writing = Writing();
  std::unique_ptr<WritingGraph> still;
  WritingGraph* graph = writing != nullptr ? writing->writer.get() : m_live.get();
  if (graph == nullptr) {
    WritingSetup setup;
    StillSetup(&setup);
    still.reset(new (std::nothrow) WritingGraph());
    if (!still || !still->Start(setup)) return kBoardBadState;
    SetDeinterlaceMode(still->Deinterlacer(), m_board.DeinterlaceMode());
    graph = still.get();
  }
  std::vector<uint8_t> data;
  brontel::snapshot::GrabbedFrame frame;
  LONG frameWidth = 0, frameHeight = 0, bitsPerPixel = 0;
  if (!graph->GrabFrame(&data, &frameWidth, &frameHeight, &bitsPerPixel)) {
    AppendBoardNote("snapshot failed " + brontel::AnsiToUtf8(path) + ": no frame");
    return kBoardBadState;
  }
  if (still) still->Stop();
  frame.width = frameWidth;
  frame.height = frameHeight;
  frame.bitsPerPixel = bitsPerPixel;
  frame.data = data.data();
  frame.size = data.size();
  std::string problem;
  if (!brontel::snapshot::WriteSnapshot(frame, brontel::AnsiToWide(path), width, height,
                                        static_cast<int32_t>(words[3]),
                                        static_cast<int32_t>(words[4]), &problem)) {
    AppendBoardNote("snapshot failed " + brontel::AnsiToUtf8(path) + ": " + problem);
    return kBoardBadState;
  }
  AppendBoardNote("snapshot written " + brontel::AnsiToUtf8(path) + " " + std::to_string(width) +
                  "x" + std::to_string(height) + " bytes=" + std::to_string(FileBytes(path)));
  return kBoardOk;
}

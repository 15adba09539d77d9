#include "outside/virtualboard/capture_graph_win.h"

#include <new>

#include "outside/asfwriter/asf_writer_filter.h"
#include "win32/text_convert.h"

namespace {

using brontel::ComPtr;

constexpr REFERENCE_TIME kUnitsPerMs = 10000;
constexpr long kBalanceLeft = -10000;
constexpr long kBalanceRight = 10000;
constexpr long kVolumeSilent = -10000;
// How long a file switch may take to reach the next picture.
constexpr int kSwitchWaitMs = 2000;
constexpr int kGrabWaitMs = 3000;
// The source's audio buffers and the ASF writer's Layer II rate for stereo.
constexpr int64_t kAudioFrameSamples = 1152;
constexpr int64_t kAsfStereoBitRate = 192000;

template <typename T>
ComPtr<T> Create(REFCLSID clsid, REFIID iid) {
  ComPtr<T> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                   reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

template <typename T>
ComPtr<T> Query(IUnknown* from, REFIID iid) {
  ComPtr<T> object;
  if (from) from->QueryInterface(iid, reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.GetAddressOf()))) return {};
  for (;;) {
    ComPtr<IPin> pin;
    if (pins->Next(1, pin.GetAddressOf(), nullptr) != S_OK) return {};
    PIN_DIRECTION direction;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted) return pin;
  }
}

ComPtr<IPin> NamedPin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.GetAddressOf());
  return pin;
}

bool Connect(IGraphBuilder* graph, IPin* out, IPin* in) {
  return out && in && SUCCEEDED(graph->ConnectDirect(out, in, nullptr));
}

// COM for the caller's thread when it has none yet; the program's thread
// normally has it.
bool InitialiseCom() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return hr == S_OK || hr == S_FALSE;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// ---------------------------------------------------------------- WritingGraph

WritingGraph::WritingGraph() : m_comInitialised(InitialiseCom()) {}

void WritingGraph::TakeGraph(const WritingSetup& setup) {
  m_graph = setup.graph;
  if (!m_graph) m_graph = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
}

WritingGraph::~WritingGraph() {
  Stop();
  if (m_comInitialised) CoUninitialize();
}

bool WritingGraph::BuildLive(const WritingSetup& setup) {
  TakeGraph(setup);
  m_grab = Create<IBaseFilter>(brontel::kClsidDeinterlaceGrabFilter, IID_IBaseFilter);
  m_preview = setup.preview;
  if (!m_graph || !m_grab || !m_preview) return false;
  m_source = new (std::nothrow) brontel::CaptureSourceFilter(setup.source);
  if (!m_source) return false;
  m_deinterlace =
      Query<brontel::IDeinterlaceControl>(m_grab.Get(), brontel::kIidDeinterlaceControlGrab);
  m_media = Query<IMediaControl>(m_graph.Get(), IID_IMediaControl);
  return m_deinterlace && m_media && SUCCEEDED(m_graph->AddFilter(m_source, L"Capture source")) &&
         SUCCEEDED(m_graph->AddFilter(m_grab.Get(), L"kxDIgrab")) &&
         SUCCEEDED(m_graph->AddFilter(m_preview.Get(), L"Picture window renderer")) &&
         Connect(m_graph.Get(), &m_source->VideoPin(),
                 FirstPin(m_grab.Get(), PINDIR_INPUT).Get()) &&
         Connect(m_graph.Get(), FirstPin(m_grab.Get(), PINDIR_OUTPUT).Get(),
                 FirstPin(m_preview.Get(), PINDIR_INPUT).Get());
}

bool WritingGraph::BuildAudio(const WritingSetup& setup) {
  TakeGraph(setup);
  if (!m_graph || FAILED(brontel::CreateAsfAudioWriter(m_writer.GetAddressOf()))) return false;
  m_source = new (std::nothrow) brontel::CaptureSourceFilter(setup.source);
  if (!m_source) return false;
  auto sink = Query<IFileSinkFilter>(m_writer.Get(), IID_IFileSinkFilter);
  m_media = Query<IMediaControl>(m_graph.Get(), IID_IMediaControl);
  const std::wstring file = brontel::AnsiToWide(setup.file);
  return sink && m_media && SUCCEEDED(sink->SetFileName(file.c_str(), nullptr)) &&
         SUCCEEDED(m_graph->AddFilter(m_source, L"Capture source")) &&
         SUCCEEDED(m_graph->AddFilter(m_writer.Get(), L"ASF audio writer")) &&
         Connect(m_graph.Get(), &m_source->AudioPin(),
                 FirstPin(m_writer.Get(), PINDIR_INPUT).Get());
}

bool WritingGraph::Build(const WritingSetup& setup) {
  m_audioOnly = setup.audioOnly;
  m_file = brontel::AnsiToWide(setup.file);
  m_sampleRate = setup.source.sampleRate;
  if (setup.audioOnly) return BuildAudio(setup);
  if (setup.liveOnly) return BuildLive(setup);
  TakeGraph(setup);
  m_grab = Create<IBaseFilter>(brontel::kClsidDeinterlaceGrabFilter, IID_IBaseFilter);
  m_writer = Create<IBaseFilter>(brontel::kClsidEncodeWriter, IID_IBaseFilter);
  if (!m_graph || !m_grab || !m_writer) return false;
  m_source = new (std::nothrow) brontel::CaptureSourceFilter(setup.source);
  if (!m_source) return false;
  m_control =
      Query<brontel::IEncodeWriterControl>(m_writer.Get(), brontel::kIidEncodeWriterControl);
  m_deinterlace =
      Query<brontel::IDeinterlaceControl>(m_grab.Get(), brontel::kIidDeinterlaceControlGrab);
  auto params =
      Query<brontel::IEncodeWriterParams>(m_writer.Get(), brontel::kIidEncodeWriterParams);
  m_media = Query<IMediaControl>(m_graph.Get(), IID_IMediaControl);
  if (!m_control || !m_deinterlace || !params || !m_media) return false;

  // The audio pin takes only the sample rate of the parameters: set first.
  const std::wstring file = brontel::AnsiToWide(setup.file);
  if (FAILED(params->SetEncodeParams(setup.params.data(), nullptr, nullptr, nullptr)) ||
      FAILED(m_control->SetOutputFile(setup.grabOnly ? L"" : file.c_str())) ||
      FAILED(m_control->SetFileSizeLimit(static_cast<DWORD>(setup.sizeLimit),
                                         static_cast<DWORD>(setup.sizeLimit >> 32))) ||
      FAILED(m_control->SetLinearMode(setup.circular ? 0 : 1)) ||
      FAILED(m_control->EnableWriting(setup.grabOnly ? 0 : 1)) ||
      FAILED(m_control->SetPreviewMode(setup.previewMode))) {
    return false;
  }
  if (FAILED(m_graph->AddFilter(m_source, L"Capture source")) ||
      FAILED(m_graph->AddFilter(m_grab.Get(), L"kxDIgrab")) ||
      FAILED(m_graph->AddFilter(m_writer.Get(), L"kxEncodeWriter"))) {
    return false;
  }
  if (!Connect(m_graph.Get(), &m_source->VideoPin(), FirstPin(m_grab.Get(), PINDIR_INPUT).Get()) ||
      !Connect(m_graph.Get(), FirstPin(m_grab.Get(), PINDIR_OUTPUT).Get(),
               NamedPin(m_writer.Get(), L"MPEG Video In").Get()) ||
      !Connect(m_graph.Get(), &m_source->AudioPin(),
               NamedPin(m_writer.Get(), L"MPEG Audio In").Get())) {
    return false;
  }
  // The preview is a view of the recording, not a condition of it.
  if (setup.preview && SUCCEEDED(m_graph->AddFilter(setup.preview, L"Picture window renderer"))) {
    m_preview = setup.preview;
    Connect(m_graph.Get(), NamedPin(m_writer.Get(), L"Video Out").Get(),
            FirstPin(m_preview.Get(), PINDIR_INPUT).Get());
  }
  return true;
}

bool WritingGraph::Start(const WritingSetup& setup) {
  Stop();
  const std::wstring file = brontel::AnsiToWide(setup.file);
  if (!Build(setup) || !ShareClock() || FAILED(m_media->Run())) {
    Stop();
    return false;
  }
  // The writer creates its file as its pins become active; a folder that
  // does not exist or a zero size leaves none.
  if (!setup.grabOnly && !setup.liveOnly && !FileExists(file)) {
    Stop();
    return false;
  }
  return true;
}

bool WritingGraph::ShareClock() {
  // A graph that has run before keeps its clock but does not hand it to the
  // filters added since: without it the source would not keep time.
  auto media = Query<IMediaFilter>(m_graph.Get(), IID_IMediaFilter);
  ComPtr<IReferenceClock> clock;
  if (!media || FAILED(media->GetSyncSource(clock.GetAddressOf()))) return false;
  if (!clock) return true;  // a new graph chooses and hands out its clock as it runs
  IBaseFilter* filters[] = {m_source, m_grab.Get(), m_writer.Get(), m_preview.Get()};
  for (IBaseFilter* filter : filters) {
    if (filter && FAILED(filter->SetSyncSource(clock.Get()))) return false;
  }
  return true;
}

bool WritingGraph::GrabFrame(std::vector<uint8_t>* data, LONG* width, LONG* height,
                             LONG* bitsPerPixel) {
  if (!m_deinterlace) return false;
  LONG length = -1;
  // The size is known once the first frame has passed.
  for (int waited = 0; waited < kGrabWaitMs; waited += 10) {
    if (SUCCEEDED(m_deinterlace->GetFrameInfo(width, height, bitsPerPixel, &length)) &&
        length > 0) {
      break;
    }
    Sleep(10);
  }
  if (length <= 0) return false;
  data->assign(static_cast<size_t>(length), 0);
  if (FAILED(m_deinterlace->GrabFrame(data->data(), 1))) return false;
  bool copied = false;
  for (int waited = 0; waited < kGrabWaitMs && !copied; waited += 10) {
    LONG status = 0;
    copied = SUCCEEDED(m_deinterlace->GetGrabStatus(&status)) && status == 1;
    if (!copied) Sleep(10);
  }
  // The filter must not keep the buffer, which goes with the vector.
  m_deinterlace->GrabFrame(nullptr, 0);
  return copied;
}

bool WritingGraph::SwitchFile(const std::string& file) {
  if (!m_control) return false;
  const std::wstring name = brontel::AnsiToWide(file);
  if (FAILED(m_control->SetOutputFile(name.c_str()))) return false;
  // The writer starts the new file at its next picture.
  for (int waited = 0; waited < kSwitchWaitMs; waited += 10) {
    if (FileExists(name)) return true;
    Sleep(10);
  }
  return false;
}

void WritingGraph::Stop() {
  if (m_media) m_media->Stop();
  if (m_source && m_media) m_pictures = m_source->VideoPin().Delivered();
  if (m_graph) {
    if (m_source) m_graph->RemoveFilter(m_source);
    if (m_grab) m_graph->RemoveFilter(m_grab.Get());
    if (m_writer) m_graph->RemoveFilter(m_writer.Get());
    if (m_preview) m_graph->RemoveFilter(m_preview.Get());
  }
  m_preview.Reset();
  m_media.Reset();
  m_deinterlace.Reset();
  m_control.Reset();
  m_writer.Reset();
  m_grab.Reset();
  m_graph.Reset();
  if (m_source) m_source->Release();
  m_source = nullptr;
}

int64_t WritingGraph::WrittenBytes() const {
  if (m_audioOnly) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(m_file.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  }
  LONGLONG position = 0;
  return m_control && SUCCEEDED(m_control->GetWritePosition(&position)) ? position : 0;
}

int64_t WritingGraph::EncodedMs() const {
  // The sound sent so far, a frame of samples a buffer.
  if (m_audioOnly) {
    return m_source && m_sampleRate > 0
               ? m_source->AudioPin().Delivered() * kAudioFrameSamples * 1000ll / m_sampleRate
               : 0;
  }
  LONGLONG ms = 0;
  return m_control && SUCCEEDED(m_control->GetEncodedTime(&ms)) ? ms : 0;
}

int64_t WritingGraph::BufferedBytes() const {
  if (m_audioOnly) return 0;
  LONGLONG bytes = 0;
  return m_control && SUCCEEDED(m_control->GetBufferedBytes(&bytes)) ? bytes : 0;
}

int64_t WritingGraph::TotalBitRate() const {
  if (m_audioOnly) return kAsfStereoBitRate;
  LONGLONG rate = 0;
  return m_control && SUCCEEDED(m_control->GetTotalBitRate(&rate)) ? rate : 0;
}

// ---------------------------------------------------------------- PlaybackGraph

PlaybackGraph::PlaybackGraph() : m_comInitialised(InitialiseCom()) {}

PlaybackGraph::~PlaybackGraph() {
  Close();
  if (m_comInitialised) CoUninitialize();
}

bool PlaybackGraph::Open(const std::string& file, HWND window) {
  Close();
  const std::wstring name = brontel::AnsiToWide(file);
  m_graph = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
  // The classic renderer, added before the file is rendered, is the one
  // that draws into a child window; the default one stays black there.
  auto renderer = Create<IBaseFilter>(CLSID_VideoRenderer, IID_IBaseFilter);
  if (!m_graph || !renderer || FAILED(m_graph->AddFilter(renderer.Get(), L"Video Renderer")) ||
      !FileExists(name) || FAILED(m_graph->RenderFile(name.c_str(), nullptr))) {
    Close();
    return false;
  }
  // Without a video decoder the file would render its sound alone.
  ComPtr<IPin> rendererIn = FirstPin(renderer.Get(), PINDIR_INPUT);
  ComPtr<IPin> upstream;
  if (!rendererIn || FAILED(rendererIn->ConnectedTo(upstream.GetAddressOf()))) {
    Close();
    return false;
  }
  PIN_INFO info{};
  if (SUCCEEDED(upstream->QueryPinInfo(&info)) && info.pFilter) {
    FILTER_INFO filter{};
    if (SUCCEEDED(info.pFilter->QueryFilterInfo(&filter))) {
      m_description = brontel::Narrow(filter.achName);
      if (filter.pGraph) filter.pGraph->Release();
    }
    info.pFilter->Release();
  }

  m_media = Query<IMediaControl>(m_graph.Get(), IID_IMediaControl);
  m_seeking = Query<IMediaSeeking>(m_graph.Get(), IID_IMediaSeeking);
  m_events = Query<IMediaEvent>(m_graph.Get(), IID_IMediaEvent);
  m_video = Query<IVideoWindow>(m_graph.Get(), IID_IVideoWindow);
  LONGLONG duration = 0;
  if (!m_media || !m_seeking || !m_events || !m_video ||
      FAILED(m_seeking->GetDuration(&duration))) {
    Close();
    return false;
  }
  m_durationMs = duration / kUnitsPerMs;
  if (window) {
    RECT client{};
    GetClientRect(window, &client);
    m_video->put_Owner(reinterpret_cast<OAHWND>(window));
    m_video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_video->SetWindowPosition(0, 0, client.right, client.bottom);
    m_video->put_Visible(OATRUE);
  }
  m_ended = false;
  if (FAILED(m_media->Run())) {
    Close();
    return false;
  }
  return true;
}

void PlaybackGraph::Close() {
  if (m_media) m_media->Stop();
  if (m_video) {
    m_video->put_Visible(OAFALSE);
    m_video->put_Owner(0);
  }
  m_video.Reset();
  m_events.Reset();
  m_seeking.Reset();
  m_media.Reset();
  m_graph.Reset();
  m_durationMs = 0;
  m_ended = false;
}

bool PlaybackGraph::Pause() {
  return m_media && SUCCEEDED(m_media->Pause());
}

bool PlaybackGraph::Resume() {
  return m_media && SUCCEEDED(m_media->Run());
}

bool PlaybackGraph::Seek(int64_t ms, bool paused) {
  if (!m_media || !m_seeking) return false;
  if (ms < 0) ms = 0;
  if (ms > m_durationMs) ms = m_durationMs;
  LONGLONG target = ms * kUnitsPerMs;
  // A seek of a running two-stream file makes the next Stop hang in Wine.
  if (FAILED(m_media->Stop()) ||
      FAILED(m_seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_NoPositioning))) {
    return false;
  }
  // Events of the stretch before the seek no longer count.
  long code = 0;
  LONG_PTR first = 0, second = 0;
  while (m_events->GetEvent(&code, &first, &second, 0) == S_OK) {
    m_events->FreeEventParams(code, first, second);
  }
  m_ended = false;
  return SUCCEEDED(paused ? m_media->Pause() : m_media->Run());
}

int64_t PlaybackGraph::PositionMs() {
  if (!m_seeking) return 0;
  long code = 0;
  LONG_PTR first = 0, second = 0;
  while (m_events->GetEvent(&code, &first, &second, 0) == S_OK) {
    m_events->FreeEventParams(code, first, second);
    if (code == EC_COMPLETE) m_ended = true;
  }
  // At the end the position is the end, so that the program can step on.
  if (m_ended) return m_durationMs;
  LONGLONG position = 0;
  if (FAILED(m_seeking->GetCurrentPosition(&position))) return 0;
  const int64_t ms = position / kUnitsPerMs;
  return ms > m_durationMs ? m_durationMs : ms;
}

void PlaybackGraph::SetSound(Sound sound) {
  auto audio = Query<IBasicAudio>(m_graph.Get(), IID_IBasicAudio);
  if (!audio) return;
  audio->put_Volume(sound == Sound::kSilent ? kVolumeSilent : 0);
  audio->put_Balance(sound == Sound::kA ? kBalanceLeft : sound == Sound::kB ? kBalanceRight : 0);
}

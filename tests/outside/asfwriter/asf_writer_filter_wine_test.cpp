// The ASF audio writer in a real graph: the capture source's audio pin into
// the writer for five seconds of sound, then Wine's own DirectShow playback
// of the file. check_asf_recording.sh judges asf_writer_wine.wma on the host.

#include <gtest/gtest.h>

#include "outside/asfwriter/asf_writer_filter.h"
#include "outside/capturesource/capture_source.h"
#include "win32/com_ptr.h"

#include <control.h>
#include <evcode.h>

namespace brontel::test {
namespace {

constexpr wchar_t kRecording[] = L"asf_writer_wine.wma";
constexpr int kFrames = 150;  // 5.005 s at 29.97 frames a second
constexpr double kSeconds = kFrames * 1001.0 / 30000.0;

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  void TearDown() override { CoUninitialize(); }
};
const ::testing::Environment* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

template <typename T>
ComPtr<T> Query(IUnknown* object, const IID& iid) {
  ComPtr<T> result;
  if (object) object->QueryInterface(iid, reinterpret_cast<void**>(result.GetAddressOf()));
  return result;
}

ComPtr<IGraphBuilder> NewGraph() {
  ComPtr<IGraphBuilder> graph;
  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                   reinterpret_cast<void**>(graph.GetAddressOf()));
  return graph;
}

// Runs the graph until EC_COMPLETE; false on EC_ERRORABORT or after the timeout.
bool RunToCompletion(IGraphBuilder* graph, int timeoutSeconds) {
  auto media = Query<IMediaControl>(graph, IID_IMediaControl);
  auto events = Query<IMediaEvent>(graph, IID_IMediaEvent);
  if (!media || !events || FAILED(media->Run())) return false;
  for (int waited = 0; waited < timeoutSeconds * 10; ++waited) {
    long code = 0;
    LONG_PTR first = 0, second = 0;
    if (events->GetEvent(&code, &first, &second, 100) != S_OK) continue;
    events->FreeEventParams(code, first, second);
    if (code == EC_COMPLETE) return true;
    if (code == EC_ERRORABORT || code == EC_USERABORT) return false;
  }
  return false;
}

struct RecordingGraph {
  ComPtr<IGraphBuilder> graph = NewGraph();
  CaptureSourceFilter* source = nullptr;
  ComPtr<IBaseFilter> writer;

  explicit RecordingGraph(const wchar_t* file) {
    CaptureSourceConfig config;
    config.frames = kFrames;
    config.realTime = false;
    source = new CaptureSourceFilter(config);
    CreateAsfAudioWriter(writer.GetAddressOf());
    if (!graph || !writer) return;
    graph->AddFilter(source, L"capture");
    graph->AddFilter(writer.Get(), L"asf writer");
    Query<IFileSinkFilter>(writer.Get(), IID_IFileSinkFilter)->SetFileName(file, nullptr);
  }
  HRESULT Connect() {
    ComPtr<IPin> input;
    writer->FindPin(L"Audio In", input.GetAddressOf());
    return graph->ConnectDirect(&source->AudioPin(), input.Get(), nullptr);
  }
  ~RecordingGraph() {
    if (auto media = Query<IMediaControl>(graph.Get(), IID_IMediaControl)) media->Stop();
    if (graph) {
      graph->RemoveFilter(source);
      graph->RemoveFilter(writer.Get());
    }
    source->Release();
  }
};

TEST(AsfWriterFilter, RecordsTheCaptureSoundAndWinePlaysItBack) {
  DeleteFileW(kRecording);
  {
    RecordingGraph recording(kRecording);
    ASSERT_TRUE(recording.graph && recording.writer);
    ASSERT_EQ(S_OK, recording.Connect());
    ASSERT_TRUE(RunToCompletion(recording.graph.Get(), 60));
    ASSERT_EQ(S_OK, Query<IMediaControl>(recording.graph.Get(), IID_IMediaControl)->Stop());
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(kRecording, GetFileExInfoStandard, &data));
  // 192 kbit/s for five seconds.
  EXPECT_NEAR(static_cast<double>(data.nFileSizeLow), 24000.0 * kSeconds, 10000.0);

  ComPtr<IGraphBuilder> playback = NewGraph();
  ASSERT_TRUE(playback);
  ASSERT_EQ(S_OK, playback->RenderFile(kRecording, nullptr));
  auto seeking = Query<IMediaSeeking>(playback.Get(), IID_IMediaSeeking);
  ASSERT_TRUE(seeking);
  LONGLONG duration = 0;
  ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
  EXPECT_NEAR(duration / 1e7, kSeconds, 0.2);
  ASSERT_TRUE(RunToCompletion(playback.Get(), 30)) << "the playback did not reach the end";
  LONGLONG position = 0;
  seeking->GetCurrentPosition(&position);
  EXPECT_NEAR(position / 1e7, kSeconds, 0.2);
  Query<IMediaControl>(playback.Get(), IID_IMediaControl)->Stop();
}

TEST(AsfWriterFilter, AMissingFolderFailsTheStartAndWritesNothing) {
  const wchar_t* path = L"no such folder\\radio.wma";
  RecordingGraph recording(path);
  ASSERT_EQ(S_OK, recording.Connect());
  auto media = Query<IMediaControl>(recording.graph.Get(), IID_IMediaControl);
  EXPECT_TRUE(FAILED(media->Pause()));
  EXPECT_EQ(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace brontel::test

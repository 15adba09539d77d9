// A capture graph under the Filter Graph Manager: the synthetic capture
// source (interlaced YUY2 720x480 at 29.97 and a 48 kHz stereo tone) into the
// installed kxEncodeWriter.ax. The file it writes, encodewriter_wine.mpg, is
// judged by check_recording.sh on the host afterwards.

#include <gtest/gtest.h>

#include <cstdio>

#include "encodewriter/filter/encode_writer_interfaces.h"
#include "outside/capturesource/capture_source.h"
#include "test_support.h"

#include <psapi.h>

namespace brontel::test {
namespace {

using brontel::ComPtr;

// COM for the whole program, as the product's client has it.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  void TearDown() override { CoUninitialize(); }
};
const ::testing::Environment* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

constexpr int kFrames = 90;
constexpr wchar_t kRecording[] = L"encodewriter_wine.mpg";

ComPtr<IPin> FindPin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.GetAddressOf());
  return pin;
}

// Runs the capture source into the writer until the writer reports the
// completion; the control interface stays usable afterwards.
struct CaptureRun {
  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> writer;
  ComPtr<IEncodeWriterControl> control;
  ComPtr<IMediaControl> media;
  CaptureSourceFilter* source = nullptr;
  LONG_PTR completedBy = 0;

  // Builds and connects the graph; the caller sets the writer up, then Runs.
  bool Build(const CaptureSourceConfig& config) {
    graph = CreateComObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    writer = CreateComObject<IBaseFilter>(kClsidEncodeWriter, IID_IBaseFilter);
    if (!graph || !writer) return false;
    source = new CaptureSourceFilter(config);
    graph->AddFilter(source, L"capture");
    graph->AddFilter(writer.Get(), L"writer");
    writer->QueryInterface(kIidEncodeWriterControl,
                           reinterpret_cast<void**>(control.GetAddressOf()));
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(media.GetAddressOf()));
    return control && media &&
           graph->ConnectDirect(&source->VideoPin(), FindPin(writer.Get(), L"MPEG Video In").Get(),
                                nullptr) == S_OK &&
           graph->ConnectDirect(&source->AudioPin(), FindPin(writer.Get(), L"MPEG Audio In").Get(),
                                nullptr) == S_OK;
  }

  // Runs until EC_COMPLETE or the timeout; true when it completed.
  bool Run(int timeoutSeconds) {
    ComPtr<IMediaEvent> events;
    graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()));
    if (!events || FAILED(media->Run())) return false;
    // The filter reports the completion itself, naming itself as the
    // sender (the graph's own completion handling is cancelled).
    for (int waited = 0; waited < timeoutSeconds; ++waited) {
      long code = 0;
      LONG_PTR first = 0, second = 0;
      if (events->GetEvent(&code, &first, &second, 1000) != S_OK) continue;
      events->FreeEventParams(code, first, second);
      if (code == EC_COMPLETE) {
        completedBy = second;
        return true;
      }
    }
    return false;
  }

  ~CaptureRun() {
    if (media) media->Stop();
    if (graph && source) graph->RemoveFilter(source);
    if (graph && writer) graph->RemoveFilter(writer.Get());
    if (source) source->Release();
  }
};

TEST(EncodeWriterGraph, CaptureSourceRecordsAProgramStream) {
  CaptureSourceConfig config;
  config.frames = kFrames;
  CaptureRun run;
  ASSERT_TRUE(run.Build(config)) << "kxEncodeWriter.ax is not registered or does not connect";
  DeleteFileW(kRecording);
  ASSERT_EQ(S_OK, run.control->SetOutputFile(kRecording));
  ASSERT_EQ(S_OK, run.control->SetFileSizeLimit(0x40000000, 0));
  ASSERT_EQ(S_OK, run.control->EnableWriting(1));

  ASSERT_TRUE(run.Run(60));
  EXPECT_EQ(run.completedBy, reinterpret_cast<LONG_PTR>(run.writer.Get()));
  LONGLONG encodedMs = 0;
  EXPECT_EQ(S_OK, run.control->GetEncodedTime(&encodedMs));
  ASSERT_EQ(S_OK, run.media->Stop());
  EXPECT_EQ(run.source->VideoPin().Delivered(), kFrames);
  DWORD doubled = 0;
  run.control->GetDuplicatedFrames(&doubled);
  std::printf("pictures %ld, audio buffers %ld, encoded twice %lu, encoded time %lld ms\n",
              run.source->VideoPin().Delivered(), run.source->AudioPin().Delivered(), doubled,
              encodedMs);

  // The last picture is encoded at the audio time of its arrival, one
  // picture short of the whole.
  EXPECT_NEAR(static_cast<double>(encodedMs), (kFrames - 1) * 1001.0 / 30.0, 70.0);
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExW(kRecording, GetFileExInfoStandard, &file));
  EXPECT_GT(file.nFileSizeLow, 100000u);
}

struct ProcessCounts {
  DWORD handles = 0;
  // The value a new handle gets: it climbs when handles leak, also where
  // the handle count itself is not kept.
  UINT_PTR nextHandle = 0;
  DWORD gdiObjects = 0;
  SIZE_T pagefileBytes = 0;
};

ProcessCounts MeasureProcess() {
  ProcessCounts counts;
  GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
  HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  counts.nextHandle = reinterpret_cast<UINT_PTR>(probe);
  CloseHandle(probe);
  counts.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  counts.pagefileBytes = memory.PagefileUsage;
  return counts;
}

TEST(EncodeWriterGraph, RunStopCyclesLeaveTheCountsFlat) {
  constexpr int kWarmUp = 20;
  constexpr int kCycles = 1000;
  CaptureSourceConfig config;  // endless, real time
  CaptureRun run;
  ASSERT_TRUE(run.Build(config));
  ASSERT_EQ(S_OK, run.control->SetOutputFile(L"encodewriter_cycles.mpg"));
  ASSERT_EQ(S_OK, run.control->SetFileSizeLimit(0x1000000, 0));
  ASSERT_EQ(S_OK, run.control->EnableWriting(1));
  ProcessCounts before;
  for (int cycle = 0; cycle < kWarmUp + kCycles; ++cycle) {
    if (cycle == kWarmUp) before = MeasureProcess();
    ASSERT_TRUE(SUCCEEDED(run.media->Run())) << cycle;
    ASSERT_EQ(S_OK, run.media->Stop()) << cycle;
  }
  const ProcessCounts after = MeasureProcess();
  std::printf(
      "after %d cycles: handles %lu -> %lu (next handle %#lx -> %#lx), GDI objects %lu -> %lu, "
      "committed bytes %lu -> %lu\n",
      kCycles, before.handles, after.handles, static_cast<unsigned long>(before.nextHandle),
      static_cast<unsigned long>(after.nextHandle), before.gdiObjects, after.gdiObjects,
      static_cast<unsigned long>(before.pagefileBytes),
      static_cast<unsigned long>(after.pagefileBytes));
  ASSERT_GT(after.pagefileBytes, 0u) << "no memory figure to compare";
  EXPECT_LE(after.handles, before.handles + 4);
  // Handle values step by 4, and Wine's streaming and queue threads leave a
  // few slots in use depending on timing; one handle lost per cycle would
  // move the value by thousands.
  EXPECT_LE(after.nextHandle, before.nextHandle + 4 * 64);
  EXPECT_LE(after.gdiObjects, before.gdiObjects);
  EXPECT_LE(after.pagefileBytes, before.pagefileBytes + 4 * 1024 * 1024);
  DeleteFileW(L"encodewriter_cycles.mpg");
}

}  // namespace
}  // namespace brontel::test

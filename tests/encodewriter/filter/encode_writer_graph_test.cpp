// A capture graph under the Filter Graph Manager: the synthetic capture
// source (interlaced YUY2 720x480 at 29.97 and a 48 kHz stereo tone) into the
// installed kxEncodeWriter.ax. The file it writes, encodewriter_wine.mpg, is
// judged by tests/support/check_program_stream.sh on the host afterwards.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

std::vector<char> ReadWholeFile(const wchar_t* name) {
  std::vector<char> bytes;
  FILE* file = _wfopen(name, L"rb");
  if (!file) return bytes;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof(chunk), file)) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  std::fclose(file);
  return bytes;
}

// A time-shift file run for longer than it holds: it keeps its size, the
// buffered bytes follow the time each wrap took, and the file read from the
// write position on (oldest first, as a time-shift reader reads it) is the
// newest stretch of the programme, which the host then decodes.
TEST(EncodeWriterGraph, CircularFileKeepsItsSizeAndTheNewestStretch) {
  constexpr LONGLONG kLimit = 8 * 1024 * 1024;
  constexpr int kWraps = 2;
  constexpr wchar_t kCircular[] = L"encodewriter_circular.mpg";
  CaptureSourceConfig config;  // endless
  // As fast as the encoder takes it: the periods come from the audio clock.
  config.realTime = false;
  CaptureRun run;
  ASSERT_TRUE(run.Build(config));
  DeleteFileW(kCircular);
  ASSERT_EQ(S_OK, run.control->SetOutputFile(kCircular));
  ASSERT_EQ(S_OK, run.control->SetFileSizeLimit(static_cast<DWORD>(kLimit), 0));
  ASSERT_EQ(S_OK, run.control->SetLinearMode(0));
  ASSERT_EQ(S_OK, run.control->EnableWriting(1));
  LONGLONG totalRate = 0;
  ASSERT_EQ(S_OK, run.control->GetTotalBitRate(&totalRate));

  ASSERT_TRUE(SUCCEEDED(run.media->Run()));
  // The wraps seen from outside: the write position drops back, and the
  // encoded time then tells when.
  std::vector<LONGLONG> wrapMs{0};
  std::vector<LONGLONG> buffered;
  LONGLONG last = 0, firstFill = 0;
  const DWORD started = GetTickCount();
  while (static_cast<int>(buffered.size()) < kWraps && GetTickCount() - started < 90000) {
    LONGLONG position = 0, bytes = 0;
    run.control->GetWritePosition(&position);
    if (position < last) {
      LONGLONG ms = 0;
      run.control->GetEncodedTime(&ms);
      wrapMs.push_back(ms);
      // The filter takes the wrap with the next picture.
      Sleep(300);
      run.control->GetBufferedBytes(&bytes);
      buffered.push_back(bytes);
    } else if (wrapMs.size() == 1 && position > kLimit / 2 && firstFill == 0) {
      run.control->GetBufferedBytes(&firstFill);
    }
    last = position;
    Sleep(2);
  }
  Sleep(1000);  // a stretch into the third round
  ASSERT_EQ(S_OK, run.media->Stop());
  LONGLONG end = 0;
  ASSERT_EQ(S_OK, run.control->GetWritePosition(&end));
  ASSERT_EQ(static_cast<int>(buffered.size()), kWraps) << "the file did not wrap in time";

  // Before the first wrap nothing is known but the size.
  EXPECT_EQ(firstFill, kLimit);
  for (int wrap = 0; wrap < kWraps; ++wrap) {
    const LONGLONG periodMs = wrapMs[wrap + 1] - wrapMs[wrap];
    const double expected = static_cast<double>(totalRate) * periodMs / 8000.0;
    std::printf("wrap %d after %lld ms: %lld bytes buffered, %.0f for the period\n", wrap + 1,
                periodMs, buffered[wrap], expected);
    // A picture either way at each end of the period.
    EXPECT_NEAR(static_cast<double>(buffered[wrap]), expected, totalRate * 0.07 / 8.0) << wrap;
  }
  const std::vector<char> bytes = ReadWholeFile(kCircular);
  ASSERT_EQ(static_cast<LONGLONG>(bytes.size()), kLimit);
  ASSERT_GT(end, 0);
  ASSERT_LT(end, kLimit);
  FILE* newest = _wfopen(L"encodewriter_newest.mpg", L"wb");
  ASSERT_NE(newest, nullptr);
  std::fwrite(bytes.data() + end, 1, bytes.size() - end, newest);
  std::fwrite(bytes.data(), 1, end, newest);
  std::fclose(newest);
  DeleteFileW(kCircular);
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

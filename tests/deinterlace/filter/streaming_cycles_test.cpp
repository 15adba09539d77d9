// Run / pause / stop / flush cycles while a streaming thread keeps pushing:
// nothing hangs, and handles, memory and COM objects come back to where
// they were.

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <thread>

#include "deinterlace/filter/deinterlace_control.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

constexpr int kWarmUpCycles = 10;
constexpr int kCycles = 150;
constexpr DWORD kFrameWaitMs = 2000;
constexpr DWORD kHandleSlack = 8;
constexpr SIZE_T kMemorySlackBytes = 8 * 1024 * 1024;  // well under ten leaked frames

struct Usage {
  DWORD handles = 0;
  SIZE_T privateBytes = 0;
};

Usage MeasureUsage() {
  Usage usage;
  GetProcessHandleCount(GetCurrentProcess(), &usage.handles);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof(counters));
  usage.privateBytes = counters.PrivateUsage;
  return usage;
}

bool WaitForMoreSamples(TestSinkFilter* sink, int than) {
  DWORD start = GetTickCount();
  while (sink->SampleCount() <= than) {
    if (GetTickCount() - start > kFrameWaitMs) return false;
    Sleep(1);
  }
  return true;
}

struct CycleCase {
  const char* name;
  CLSID clsid;
  const wchar_t* library;
};

class StreamingCycles : public ::testing::TestWithParam<CycleCase> {};

TEST_P(StreamingCycles, StateAndFlushCyclesLeakNothingAndNeverHang) {
  Usage before{};
  Usage after{};
  {
    TestGraph graph;
    dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
    ASSERT_EQ(S_OK, graph.Build(GetParam().clsid, type.Get(), kPalFrameBytes));
    graph.Sink()->SetKeepSamples(false);
    ComPtr<IPin> filterInput;
    graph.Source()->OutPin()->ConnectedTo(filterInput.GetAddressOf());
    ASSERT_TRUE(filterInput);
    // Weave mode, so kxDIgrab's history and grab paths run too.
    ComPtr<IDeinterlaceControl> control;
    graph.Filter()->QueryInterface(GetParam().clsid == kClsidDeinterlaceGrabFilter
                                       ? kIidDeinterlaceControlGrab
                                       : kIidDeinterlaceControlSnap,
                                   reinterpret_cast<void**>(control.GetAddressOf()));
    ASSERT_TRUE(control);
    control->SetSettings(1113, 1120, 10, 8, 20);
    std::vector<std::uint8_t> grabBuffer(kPalFrameBytes);

    std::atomic<bool> done{false};
    std::thread streaming([&] {
      std::vector<std::uint8_t> frame = MakeFrame(kPalWidth, kPalHeight, 1);
      SampleProps props;
      props.hasTime = true;
      while (!done) {
        // Refusals while stopped or flushing are expected; keep pushing.
        if (graph.Source()->Push(frame, props) != S_OK) Sleep(1);
        props.start += 400000;
        props.stop = props.start + 400000;
      }
    });

    IMediaControl* media = graph.Control();
    bool allStreamed = true;
    for (int cycle = 0; cycle < kWarmUpCycles + kCycles; ++cycle) {
      if (cycle == kWarmUpCycles) before = MeasureUsage();
      ASSERT_TRUE(SUCCEEDED(media->Run())) << cycle;
      control->GrabFrame(grabBuffer.data(), 1);
      allStreamed &= WaitForMoreSamples(graph.Sink(), graph.Sink()->SampleCount());
      ASSERT_EQ(S_OK, filterInput->BeginFlush()) << cycle;
      ASSERT_EQ(S_OK, filterInput->EndFlush()) << cycle;
      ASSERT_TRUE(SUCCEEDED(media->Pause())) << cycle;
      ASSERT_TRUE(SUCCEEDED(media->Run())) << cycle;
      allStreamed &= WaitForMoreSamples(graph.Sink(), graph.Sink()->SampleCount());
      ASSERT_EQ(S_OK, media->Stop()) << cycle;
    }
    after = MeasureUsage();
    done = true;
    streaming.join();
    EXPECT_TRUE(allStreamed);
    EXPECT_GT(graph.Sink()->FlushCount(), kCycles);
    LONG status = 0;
    control->GetGrabStatus(&status);
    EXPECT_EQ(1, status);
  }
  EXPECT_LE(after.handles, before.handles + kHandleSlack)
      << before.handles << " -> " << after.handles;
  EXPECT_LE(after.privateBytes, before.privateBytes + kMemorySlackBytes)
      << before.privateBytes << " -> " << after.privateBytes;

  // Every filter, pin reference and enumerator of the library has gone.
  HMODULE library = GetModuleHandleW(GetParam().library);
  ASSERT_NE(nullptr, library);
  using CanUnload = HRESULT(WINAPI*)();
  auto canUnload = reinterpret_cast<CanUnload>(GetProcAddress(library, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_EQ(S_OK, canUnload());
}

INSTANTIATE_TEST_SUITE_P(
    BothFilters, StreamingCycles,
    ::testing::Values(CycleCase{"kxDIgrab", kClsidDeinterlaceGrabFilter, L"kxDIgrab.ax"},
                      CycleCase{"kxDISnap", kClsidFrameSnapFilter, L"kxDISnap.ax"}),
    [](const ::testing::TestParamInfo<CycleCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brontel::test

// The time-shift player behind a real capture graph: the synthetic capture
// source into the installed kxEncodeWriter.ax, writing an 8 MB circular file
// for longer than it holds, while the player draws into a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "encodewriter/encoder_records.h"
#include "encodewriter/filter/encode_writer_interfaces.h"
#include "outside/capturesource/capture_source.h"
#include "outside/virtualboard/timeshift/time_shift_player.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

constexpr std::int64_t kBufferBytes = 8 << 20;
constexpr wchar_t kBufferFile[] = L"timeshift_wine.mpg";
constexpr wchar_t kWindowClass[] = L"TimeShiftPlayerTestWindow";

ComPtr<IPin> FindPin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.GetAddressOf());
  return pin;
}

// Waits while the window's messages are handled, until done() or the
// timeout; true when done() came true.
template <typename Done>
bool PumpUntil(Done done, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Share of the window's client area that is not black.
double LitShare(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  int lit = 0, total = 0;
  for (int y = 8; y < client.bottom; y += 16)
    for (int x = 8; x < client.right; x += 16) {
      const COLORREF c = GetPixel(dc, x, y);
      ++total;
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) > 60) ++lit;
    }
  ReleaseDC(window, dc);
  return total ? static_cast<double>(lit) / total : 0.0;
}

TEST(TimeShiftPlayer, PlaysBehindACircularRecordingPausesResumesAndSeeksToTheOldest) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, kWindowClass, L"time-shift", WS_POPUP | WS_VISIBLE, 0, 0, 360,
                                  240, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);

    auto graph = CreateComObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    auto writer = CreateComObject<IBaseFilter>(kClsidEncodeWriter, IID_IBaseFilter);
    ASSERT_TRUE(graph && writer) << "kxEncodeWriter.ax is not registered";
    CaptureSourceConfig config;  // endless, real time
    auto* source = new CaptureSourceFilter(config);
    graph->AddFilter(source, L"capture");
    graph->AddFilter(writer.Get(), L"writer");
    ComPtr<IEncodeWriterControl> control;
    ComPtr<IEncodeWriterParams> params;
    ComPtr<IMediaControl> media;
    writer->QueryInterface(kIidEncodeWriterControl,
                           reinterpret_cast<void**>(control.GetAddressOf()));
    writer->QueryInterface(kIidEncodeWriterParams, reinterpret_cast<void**>(params.GetAddressOf()));
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(media.GetAddressOf()));
    ASSERT_TRUE(control && params && media);
    ASSERT_EQ(graph->ConnectDirect(&source->VideoPin(),
                                   FindPin(writer.Get(), L"MPEG Video In").Get(), nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(&source->AudioPin(),
                                   FindPin(writer.Get(), L"MPEG Audio In").Get(), nullptr),
              S_OK);
    // A high constant rate goes round the buffer in a few seconds.
    encodewriter::ParamRecord record{};
    ASSERT_EQ(S_OK, params->GetEncodeParams(record.data(), nullptr, nullptr, nullptr));
    encodewriter::WriteWord(record.data(), encodewriter::kWordBitRateMode, 1);
    encodewriter::WriteWord(record.data(), encodewriter::kWordVideoBitRate, 9000000);
    ASSERT_EQ(S_OK, params->SetEncodeParams(record.data(), nullptr, nullptr, nullptr));
    DeleteFileW(kBufferFile);
    ASSERT_EQ(S_OK, control->SetOutputFile(kBufferFile));
    ASSERT_EQ(S_OK, control->SetFileSizeLimit(static_cast<DWORD>(kBufferBytes), 0));
    ASSERT_EQ(S_OK, control->SetLinearMode(0));
    ASSERT_EQ(S_OK, control->EnableWriting(1));

    timeshift::WriteTotal total(kBufferBytes);
    IEncodeWriterControl* writerControl = control.Get();
    timeshift::TimeShiftPlayer player(kBufferFile, kBufferBytes, window, [&] {
      timeshift::WriterProgress p;
      LONGLONG position = 0, ms = 0;
      if (writerControl->GetWritePosition(&position) == S_OK)
        p.bytesWritten = total.Update(position);
      writerControl->GetEncodedTime(&ms);
      p.encodedMs = ms;
      return p;
    });
    auto encodedMs = [&] {
      LONGLONG ms = 0;
      writerControl->GetEncodedTime(&ms);
      return static_cast<std::int64_t>(ms);
    };
    ASSERT_FALSE(player.SeekMs(0)) << "nothing written yet";
    ASSERT_TRUE(SUCCEEDED(media->Run()));
    ASSERT_TRUE(player.Start());
    ASSERT_FALSE(player.Start());

    // Playing behind the writer; the delay is judged from the recording's
    // own clock, not from how fast this machine is.
    ASSERT_TRUE(PumpUntil([&] { return player.PicturesShown() > 30 && encodedMs() > 3000; }, 20000))
        << "shown " << player.PicturesShown() << ", encoded " << encodedMs() << " ms";
    auto delay = [&] { return encodedMs() - player.PlayPositionMs(); };
    const std::int64_t delayBefore = delay();
    EXPECT_GE(delayBefore, 0);
    EXPECT_LT(delayBefore, 1500);
    EXPECT_GT(LitShare(window), 0.5) << "the window shows no picture";

    player.Pause();
    PumpFor(200);
    const std::int64_t held = player.PlayPositionMs();
    const std::int64_t encodedAtPause = encodedMs();
    PumpFor(2000);
    const std::int64_t pausedFor = encodedMs() - encodedAtPause;
    EXPECT_EQ(player.PlayPositionMs(), held) << "the picture is held";
    player.Resume();
    PumpFor(1000);
    const std::int64_t delayAfter = delay();
    std::printf("delay %lld ms before the pause, %lld ms after %lld ms paused\n",
                static_cast<long long>(delayBefore), static_cast<long long>(delayAfter),
                static_cast<long long>(pausedFor));
    EXPECT_NEAR(static_cast<double>(delayAfter - delayBefore), static_cast<double>(pausedFor),
                600.0);

    // Longer than the buffer holds: the file keeps its size, the times grow.
    ASSERT_TRUE(PumpUntil([&] { return total.Total() > kBufferBytes + kBufferBytes / 4; }, 40000))
        << "written " << total.Total();
    WIN32_FILE_ATTRIBUTE_DATA file{};
    ASSERT_TRUE(GetFileAttributesExW(kBufferFile, GetFileExInfoStandard, &file));
    EXPECT_EQ(file.nFileSizeLow, static_cast<DWORD>(kBufferBytes));
    const std::int64_t length = player.BufferLengthMs();
    const std::int64_t writeMs = encodedMs();
    ASSERT_GT(length, 2000);
    EXPECT_LT(length, writeMs);

    // The program's "oldest" target: 8 s past the write point in the buffer.
    const std::int64_t shownBefore = player.PicturesShown();
    ASSERT_TRUE(player.SeekMs((writeMs % length + 8000) % length));
    PumpFor(1500);
    const std::int64_t landed = player.PlayPositionMs();
    const std::int64_t nowMs = encodedMs();
    std::printf("buffer %lld ms, written %lld ms, seek to the oldest played at %lld ms\n",
                static_cast<long long>(length), static_cast<long long>(nowMs),
                static_cast<long long>(landed));
    EXPECT_GE(landed, nowMs - length - 500) << "before the oldest data held";
    EXPECT_LE(landed, writeMs - length + 8000 + 2500);
    EXPECT_GT(player.PicturesShown(), shownBefore + 10) << "the seek plays";
    PumpFor(500);
    EXPECT_GT(player.PlayPositionMs(), landed);
    EXPECT_GT(LitShare(window), 0.5);

    player.Stop();
    media->Stop();
    graph->RemoveFilter(source);
    graph->RemoveFilter(writer.Get());
    DestroyWindow(window);
  }
  DeleteFileW(kBufferFile);
  CoUninitialize();
}

}  // namespace
}  // namespace brontel::test

// The encode-writer's own cost: the same 720x480 YUY2 pictures encoded once
// through kxEncodeWriter.ax in a Filter Graph Manager graph (a push source
// into "MPEG Video In", written to a file) and once by calling gomotion.dll
// directly with the same records, also written to a file. Both paths copy
// each picture once into a buffer, as a capture driver hands it over; the
// filter itself must add no copy. Runs under Wine with the product
// installed (the filter registered).

#include <windows.h>

#include <dshow.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "encodewriter/encoder_records.h"
#include "encodewriter/filter/encode_writer_interfaces.h"
#include "encodewriter/filter/gomotion_api.h"
#include "test_filters.h"
#include "test_support.h"

namespace {

using brontel::ComPtr;
using Frame = std::vector<std::uint8_t>;

constexpr int kWidth = 720;
constexpr int kHeight = 480;
constexpr int kFrames = 300;  // ten seconds: the graph's run and stop are a fixed cost
constexpr int kDistinctFrames = 16;
constexpr int kTrials = 3;
constexpr REFERENCE_TIME kFrameTime = 333667;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Seconds from Run to the filter's completion and Stop; negative on failure.
double ThroughTheFilter(const std::vector<Frame>& frames) {
  auto graph = brontel::test::CreateComObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
  auto writer =
      brontel::test::CreateComObject<IBaseFilter>(brontel::kClsidEncodeWriter, IID_IBaseFilter);
  if (!graph || !writer) return -1;
  brontel::dshow::MediaType type =
      brontel::test::MakeVideoType(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16);
  auto* source = new brontel::test::TestSourceFilter(type.Get(), kWidth * kHeight * 2);
  source->AddRef();
  ComPtr<brontel::IEncodeWriterControl> control;
  writer->QueryInterface(brontel::kIidEncodeWriterControl,
                         reinterpret_cast<void**>(control.GetAddressOf()));
  ComPtr<IPin> input;
  writer->FindPin(L"MPEG Video In", input.GetAddressOf());
  ComPtr<IMediaControl> media;
  ComPtr<IMediaEvent> events;
  graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(media.GetAddressOf()));
  graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()));
  double seconds = -1;
  if (control && input && media && events && SUCCEEDED(graph->AddFilter(source, L"source")) &&
      SUCCEEDED(graph->AddFilter(writer.Get(), L"writer")) &&
      graph->ConnectDirect(source->OutPin(), input.Get(), nullptr) == S_OK) {
    control->SetOutputFile(L"bench_filter.mpg");
    control->SetFileSizeLimit(0x40000000, 0);
    control->EnableWriting(1);
    control->SetPreviewMode(0);
    const LARGE_INTEGER start = Now();
    bool pushed = SUCCEEDED(media->Run());
    for (int i = 0; pushed && i < kFrames; ++i) {
      brontel::test::SampleProps props;
      props.hasTime = true;
      props.start = i * kFrameTime;
      props.stop = props.start + kFrameTime;
      pushed = source->Push(frames[i % frames.size()], props) == S_OK;
    }
    source->PushEndOfStream();
    long code = 0;
    LONG_PTR first = 0, second = 0;
    bool completed = false;
    while (pushed && !completed && events->GetEvent(&code, &first, &second, 30000) == S_OK) {
      events->FreeEventParams(code, first, second);
      completed = code == EC_COMPLETE;
    }
    media->Stop();
    if (completed) seconds = Seconds(start, Now());
  }
  graph->RemoveFilter(source);
  graph->RemoveFilter(writer.Get());
  source->Release();
  return seconds;
}

HANDLE g_direct = INVALID_HANDLE_VALUE;

int __cdecl WriteDirect(const void* data, unsigned long bytes, void*) {
  DWORD written = 0;
  WriteFile(g_direct, data, bytes, &written, nullptr);
  return 0;
}

// Seconds for the same pictures given to the encoder by hand; negative on
// failure.
double Directly(const std::vector<Frame>& frames) {
  encodewriter::ParamRecord params{};
  std::uint8_t extra[encodewriter::kExtraRecordBytes] = {};
  GoMotionOptionRecord options;
  const encodewriter::OptionRecord defaults = encodewriter::DefaultOptionRecord();
  std::memcpy(options.bytes, defaults.data(), sizeof(options.bytes));
  GetParams(params.data(), extra, options);

  VIDEOINFOHEADER video{};
  video.AvgTimePerFrame = kFrameTime;
  video.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  video.bmiHeader.biWidth = kWidth;
  video.bmiHeader.biHeight = kHeight;
  video.bmiHeader.biPlanes = 1;
  video.bmiHeader.biBitCount = 16;
  video.bmiHeader.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
  video.bmiHeader.biSizeImage = kWidth * kHeight * 2;
  static char tempName[MAX_PATH] = "kxTemp.mpg";

  void* context = GoMotionCreateContext();
  if (!context) return -1;
  encodewriter::ParamRecord encoding = encodewriter::BuildEncodingRecord(params, 0);
  encodewriter::OpenRecordInputs inputs;
  inputs.hasVideo = true;
  inputs.bitmapHeader = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(&video.bmiHeader));
  inputs.writeCallback = static_cast<std::uint32_t>(
      reinterpret_cast<UINT_PTR>(static_cast<GoMotionWriteCallback>(&WriteDirect)));
  inputs.tempFileName = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(tempName));
  encodewriter::OpenRecord open = encodewriter::BuildOpenRecord(inputs);

  const LARGE_INTEGER start = Now();
  g_direct = CreateFileW(L"bench_direct.mpg", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  double seconds = -1;
  if (g_direct != INVALID_HANDLE_VALUE &&
      OpenGoMotionEncoderEx(context, open.data(), encoding.data()) == 0) {
    GetGoMotionParamsEx(context, encoding.data());
    Frame buffer(frames[0].size());
    int demand = 0;
    bool ok = true;
    for (int i = 0; ok && i < kFrames; ++i) {
      std::memcpy(buffer.data(), frames[i % frames.size()].data(), buffer.size());
      ok = CompressVideoFrame(context, buffer.data(), 0, &demand) >= 0;
    }
    CloseGoMotionEncoder(context);
    CloseHandle(g_direct);
    if (ok) seconds = Seconds(start, Now());
  } else if (g_direct != INVALID_HANDLE_VALUE) {
    CloseHandle(g_direct);
  }
  g_direct = INVALID_HANDLE_VALUE;
  GoMotionDeleteContext(context);
  return seconds;
}

LONGLONG FileBytes(const wchar_t* name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(name, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::vector<Frame> frames;
  for (int i = 0; i < kDistinctFrames; ++i) {
    frames.push_back(brontel::test::MakeFrame(kWidth, kHeight, i));
  }
  // Interleaved, so that load from elsewhere touches both alike.
  double filter = 1e9, direct = 1e9;
  for (int trial = 0; trial < kTrials; ++trial) {
    const double f = ThroughTheFilter(frames);
    const double d = Directly(frames);
    if (f < 0 || d < 0) {
      std::printf("trial %d failed (filter %.3f s, direct %.3f s): is the product installed?\n",
                  trial, f, d);
      CoUninitialize();
      return 1;
    }
    filter = std::min(filter, f);
    direct = std::min(direct, d);
  }
  std::printf("%d pictures of %dx%d YUY2, best of %d\n", kFrames, kWidth, kHeight, kTrials);
  std::printf("through the filter: %.3f s (%.1f pictures/s), %lld bytes written\n", filter,
              kFrames / filter, FileBytes(L"bench_filter.mpg"));
  std::printf("encoder directly:   %.3f s (%.1f pictures/s), %lld bytes written\n", direct,
              kFrames / direct, FileBytes(L"bench_direct.mpg"));
  std::printf("ratio filter/direct: %.3f\n", filter / direct);
  DeleteFileW(L"bench_filter.mpg");
  DeleteFileW(L"bench_direct.mpg");
  CoUninitialize();
  return 0;
}

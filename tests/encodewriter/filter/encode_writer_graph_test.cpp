// A capture graph under the Filter Graph Manager: the synthetic capture
// source (interlaced YUY2 720x480 at 29.97 and a 48 kHz stereo tone) into the
// installed kxEncodeWriter.ax. The file it writes, encodewriter_wine.mpg, is
// judged by check_recording.sh on the host afterwards.

#include <gtest/gtest.h>

#include <cstdio>

#include "encodewriter/filter/encode_writer_interfaces.h"
#include "outside/capturesource/capture_source.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

constexpr int kFrames = 90;
constexpr wchar_t kRecording[] = L"encodewriter_wine.mpg";

ComPtr<IPin> FindPin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.GetAddressOf());
  return pin;
}

TEST(EncodeWriterGraph, CaptureSourceRecordsAProgramStream) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
  auto graph = CreateComObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
  ASSERT_TRUE(graph);
  CaptureSourceConfig config;
  config.frames = kFrames;
  auto* source = new CaptureSourceFilter(config);
  ASSERT_EQ(S_OK, graph->AddFilter(source, L"capture"));
  auto writer = CreateComObject<IBaseFilter>(kClsidEncodeWriter, IID_IBaseFilter);
  ASSERT_TRUE(writer) << "kxEncodeWriter.ax is not registered";
  ASSERT_EQ(S_OK, graph->AddFilter(writer.Get(), L"writer"));

  ComPtr<IEncodeWriterControl> control;
  ASSERT_EQ(S_OK, writer->QueryInterface(kIidEncodeWriterControl,
                                         reinterpret_cast<void**>(control.GetAddressOf())));
  DeleteFileW(kRecording);
  ASSERT_EQ(S_OK, control->SetOutputFile(kRecording));
  ASSERT_EQ(S_OK, control->SetFileSizeLimit(0x40000000, 0));
  ASSERT_EQ(S_OK, control->EnableWriting(1));

  ASSERT_EQ(S_OK, graph->ConnectDirect(&source->VideoPin(),
                                       FindPin(writer.Get(), L"MPEG Video In").Get(), nullptr));
  ASSERT_EQ(S_OK, graph->ConnectDirect(&source->AudioPin(),
                                       FindPin(writer.Get(), L"MPEG Audio In").Get(), nullptr));

  ComPtr<IMediaControl> media;
  ComPtr<IMediaEvent> events;
  ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaControl,
                                        reinterpret_cast<void**>(media.GetAddressOf())));
  ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaEvent,
                                        reinterpret_cast<void**>(events.GetAddressOf())));
  ASSERT_TRUE(SUCCEEDED(media->Run()));
  // The filter reports the completion itself, naming itself as the sender
  // (the graph's own completion handling is cancelled).
  bool complete = false;
  LONG_PTR sender = 0;
  for (int waited = 0; !complete && waited < 60; ++waited) {
    long code = 0;
    LONG_PTR first = 0, second = 0;
    if (events->GetEvent(&code, &first, &second, 1000) != S_OK) continue;
    complete = code == EC_COMPLETE;
    if (complete) sender = second;
    events->FreeEventParams(code, first, second);
  }
  EXPECT_TRUE(complete);
  EXPECT_EQ(sender, reinterpret_cast<LONG_PTR>(writer.Get()));
  LONGLONG encodedMs = 0;
  EXPECT_EQ(S_OK, control->GetEncodedTime(&encodedMs));
  ASSERT_EQ(S_OK, media->Stop());
  EXPECT_EQ(source->VideoPin().Delivered(), kFrames);
  DWORD doubled = 0;
  control->GetDuplicatedFrames(&doubled);
  std::printf("pictures %ld, audio buffers %ld, encoded twice %lu, encoded time %lld ms\n",
              source->VideoPin().Delivered(), source->AudioPin().Delivered(), doubled, encodedMs);

  // The last picture is encoded at the audio time of its arrival, one
  // picture short of the whole.
  EXPECT_NEAR(static_cast<double>(encodedMs), (kFrames - 1) * 1001.0 / 30.0, 70.0);
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExW(kRecording, GetFileExInfoStandard, &file));
  EXPECT_GT(file.nFileSizeLow, 100000u);

  graph->RemoveFilter(source);
  graph->RemoveFilter(writer.Get());
  source->Release();
  graph.Reset();
  CoUninitialize();
}

}  // namespace
}  // namespace brontel::test

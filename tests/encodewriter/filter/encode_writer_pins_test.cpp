// The pins of kxEncodeWriter.ax in real graphs: what the inputs take, the
// audio buffers, the stored video format, the one preview type, the preview
// rate in mode 2, and the one position object.

#include <gtest/gtest.h>

#include <cstring>

#include "encodewriter/encoder_records.h"
#include "encodewriter/filter/encode_writer_interfaces.h"
#include "test_support.h"

#include <mmreg.h>

namespace brontel::test {
namespace {

using brontel::ComPtr;

dshow::MediaType PcmType(int rate, int bits, int channels) {
  dshow::MediaType mt;
  AM_MEDIA_TYPE& m = mt.Get();
  m.majortype = MEDIATYPE_Audio;
  m.subtype = MEDIASUBTYPE_PCM;
  m.formattype = FORMAT_WaveFormatEx;
  mt.AllocFormat(sizeof(WAVEFORMATEX));
  auto* wave = reinterpret_cast<WAVEFORMATEX*>(m.pbFormat);
  wave->wFormatTag = WAVE_FORMAT_PCM;
  wave->nChannels = static_cast<WORD>(channels);
  wave->nSamplesPerSec = rate;
  wave->wBitsPerSample = static_cast<WORD>(bits);
  wave->nBlockAlign = static_cast<WORD>(channels * bits / 8);
  wave->nAvgBytesPerSec = rate * wave->nBlockAlign;
  return mt;
}

// The Filter Graph Manager with the writer and, per test, sources and a sink.
struct WriterGraph {
  WriterGraph() {
    graph = CreateComObject<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    writer = CreateComObject<IBaseFilter>(kClsidEncodeWriter, IID_IBaseFilter);
    if (graph && writer) graph->AddFilter(writer.Get(), L"writer");
  }
  ~WriterGraph() {
    if (control) control->Stop();
    for (IBaseFilter* filter : added) {
      graph->RemoveFilter(filter);
      filter->Release();
    }
    if (graph && writer) graph->RemoveFilter(writer.Get());
  }
  IPin* WriterPin(int index) {
    ComPtr<IEnumPins> pins;
    writer->EnumPins(pins.GetAddressOf());
    IPin* pin = nullptr;
    if (index > 0) pins->Skip(index);
    if (pins->Next(1, &pin, nullptr) != S_OK) return nullptr;
    pin->Release();  // the filter keeps it
    return pin;
  }
  TestSourceFilter* AddSource(const AM_MEDIA_TYPE& mt, long bytes) {
    auto* source = new TestSourceFilter(mt, bytes);
    graph->AddFilter(source, L"source");
    added.push_back(source);
    return source;
  }
  TestSinkFilter* AddSink() {
    auto* sink = new TestSinkFilter();
    graph->AddFilter(sink, L"sink");
    added.push_back(sink);
    return sink;
  }
  template <typename T>
  ComPtr<T> Writer(const IID& iid) {
    ComPtr<T> object;
    writer->QueryInterface(iid, reinterpret_cast<void**>(object.GetAddressOf()));
    return object;
  }

  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> writer;
  ComPtr<IMediaControl> control;
  std::vector<IBaseFilter*> added;
};

TEST(EncodeWriterPins, InputsInOrderWithTheirNames) {
  WriterGraph g;
  ASSERT_TRUE(g.writer) << "kxEncodeWriter.ax is not registered";
  const wchar_t* names[] = {L"MPEG Video In", L"MPEG Audio In", L"Video Out"};
  const PIN_DIRECTION directions[] = {PINDIR_INPUT, PINDIR_INPUT, PINDIR_OUTPUT};
  for (int i = 0; i < 3; ++i) {
    PIN_INFO info{};
    ASSERT_EQ(S_OK, g.WriterPin(i)->QueryPinInfo(&info));
    EXPECT_STREQ(info.achName, names[i]);
    EXPECT_EQ(info.dir, directions[i]);
    if (info.pFilter) info.pFilter->Release();
  }
  EXPECT_EQ(g.WriterPin(3), nullptr);
}

TEST(EncodeWriterPins, AudioRateMustEqualTheParameterRecord) {
  WriterGraph g;
  ASSERT_TRUE(g.writer);
  auto params = g.Writer<IEncodeWriterParams>(kIidEncodeWriterParams);
  ASSERT_TRUE(params);
  encodewriter::ParamRecord record{};
  ASSERT_EQ(S_OK, params->GetEncodeParams(record.data(), nullptr, nullptr, nullptr));
  const struct {
    int recordRate, offered, bits;
    HRESULT accepted;
  } cases[] = {
      {44100, 48000, 16, S_FALSE}, {48000, 48000, 16, S_OK},    {44100, 44100, 8, S_OK},
      {48000, 32000, 16, S_FALSE}, {48000, 48000, 24, S_FALSE},
  };
  IPin* audio = g.WriterPin(1);
  for (const auto& c : cases) {
    encodewriter::WriteWord(record.data(), encodewriter::kWordSampleRate, c.recordRate);
    ASSERT_EQ(S_OK, params->SetEncodeParams(record.data(), nullptr, nullptr, nullptr));
    dshow::MediaType type = PcmType(c.offered, c.bits, 2);
    EXPECT_EQ(audio->QueryAccept(&type.Get()), c.accepted) << c.recordRate << " " << c.offered;
  }
}

TEST(EncodeWriterPins, AudioAllocatorHoldsOneFramePerBuffer) {
  const struct {
    int bits, channels;
    long bytes;
  } cases[] = {{8, 1, 2304}, {16, 1, 2304}, {16, 2, 4608}};
  for (const auto& c : cases) {
    WriterGraph g;
    ASSERT_TRUE(g.writer);
    auto params = g.Writer<IEncodeWriterParams>(kIidEncodeWriterParams);
    encodewriter::ParamRecord record{};
    params->GetEncodeParams(record.data(), nullptr, nullptr, nullptr);
    encodewriter::WriteWord(record.data(), encodewriter::kWordSampleRate, 48000);
    params->SetEncodeParams(record.data(), nullptr, nullptr, nullptr);
    dshow::MediaType type = PcmType(48000, c.bits, c.channels);
    TestSourceFilter* source = g.AddSource(type.Get(), 1000);
    ASSERT_EQ(S_OK, g.graph->ConnectDirect(source->OutPin(), g.WriterPin(1), &type.Get()));
    ALLOCATOR_PROPERTIES props{};
    ASSERT_EQ(S_OK, source->SourcePin().Allocator()->GetProperties(&props));
    EXPECT_EQ(props.cBuffers, 64) << c.bits << "/" << c.channels;
    EXPECT_EQ(props.cbBuffer, c.bytes) << c.bits << "/" << c.channels;
  }
}

TEST(EncodeWriterPins, PreviewOffersOneTopDownYuy2Type) {
  WriterGraph g;
  ASSERT_TRUE(g.writer);
  IPin* output = g.WriterPin(2);
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(S_OK, output->EnumMediaTypes(types.GetAddressOf()));
  AM_MEDIA_TYPE* offered = nullptr;
  EXPECT_NE(S_OK, types->Next(1, &offered, nullptr));  // nothing before the input connects

  // A bottom-up RGB24 picture (height -480 as sent) is stored with height 480.
  dshow::MediaType rgb = MakeVideoType(MEDIASUBTYPE_RGB24, 720, -480, 24);
  TestSourceFilter* source = g.AddSource(rgb.Get(), 720 * 480 * 3);
  ASSERT_EQ(S_OK, g.graph->ConnectDirect(source->OutPin(), g.WriterPin(0), &rgb.Get()));
  types.Reset();
  ASSERT_EQ(S_OK, output->EnumMediaTypes(types.GetAddressOf()));
  ASSERT_EQ(S_OK, types->Next(1, &offered, nullptr));
  EXPECT_EQ(offered->subtype, MEDIASUBTYPE_YUY2);
  const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(offered->pbFormat);
  EXPECT_EQ(info->bmiHeader.biHeight, -480);
  EXPECT_EQ(info->bmiHeader.biWidth, 720);
  EXPECT_EQ(offered->lSampleSize, 480u * 3 * 720);
  dshow::DeleteMediaType(offered);
  EXPECT_EQ(S_FALSE, types->Next(1, &offered, nullptr));

  dshow::MediaType yuy2 = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 480, 16);
  EXPECT_EQ(S_OK, output->QueryAccept(&yuy2.Get()));
  EXPECT_NE(S_OK, output->QueryAccept(&rgb.Get()));
}

TEST(EncodeWriterPins, PreviewModeTwoSendsOneInTenAtHalfHeight) {
  WriterGraph g;
  ASSERT_TRUE(g.writer);
  auto control = g.Writer<IEncodeWriterControl>(kIidEncodeWriterControl);
  ASSERT_EQ(S_OK, control->SetPreviewMode(2));
  dshow::MediaType yuy2 = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 480, 16);
  const long frameBytes = 720 * 480 * 2;
  TestSourceFilter* source = g.AddSource(yuy2.Get(), frameBytes);
  TestSinkFilter* sink = g.AddSink();
  ASSERT_EQ(S_OK, g.graph->ConnectDirect(source->OutPin(), g.WriterPin(0), &yuy2.Get()));
  ASSERT_EQ(S_OK, g.graph->ConnectDirect(g.WriterPin(2), sink->InPin(), nullptr));
  g.graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(g.control.GetAddressOf()));
  ASSERT_TRUE(SUCCEEDED(g.control->Run()));
  EXPECT_EQ(E_FAIL, control->SetPreviewMode(1));  // not while running

  for (int i = 0; i < 20; ++i) {
    std::vector<std::uint8_t> frame(frameBytes);
    for (int line = 0; line < 480; ++line) {
      std::memset(frame.data() + line * 1440, line & 0xFF, 1440);
    }
    SampleProps props;
    ASSERT_EQ(S_OK, source->Push(frame, props));
  }
  ASSERT_EQ(S_OK, g.control->Stop());
  std::vector<ReceivedSample> received = sink->Samples();
  ASSERT_EQ(received.size(), 2u);
  ASSERT_EQ(received[0].bytes.size(), static_cast<size_t>(frameBytes / 2));
  // Line i of the preview is line 2i of the picture.
  EXPECT_EQ(received[0].bytes[1 * 1440], 2);
  EXPECT_EQ(received[0].bytes[100 * 1440], 200);
}

TEST(EncodeWriterPins, SeekingTwiceIsTheSameObject) {
  WriterGraph g;
  ASSERT_TRUE(g.writer);
  auto first = g.Writer<IMediaSeeking>(IID_IMediaSeeking);
  auto second = g.Writer<IMediaSeeking>(IID_IMediaSeeking);
  ASSERT_TRUE(first);
  EXPECT_EQ(first.Get(), second.Get());
  auto position = g.Writer<IMediaPosition>(IID_IMediaPosition);
  EXPECT_TRUE(position);
  // The object answers for the filter.
  ComPtr<IBaseFilter> back;
  first->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(back.GetAddressOf()));
  EXPECT_EQ(back.Get(), g.writer.Get());
}

}  // namespace
}  // namespace brontel::test

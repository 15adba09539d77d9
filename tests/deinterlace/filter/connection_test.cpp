// Media-type checks, output type proposal and buffer negotiation of both
// filters, through their pins and directly.

#include <gtest/gtest.h>

#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/grab_filter.h"
#include "deinterlace/filter/input_type_check.h"
#include "deinterlace/filter/snap_filter.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

const GUID kSubtypeRgb24 = MEDIASUBTYPE_RGB24;

struct InputTypeCase {
  const char* name;
  GUID subtype;
  int bits;
  GUID formatType;
  HRESULT expected;
};

TEST(InputTypeCheck, AcceptsOnlySixteenBitYuy2AndUyvyVideoInfo) {
  const InputTypeCase cases[] = {
      {"YUY2 16 bit", MEDIASUBTYPE_YUY2, 16, FORMAT_VideoInfo, S_OK},
      {"UYVY 16 bit", MEDIASUBTYPE_UYVY, 16, FORMAT_VideoInfo, S_OK},
      {"RGB24", kSubtypeRgb24, 24, FORMAT_VideoInfo, E_FAIL},
      {"RGB8", MEDIASUBTYPE_RGB8, 8, FORMAT_VideoInfo, E_FAIL},
      {"YUY2 claiming 8 bit", MEDIASUBTYPE_YUY2, 8, FORMAT_VideoInfo, E_FAIL},
      {"YUY2 claiming 24 bit", MEDIASUBTYPE_YUY2, 24, FORMAT_VideoInfo, E_FAIL},
      {"RGB565 16 bit", MEDIASUBTYPE_RGB565, 16, FORMAT_VideoInfo, E_FAIL},
      {"YUY2 in VideoInfo2", MEDIASUBTYPE_YUY2, 16, FORMAT_VideoInfo2, E_INVALIDARG},
      {"RGB24 in VideoInfo2", kSubtypeRgb24, 24, FORMAT_VideoInfo2, E_INVALIDARG},
  };
  for (const InputTypeCase& c : cases) {
    dshow::MediaType mt = MakeVideoType(c.subtype, kPalWidth, kPalHeight, c.bits, c.formatType);
    EXPECT_EQ(c.expected, CheckDeinterlaceInputType(mt.Get())) << c.name;
  }
}

TEST(InputTypeCheck, RefusesAudioAndShortFormatBlocks) {
  dshow::MediaType audio = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  audio->majortype = MEDIATYPE_Audio;
  EXPECT_EQ(E_FAIL, CheckDeinterlaceInputType(audio.Get()));
  dshow::MediaType shortBlock = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  shortBlock->cbFormat = sizeof(VIDEOINFOHEADER) - 1;
  EXPECT_EQ(E_FAIL, CheckDeinterlaceInputType(shortBlock.Get()));
  shortBlock->cbFormat = sizeof(VIDEOINFOHEADER);
}

class BothFilters : public ::testing::TestWithParam<CLSID> {};

TEST_P(BothFilters, RgbAndEightBitInputsAreRefusedOnConnection) {
  for (auto [subtype, bits] : {std::pair{kSubtypeRgb24, 24}, std::pair{MEDIASUBTYPE_RGB8, 8},
                               std::pair{MEDIASUBTYPE_YUY2, 8}}) {
    TestGraph graph;
    dshow::MediaType type = MakeVideoType(subtype, kPalWidth, kPalHeight, bits);
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, graph.Build(GetParam(), type.Get(), kPalFrameBytes));
    IPin* input = graph.FilterPin(0);
    ASSERT_NE(nullptr, input);
    EXPECT_EQ(S_FALSE, input->QueryAccept(&type.Get()));
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED,
              input->ReceiveConnection(graph.Source()->OutPin(), &type.Get()));
    // Left to choose the type itself, the source finds none the filter takes.
    EXPECT_EQ(VFW_E_NO_ACCEPTABLE_TYPES,
              graph.Graph()->ConnectDirect(graph.Source()->OutPin(), input, nullptr));
    ComPtr<IPin> connected;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, input->ConnectedTo(connected.GetAddressOf()));
  }
}

TEST_P(BothFilters, Yuy2AndUyvyConnectAndOutputTakesTheInputType) {
  for (const GUID& subtype : {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY}) {
    TestGraph graph;
    dshow::MediaType type = MakeVideoType(subtype, kPalWidth, kPalHeight, 16);
    ASSERT_EQ(S_OK, graph.Build(GetParam(), type.Get(), kPalFrameBytes));
    AM_MEDIA_TYPE out{};
    ASSERT_EQ(S_OK, graph.FilterPin(1)->ConnectionMediaType(&out));
    EXPECT_TRUE(dshow::MediaTypesEqual(type.Get(), out));
    dshow::FreeMediaType(out);
  }
}

TEST_P(BothFilters, OutputProposesExactlyTheInputType) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, 640, 480, 16);
  ASSERT_EQ(S_OK, graph.Build(GetParam(), type.Get(), 640 * 480 * 2));
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(S_OK, graph.FilterPin(1)->EnumMediaTypes(types.GetAddressOf()));
  AM_MEDIA_TYPE* proposed[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, types->Next(2, proposed, &fetched));
  ASSERT_EQ(1u, fetched);
  EXPECT_TRUE(dshow::MediaTypesEqual(type.Get(), *proposed[0]));
  dshow::DeleteMediaType(proposed[0]);

  // A different output type is refused.
  dshow::MediaType other = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 480, 16);
  EXPECT_EQ(S_FALSE, graph.FilterPin(1)->QueryAccept(&other.Get()));
  EXPECT_EQ(S_OK, graph.FilterPin(1)->QueryAccept(&type.Get()));
}

TEST_P(BothFilters, OutputWithoutInputConnectionHasNoTypes) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam(), IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IPin> output;
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(S_OK, filter->EnumPins(pins.GetAddressOf()));
  pins->Skip(1);
  ASSERT_EQ(S_OK, pins->Next(1, output.GetAddressOf(), nullptr));
  ComPtr<IEnumMediaTypes> types;
  EXPECT_EQ(VFW_E_NOT_CONNECTED, output->EnumMediaTypes(types.GetAddressOf()));
}

TEST_P(BothFilters, OutputCannotConnectBeforeInput) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam(), IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(S_OK, filter->EnumPins(pins.GetAddressOf()));
  ComPtr<IPin> output;
  pins->Skip(1);
  ASSERT_EQ(S_OK, pins->Next(1, output.GetAddressOf(), nullptr));
  auto* sink = new TestSinkFilter();
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  EXPECT_EQ(E_UNEXPECTED, output->Connect(sink->InPin(), &type.Get()));
  sink->Release();
}

INSTANTIATE_TEST_SUITE_P(Deinterlace, BothFilters,
                         ::testing::Values(kClsidDeinterlaceGrabFilter, kClsidFrameSnapFilter),
                         [](const ::testing::TestParamInfo<CLSID>& info) {
                           return info.param == kClsidDeinterlaceGrabFilter
                                      ? std::string("kxDIgrab")
                                      : std::string("kxDISnap");
                         });

TEST(GrabBuffers, WholeFramesArriveWhateverTheBufferNegotiation) {
  struct Case {
    const char* name;
    bool shortDownstreamAllocator;  // then our own allocator must step in
    bool typeGivesNoSize;           // then the picture size must
  };
  const Case cases[] = {{"downstream allocator grants too little", true, false},
                        {"type without a sample size", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
    if (c.typeGivesNoSize) {
      type->lSampleSize = 0;
      reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader.biSizeImage = 0;
    }
    auto* sink = new TestSinkFilter();
    sink->SetShortAllocator(c.shortDownstreamAllocator);
    TestGraph graph;
    ASSERT_EQ(S_OK, graph.Build(kClsidDeinterlaceGrabFilter, type.Get(), kPalFrameBytes, sink));
    ASSERT_EQ(S_OK, graph.Control()->Run());
    ASSERT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 0), SampleProps{}));
    graph.Control()->Stop();
    std::vector<ReceivedSample> received = graph.Sink()->Samples();
    ASSERT_EQ(1u, received.size());
    EXPECT_EQ(MakeFrame(kPalWidth, kPalHeight, 0), received[0].bytes);
  }
}

TEST_P(BothFilters, NewInputTypeMustFitTheConnectedOutput) {
  struct Case {
    const char* name;
    GUID subtype;
    int width, height;
    HRESULT expected;
  };
  const Case cases[] = {
      {"the same type", MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, S_OK},
      {"a smaller picture", MEDIASUBTYPE_YUY2, 640, 480, VFW_E_TYPE_NOT_ACCEPTED},
      {"a larger picture", MEDIASUBTYPE_YUY2, 768, 576, VFW_E_TYPE_NOT_ACCEPTED},
      {"another subtype", MEDIASUBTYPE_UYVY, kPalWidth, kPalHeight, VFW_E_TYPE_NOT_ACCEPTED},
  };
  for (const Case& c : cases) {
    TestGraph graph;
    dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
    ASSERT_EQ(S_OK, graph.Build(GetParam(), type.Get(), kPalFrameBytes));
    IPin* input = graph.FilterPin(0);
    ASSERT_EQ(S_OK, graph.Graph()->Disconnect(graph.Source()->OutPin()));
    ASSERT_EQ(S_OK, graph.Graph()->Disconnect(input));
    dshow::MediaType other = MakeVideoType(c.subtype, c.width, c.height, 16);
    auto* source = new TestSourceFilter(other.Get(), other->lSampleSize);
    ASSERT_EQ(S_OK, graph.Graph()->AddFilter(source, L"second source"));
    EXPECT_EQ(c.expected, graph.Graph()->ConnectDirect(source->OutPin(), input, &other.Get()))
        << c.name;
    graph.Graph()->RemoveFilter(source);
    source->Release();
  }
}

TEST(TransformBases, OutputPinTypeChecksWithoutInputAnswerNotConnected) {
  const std::pair<const char*, dshow::CreateInstanceFunction> filters[] = {
      {"kxDIgrab", &dshow::CreateFilterInstance<DeinterlaceGrabFilter>},
      {"kxDISnap", &dshow::CreateFilterInstance<FrameSnapFilter>}};
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  for (auto [name, create] : filters) {
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, create(&object)) << name;
    auto* filter = static_cast<dshow::TransformBase*>(static_cast<IBaseFilter*>(object));
    EXPECT_EQ(VFW_E_NOT_CONNECTED, filter->OutputPinRef().CheckMediaType(type.Get())) << name;
    object->Release();
  }
}

}  // namespace
}  // namespace brontel::test

// kxDIgrab and kxDISnap in a real Filter Graph Manager graph, fed by the test
// source and read by the test sink.

#include <gtest/gtest.h>

#include <algorithm>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

constexpr int kFrameCount = 4;

SampleProps TimedProps(int index) {
  SampleProps props;
  props.hasTime = true;
  props.start = index * 400000LL;
  props.stop = props.start + 400000LL;
  props.syncPoint = true;
  return props;
}

ComPtr<IDeinterlaceControl> ControlOf(IBaseFilter* filter, const IID& iid) {
  ComPtr<IDeinterlaceControl> control;
  filter->QueryInterface(iid, reinterpret_cast<void**>(control.GetAddressOf()));
  return control;
}

TEST(FilterGraph, GrabAdaptiveModeDeliversTheReferenceStepOutput) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(kClsidDeinterlaceGrabFilter, type.Get(), kPalFrameBytes));
  ComPtr<IDeinterlaceControl> control = ControlOf(graph.Filter(), kIidDeinterlaceControlGrab);
  ASSERT_TRUE(control);
  ASSERT_EQ(S_OK, control->SetSettings(kModeAdaptive, kFilterNone, 10, 8, 20));
  ASSERT_EQ(S_OK, graph.Control()->Run());

  Deinterlacer reference;
  reference.SetWeavePath(WeavePath::kReference);
  reference.AcceptInputType(InputFormatKind::kYuy2);
  DeinterlaceSettings settings;
  settings.lMode = kModeAdaptive;
  GrabState noGrab;
  std::vector<std::vector<std::uint8_t>> expected;
  for (int i = 0; i < kFrameCount; ++i) {
    std::vector<std::uint8_t> frame = MakeFrame(kPalWidth, kPalHeight, i);
    ASSERT_EQ(S_OK, graph.Source()->Push(frame, TimedProps(i)));
    std::vector<std::uint8_t> out(frame.size());
    FrameBuffers buffers{frame.data(), frame.size(), out.data(), out.size(),
                         kPalWidth,    kPalHeight,   16};
    StepResult result = reference.ProcessFrame(buffers, settings, noGrab);
    ASSERT_TRUE(result.woven);
    expected.push_back(out);
  }
  ASSERT_EQ(S_OK, graph.Control()->Stop());

  std::vector<ReceivedSample> received = graph.Sink()->Samples();
  ASSERT_EQ(static_cast<size_t>(kFrameCount), received.size());
  for (int i = 0; i < kFrameCount; ++i) {
    EXPECT_EQ(expected[i], received[i].bytes) << "frame " << i;
  }
  // The step really changed the moving half, so equality says something.
  EXPECT_NE(MakeFrame(kPalWidth, kPalHeight, 1), received[1].bytes);
}

TEST(FilterGraph, SnapPassesFramesUnchanged) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(kClsidFrameSnapFilter, type.Get(), kPalFrameBytes));
  ASSERT_EQ(S_OK, graph.Control()->Run());
  std::vector<const void*> sent;
  for (int i = 0; i < kFrameCount; ++i) {
    ASSERT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, i), TimedProps(i)));
    sent.push_back(graph.Source()->LastSent());
  }
  ASSERT_EQ(S_OK, graph.Control()->Stop());
  std::vector<ReceivedSample> received = graph.Sink()->Samples();
  // Source, kxDISnap and sink share one allocator, so the very sample passes on.
  for (int i = 0; i < kFrameCount && i < static_cast<int>(received.size()); ++i) {
    EXPECT_EQ(sent[i], received[i].props.identity) << "frame " << i;
  }
  ASSERT_EQ(static_cast<size_t>(kFrameCount), received.size());
  for (int i = 0; i < kFrameCount; ++i) {
    EXPECT_EQ(MakeFrame(kPalWidth, kPalHeight, i), received[i].bytes) << "frame " << i;
  }
}

struct PropsCase {
  const char* name;
  SampleProps props;
};

class SamplePropsThroughFilter : public ::testing::TestWithParam<CLSID> {};

TEST_P(SamplePropsThroughFilter, TimesAndFlagsArriveAsSent) {
  SampleProps none;
  SampleProps timed = TimedProps(7);
  SampleProps everything = TimedProps(3);
  everything.hasMediaTime = true;
  everything.mediaStart = 75;
  everything.mediaStop = 76;
  everything.preroll = true;
  everything.discontinuity = true;
  everything.hasMediaType = true;
  SampleProps notSync = TimedProps(4);
  notSync.syncPoint = false;
  notSync.discontinuity = true;
  SampleProps negativeTime = TimedProps(0);
  negativeTime.start = -400000;
  negativeTime.stop = 0;
  const PropsCase cases[] = {{"nothing set", none},
                             {"times and sync", timed},
                             {"every property", everything},
                             {"not a sync point", notSync},
                             {"negative start time", negativeTime}};

  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(GetParam(), type.Get(), kPalFrameBytes));
  ASSERT_EQ(S_OK, graph.Control()->Run());
  for (const PropsCase& c : cases) {
    ASSERT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 0), c.props)) << c.name;
  }
  graph.Control()->Stop();
  std::vector<ReceivedSample> received = graph.Sink()->Samples();
  ASSERT_EQ(std::size(cases), received.size());
  for (size_t i = 0; i < std::size(cases); ++i) {
    const SampleProps& sent = cases[i].props;
    const SampleProps& got = received[i].props;
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(sent.hasTime, got.hasTime);
    if (sent.hasTime && got.hasTime) {
      EXPECT_EQ(sent.start, got.start);
      EXPECT_EQ(sent.stop, got.stop);
    }
    EXPECT_EQ(sent.hasMediaTime, got.hasMediaTime);
    if (sent.hasMediaTime && got.hasMediaTime) {
      EXPECT_EQ(sent.mediaStart, got.mediaStart);
      EXPECT_EQ(sent.mediaStop, got.mediaStop);
    }
    EXPECT_EQ(sent.syncPoint, got.syncPoint);
    EXPECT_EQ(sent.preroll, got.preroll);
    EXPECT_EQ(sent.discontinuity, got.discontinuity);
    EXPECT_EQ(sent.hasMediaType, got.hasMediaType);
    EXPECT_EQ(static_cast<size_t>(kPalFrameBytes), received[i].bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(BothFilters, SamplePropsThroughFilter,
                         ::testing::Values(kClsidDeinterlaceGrabFilter, kClsidFrameSnapFilter),
                         [](const ::testing::TestParamInfo<CLSID>& info) {
                           return info.param == kClsidDeinterlaceGrabFilter
                                      ? std::string("kxDIgrab")
                                      : std::string("kxDISnap");
                         });

TEST(FilterGraph, EndOfStreamAndFlushReachTheSink) {
  for (const CLSID& clsid : {kClsidDeinterlaceGrabFilter, kClsidFrameSnapFilter}) {
    TestGraph graph;
    dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
    ASSERT_EQ(S_OK, graph.Build(clsid, type.Get(), kPalFrameBytes));
    ASSERT_EQ(S_OK, graph.Control()->Run());
    IPin* upstream = graph.Source()->OutPin();
    ComPtr<IPin> filterInput;
    upstream->ConnectedTo(filterInput.GetAddressOf());
    ASSERT_EQ(S_OK, filterInput->BeginFlush());
    // While flushing, samples are refused without error.
    EXPECT_EQ(S_FALSE, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 0), TimedProps(0)));
    ASSERT_EQ(S_OK, filterInput->EndFlush());
    EXPECT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 0), TimedProps(0)));
    EXPECT_EQ(S_OK, graph.Source()->PushEndOfStream());
    graph.Control()->Stop();
    EXPECT_EQ(1, graph.Sink()->FlushCount());
    EXPECT_EQ(1, graph.Sink()->SampleCount());
    EXPECT_EQ(1, graph.Sink()->EndOfStreamCount());
  }
}

TEST(FilterGraph, SamplesWhileStoppedAreRefusedWithWrongState) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(kClsidDeinterlaceGrabFilter, type.Get(), kPalFrameBytes));
  ComPtr<IPin> filterInput;
  graph.Source()->OutPin()->ConnectedTo(filterInput.GetAddressOf());
  ComPtr<IMemInputPin> memInput;
  ASSERT_EQ(S_OK, filterInput.As(&memInput));
  ComPtr<IMemAllocator> allocator;
  ASSERT_EQ(S_OK, memInput->GetAllocator(allocator.GetAddressOf()));
  ASSERT_EQ(S_OK, allocator->Commit());
  ComPtr<IMediaSample> sample;
  ASSERT_EQ(S_OK, allocator->GetBuffer(sample.GetAddressOf(), nullptr, nullptr, 0));
  EXPECT_EQ(VFW_E_WRONG_STATE, memInput->Receive(sample.Get()));
  sample.Reset();
  allocator->Decommit();
}

// Event codes the graph has queued for the application.
std::vector<long> QueuedEvents(IGraphBuilder* graph) {
  std::vector<long> codes;
  ComPtr<IMediaEvent> events;
  if (FAILED(
          graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()))))
    return codes;
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    codes.push_back(code);
    events->FreeEventParams(code, param1, param2);
  }
  return codes;
}

TEST_P(SamplePropsThroughFilter, TypeAttachedToASampleIsTakenOnlyWhenItFits) {
  dshow::MediaType pal = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  dshow::MediaType smaller = MakeVideoType(MEDIASUBTYPE_YUY2, 640, 480, 16);
  dshow::MediaType rgb = MakeVideoType(MEDIASUBTYPE_RGB24, kPalWidth, kPalHeight, 24);
  struct Case {
    const char* name;
    const AM_MEDIA_TYPE* attached;
    HRESULT expected;
  };
  const Case cases[] = {
      {"the connected type", &pal.Get(), S_OK},
      {"a smaller picture", &smaller.Get(), VFW_E_INVALIDMEDIATYPE},
      {"RGB", &rgb.Get(), VFW_E_INVALIDMEDIATYPE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestGraph graph;
    ASSERT_EQ(S_OK, graph.Build(GetParam(), pal.Get(), kPalFrameBytes));
    ASSERT_EQ(S_OK, graph.Control()->Run());
    SampleProps props;
    props.hasMediaType = true;
    props.mediaType = c.attached;
    EXPECT_EQ(c.expected, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 0), props));
    bool refused = c.expected != S_OK;
    // A refused type ends the stream: downstream hears of it, the
    // application gets EC_ERRORABORT, and later samples are refused too.
    EXPECT_EQ(refused ? 0 : 1, graph.Sink()->SampleCount());
    EXPECT_EQ(refused ? 1 : 0, graph.Sink()->EndOfStreamCount());
    std::vector<long> events = QueuedEvents(graph.Graph());
    EXPECT_EQ(refused, std::find(events.begin(), events.end(), EC_ERRORABORT) != events.end());
    EXPECT_EQ(refused ? VFW_E_RUNTIME_ERROR : S_OK,
              graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 1), SampleProps{}));
    graph.Control()->Stop();
  }
}

TEST_P(SamplePropsThroughFilter, OutputPinPassesSeekingUpstream) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(GetParam(), type.Get(), kPalFrameBytes));
  IPin* output = graph.FilterPin(1);
  ComPtr<IMediaSeeking> seeking, again;
  ASSERT_EQ(S_OK, output->QueryInterface(IID_IMediaSeeking,
                                         reinterpret_cast<void**>(seeking.GetAddressOf())));
  ASSERT_EQ(S_OK, output->QueryInterface(IID_IMediaSeeking,
                                         reinterpret_cast<void**>(again.GetAddressOf())));
  EXPECT_EQ(seeking.Get(), again.Get());
  // The pass-through belongs to the pin: its QueryInterface leads back there.
  ComPtr<IPin> pin;
  ComPtr<IUnknown> fromSeeking, fromPin;
  ASSERT_EQ(S_OK, seeking->QueryInterface(IID_IPin, reinterpret_cast<void**>(pin.GetAddressOf())));
  EXPECT_EQ(output, pin.Get());
  seeking->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(fromSeeking.GetAddressOf()));
  output->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(fromPin.GetAddressOf()));
  EXPECT_EQ(fromPin.Get(), fromSeeking.Get());

  TestSeeking& upstream = graph.Source()->SourcePin().Seeking();
  LONGLONG duration = 0;
  ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
  EXPECT_EQ(TestSeeking::kDuration, duration);
  LONGLONG position = 40000000;
  ASSERT_EQ(S_OK, seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                        AM_SEEKING_NoPositioning));
  EXPECT_EQ(40000000, upstream.current);

  ComPtr<IMediaPosition> media;
  ASSERT_EQ(S_OK, output->QueryInterface(IID_IMediaPosition,
                                         reinterpret_cast<void**>(media.GetAddressOf())));
  REFTIME seconds = 0;
  ASSERT_EQ(S_OK, media->get_Duration(&seconds));
  EXPECT_DOUBLE_EQ(12.3456789, seconds);
  ASSERT_EQ(S_OK, media->put_CurrentPosition(2.5));
  EXPECT_EQ(25000000, upstream.current);
  ASSERT_EQ(S_OK, media->put_Rate(2.0));
  EXPECT_EQ(2.0, upstream.rate);

  // Without an upstream connection there is nothing to seek.
  ASSERT_EQ(S_OK, graph.Graph()->Disconnect(graph.Source()->OutPin()));
  ASSERT_EQ(S_OK, graph.Graph()->Disconnect(graph.FilterPin(0)));
  EXPECT_EQ(VFW_E_NOT_CONNECTED, seeking->GetDuration(&duration));
  EXPECT_EQ(VFW_E_NOT_CONNECTED, media->get_Duration(&seconds));
}

}  // namespace
}  // namespace brontel::test

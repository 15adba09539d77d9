// IDeinterlaceControl of both filters: settings, frame information and the
// grab protocol.

#include <gtest/gtest.h>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

struct FilterKind {
  const char* name;
  CLSID clsid;
  IID controlIid;
  IID otherIid;
};

const FilterKind kGrab = {"kxDIgrab", kClsidDeinterlaceGrabFilter, kIidDeinterlaceControlGrab,
                          kIidDeinterlaceControlSnap};
const FilterKind kSnap = {"kxDISnap", kClsidFrameSnapFilter, kIidDeinterlaceControlSnap,
                          kIidDeinterlaceControlGrab};

ComPtr<IDeinterlaceControl> CreateControl(const FilterKind& kind) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(kind.clsid, IID_IBaseFilter);
  ComPtr<IDeinterlaceControl> control;
  if (filter)
    filter->QueryInterface(kind.controlIid, reinterpret_cast<void**>(control.GetAddressOf()));
  return control;
}

TEST(DeinterlaceControl, FreshGrabFilterHasTheDefaultSettings) {
  ComPtr<IDeinterlaceControl> control = CreateControl(kGrab);
  ASSERT_TRUE(control);
  LONG v[5] = {-1, -1, -1, -1, -1};
  ASSERT_EQ(S_OK, control->GetSettings(&v[0], &v[1], &v[2], &v[3], &v[4]));
  EXPECT_EQ(1110, v[0]);
  EXPECT_EQ(1120, v[1]);
  EXPECT_EQ(10, v[2]);
  EXPECT_EQ(8, v[3]);
  EXPECT_EQ(20, v[4]);
}

TEST(DeinterlaceControl, GrabSettingsRoundTripUnchecked) {
  ComPtr<IDeinterlaceControl> control = CreateControl(kGrab);
  ASSERT_TRUE(control);
  ASSERT_EQ(S_OK, control->SetSettings(9999, -5, 0, -2147483647L - 1, 2147483647L));
  LONG v[5] = {};
  ASSERT_EQ(S_OK, control->GetSettings(&v[0], &v[1], &v[2], &v[3], &v[4]));
  EXPECT_EQ(9999, v[0]);
  EXPECT_EQ(-5, v[1]);
  EXPECT_EQ(0, v[2]);
  EXPECT_EQ(-2147483647L - 1, v[3]);
  EXPECT_EQ(2147483647L, v[4]);
}

TEST(DeinterlaceControl, GrabGetSettingsWithAnyNullAddressWritesNothing) {
  ComPtr<IDeinterlaceControl> control = CreateControl(kGrab);
  ASSERT_TRUE(control);
  for (int nullAt = 0; nullAt < 5; ++nullAt) {
    LONG v[5] = {7, 7, 7, 7, 7};
    LONG* p[5] = {&v[0], &v[1], &v[2], &v[3], &v[4]};
    p[nullAt] = nullptr;
    EXPECT_EQ(E_POINTER, control->GetSettings(p[0], p[1], p[2], p[3], p[4])) << nullAt;
    for (LONG value : v) EXPECT_EQ(7, value) << nullAt;
  }
}

TEST(DeinterlaceControl, SnapSettingsCallsDoNothing) {
  ComPtr<IDeinterlaceControl> control = CreateControl(kSnap);
  ASSERT_TRUE(control);
  EXPECT_EQ(S_OK, control->SetSettings(1113, 1121, 1, 2, 3));
  LONG v[5] = {-7, -7, -7, -7, -7};
  EXPECT_EQ(S_OK, control->GetSettings(&v[0], &v[1], &v[2], &v[3], &v[4]));
  for (LONG value : v) EXPECT_EQ(-7, value);
  EXPECT_EQ(S_OK, control->GetSettings(nullptr, nullptr, nullptr, nullptr, nullptr));
}

class ControlOfBothFilters : public ::testing::TestWithParam<FilterKind> {};

TEST_P(ControlOfBothFilters, InterfaceAnswersOnlyUnderItsOwnId) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam().clsid, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IUnknown> other;
  EXPECT_EQ(E_NOINTERFACE, filter->QueryInterface(GetParam().otherIid,
                                                  reinterpret_cast<void**>(other.GetAddressOf())));
  // Every interface leads back to the same object.
  ComPtr<IDeinterlaceControl> control = CreateControl(GetParam());
  ASSERT_TRUE(control);
  ComPtr<IUnknown> a, b;
  control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(a.GetAddressOf()));
  ComPtr<ISpecifyPropertyPages> pages;
  ASSERT_EQ(S_OK, control->QueryInterface(IID_ISpecifyPropertyPages,
                                          reinterpret_cast<void**>(pages.GetAddressOf())));
  pages->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(b.GetAddressOf()));
  EXPECT_EQ(a.Get(), b.Get());
  for (const IID& iid : {IID_IBaseFilter, IID_IMediaFilter, IID_IPersist, IID_IAMovieSetup}) {
    ComPtr<IUnknown> answered;
    EXPECT_EQ(S_OK,
              control->QueryInterface(iid, reinterpret_cast<void**>(answered.GetAddressOf())));
  }
}

TEST_P(ControlOfBothFilters, FrameInfoBeforeTheFirstFrameIsMinusOne) {
  ComPtr<IDeinterlaceControl> control = CreateControl(GetParam());
  ASSERT_TRUE(control);
  LONG v[4] = {0, 0, 0, 0};
  ASSERT_EQ(S_OK, control->GetFrameInfo(&v[0], &v[1], &v[2], &v[3]));
  for (LONG value : v) EXPECT_EQ(-1, value);
  LONG status = 5;
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(0, status);
}

TEST_P(ControlOfBothFilters, NullResultAddressesGivePointerErrors) {
  ComPtr<IDeinterlaceControl> control = CreateControl(GetParam());
  ASSERT_TRUE(control);
  EXPECT_EQ(E_POINTER, control->GetGrabStatus(nullptr));
  for (int nullAt = 0; nullAt < 4; ++nullAt) {
    LONG v[4] = {7, 7, 7, 7};
    LONG* p[4] = {&v[0], &v[1], &v[2], &v[3]};
    p[nullAt] = nullptr;
    EXPECT_EQ(E_POINTER, control->GetFrameInfo(p[0], p[1], p[2], p[3])) << nullAt;
    for (LONG value : v) EXPECT_EQ(7, value);
  }
}

TEST_P(ControlOfBothFilters, GrabCopiesTheNextFrameOnceAndKeepsIt) {
  TestGraph graph;
  dshow::MediaType type = MakeVideoType(MEDIASUBTYPE_YUY2, kPalWidth, kPalHeight, 16);
  ASSERT_EQ(S_OK, graph.Build(GetParam().clsid, type.Get(), kPalFrameBytes));
  ComPtr<IDeinterlaceControl> control;
  ASSERT_EQ(S_OK, graph.Filter()->QueryInterface(GetParam().controlIid,
                                                 reinterpret_cast<void**>(control.GetAddressOf())));
  std::vector<std::uint8_t> grabbed(kPalFrameBytes, 0xEE);
  ASSERT_EQ(S_OK, control->GrabFrame(grabbed.data(), 1));
  LONG status = -1;
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(0, status);

  ASSERT_EQ(S_OK, graph.Control()->Run());
  std::vector<std::uint8_t> first = MakeFrame(kPalWidth, kPalHeight, 0);
  ASSERT_EQ(S_OK, graph.Source()->Push(first, SampleProps{}));
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(1, status);
  EXPECT_EQ(first, grabbed);
  LONG info[4] = {};
  ASSERT_EQ(S_OK, control->GetFrameInfo(&info[0], &info[1], &info[2], &info[3]));
  EXPECT_EQ(kPalWidth, info[0]);
  EXPECT_EQ(kPalHeight, info[1]);
  EXPECT_EQ(16, info[2]);
  EXPECT_EQ(kPalFrameBytes, info[3]);

  ASSERT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 1), SampleProps{}));
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(1, status);
  EXPECT_EQ(first, grabbed);

  // A new request clears the status until the next frame.
  ASSERT_EQ(S_OK, control->GrabFrame(grabbed.data(), 1));
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(0, status);
  ASSERT_EQ(S_OK, graph.Source()->Push(MakeFrame(kPalWidth, kPalHeight, 2), SampleProps{}));
  ASSERT_EQ(S_OK, control->GetGrabStatus(&status));
  EXPECT_EQ(1, status);
  EXPECT_EQ(MakeFrame(kPalWidth, kPalHeight, 2), grabbed);
  graph.Control()->Stop();
}

TEST_P(ControlOfBothFilters, PropertyPagesNameTheLibrarysOwnPage) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam().clsid, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<ISpecifyPropertyPages> pages;
  ASSERT_EQ(S_OK, filter.As(&pages));
  EXPECT_EQ(E_POINTER, pages->GetPages(nullptr));
  CAUUID ids{};
  ASSERT_EQ(S_OK, pages->GetPages(&ids));
  ASSERT_EQ(1u, ids.cElems);
  const CLSID expected = GetParam().clsid == kClsidDeinterlaceGrabFilter ? kClsidDeinterlaceGrabPage
                                                                         : kClsidFrameSnapPage;
  EXPECT_TRUE(ids.pElems[0] == expected);
  CoTaskMemFree(ids.pElems);
}

INSTANTIATE_TEST_SUITE_P(Deinterlace, ControlOfBothFilters, ::testing::Values(kGrab, kSnap),
                         [](const ::testing::TestParamInfo<FilterKind>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace brontel::test

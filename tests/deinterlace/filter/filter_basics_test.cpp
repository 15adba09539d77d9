// What both filters get from the DirectShow base: sample property copying,
// pins and enumerators, filter information, the state machine, and the
// class factories of the two libraries.

#include <gtest/gtest.h>

#include <cstring>

#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/sample_properties.h"
#include "test_support.h"

namespace brontel::test {
namespace {

// ---- sample properties

// A sample whose answers the test sets, including broken flag answers.
class FakeSample final : public IMediaSample {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetPointer(BYTE** buffer) override {
    *buffer = data;
    return S_OK;
  }
  STDMETHODIMP_(long) GetSize() override { return sizeof(data); }
  STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
    *start = timeStart;
    *stop = timeStop;
    return timeAnswer;
  }
  STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
    timeSet = start != nullptr;
    stopSet = stop != nullptr;
    if (start) timeStart = *start;
    if (stop) timeStop = *stop;
    return S_OK;
  }
  STDMETHODIMP IsSyncPoint() override { return syncAnswer; }
  STDMETHODIMP SetSyncPoint(BOOL value) override {
    sync = value;
    return S_OK;
  }
  STDMETHODIMP IsPreroll() override { return prerollAnswer; }
  STDMETHODIMP SetPreroll(BOOL value) override {
    preroll = value;
    return S_OK;
  }
  STDMETHODIMP_(long) GetActualDataLength() override { return length; }
  STDMETHODIMP SetActualDataLength(long value) override {
    length = value;
    return S_OK;
  }
  STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** mt) override {
    *mt = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP SetMediaType(AM_MEDIA_TYPE*) override { return S_OK; }
  STDMETHODIMP IsDiscontinuity() override { return discontinuityAnswer; }
  STDMETHODIMP SetDiscontinuity(BOOL value) override {
    discontinuity = value;
    return S_OK;
  }
  STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* stop) override {
    return VFW_E_MEDIA_TIME_NOT_SET;
  }
  STDMETHODIMP SetMediaTime(LONGLONG*, LONGLONG*) override { return S_OK; }

  BYTE data[16] = {};
  long length = -1;
  HRESULT timeAnswer = VFW_E_SAMPLE_TIME_NOT_SET;
  REFERENCE_TIME timeStart = 0;
  REFERENCE_TIME timeStop = 0;
  bool timeSet = true;
  bool stopSet = true;
  HRESULT syncAnswer = S_FALSE;
  HRESULT prerollAnswer = S_FALSE;
  HRESULT discontinuityAnswer = S_FALSE;
  BOOL sync = -1;
  BOOL preroll = -1;
  BOOL discontinuity = -1;
};

TEST(SampleProperties, FlagQueryThatIsNeitherYesNorNoIsUnexpected) {
  struct Case {
    const char* name;
    HRESULT sync, preroll, discontinuity;
  };
  const Case cases[] = {
      {"sync point fails", E_FAIL, S_FALSE, S_FALSE},
      {"preroll fails", S_OK, E_NOTIMPL, S_FALSE},
      {"discontinuity answers 2", S_OK, S_OK, static_cast<HRESULT>(2)},
  };
  for (const Case& c : cases) {
    FakeSample input;
    FakeSample output;
    input.syncAnswer = c.sync;
    input.prerollAnswer = c.preroll;
    input.discontinuityAnswer = c.discontinuity;
    EXPECT_EQ(E_UNEXPECTED, CopySampleProperties(&input, &output, 10)) << c.name;
  }
}

TEST(SampleProperties, StartTimeAloneAndNoTimeCarryOver) {
  FakeSample startOnly;
  startOnly.timeAnswer = VFW_S_NO_STOP_TIME;
  startOnly.timeStart = 77;
  FakeSample output;
  ASSERT_EQ(S_OK, CopySampleProperties(&startOnly, &output, 1));
  EXPECT_TRUE(output.timeSet);
  EXPECT_FALSE(output.stopSet);
  EXPECT_EQ(77, output.timeStart);

  FakeSample untimed;
  FakeSample recycled;
  ASSERT_EQ(S_OK, CopySampleProperties(&untimed, &recycled, 1));
  EXPECT_FALSE(recycled.timeSet);  // cleared, not left from an earlier frame
}

// ---- filters, pins and enumerators

struct PinNames {
  const char* name;
  CLSID clsid;
  const wchar_t* filterName;
  const wchar_t* input;
  const wchar_t* output;
};

class FilterBasics : public ::testing::TestWithParam<PinNames> {};

TEST_P(FilterBasics, PinsEnumerateWithTheirRunTimeNames) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam().clsid, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(S_OK, filter->EnumPins(pins.GetAddressOf()));
  IPin* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(E_POINTER, pins->Next(2, got, nullptr));
  EXPECT_EQ(S_FALSE, pins->Next(3, got, &fetched));
  ASSERT_EQ(2u, fetched);
  PIN_INFO info{};
  got[0]->QueryPinInfo(&info);
  EXPECT_EQ(PINDIR_INPUT, info.dir);
  EXPECT_EQ(std::wstring(GetParam().input), info.achName);
  info.pFilter->Release();
  got[1]->QueryPinInfo(&info);
  EXPECT_EQ(PINDIR_OUTPUT, info.dir);
  EXPECT_EQ(std::wstring(GetParam().output), info.achName);
  info.pFilter->Release();
  LPWSTR id = nullptr;
  ASSERT_EQ(S_OK, got[1]->QueryId(&id));
  EXPECT_EQ(std::wstring(GetParam().output), id);
  CoTaskMemFree(id);
  got[0]->Release();
  got[1]->Release();

  EXPECT_EQ(S_OK, pins->Reset());
  EXPECT_EQ(S_FALSE, pins->Skip(3));
  EXPECT_EQ(S_OK, pins->Skip(1));
  ComPtr<IEnumPins> clone;
  ASSERT_EQ(S_OK, pins->Clone(clone.GetAddressOf()));
  ComPtr<IPin> second;
  ASSERT_EQ(S_OK, clone->Next(1, second.GetAddressOf(), nullptr));
  ComPtr<IPin> found;
  ASSERT_EQ(S_OK, filter->FindPin(GetParam().output, found.GetAddressOf()));
  EXPECT_EQ(second.Get(), found.Get());
  EXPECT_EQ(VFW_E_NOT_FOUND, filter->FindPin(L"Nowhere", found.GetAddressOf()));
  EXPECT_EQ(nullptr, found.Get());
}

TEST_P(FilterBasics, FilterInfoStateAndClock) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam().clsid, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  FILTER_INFO info{};
  ASSERT_EQ(S_OK, filter->QueryFilterInfo(&info));
  EXPECT_EQ(std::wstring(GetParam().filterName), info.achName);
  EXPECT_EQ(nullptr, info.pGraph);
  CLSID clsid{};
  ASSERT_EQ(S_OK, filter->GetClassID(&clsid));
  EXPECT_TRUE(clsid == GetParam().clsid);

  FILTER_STATE state = State_Running;
  ASSERT_EQ(S_OK, filter->GetState(0, &state));
  EXPECT_EQ(State_Stopped, state);
  ASSERT_EQ(S_OK, filter->Pause());
  filter->GetState(0, &state);
  EXPECT_EQ(State_Paused, state);
  ASSERT_EQ(S_OK, filter->Run(0));
  filter->GetState(0, &state);
  EXPECT_EQ(State_Running, state);
  ASSERT_EQ(S_OK, filter->Stop());
  filter->GetState(0, &state);
  EXPECT_EQ(State_Stopped, state);
  EXPECT_EQ(E_POINTER, filter->GetState(0, nullptr));

  ComPtr<IReferenceClock> clock =
      CreateComObject<IReferenceClock>(CLSID_SystemClock, IID_IReferenceClock);
  ASSERT_TRUE(clock);
  ASSERT_EQ(S_OK, filter->SetSyncSource(clock.Get()));
  ComPtr<IReferenceClock> got;
  ASSERT_EQ(S_OK, filter->GetSyncSource(got.GetAddressOf()));
  EXPECT_EQ(clock.Get(), got.Get());
  ASSERT_EQ(S_OK, filter->SetSyncSource(nullptr));
  ASSERT_EQ(S_OK, filter->GetSyncSource(got.GetAddressOf()));
  EXPECT_EQ(nullptr, got.Get());
}

TEST_P(FilterBasics, UnconnectedPinsReportNotConnected) {
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(GetParam().clsid, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IPin> input;
  ASSERT_EQ(S_OK, filter->FindPin(GetParam().input, input.GetAddressOf()));
  ComPtr<IPin> peer;
  EXPECT_EQ(VFW_E_NOT_CONNECTED, input->ConnectedTo(peer.GetAddressOf()));
  AM_MEDIA_TYPE mt{};
  EXPECT_EQ(VFW_E_NOT_CONNECTED, input->ConnectionMediaType(&mt));
  EXPECT_EQ(S_FALSE, input->Disconnect());
  ComPtr<IMemInputPin> memInput;
  ASSERT_EQ(S_OK, input.As(&memInput));
  EXPECT_EQ(S_OK, memInput->ReceiveCanBlock());
}

INSTANTIATE_TEST_SUITE_P(Deinterlace, FilterBasics,
                         ::testing::Values(PinNames{"kxDIgrab", kClsidDeinterlaceGrabFilter,
                                                    L"kxDIgrab", L"XForm In", L"XForm Out"},
                                           PinNames{"kxDISnap", kClsidFrameSnapFilter, L"kxDISnap",
                                                    L"Input", L"Output"}),
                         [](const ::testing::TestParamInfo<PinNames>& info) {
                           return std::string(info.param.name);
                         });

TEST(ClassFactory, RefusesAggregationAndUnknownClasses) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK,
            CoGetClassObject(kClsidDeinterlaceGrabFilter, CLSCTX_INPROC_SERVER, nullptr,
                             IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())));
  ComPtr<IUnknown> object;
  IUnknown* outer = reinterpret_cast<IUnknown*>(factory.Get());
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            factory->CreateInstance(outer, IID_IUnknown,
                                    reinterpret_cast<void**>(object.GetAddressOf())));
  EXPECT_EQ(E_NOINTERFACE,
            factory->CreateInstance(nullptr, IID_IClassFactory,
                                    reinterpret_cast<void**>(object.GetAddressOf())));

  // Each library serves only its own two classes.
  HMODULE library = LoadLibraryW(L"kxDIgrab.ax");
  ASSERT_NE(nullptr, library);
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(library, "DllGetClassObject"));
  ASSERT_NE(nullptr, get);
  void* other = nullptr;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, get(kClsidFrameSnapFilter, IID_IClassFactory, &other));
  EXPECT_EQ(nullptr, other);
  ComPtr<IClassFactory> pageFactory;
  EXPECT_EQ(S_OK, get(kClsidDeinterlaceGrabPage, IID_IClassFactory,
                      reinterpret_cast<void**>(pageFactory.GetAddressOf())));
  pageFactory.Reset();
  FreeLibrary(library);
}

}  // namespace
}  // namespace brontel::test

// regsvr32 registration of kxDIgrab.ax and kxDISnap.ax: the class keys, the
// filter mapper entry with its merit and pins, and unregistration.

#include <gtest/gtest.h>

#include <string>

#include "deinterlace/filter/deinterlace_control.h"
#include "test_support.h"

namespace brontel::test {

// The filter mapper's parser for the stored FilterData blob (not in the
// mingw-w64 headers). Outside the anonymous namespace, so that the optimiser
// cannot conclude that nothing implements it.
struct IAMFilterData : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE ParseFilterData(BYTE* data, ULONG size, BYTE** regFilter2) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFilterData(REGFILTER2* regFilter2, BYTE** data,
                                                     ULONG* size) = 0;
};

namespace {

using brontel::ComPtr;

constexpr DWORD kMeritUnlikely = 0x200000;
// {97F7C4D4-547B-4A5F-8332-536430AD2E4D}
constexpr IID kIidAMFilterData = {
    0x97f7c4d4, 0x547b, 0x4a5f, {0x83, 0x32, 0x53, 0x64, 0x30, 0xad, 0x2e, 0x4d}};
constexpr DWORD kRegsvrTimeoutMs = 60000;

struct Library {
  const char* name;
  const wchar_t* file;
  CLSID filter;
  CLSID page;
  const wchar_t* filterName;
  const wchar_t* pageName;
};

const Library kGrabLibrary = {
    "kxDIgrab",  L"kxDIgrab.ax",      kClsidDeinterlaceGrabFilter, kClsidDeinterlaceGrabPage,
    L"kxDIgrab", L"kxDIgrab Property"};
const Library kSnapLibrary = {"kxDISnap",          L"kxDISnap.ax", kClsidFrameSnapFilter,
                              kClsidFrameSnapPage, L"kxDISnap",    L"kxDISnap Property"};

std::wstring BesideThisProgram(const wchar_t* file) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + file;
}

// Exit code of regsvr32, or -1 when it could not be run.
long RunRegsvr32(const std::wstring& arguments) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, kRegsvrTimeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// The value, or "<missing>" when the key or value does not exist.
std::wstring ClassesRootValue(const std::wstring& key, const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  DWORD bytes = sizeof(value);
  LONG rc =
      RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes);
  return rc == ERROR_SUCCESS ? std::wstring(value) : std::wstring(L"<missing>");
}

struct MapperEntry {
  bool found = false;
  std::wstring friendlyName;
  std::vector<BYTE> filterData;
};

// Looks the filter up among the video-in, video-out filters of at least the merit.
MapperEntry FindWithMapper(const CLSID& clsid, DWORD merit, BOOL inputRendered = FALSE) {
  MapperEntry entry;
  ComPtr<IFilterMapper2> mapper =
      CreateComObject<IFilterMapper2>(CLSID_FilterMapper2, IID_IFilterMapper2);
  if (!mapper) return entry;
  const GUID video[2] = {MEDIATYPE_Video, MEDIASUBTYPE_YUY2};
  ComPtr<IEnumMoniker> monikers;
  if (FAILED(mapper->EnumMatchingFilters(monikers.GetAddressOf(), 0, FALSE, merit, TRUE, 1, video,
                                         nullptr, nullptr, inputRendered, TRUE, 1, video, nullptr,
                                         nullptr)) ||
      !monikers) {
    return entry;
  }
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.GetAddressOf(), nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                      reinterpret_cast<void**>(bag.GetAddressOf())))) {
      continue;
    }
    VARIANT value;
    VariantInit(&value);
    if (FAILED(bag->Read(L"CLSID", &value, nullptr)) || value.vt != VT_BSTR) continue;
    CLSID found{};
    CLSIDFromString(value.bstrVal, &found);
    VariantClear(&value);
    if (found != clsid) continue;
    entry.found = true;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR) {
      entry.friendlyName = value.bstrVal;
    }
    VariantClear(&value);
    if (SUCCEEDED(bag->Read(L"FilterData", &value, nullptr)) && value.vt == (VT_ARRAY | VT_UI1)) {
      BYTE* data = nullptr;
      SafeArrayAccessData(value.parray, reinterpret_cast<void**>(&data));
      entry.filterData.assign(data, data + value.parray->rgsabound[0].cElements);
      SafeArrayUnaccessData(value.parray);
    }
    VariantClear(&value);
  }
  return entry;
}

class Registration : public ::testing::TestWithParam<Library> {
 protected:
  std::wstring Path() const { return L"\"" + BesideThisProgram(GetParam().file) + L"\""; }
  void TearDown() override {
    // Leave the library registered for every other test.
    EXPECT_EQ(0, RunRegsvr32(L"/s " + Path()));
  }
};

TEST_P(Registration, RegistersFilterAndPageAsInprocServersOfModelBoth) {
  ASSERT_EQ(0, RunRegsvr32(L"/s " + Path()));
  const Library& lib = GetParam();
  for (auto [clsid, name] :
       {std::pair{lib.filter, lib.filterName}, std::pair{lib.page, lib.pageName}}) {
    std::wstring key = L"CLSID\\" + GuidText(clsid);
    EXPECT_EQ(std::wstring(name), ClassesRootValue(key, nullptr));
    EXPECT_EQ(L"Both", ClassesRootValue(key + L"\\InprocServer32", L"ThreadingModel"));
    std::wstring server = ClassesRootValue(key + L"\\InprocServer32", nullptr);
    EXPECT_NE(std::wstring::npos, server.find(lib.file));
  }
}

TEST_P(Registration, MapperFindsFilterWithItsMeritAndPins) {
  ASSERT_EQ(0, RunRegsvr32(L"/s " + Path()));
  const Library& lib = GetParam();
  MapperEntry entry = FindWithMapper(lib.filter, kMeritUnlikely);
  ASSERT_TRUE(entry.found);
  EXPECT_EQ(std::wstring(lib.filterName), entry.friendlyName);
  // Merit is exactly MERIT_UNLIKELY: one more is too much.
  EXPECT_FALSE(FindWithMapper(lib.filter, kMeritUnlikely + 1).found);
  // The input pin is not a rendered pin.
  EXPECT_FALSE(FindWithMapper(lib.filter, kMeritUnlikely, TRUE).found);

  ComPtr<IAMFilterData> parser =
      CreateComObject<IAMFilterData>(CLSID_FilterMapper2, kIidAMFilterData);
  ASSERT_TRUE(parser);
  ASSERT_FALSE(entry.filterData.empty());
  BYTE* parsed = nullptr;
  ASSERT_EQ(S_OK, parser->ParseFilterData(entry.filterData.data(),
                                          static_cast<ULONG>(entry.filterData.size()), &parsed));
  const auto* filter = *reinterpret_cast<REGFILTER2**>(parsed);
  EXPECT_EQ(kMeritUnlikely, filter->dwMerit);
  ASSERT_EQ(2u, filter->cPins2);
  const REGFILTERPINS2& input = filter->rgPins2[0];
  const REGFILTERPINS2& output = filter->rgPins2[1];
  EXPECT_EQ(0u, input.dwFlags);
  EXPECT_EQ(static_cast<DWORD>(REG_PINFLAG_B_OUTPUT | REG_PINFLAG_B_RENDERER), output.dwFlags);
  for (const REGFILTERPINS2* pin : {&input, &output}) {
    ASSERT_EQ(1u, pin->nMediaTypes);
    EXPECT_TRUE(*pin->lpMediaType[0].clsMajorType == MEDIATYPE_Video);
    EXPECT_TRUE(*pin->lpMediaType[0].clsMinorType == GUID_NULL);
  }
  CoTaskMemFree(parsed);
}

TEST_P(Registration, UnregisterRemovesClassKeysAndMapperEntry) {
  ASSERT_EQ(0, RunRegsvr32(L"/s " + Path()));
  ASSERT_EQ(0, RunRegsvr32(L"/u /s " + Path()));
  const Library& lib = GetParam();
  EXPECT_EQ(L"<missing>", ClassesRootValue(L"CLSID\\" + GuidText(lib.filter), nullptr));
  EXPECT_EQ(L"<missing>", ClassesRootValue(L"CLSID\\" + GuidText(lib.page), nullptr));
  EXPECT_FALSE(FindWithMapper(lib.filter, 0).found);
  ComPtr<IBaseFilter> filter = CreateComObject<IBaseFilter>(lib.filter, IID_IBaseFilter);
  EXPECT_FALSE(filter);
  // Unregistering again is harmless.
  EXPECT_EQ(0, RunRegsvr32(L"/u /s " + Path()));
}

TEST_P(Registration, MovieSetupOnTheFilterRemovesAndRestoresTheMapperEntry) {
  ASSERT_EQ(0, RunRegsvr32(L"/s " + Path()));
  const Library& lib = GetParam();
  ComPtr<IAMovieSetup> setup = CreateComObject<IAMovieSetup>(lib.filter, IID_IAMovieSetup);
  ASSERT_TRUE(setup);
  ASSERT_EQ(S_OK, setup->Unregister());
  EXPECT_FALSE(FindWithMapper(lib.filter, kMeritUnlikely).found);
  ASSERT_EQ(S_OK, setup->Register());
  EXPECT_TRUE(FindWithMapper(lib.filter, kMeritUnlikely).found);
}

INSTANTIATE_TEST_SUITE_P(Libraries, Registration, ::testing::Values(kGrabLibrary, kSnapLibrary),
                         [](const ::testing::TestParamInfo<Library>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace brontel::test

// The COM server side of KXApiMgr.dll: registration, class object, identity,
// aggregation and unloading.

#include <gtest/gtest.h>

#include <windows.h>

#include "apimgr/kx_interfaces.h"
#include "apimgr/wine_test_support.h"

namespace {

using apimgr_test::ExeDir;
using apimgr_test::KeyDefaultValue;
using apimgr_test::KeyExists;

const wchar_t kClassKey[] = L"CLSID\\{630EFB03-3187-46C1-9542-302DC1234609}";
const wchar_t kDescription[] = L"Kestrova, Pellamy API Mgr";

class ComApartment {
 public:
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
};

struct KeyCase {
  std::wstring key;
  std::wstring value;
};

std::vector<KeyCase> RegisteredKeys() {
  const std::wstring classKey = kClassKey;
  return {
      {classKey, kDescription},
      {classKey + L"\\InprocServer32", ExeDir() + L"KXApiMgr.dll"},
      {classKey + L"\\ProgID", L"Kestrova.KXApiMgr.1"},
      {classKey + L"\\VersionIndependentProgID", L"Kestrova.KXApiMgr"},
      {L"Kestrova.KXApiMgr", kDescription},
      {L"Kestrova.KXApiMgr\\CLSID", L"{630EFB03-3187-46C1-9542-302DC1234609}"},
      {L"Kestrova.KXApiMgr\\GUID", L"{F6A9B57A-5234-4747-84FA-904A1BD37250}"},
      {L"Kestrova.KXApiMgr\\CurVer", L"Kestrova.KXApiMgr.1"},
      {L"Kestrova.KXApiMgr.1", kDescription},
      {L"Kestrova.KXApiMgr.1\\CLSID", L"{630EFB03-3187-46C1-9542-302DC1234609}"},
  };
}

// Later tests rely on the registration made at installation.
class Registration : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\LocalServer32").c_str());
    apimgr_test::UnregisterManager();
    EXPECT_TRUE(apimgr_test::RegisterManager());
  }
};

TEST_F(Registration, RegisterWritesEveryKeyWithItsDefaultValue) {
  ASSERT_TRUE(apimgr_test::UnregisterManager());
  ASSERT_TRUE(apimgr_test::RegisterManager());
  for (const KeyCase& c : RegisteredKeys()) {
    EXPECT_EQ(apimgr_test::Narrow(KeyDefaultValue(HKEY_CLASSES_ROOT, c.key)),
              apimgr_test::Narrow(c.value))
        << apimgr_test::Narrow(c.key);
  }
  // No threading model is written.
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\InprocServer32").c_str(), 0,
                    KEY_READ, &key),
      ERROR_SUCCESS);
  EXPECT_NE(RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(Registration, UnregisterRemovesEveryKey) {
  ASSERT_TRUE(apimgr_test::RegisterManager());
  ASSERT_TRUE(apimgr_test::UnregisterManager());
  for (const KeyCase& c : RegisteredKeys()) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, c.key)) << apimgr_test::Narrow(c.key);
  }
  // A second unregistration finds nothing to remove and still succeeds.
  EXPECT_TRUE(apimgr_test::UnregisterManager());
}

TEST_F(Registration, UnregisterKeepsAnOutOfProcessRegistration) {
  ASSERT_TRUE(apimgr_test::RegisterManager());
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\LocalServer32").c_str(), 0,
                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(key);

  ASSERT_TRUE(apimgr_test::UnregisterManager());
  const std::wstring classKey = kClassKey;
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, classKey + L"\\LocalServer32"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, classKey + L"\\ProgID"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Kestrova.KXApiMgr"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Kestrova.KXApiMgr.1"));
}

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(WINAPI*)();

TEST(ClassObject, AnswersOnlyItsClassAndFactoryInterfaces) {
  HMODULE module = LoadLibraryW((ExeDir() + L"KXApiMgr.dll").c_str());
  ASSERT_NE(module, nullptr);
  auto getClassObject =
      reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
  ASSERT_NE(getClassObject, nullptr);
  EXPECT_NE(GetProcAddress(module, "DllCanUnloadNow"), nullptr);
  EXPECT_NE(GetProcAddress(module, "DllRegisterServer"), nullptr);
  EXPECT_NE(GetProcAddress(module, "DllUnregisterServer"), nullptr);

  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(CLSID_KXApiMgr, IID_IKXBoard, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(getClassObject(IID_IKXBoard, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(CLSID_KXApiMgr, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
  IUnknown* unknown = nullptr;
  EXPECT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown, factory);
  unknown->Release();
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->QueryInterface(IID_IKXBoard, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  // Only the caller's reference: the last release answers 0.
  EXPECT_EQ(factory->Release(), 0u);
  FreeLibrary(module);
}

TEST(Manager, QueryInterfaceAnswersAllSevenInterfacesWithOneIdentity) {
  ComApartment com;
  IKXBoard* board = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&board)),
            S_OK);
  IUnknown* identity = nullptr;
  ASSERT_EQ(board->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);

  const IID* interfaces[] = {&IID_IKXBoard, &IID_IKXAudio, &IID_IKXVideo,  &IID_IKXSnapshot,
                             &IID_IKXTuner, &IID_IKXSpare, &IID_IKXCapture};
  for (const IID* iid : interfaces) {
    IUnknown* itf = nullptr;
    ASSERT_EQ(board->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
    ASSERT_NE(itf, nullptr);
    IUnknown* back = nullptr;
    ASSERT_EQ(itf->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back, identity);
    back->Release();
    itf->Release();
  }
  void* factory = reinterpret_cast<void*>(1);
  EXPECT_EQ(board->QueryInterface(IID_IClassFactory, &factory), E_NOINTERFACE);
  EXPECT_EQ(factory, nullptr);
  identity->Release();
  EXPECT_EQ(board->Release(), 0u);
}

// An outer object that counts the references its inner object passes on.
class OuterUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  LONG refs = 1;
};

TEST(Manager, AggregationOnlyThroughIUnknownAndDelegatesToTheOuterObject) {
  ComApartment com;
  OuterUnknown outer;
  IUnknown* inner = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_KXApiMgr, &outer, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&inner)),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&inner)),
            S_OK);
  EXPECT_EQ(outer.refs, 1);

  const IID* interfaces[] = {&IID_IKXBoard, &IID_IKXAudio, &IID_IKXVideo,  &IID_IKXSnapshot,
                             &IID_IKXTuner, &IID_IKXSpare, &IID_IKXCapture};
  for (const IID* iid : interfaces) {
    IUnknown* itf = nullptr;
    ASSERT_EQ(inner->QueryInterface(*iid, reinterpret_cast<void**>(&itf)), S_OK);
    EXPECT_EQ(outer.refs, 2) << "the interface's reference is the outer object's";
    itf->AddRef();
    EXPECT_EQ(outer.refs, 3);
    itf->Release();
    itf->Release();
    EXPECT_EQ(outer.refs, 1);
  }
  // The interfaces answer for the outer object.
  IKXAudio* audio = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IKXAudio, reinterpret_cast<void**>(&audio)), S_OK);
  IUnknown* identity = nullptr;
  ASSERT_EQ(audio->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, &outer);
  identity->Release();
  audio->Release();
  EXPECT_EQ(inner->Release(), 0u);
  EXPECT_EQ(outer.refs, 1);
}

TEST(Manager, DllCanUnloadNowFollowsObjectsAndServerLocks) {
  ComApartment com;
  IKXBoard* board = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&board)),
            S_OK);
  HMODULE module = GetModuleHandleW(L"KXApiMgr.dll");
  ASSERT_NE(module, nullptr);
  auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(GetProcAddress(module, "DllCanUnloadNow"));
  ASSERT_NE(canUnloadNow, nullptr);
  EXPECT_EQ(canUnloadNow(), S_FALSE) << "an object is alive";
  board->Release();
  EXPECT_EQ(canUnloadNow(), S_OK);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_KXApiMgr, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(canUnloadNow(), S_OK) << "class objects are not counted";
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(canUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(canUnloadNow(), S_OK);
  factory->Release();
}

TEST(Manager, TwoObjectsShareOneDriverLibraryFreedAfterTheLast) {
  ComApartment com;
  ASSERT_EQ(GetModuleHandleW(L"KXTVA.DLL"), nullptr);
  IKXBoard* first = nullptr;
  IKXBoard* second = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&first)),
            S_OK);
  HMODULE loaded = GetModuleHandleW(L"KXTVA.DLL");
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&second)),
            S_OK);
  EXPECT_EQ(GetModuleHandleW(L"KXTVA.DLL"), loaded);
  first->Release();
  EXPECT_EQ(GetModuleHandleW(L"KXTVA.DLL"), loaded) << "still used by the second object";
  second->Release();
  EXPECT_EQ(GetModuleHandleW(L"KXTVA.DLL"), nullptr);

  // A new object loads it again.
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&first)),
            S_OK);
  EXPECT_NE(GetModuleHandleW(L"KXTVA.DLL"), nullptr);
  first->Release();
}

}  // namespace

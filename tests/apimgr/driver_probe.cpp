// Runs in a folder of its own next to a copy of KXApiMgr.dll, with no board
// driver library or with the scripted one copied in as KXTVA.DLL. Creates the
// manager through its class object and checks one situation, named by the
// first argument. The test that started it answers any message box.
// Exit code: 0 when every check held, else the line of the first check that
// failed.

#include <windows.h>

#include <cstring>
#include <string>

#include "apimgr/kx_interfaces.h"

namespace {

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

#define CHECK(condition)               \
  do {                                 \
    if (!(condition)) return __LINE__; \
  } while (0)

uint32_t Address(const void* p) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

template <typename T>
T* Query(IUnknown* from, const IID& iid) {
  T* out = nullptr;
  return from->QueryInterface(iid, reinterpret_cast<void**>(&out)) == S_OK ? out : nullptr;
}

// The driver library is absent: creation works, OpenBoard shows Error 4 and
// every command fails.
int CheckMissingDriver(IKXBoard* board) {
  CHECK(GetModuleHandleW(L"KXTVA.DLL") == nullptr);
  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries, Address(entries)};
  CHECK(board->OpenBoard(7, 0, &list) == E_FAIL);
  CHECK(list.cbEntries == sizeof entries && entries[0].hBoard == 0);
  IKXAudio* audio = Query<IKXAudio>(board, IID_IKXAudio);
  IKXTuner* tuner = Query<IKXTuner>(board, IID_IKXTuner);
  CHECK(audio != nullptr && tuner != nullptr);
  LONG caps[7] = {};
  BoardEntry forged = {0, 0x1234};
  CHECK(board->GetBoardCaps(entries, caps) == E_FAIL);
  CHECK(audio->SetVolume(&forged, 10) == E_FAIL);
  CHECK(tuner->SetFrequency(&forged, 171250000) == E_FAIL);
  CHECK(board->CloseBoard(&forged) == E_HANDLE);
  tuner->Release();
  audio->Release();
  return 0;
}

// kxTVA_InitBoardClass returns 0: Error 5, and the caller's record stays.
int CheckInitFails(IKXBoard* board) {
  BoardEntry entries[10];
  std::memset(entries, 0x5A, sizeof entries);
  BoardListInfo list = {sizeof entries, Address(entries)};
  CHECK(board->OpenBoard(7, 0, &list) == E_FAIL);
  CHECK(list.cbEntries == sizeof entries && entries[0].hBoard == 0x5A5A5A5Au);
  return 0;
}

// Results of reads reach the caller exactly as the driver wrote them.
int CheckReads(IKXBoard* board) {
  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries, Address(entries)};
  CHECK(board->OpenBoard(100, 0, &list) == S_OK);
  IKXAudio* audio = Query<IKXAudio>(board, IID_IKXAudio);
  IKXVideo* video = Query<IKXVideo>(board, IID_IKXVideo);
  IKXTuner* tuner = Query<IKXTuner>(board, IID_IKXTuner);
  IKXCapture* capture = Query<IKXCapture>(board, IID_IKXCapture);
  CHECK(audio && video && tuner && capture);

  LONG caps[7] = {};
  CHECK(board->GetBoardCaps(entries, caps) == S_OK);
  CHECK(caps[0] == 1 && caps[6] == 7);
  LONG value = 0;
  CHECK(audio->GetVolume(entries, &value) == S_OK && value == 3);
  CHECK(audio->GetAudioPath(entries, &value) == S_OK && value == 4);
  unsigned char mask = 0;
  CHECK(audio->GetAudioModes(entries, &mask) == S_OK && mask == 0x1F);
  CHECK(audio->StopAudio(entries) == E_FAIL);  // the driver answers 5
  CHECK(video->GetVideoProperty(entries, 9, &value) == S_OK && value == 77);
  CHECK(video->GetVideoInfo(entries, &value) == S_OK && value == 0x01E00280);
  CHECK(video->SetVideoRect(entries, 0, 0, 10, 10, &value) == S_OK && value == 5);
  CHECK(video->GetVideoStatus(entries, 1, &value) == S_OK && value == 42);
  CHECK(tuner->GetSignalLock(entries, &value) == S_OK && value == 1);  // 7 reads as locked
  LONG low = 0, high = 0;
  CHECK(tuner->GetFrequencyRange(entries, &low, &high) == S_OK);
  CHECK(low == 55250000 && high == 801250000);
  SHORT lowChannel = 0, highChannel = 0;
  CHECK(tuner->GetChannelRange(entries, &lowChannel, &highChannel) == S_OK);
  CHECK(lowChannel == 1 && highChannel == 62);
  CHECK(tuner->GetChannelFrequency(entries, 13, &value) == S_OK && value == 13000);

  uint32_t handle = 0;
  uint32_t record[6] = {0, 0, 1, 0, 0, Address(&handle)};
  CHECK(capture->OpenCapture(entries, record) == S_OK && handle == 99);
  const LONG h = static_cast<LONG>(handle);
  CHECK(capture->GetBufferSize(entries, h, &value) == S_OK);
  CHECK(value == 2);  // one byte less than 3 MB
  char path[260];
  std::memset(path, 'x', sizeof path);
  CHECK(capture->GetCaptureFile(entries, h, path) == S_OK);
  CHECK(path[258] == 'p' && path[259] == '\0');  // terminated within the buffer
  LONG v1 = 0, v2 = 0, v3 = 0, v4 = 0;
  CHECK(capture->GetCaptureValues(entries, h, 1, &v1, &v2, &v3, &v4) == S_OK);
  CHECK(v1 == 11 && v2 == 12 && v3 == 13 && v4 == 14);
  CHECK(capture->GetEncoderParams(entries, h, 1, &value, 0) == S_OK && value == 606);
  LONG position[2] = {};
  CHECK(capture->GetCapturePosition(entries, h, position) == S_OK);
  CHECK(position[0] == 1234 && position[1] == 5678);
  CHECK(capture->CloseCapture(entries, h) == S_OK);

  capture->Release();
  tuner->Release();
  video->Release();
  audio->Release();
  return 0;
}

// The driver reports `reported` device and input names; the caller's arrays
// hold 10 and 30.
int CheckAudioLists(IKXBoard* board, int32_t reported) {
  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries, Address(entries)};
  CHECK(board->OpenBoard(7, 0, &list) == S_OK);
  IKXAudio* audio = Query<IKXAudio>(board, IID_IKXAudio);
  CHECK(audio != nullptr);
  // Room behind the record shows any write past its arrays.
  static struct {
    AudioDeviceLists lists;
    char guard[kAudioNameBytes];
  } record;
  std::memset(&record, 0x5A, sizeof record);
  uint32_t devices = 99;
  uint32_t inputs = 99;
  record.lists.deviceCount = Address(&devices);
  record.lists.inputCount = Address(&inputs);
  std::strcpy(record.lists.selectedDevice, "Device 1");
  CHECK(audio->GetAudioDevices(entries, &record.lists) == S_OK);
  CHECK(audio->GetAudioInputs(entries, &record.lists) == S_OK);
  const int32_t expectedDevices = reported < 0 ? 0 : (reported > 10 ? 10 : reported);
  const int32_t expectedInputs = reported < 0 ? 0 : (reported > 30 ? 30 : reported);
  CHECK(devices == static_cast<uint32_t>(expectedDevices));
  CHECK(inputs == static_cast<uint32_t>(expectedInputs));
  if (expectedDevices == 0) {
    CHECK(static_cast<unsigned char>(record.lists.deviceNames[0][0]) == 0x5A);  // untouched
  } else {
    CHECK(std::strcmp(record.lists.deviceNames[0], "Device 1") == 0);
    CHECK(std::strcmp(record.lists.deviceNames[expectedDevices - 1], "Device 1") != 0);
  }
  if (expectedInputs > 0) {
    CHECK(std::strcmp(record.lists.inputNames[expectedInputs - 1], "Input 1") != 0 ||
          expectedInputs == 1);
  }
  CHECK(static_cast<unsigned char>(record.guard[0]) == 0x5A);
  audio->Release();
  return 0;
}

class OuterUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// A second object, made as an aggregate, for the trace line.
int CreateAggregated(IClassFactory* factory) {
  OuterUnknown outer;
  IUnknown* inner = nullptr;
  CHECK(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)) == S_OK);
  inner->Release();
  return 0;
}

int Probe(const std::wstring& mode) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  dir = dir.substr(0, dir.find_last_of(L"\\/"));
  HMODULE module = LoadLibraryW((dir + L"\\KXApiMgr.dll").c_str());
  CHECK(module != nullptr);
  auto getClassObject =
      reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
  CHECK(getClassObject != nullptr);
  IClassFactory* factory = nullptr;
  CHECK(getClassObject(CLSID_KXApiMgr, IID_IClassFactory, reinterpret_cast<void**>(&factory)) ==
        S_OK);
  IKXBoard* board = nullptr;
  const HRESULT created =
      factory->CreateInstance(nullptr, IID_IKXBoard, reinterpret_cast<void**>(&board));
  const int aggregated = mode == L"trace" ? CreateAggregated(factory) : 0;
  factory->Release();
  CHECK(created == S_OK);  // creation does not depend on the driver
  CHECK(aggregated == 0);

  int result = 1;
  if (mode == L"trace") {
    result = 0;
  } else if (mode == L"missing") {
    result = CheckMissingDriver(board);
  } else if (mode == L"init-fails") {
    result = CheckInitFails(board);
  } else if (mode == L"reads") {
    result = CheckReads(board);
  } else if (mode.rfind(L"devices=", 0) == 0) {
    result = CheckAudioLists(board, _wtoi(mode.c_str() + 8));
  }
  board->Release();
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  CoInitialize(nullptr);
  const int result = Probe(argv[1]);
  CoUninitialize();
  return result;
}

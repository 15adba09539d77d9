// Runs in a folder that holds KXApiMgr.dll but no KXTVA.DLL: creates the
// manager through its class object, opens the board (the test that started
// this program answers the message box) and tries a few commands.
// Exit code: 0 as expected; 10+ the step that went wrong.

#include <windows.h>

#include <string>

#include "apimgr/kx_interfaces.h"

namespace {

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

int Probe() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  dir = dir.substr(0, dir.find_last_of(L"\\/"));
  HMODULE module = LoadLibraryW((dir + L"\\KXApiMgr.dll").c_str());
  if (module == nullptr) return 10;
  auto getClassObject =
      reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
  if (getClassObject == nullptr) return 11;
  IClassFactory* factory = nullptr;
  if (getClassObject(CLSID_KXApiMgr, IID_IClassFactory, reinterpret_cast<void**>(&factory)) !=
      S_OK) {
    return 12;
  }
  IKXBoard* board = nullptr;
  const HRESULT created =
      factory->CreateInstance(nullptr, IID_IKXBoard, reinterpret_cast<void**>(&board));
  factory->Release();
  if (created != S_OK) return 13;  // creation must not depend on the driver
  if (GetModuleHandleW(L"KXTVA.DLL") != nullptr) return 14;

  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entries))};
  if (board->OpenBoard(7, 0, &list) != E_FAIL) return 15;
  if (list.cbEntries != sizeof entries || entries[0].hBoard != 0) return 16;

  IKXAudio* audio = nullptr;
  IKXTuner* tuner = nullptr;
  if (board->QueryInterface(IID_IKXAudio, reinterpret_cast<void**>(&audio)) != S_OK) return 17;
  if (board->QueryInterface(IID_IKXTuner, reinterpret_cast<void**>(&tuner)) != S_OK) return 17;
  LONG caps[7] = {};
  BoardEntry forged = {0, 0x1234};
  int result = 0;
  if (board->GetBoardCaps(entries, caps) != E_FAIL) result = 18;
  if (audio->SetVolume(&forged, 10) != E_FAIL) result = 19;
  if (tuner->SetFrequency(&forged, 171250000) != E_FAIL) result = 20;
  if (board->CloseBoard(&forged) != E_HANDLE) result = 21;
  tuner->Release();
  audio->Release();
  board->Release();
  return result;
}

}  // namespace

int wmain() {
  CoInitialize(nullptr);
  const int result = Probe();
  CoUninitialize();
  return result;
}

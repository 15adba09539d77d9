#include "app/board_start.h"

#include <objbase.h>

// The minimal board steps: only the creation of the API manager object is
// real here. Until the board control client exists nothing can be asked of
// the board, so its start check reports that the board cannot be used.

namespace brontel {
namespace {

// {630EFB03-3187-46C1-9542-302DC1234609}
constexpr CLSID kClsidKXApiMgr = {
    0x630EFB03, 0x3187, 0x46C1, {0x95, 0x42, 0x30, 0x2D, 0xC1, 0x23, 0x46, 0x09}};

}  // namespace

int CreateBoard(IUnknown** board) {
  *board = nullptr;
  IUnknown* object = nullptr;
  const HRESULT hr = CoCreateInstance(kClsidKXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      reinterpret_cast<void**>(&object));
  if (FAILED(hr) || object == nullptr) return kBoardClassMissing;
  *board = object;
  return kBoardCreated;
}

bool CheckBoardStart(IUnknown*) {
  return false;
}

bool StartVideoAndPicture(HWND, IUnknown*) {
  return false;
}

void QuietBoardForShutdown(IUnknown*) {}

void CloseBoardAtExit(IUnknown** board) {
  if (*board != nullptr) {
    (*board)->Release();
    *board = nullptr;
  }
}

}  // namespace brontel

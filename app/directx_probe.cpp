#include "app/directx_probe.h"

#include "win32/windows_include.h"
#include <objbase.h>
#include <ddraw.h>

#include <cstring>

#include "win32/com_ptr.h"
#include "win32/handles.h"

namespace brontel {
namespace {

using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);
using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);

// The probe only needs the identity of these interfaces and classes.
// {B3A6F3E0-2B43-11CF-A2DE-00AA00B93356}
constexpr IID kIidDirectDraw2 = {
    0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
// {15E65EC0-3B9C-11D2-B92F-00609797EA5B}
constexpr IID kIidDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
// {DA044E00-69B2-11D0-A1D5-00AA00B8DFBB}
constexpr IID kIidDirectDrawSurface3 = {
    0xDA044E00, 0x69B2, 0x11D0, {0xA1, 0xD5, 0x00, 0xAA, 0x00, 0xB8, 0xDF, 0xBB}};
// {0B2B8630-AD35-11D0-8EA6-00609797EA5B}
constexpr IID kIidDirectDrawSurface4 = {
    0x0B2B8630, 0xAD35, 0x11D0, {0x8E, 0xA6, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
// {636B9F10-0C7D-11D1-95B2-0020AFDC7421}
constexpr CLSID kClsidDirectMusic = {
    0x636B9F10, 0x0C7D, 0x11D1, {0x95, 0xB2, 0x00, 0x20, 0xAF, 0xDC, 0x74, 0x21}};
// {6536115A-7B2D-11D2-BA18-0000F875AC12}
constexpr IID kIidDirectMusic = {
    0x6536115A, 0x7B2D, 0x11D2, {0xBA, 0x18, 0x00, 0x00, 0xF8, 0x75, 0xAC, 0x12}};

// The primary-surface description the probe asks for: 108 bytes, only the
// capabilities valid.
static_assert(sizeof(DDSURFACEDESC) == 108, "the first surface description is 108 bytes");

// Frees a library when it goes out of scope.
void Trace(const char* line) {
  OutputDebugStringA(line);
}

template <typename Fn>
Fn FindEntry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

unsigned ProbeWithDirectDraw(HMODULE ddraw) {
  const auto directDrawCreate = FindEntry<DirectDrawCreateFn>(ddraw, "DirectDrawCreate");
  if (directDrawCreate == nullptr) {
    Trace("Couldn't LoadLibrary DDraw\r\n");
    return kDirectXLevelNone;
  }
  ComPtr<IDirectDraw> directDraw;
  if (FAILED(directDrawCreate(nullptr, directDraw.GetAddressOf(), nullptr)) ||
      directDraw.Get() == nullptr) {
    Trace("Couldn't create DDraw\r\n");
    return kDirectXLevelNone;
  }

  ComPtr<IUnknown> directDraw2;
  if (FAILED(directDraw.Get()->QueryInterface(
          kIidDirectDraw2, reinterpret_cast<void**>(directDraw2.GetAddressOf())))) {
    Trace("Couldn't QI DDraw2\r\n");
    return kDirectXLevel1;
  }

  {
    UniqueModule dinput(LoadLibraryW(L"DINPUT.DLL"));
    if (dinput.Get() == nullptr) {
      Trace("Couldn't LoadLibrary DInput\r\n");
      return kDirectXLevel2;
    }
    if (GetProcAddress(dinput.Get(), "DirectInputCreateA") == nullptr) {
      Trace("Couldn't GetProcAddress DInputCreate\r\n");
      return kDirectXLevel2;
    }
  }

  if (FAILED(directDraw.Get()->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
    Trace("Couldn't Set coop level\r\n");
    return kDirectXLevelNone;
  }
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof(description));
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  ComPtr<IDirectDrawSurface> surface;
  if (FAILED(directDraw.Get()->CreateSurface(&description, surface.GetAddressOf(), nullptr)) ||
      surface.Get() == nullptr) {
    Trace("Couldn't CreateSurface\r\n");
    return kDirectXLevelNone;
  }

  ComPtr<IUnknown> surface3;
  if (FAILED(surface.Get()->QueryInterface(kIidDirectDrawSurface3,
                                           reinterpret_cast<void**>(surface3.GetAddressOf())))) {
    return kDirectXLevel3;
  }
  ComPtr<IUnknown> surface4;
  if (FAILED(surface.Get()->QueryInterface(kIidDirectDrawSurface4,
                                           reinterpret_cast<void**>(surface4.GetAddressOf())))) {
    return kDirectXLevel5;
  }

  ComPtr<IUnknown> directMusic;
  if (FAILED(CoCreateInstance(kClsidDirectMusic, nullptr, CLSCTX_INPROC_SERVER, kIidDirectMusic,
                              reinterpret_cast<void**>(directMusic.GetAddressOf())))) {
    Trace("Couldn't create CLSID_DirectMusic\r\n");
    return kDirectXLevel6;
  }

  const auto directDrawCreateEx = FindEntry<DirectDrawCreateExFn>(ddraw, "DirectDrawCreateEx");
  if (directDrawCreateEx == nullptr) return kDirectXLevel61;
  ComPtr<IUnknown> directDraw7;
  if (FAILED(directDrawCreateEx(nullptr, reinterpret_cast<void**>(directDraw7.GetAddressOf()),
                                kIidDirectDraw7, nullptr)) ||
      directDraw7.Get() == nullptr) {
    return kDirectXLevel61;
  }

  UniqueModule d3d8(LoadLibraryW(L"D3D8.DLL"));
  return d3d8.Get() != nullptr ? kDirectXLevel8 : kDirectXLevel7;
}

}  // namespace

unsigned ProbeDirectXLevel() {
  UniqueModule ddraw(LoadLibraryW(L"DDRAW.DLL"));
  if (ddraw.Get() == nullptr) return kDirectXLevelNone;
  return ProbeWithDirectDraw(ddraw.Get());
}

bool ReadDisplayOverlaySupport(bool* hasOverlay) {
  *hasOverlay = false;
  UniqueModule ddraw(LoadLibraryW(L"DDRAW.DLL"));
  if (ddraw.Get() == nullptr) return false;
  const auto directDrawCreate = FindEntry<DirectDrawCreateFn>(ddraw.Get(), "DirectDrawCreate");
  if (directDrawCreate == nullptr) return false;
  ComPtr<IDirectDraw> directDraw;
  if (FAILED(directDrawCreate(nullptr, directDraw.GetAddressOf(), nullptr)) ||
      directDraw.Get() == nullptr) {
    return false;
  }
  DDCAPS caps;
  std::memset(&caps, 0, sizeof(caps));
  caps.dwSize = sizeof(caps);
  if (FAILED(directDraw.Get()->GetCaps(&caps, nullptr))) return false;
  *hasOverlay = (caps.dwCaps & DDCAPS_OVERLAY) != 0;
  return true;
}

}  // namespace brontel

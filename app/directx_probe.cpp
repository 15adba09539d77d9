#include "app/directx_probe.h"

#include "win32/windows_include.h"
#include <objbase.h>
#include <ddraw.h>

#include <cstring>

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
class LibraryOwner {
 public:
  explicit LibraryOwner(const wchar_t* name) : m_module(LoadLibraryW(name)) {}
  ~LibraryOwner() {
    if (m_module != nullptr) FreeLibrary(m_module);
  }
  LibraryOwner(const LibraryOwner&) = delete;
  LibraryOwner& operator=(const LibraryOwner&) = delete;
  HMODULE get() const { return m_module; }

 private:
  HMODULE m_module;
};

// Releases an interface when it goes out of scope.
template <typename T>
class InterfaceOwner {
 public:
  InterfaceOwner() = default;
  ~InterfaceOwner() {
    if (m_ptr != nullptr) m_ptr->Release();
  }
  InterfaceOwner(const InterfaceOwner&) = delete;
  InterfaceOwner& operator=(const InterfaceOwner&) = delete;
  T* get() const { return m_ptr; }
  T** put() { return &m_ptr; }
  void** putVoid() { return reinterpret_cast<void**>(&m_ptr); }

 private:
  T* m_ptr = nullptr;
};

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
  InterfaceOwner<IDirectDraw> directDraw;
  if (FAILED(directDrawCreate(nullptr, directDraw.put(), nullptr)) || directDraw.get() == nullptr) {
    Trace("Couldn't create DDraw\r\n");
    return kDirectXLevelNone;
  }

  InterfaceOwner<IUnknown> directDraw2;
  if (FAILED(directDraw.get()->QueryInterface(kIidDirectDraw2, directDraw2.putVoid()))) {
    Trace("Couldn't QI DDraw2\r\n");
    return kDirectXLevel1;
  }

  {
    LibraryOwner dinput(L"DINPUT.DLL");
    if (dinput.get() == nullptr) {
      Trace("Couldn't LoadLibrary DInput\r\n");
      return kDirectXLevel2;
    }
    if (GetProcAddress(dinput.get(), "DirectInputCreateA") == nullptr) {
      Trace("Couldn't GetProcAddress DInputCreate\r\n");
      return kDirectXLevel2;
    }
  }

  if (FAILED(directDraw.get()->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
    Trace("Couldn't Set coop level\r\n");
    return kDirectXLevelNone;
  }
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof(description));
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  InterfaceOwner<IDirectDrawSurface> surface;
  if (FAILED(directDraw.get()->CreateSurface(&description, surface.put(), nullptr)) ||
      surface.get() == nullptr) {
    Trace("Couldn't CreateSurface\r\n");
    return kDirectXLevelNone;
  }

  InterfaceOwner<IUnknown> surface3;
  if (FAILED(surface.get()->QueryInterface(kIidDirectDrawSurface3, surface3.putVoid()))) {
    return kDirectXLevel3;
  }
  InterfaceOwner<IUnknown> surface4;
  if (FAILED(surface.get()->QueryInterface(kIidDirectDrawSurface4, surface4.putVoid()))) {
    return kDirectXLevel5;
  }

  InterfaceOwner<IUnknown> directMusic;
  if (FAILED(CoCreateInstance(kClsidDirectMusic, nullptr, CLSCTX_INPROC_SERVER, kIidDirectMusic,
                              directMusic.putVoid()))) {
    Trace("Couldn't create CLSID_DirectMusic\r\n");
    return kDirectXLevel6;
  }

  const auto directDrawCreateEx = FindEntry<DirectDrawCreateExFn>(ddraw, "DirectDrawCreateEx");
  if (directDrawCreateEx == nullptr) return kDirectXLevel61;
  InterfaceOwner<IUnknown> directDraw7;
  if (FAILED(directDrawCreateEx(nullptr, directDraw7.putVoid(), kIidDirectDraw7, nullptr)) ||
      directDraw7.get() == nullptr) {
    return kDirectXLevel61;
  }

  LibraryOwner d3d8(L"D3D8.DLL");
  return d3d8.get() != nullptr ? kDirectXLevel8 : kDirectXLevel7;
}

}  // namespace

unsigned ProbeDirectXLevel() {
  LibraryOwner ddraw(L"DDRAW.DLL");
  if (ddraw.get() == nullptr) return kDirectXLevelNone;
  return ProbeWithDirectDraw(ddraw.get());
}

bool ReadDisplayOverlaySupport(bool* hasOverlay) {
  *hasOverlay = false;
  LibraryOwner ddraw(L"DDRAW.DLL");
  if (ddraw.get() == nullptr) return false;
  const auto directDrawCreate = FindEntry<DirectDrawCreateFn>(ddraw.get(), "DirectDrawCreate");
  if (directDrawCreate == nullptr) return false;
  InterfaceOwner<IDirectDraw> directDraw;
  if (FAILED(directDrawCreate(nullptr, directDraw.put(), nullptr)) || directDraw.get() == nullptr) {
    return false;
  }
  DDCAPS caps;
  std::memset(&caps, 0, sizeof(caps));
  caps.dwSize = sizeof(caps);
  if (FAILED(directDraw.get()->GetCaps(&caps, nullptr))) return false;
  *hasOverlay = (caps.dwCaps & DDCAPS_OVERLAY) != 0;
  return true;
}

}  // namespace brontel

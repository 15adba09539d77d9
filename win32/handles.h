#pragma once
// Move-only owners for the Win32 resources the product holds: one owner per
// kind of handle, so that every close path is written once.

#include "win32/windows_include.h"

#include <objbase.h>

#include <utility>

namespace brontel {

// Owns one handle of a kind described by Traits:
//   using Type;  static bool IsEmpty(Type);  static void Close(Type);
template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : m_value(value) {}
  UniqueResource(UniqueResource&& other) noexcept : m_value(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Type Get() const { return m_value; }
  explicit operator bool() const { return !Traits::IsEmpty(m_value); }

  // Closes what is held and takes `value` over.
  void Reset(Type value = Type()) {
    Type old = m_value;
    m_value = value;
    if (!Traits::IsEmpty(old)) Traits::Close(old);
  }
  // Gives the handle up without closing it.
  Type Release() {
    Type value = m_value;
    m_value = Type();
    return value;
  }
  // For out-parameters: closes what is held first.
  Type* Put() {
    Reset();
    return &m_value;
  }

 private:
  Type m_value = Type();
};

struct KernelHandleTraits {
  using Type = HANDLE;
  // Some functions fail with null, others with INVALID_HANDLE_VALUE.
  static bool IsEmpty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct RegistryKeyTraits {
  using Type = HKEY;
  static bool IsEmpty(HKEY key) { return key == nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
struct ModuleTraits {
  using Type = HMODULE;
  static bool IsEmpty(HMODULE module) { return module == nullptr; }
  static void Close(HMODULE module) { FreeLibrary(module); }
};
template <typename Gdi>
struct GdiObjectTraits {
  using Type = Gdi;
  static bool IsEmpty(Gdi object) { return object == nullptr; }
  static void Close(Gdi object) { DeleteObject(object); }
};
struct MemoryDcTraits {
  using Type = HDC;
  static bool IsEmpty(HDC dc) { return dc == nullptr; }
  static void Close(HDC dc) { DeleteDC(dc); }
};
struct IconTraits {
  using Type = HICON;
  static bool IsEmpty(HICON icon) { return icon == nullptr; }
  static void Close(HICON icon) { DestroyIcon(icon); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueKey = UniqueResource<RegistryKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
template <typename Gdi>
using UniqueGdi = UniqueResource<GdiObjectTraits<Gdi>>;  // HBITMAP, HBRUSH, HFONT, HPEN, HRGN
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;   // from CreateCompatibleDC
using UniqueIcon = UniqueResource<IconTraits>;           // from CreateIcon*, not LoadIcon

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  WindowDc(WindowDc&& other) noexcept
      : m_hwnd(std::exchange(other.m_hwnd, nullptr)), m_dc(std::exchange(other.m_dc, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      m_hwnd = std::exchange(other.m_hwnd, nullptr);
      m_dc = std::exchange(other.m_dc, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { Reset(); }

  HDC Get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }
  void Reset() {
    if (m_dc) ReleaseDC(m_hwnd, m_dc);
    m_dc = nullptr;
    m_hwnd = nullptr;
  }

 private:
  HWND m_hwnd = nullptr;
  HDC m_dc = nullptr;
};

// Selects an object into a DC for a scope and puts the old one back.
class DcSelection {
 public:
  DcSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
  ~DcSelection() {
    if (m_old) SelectObject(m_dc, m_old);
  }
  DcSelection(const DcSelection&) = delete;
  DcSelection& operator=(const DcSelection&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// Memory that COM hands out with CoTaskMemAlloc.
template <typename T>
class CoTaskMem {
 public:
  CoTaskMem() = default;
  explicit CoTaskMem(T* p) : m_p(p) {}
  CoTaskMem(CoTaskMem&& other) noexcept : m_p(other.Release()) {}
  CoTaskMem& operator=(CoTaskMem&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  CoTaskMem(const CoTaskMem&) = delete;
  CoTaskMem& operator=(const CoTaskMem&) = delete;
  ~CoTaskMem() { Reset(); }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  void Reset(T* p = nullptr) {
    T* old = m_p;
    m_p = p;
    if (old) CoTaskMemFree(old);
  }
  T* Release() { return std::exchange(m_p, nullptr); }
  T** Put() {
    Reset();
    return &m_p;
  }

 private:
  T* m_p = nullptr;
};

}  // namespace brontel

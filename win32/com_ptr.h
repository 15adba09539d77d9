#pragma once
// A small owning pointer for COM interfaces: one AddRef per holder, Release on
// reset or destruction.

#include "win32/windows_include.h"

#include <unknwn.h>

#include <utility>

namespace brontel {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : m_p(p) {  // NOLINT: implicit from a borrowed pointer, AddRefs
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(T* p) {
    ComPtr(p).Swap(*this);
    return *this;
  }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // For out-parameters: releases what is held first.
  T** GetAddressOf() {
    Reset();
    return &m_p;
  }

  void Reset() {
    if (m_p) {
      T* p = m_p;
      m_p = nullptr;
      p->Release();
    }
  }
  // Takes over a reference the caller already owns.
  void Attach(T* p) {
    Reset();
    m_p = p;
  }
  T* Detach() {
    T* p = m_p;
    m_p = nullptr;
    return p;
  }
  // Hands out an AddRef'd copy.
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = m_p;
    if (m_p) m_p->AddRef();
    return S_OK;
  }
  template <typename U>
  HRESULT As(ComPtr<U>* out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(__uuidof(U), reinterpret_cast<void**>(out->GetAddressOf()));
  }
  void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

 private:
  T* m_p = nullptr;
};

}  // namespace brontel

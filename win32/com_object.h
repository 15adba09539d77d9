#pragma once
// IUnknown pieces for our COM objects. Every object is created with a count
// of 1 and deletes itself when the count drops to 0.

#include "win32/windows_include.h"

#include <unknwn.h>

namespace brontel {

// The reference count of an object that implements several interfaces: one
// AddRef and Release serve them all. The object answers QueryInterface itself,
// casting to the interface asked for, so that COM identity holds.
template <typename... Interfaces>
class MultiInterfaceObject : public Interfaces... {
 public:
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
  }

 protected:
  MultiInterfaceObject() = default;
  virtual ~MultiInterfaceObject() = default;
  MultiInterfaceObject(const MultiInterfaceObject&) = delete;
  MultiInterfaceObject& operator=(const MultiInterfaceObject&) = delete;

 private:
  LONG m_refCount = 1;
};

// QueryInterface for IUnknown and the one interface as well.
template <typename Interface, const IID& kIid>
class SingleInterfaceObject : public MultiInterfaceObject<Interface> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIid)) {
      *ppv = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }

 protected:
  SingleInterfaceObject() = default;
};

}  // namespace brontel

#pragma once
// IUnknown for an object that implements one interface: reference counting,
// and QueryInterface for IUnknown and that interface. The object is created
// with a count of 1 and deletes itself when the count drops to 0.

#include "win32/windows_include.h"

#include <unknwn.h>

namespace brontel {

template <typename Interface, const IID& kIid>
class SingleInterfaceObject : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIid)) {
      *ppv = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
  }

 protected:
  SingleInterfaceObject() = default;
  virtual ~SingleInterfaceObject() = default;
  SingleInterfaceObject(const SingleInterfaceObject&) = delete;
  SingleInterfaceObject& operator=(const SingleInterfaceObject&) = delete;

 private:
  LONG m_refCount = 1;
};

}  // namespace brontel

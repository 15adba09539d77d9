#include "apimgr/kx_unknown.h"

#include <cstdio>

HINSTANCE g_moduleInstance = nullptr;
LONG g_activeObjects = 0;
LONG g_serverLocks = 0;

CKXUnknown::CKXUnknown(IUnknown* outer) : m_refCount(1) {
  std::printf("%s: \t%s\n", "CKXUnknown",
              outer != nullptr ? "Aggregating; delegate to outer IUnknown."
                               : "Not aggregating; delegate to nondelegating IUnknown.");
  std::fflush(stdout);
  // The nondelegating unknown has IUnknown's slot layout, so it can stand in
  // as the controlling unknown of an object that is not aggregated.
  m_controllingUnknown =
      outer != nullptr ? outer
                       : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this));
  InterlockedIncrement(&g_activeObjects);
}

CKXUnknown::~CKXUnknown() {
  InterlockedDecrement(&g_activeObjects);
}

HRESULT STDMETHODCALLTYPE CKXUnknown::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown)) {
    *out = static_cast<INonDelegatingUnknown*>(this);
    NonDelegatingAddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CKXUnknown::NonDelegatingAddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CKXUnknown::NonDelegatingRelease() {
  const LONG count = InterlockedDecrement(&m_refCount);
  if (count == 0) {
    FinalRelease();
    delete this;
    return 0;
  }
  return static_cast<ULONG>(count);
}

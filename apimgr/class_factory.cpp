#include "apimgr/class_factory.h"

#include "apimgr/api_mgr.h"

const ComponentClass g_componentClasses[] = {
    {&CLSID_KXApiMgr, &IID_IKXBoard, &CApiMgr::Create, L"Kestrova, Pellamy API Mgr",
     L"Kestrova.KXApiMgr", L"Kestrova.KXApiMgr.1"},
};
const size_t g_componentClassCount = sizeof g_componentClasses / sizeof g_componentClasses[0];

HRESULT STDMETHODCALLTYPE CApiMgrFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  *out = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) {
    return CLASS_E_NOAGGREGATION;
  }
  CKXUnknown* object = nullptr;
  HRESULT hr = m_row->create(outer, &object);
  if (FAILED(hr)) {
    return hr;
  }
  hr = object->Init();
  if (FAILED(hr)) {
    object->NonDelegatingRelease();
    return hr;
  }
  hr = object->NonDelegatingQueryInterface(iid, out);
  object->NonDelegatingRelease();
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgrFactory::LockServer(BOOL lock) {
  if (lock) {
    InterlockedIncrement(&g_serverLocks);
  } else {
    InterlockedDecrement(&g_serverLocks);
  }
  return S_OK;
}

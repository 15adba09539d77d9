#pragma once
// The class table and the class object that creates its components.

#include <unknwn.h>

#include "apimgr/kx_unknown.h"

using CreateComponentFn = HRESULT (*)(IUnknown* outer, CKXUnknown** out);

struct ComponentClass {
  const CLSID* classId;
  const GUID* extraGuid;  // registered under the version-independent ProgID as "GUID"
  CreateComponentFn create;
  const wchar_t* description;
  const wchar_t* versionIndependentProgId;
  const wchar_t* progId;
};

extern const ComponentClass g_componentClasses[];
extern const size_t g_componentClassCount;

class CApiMgrFactory : public IClassFactory {
 public:
  explicit CApiMgrFactory(const ComponentClass* row) : m_row(row) {}
  virtual ~CApiMgrFactory() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  LONG m_refCount = 1;
  const ComponentClass* m_row;
};

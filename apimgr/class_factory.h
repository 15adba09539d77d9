#pragma once
// The class table and the class object that creates its components.

#include "win32/windows_include.h"

#include <unknwn.h>

#include "apimgr/kx_unknown.h"
#include "win32/com_object.h"

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

// Unlike the filters' factory, this one lets an outer object aggregate its
// components and counts LockServer in g_serverLocks.
class CApiMgrFactory : public brontel::SingleInterfaceObject<IClassFactory, IID_IClassFactory> {
 public:
  explicit CApiMgrFactory(const ComponentClass* row) : m_row(row) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  const ComponentClass* m_row;
};

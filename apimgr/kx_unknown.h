#pragma once
// Aggregation-aware base of every component object of this server, and the
// process-wide counters that decide when the library may be unloaded.

#include <unknwn.h>

// Module handle saved at process attach.
extern HINSTANCE g_moduleInstance;
// Live CKXUnknown objects and outstanding LockServer(TRUE) calls.
extern LONG g_activeObjects;
extern LONG g_serverLocks;

struct INonDelegatingUnknown {
  virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

class CKXUnknown : public INonDelegatingUnknown {
 public:
  explicit CKXUnknown(IUnknown* outer);
  virtual ~CKXUnknown();
  CKXUnknown(const CKXUnknown&) = delete;
  CKXUnknown& operator=(const CKXUnknown&) = delete;

  virtual HRESULT Init() { return S_OK; }
  // Sets the count to 1 so that a release during destruction cannot delete
  // the object a second time.
  virtual void FinalRelease() { m_refCount = 1; }

  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
  ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

 protected:
  IUnknown* ControllingUnknown() const { return m_controllingUnknown; }
  LONG m_refCount;

 private:
  IUnknown* m_controllingUnknown;
};

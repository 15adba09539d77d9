#pragma once
// Hosts an ActiveX control in a parent window without a framework: the
// client site, the in-place site and the ambient properties a control asks
// its container for, and small calls by dispatch id.

#include "win32/windows_include.h"

#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "win32/com_ptr.h"

namespace brontel {

class ActiveXSite;

class ActiveXHost {
 public:
  ActiveXHost() = default;
  ~ActiveXHost() { Destroy(); }
  ActiveXHost(const ActiveXHost&) = delete;
  ActiveXHost& operator=(const ActiveXHost&) = delete;

  // Creates the control `clsid`, activates it in place as a child of
  // `parent` at `rect` (an empty rectangle keeps it out of sight) and takes
  // its IDispatch. REGDB_E_CLASSNOTREG when the control is not registered;
  // nothing is kept on failure.
  HRESULT Create(HWND parent, REFCLSID clsid, const RECT& rect);
  // Deactivates, closes and releases the control; safe when there is none.
  void Destroy();

  bool IsCreated() const { return static_cast<bool>(m_dispatch); }
  IDispatch* Dispatch() const { return m_dispatch.Get(); }
  // The control's window while it is active in place, else null.
  HWND ControlWindow() const;
  HRESULT Move(const RECT& rect);

 private:
  ActiveXSite* m_site = nullptr;  // owned: one reference
  ComPtr<IOleObject> m_object;
  ComPtr<IDispatch> m_dispatch;
};

// What a call by dispatch id gave: the HRESULT (a control's own error code
// when it raised one) and the control's description of a failure.
struct DispatchOutcome {
  HRESULT hr = S_OK;
  std::wstring description;
  bool Succeeded() const { return SUCCEEDED(hr); }
};

DispatchOutcome GetDispatchProperty(IDispatch* dispatch, DISPID id, VARIANT* value);
DispatchOutcome PutDispatchProperty(IDispatch* dispatch, DISPID id, const VARIANT& value);
DispatchOutcome InvokeDispatchMethod(IDispatch* dispatch, DISPID id);

// Typed shorthands for the common property types.
DispatchOutcome GetDispatchDouble(IDispatch* dispatch, DISPID id, double* value);
DispatchOutcome PutDispatchDouble(IDispatch* dispatch, DISPID id, double value);
DispatchOutcome PutDispatchString(IDispatch* dispatch, DISPID id, const std::wstring& value);

}  // namespace brontel

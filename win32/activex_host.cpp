#include "win32/activex_host.h"

#include <oleauto.h>
#include <olectl.h>

#include <new>

#include "win32/com_object.h"

namespace brontel {

// The container's side of one hosted control. Every interface lives on this
// one object so the control sees a single identity.
class ActiveXSite final
    : public MultiInterfaceObject<IOleClientSite, IOleInPlaceSite, IDispatch> {
 public:
  explicit ActiveXSite(HWND parent) : m_parent(parent) {}
  ActiveXSite(const ActiveXSite&) = delete;
  ActiveXSite& operator=(const ActiveXSite&) = delete;

  void SetRect(const RECT& rect) { m_rect = rect; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
      *ppv = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow)) {
      *ppv = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(riid, IID_IDispatch)) {
      *ppv = static_cast<IDispatch*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow and IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = m_parent;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    // A plain window has no frame with menus and tool space to negotiate.
    *frame = nullptr;
    *document = nullptr;
    *position = m_rect;
    *clip = m_rect;
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(m_parent, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override {
    if (!rect) return E_POINTER;
    m_rect = *rect;
    return S_OK;
  }

  // IDispatch: the ambient properties.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
      case DISPID_AMBIENT_USERMODE:  // running, not being designed
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
      case DISPID_AMBIENT_UIDEAD:
      case DISPID_AMBIENT_SHOWGRABHANDLES:
      case DISPID_AMBIENT_SHOWHATCHING:
      case DISPID_AMBIENT_MESSAGEREFLECT:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
      case DISPID_AMBIENT_LOCALEID:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(GetUserDefaultLCID());
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  ~ActiveXSite() = default;

  HWND m_parent;
  RECT m_rect = {0, 0, 0, 0};
};

HRESULT ActiveXHost::Create(HWND parent, REFCLSID clsid, const RECT& rect) {
  Destroy();
  if (!parent) return E_INVALIDARG;
  ComPtr<IOleObject> object;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(object.GetAddressOf()));
  if (FAILED(hr)) return hr;
  ComPtr<IDispatch> dispatch;
  hr = object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()));
  if (FAILED(hr)) return hr;
  auto* site = new (std::nothrow) ActiveXSite(parent);
  if (!site) return E_OUTOFMEMORY;
  site->SetRect(rect);

  DWORD status = 0;
  object->GetMiscStatus(DVASPECT_CONTENT, &status);
  const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) hr = object->SetClientSite(site);
  ComPtr<IPersistStreamInit> persist;
  object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(persist.GetAddressOf()));
  if (SUCCEEDED(hr) && persist) hr = persist->InitNew();
  if (SUCCEEDED(hr) && !siteFirst) hr = object->SetClientSite(site);
  if (SUCCEEDED(hr)) {
    hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, parent, &rect);
  }
  if (FAILED(hr)) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    site->Release();
    return hr;
  }
  m_site = site;
  m_object = object;
  m_dispatch = dispatch;
  return S_OK;
}

void ActiveXHost::Destroy() {
  if (m_object) {
    ComPtr<IOleInPlaceObject> inPlace;
    m_object->QueryInterface(IID_IOleInPlaceObject,
                             reinterpret_cast<void**>(inPlace.GetAddressOf()));
    if (inPlace) inPlace->InPlaceDeactivate();
    m_object->Close(OLECLOSE_NOSAVE);
    m_object->SetClientSite(nullptr);
  }
  m_dispatch.Reset();
  m_object.Reset();
  if (m_site) m_site->Release();
  m_site = nullptr;
}

HWND ActiveXHost::ControlWindow() const {
  if (!m_object) return nullptr;
  ComPtr<IOleInPlaceObject> inPlace;
  m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.GetAddressOf()));
  HWND window = nullptr;
  if (!inPlace || FAILED(inPlace->GetWindow(&window))) return nullptr;
  return window;
}

HRESULT ActiveXHost::Move(const RECT& rect) {
  if (!m_object) return OLE_E_BLANK;
  m_site->SetRect(rect);
  ComPtr<IOleInPlaceObject> inPlace;
  m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.GetAddressOf()));
  if (!inPlace) return E_NOINTERFACE;
  return inPlace->SetObjectRects(&rect, &rect);
}

namespace {

DispatchOutcome Call(IDispatch* dispatch, DISPID id, WORD flags, DISPPARAMS* params,
                     VARIANT* result) {
  DispatchOutcome outcome;
  if (!dispatch) {
    outcome.hr = E_POINTER;
    outcome.description = L"The control is not there.";
    return outcome;
  }
  EXCEPINFO exception{};
  UINT argError = 0;
  outcome.hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result,
                                &exception, &argError);
  if (outcome.hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    // The control's own code says more than "an exception occurred".
    if (FAILED(exception.scode)) outcome.hr = exception.scode;
    if (exception.bstrDescription) outcome.description = exception.bstrDescription;
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return outcome;
}

}  // namespace

DispatchOutcome GetDispatchProperty(IDispatch* dispatch, DISPID id, VARIANT* value) {
  if (!value) return {E_POINTER, L""};
  VariantInit(value);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return Call(dispatch, id, DISPATCH_PROPERTYGET, &none, value);
}

DispatchOutcome PutDispatchProperty(IDispatch* dispatch, DISPID id, const VARIANT& value) {
  VARIANT argument = value;  // Invoke does not change its arguments
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&argument, &named, 1, 1};
  return Call(dispatch, id, DISPATCH_PROPERTYPUT, &params, nullptr);
}

DispatchOutcome InvokeDispatchMethod(IDispatch* dispatch, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  DispatchOutcome outcome = Call(dispatch, id, DISPATCH_METHOD, &none, &result);
  VariantClear(&result);
  return outcome;
}

DispatchOutcome GetDispatchDouble(IDispatch* dispatch, DISPID id, double* value) {
  if (!value) return {E_POINTER, L""};
  VARIANT result;
  DispatchOutcome outcome = GetDispatchProperty(dispatch, id, &result);
  if (outcome.Succeeded()) {
    VARIANT converted;
    VariantInit(&converted);
    outcome.hr = VariantChangeType(&converted, &result, 0, VT_R8);
    if (outcome.Succeeded()) *value = converted.dblVal;
  }
  VariantClear(&result);
  return outcome;
}

DispatchOutcome PutDispatchDouble(IDispatch* dispatch, DISPID id, double value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_R8;
  argument.dblVal = value;
  return PutDispatchProperty(dispatch, id, argument);
}

DispatchOutcome PutDispatchString(IDispatch* dispatch, DISPID id, const std::wstring& value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (!argument.bstrVal) return {E_OUTOFMEMORY, L""};
  DispatchOutcome outcome = PutDispatchProperty(dispatch, id, argument);
  VariantClear(&argument);
  return outcome;
}

}  // namespace brontel

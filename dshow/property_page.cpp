#include "dshow/property_page.h"

#include <cstring>

namespace brontel::dshow {

namespace {

// Why CreateDialogParam failed, e.g. a missing template; out of memory when
// the system does not say.
HRESULT DialogCreationFailure() {
  DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_OUTOFMEMORY;
}

}  // namespace

PropertyPage::PropertyPage(int dialogId, int titleStringId)
    : m_dialogId(dialogId), m_titleStringId(titleStringId) {}

PropertyPage::~PropertyPage() {
  if (m_hwnd) DestroyWindow(m_hwnd);
  if (m_site) m_site->Release();
}

STDMETHODIMP PropertyPage::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPropertyPage) {
    *ppv = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PropertyPage::AddRef() {
  return InterlockedIncrement(&m_refCount);
}

STDMETHODIMP_(ULONG) PropertyPage::Release() {
  LONG count = InterlockedDecrement(&m_refCount);
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
  if (site) {
    if (m_site) return E_UNEXPECTED;
    site->AddRef();
    m_site = site;
    return S_OK;
  }
  if (!m_site) return E_UNEXPECTED;
  m_site->Release();
  m_site = nullptr;
  return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (!rect) return E_POINTER;
  if (m_hwnd) return E_UNEXPECTED;
  SetLastError(ERROR_SUCCESS);
  HWND hwnd = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_dialogId), parent, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
  if (!hwnd) return DialogCreationFailure();
  m_hwnd = hwnd;
  HRESULT hr = OnActivate();
  if (FAILED(hr)) {
    DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    return hr;
  }
  Move(rect);
  return Show(SW_SHOWNORMAL);
}

STDMETHODIMP PropertyPage::Deactivate() {
  if (!m_hwnd) return E_UNEXPECTED;
  HRESULT hr = OnDeactivate();
  DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
  return hr;
}

namespace {
INT_PTR CALLBACK MeasureDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}
}  // namespace

HRESULT PropertyPage::MeasureDialog(SIZE* size) {
  // The template is in dialog units; an invisible instance gives pixels.
  SetLastError(ERROR_SUCCESS);
  HWND probe = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_dialogId),
                                  GetDesktopWindow(), MeasureDialogProc, 0);
  if (!probe) return DialogCreationFailure();
  RECT rc{};
  GetWindowRect(probe, &rc);
  DestroyWindow(probe);
  size->cx = rc.right - rc.left;
  size->cy = rc.bottom - rc.top;
  return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  const wchar_t* resource = nullptr;
  int length =
      LoadStringW(ModuleInstance(), m_titleStringId, reinterpret_cast<LPWSTR>(&resource), 0);
  size_t bytes = (static_cast<size_t>(length) + 1) * sizeof(wchar_t);
  auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!title) return E_OUTOFMEMORY;
  if (length > 0) std::memcpy(title, resource, length * sizeof(wchar_t));
  title[length] = L'\0';
  SIZE size{};
  HRESULT hr = MeasureDialog(&size);
  if (FAILED(hr)) {
    CoTaskMemFree(title);
    return hr;
  }
  info->cb = sizeof(PROPPAGEINFO);
  info->pszTitle = title;
  info->size = size;
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count == 1) {
    if (!objects || !objects[0]) return E_POINTER;
    if (m_objectSet) OnDisconnect();
    HRESULT hr = OnConnect(objects[0]);
    m_objectSet = SUCCEEDED(hr);
    return hr;
  }
  if (count == 0) {
    m_objectSet = false;
    return OnDisconnect();
  }
  return E_UNEXPECTED;
}

STDMETHODIMP PropertyPage::Show(UINT cmdShow) {
  if (!m_hwnd) return E_UNEXPECTED;
  if (cmdShow != SW_SHOW && cmdShow != SW_SHOWNORMAL && cmdShow != SW_HIDE) return E_INVALIDARG;
  ShowWindow(m_hwnd, cmdShow);
  InvalidateRect(m_hwnd, nullptr, TRUE);
  return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
  if (!rect) return E_POINTER;
  if (!m_hwnd) return E_UNEXPECTED;
  MoveWindow(m_hwnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
             TRUE);
  return S_OK;
}

STDMETHODIMP PropertyPage::IsPageDirty() {
  return m_dirty ? S_OK : S_FALSE;
}

STDMETHODIMP PropertyPage::Apply() {
  if (!m_objectSet || !m_site) return E_UNEXPECTED;
  if (!m_dirty) return S_OK;
  HRESULT hr = OnApplyChanges();
  if (SUCCEEDED(hr)) m_dirty = false;
  return hr;
}

STDMETHODIMP PropertyPage::Help(LPCOLESTR) {
  return E_NOTIMPL;
}
STDMETHODIMP PropertyPage::TranslateAccelerator(MSG*) {
  return E_NOTIMPL;
}

void PropertyPage::SetDirty() {
  m_dirty = true;
  if (m_site) m_site->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

INT_PTR CALLBACK PropertyPage::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PropertyPage* page = nullptr;
  if (message == WM_INITDIALOG) {
    page = reinterpret_cast<PropertyPage*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!page || page->m_hwnd != hwnd) return FALSE;
  return page->OnReceiveMessage(message, wParam, lParam);
}

}  // namespace brontel::dshow

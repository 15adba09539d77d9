#pragma once
// IPropertyPage over a dialog template in the module's resources. A derived
// page connects to its object, fills the dialog on activation, reads it back
// on deactivation and apply, and sees the dialog's messages.

#include "win32/windows_include.h"
#include <ocidl.h>

#include "win32/module_lock.h"

namespace brontel::dshow {

class PropertyPage : public IPropertyPage {
 public:
  PropertyPage(int dialogId, int titleStringId);
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPropertyPage
  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT cmdShow) override;
  STDMETHODIMP Move(LPCRECT rect) override;
  STDMETHODIMP IsPageDirty() override;
  STDMETHODIMP Apply() override;
  STDMETHODIMP Help(LPCOLESTR helpDir) override;
  STDMETHODIMP TranslateAccelerator(MSG* msg) override;

  HWND Window() const { return m_hwnd; }
  bool IsDirty() const { return m_dirty; }

 protected:
  virtual HRESULT OnConnect(IUnknown* object) { return S_OK; }
  virtual HRESULT OnDisconnect() { return S_OK; }
  virtual HRESULT OnActivate() { return S_OK; }
  virtual HRESULT OnDeactivate() { return S_OK; }
  virtual HRESULT OnApplyChanges() { return S_OK; }
  // A dialog message; return TRUE when handled, FALSE for the default handling.
  virtual INT_PTR OnReceiveMessage(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

  // Marks the page changed and tells the frame, which enables its Apply button.
  void SetDirty();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HRESULT MeasureDialog(SIZE* size);

  LONG m_refCount = 1;
  int m_dialogId;
  int m_titleStringId;
  HWND m_hwnd = nullptr;
  IPropertyPageSite* m_site = nullptr;  // AddRef'd
  bool m_objectSet = false;
  bool m_dirty = false;
  ModuleObjectLock m_moduleLock;
};

}  // namespace brontel::dshow

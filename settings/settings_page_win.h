#pragma once
// The base of every page of the settings sheet. A page edits the sheet's
// working copy only; the notifications the sheet sends arrive as virtual
// handlers, so a page class holds nothing but its own behaviour.

#include "win32/windows_include.h"

#include <commctrl.h>

#include <string>

#include "settings/sheet_host.h"

namespace brontel {

class CAppSettings;

class SettingsPage {
 public:
  SettingsPage(int templateId, CAppSettings& working, SettingsSheetHost& host);
  virtual ~SettingsPage() = default;
  SettingsPage(const SettingsPage&) = delete;
  SettingsPage& operator=(const SettingsPage&) = delete;

  HWND hwnd() const { return m_hwnd; }
  int TemplateId() const { return m_templateId; }

  // The page's entry for PropertySheetW: its template in `resources` and
  // this object as the page's data.
  PROPSHEETPAGEW Describe(HINSTANCE resources);
  // The sheet's flag that OK went through, set when this page hears it.
  void ReportApplyTo(bool* applied) { m_applied = applied; }

 protected:
  // WM_INITDIALOG: fill the controls from the working copy.
  virtual void OnInitDialog() {}
  // PSN_SETACTIVE: the page is shown.
  virtual void OnSetActive() {}
  // PSN_KILLACTIVE, when the user leaves the page or presses OK: check the
  // fields and store them in the working copy. False keeps the page open;
  // the page has said why.
  virtual bool OnKillActive() { return true; }
  // PSN_APPLY: OK was pressed and every page let go.
  virtual void OnApply() {}
  // PSN_RESET: the sheet was cancelled.
  virtual void OnReset() {}
  virtual void OnCommand(WORD id, WORD code, HWND control) {}
  virtual void OnTimer(UINT_PTR id) {}
  // WM_NOTIFY other than the sheet's own notifications.
  virtual LRESULT OnNotify(NMHDR* header) { return 0; }
  // WM_HSCROLL / WM_VSCROLL from sliders and spins.
  virtual void OnScroll(HWND control, WORD code) {}
  virtual void OnDestroy() {}
  // Any other message; return TRUE when handled.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

  CAppSettings& Working() { return m_working; }
  SettingsSheetHost& Host() { return m_host; }
  HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
  HWND Sheet() const { return GetParent(m_hwnd); }

  // Small control helpers in UTF-8, so that pages stay close to the
  // portable rules they call.
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text);
  bool IsChecked(int id) const;
  void SetChecked(int id, bool checked);
  void EnableItem(int id, bool enable);
  // Report-view list columns titled by the strings from `firstTitleId` on,
  // as wide as string `widthsId` ("w1,w2,...") says.
  static void AddListColumns(HWND list, UINT firstTitleId, int count, UINT widthsId);
  static void SetListText(HWND list, int row, int column, std::wstring text);

 private:
  static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  int m_templateId;
  CAppSettings& m_working;
  SettingsSheetHost& m_host;
  bool* m_applied = nullptr;
  HWND m_hwnd = nullptr;
};

}  // namespace brontel

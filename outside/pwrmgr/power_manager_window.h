#pragma once
// The power manager's one window: what it was asked to do and what it did.

#include "win32/windows_include.h"

#include <string>

namespace brontel::pwrmgr {

// Items of the window, for anyone reading it from outside.
constexpr int kItemCommandLine = 100;
constexpr int kItemRequest = 101;
constexpr int kItemStatus = 102;

class PowerManagerWindow {
 public:
  bool Create(HINSTANCE instance, int showCommand);
  HWND hwnd() const { return m_hwnd; }
  void SetItem(int id, const std::wstring& text);
  // Sets the status line and writes it to the debugger output.
  void Report(const std::wstring& text);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
};

}  // namespace brontel::pwrmgr

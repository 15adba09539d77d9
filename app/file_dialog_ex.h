#pragma once
// The system's open-file dialog in explorer style with one added check box
// (identifier 3001) below the file-type row, whose state is handed back.

#include "win32/windows_include.h"

#include <string>

namespace brontel {

constexpr int kFileDialogCheckId = 3001;

class CFileDialogEx {
 public:
  // `filter` uses '|' between its parts, as "MPEG files (.mpg)|*.mpg||".
  CFileDialogEx(std::wstring title, std::wstring filter, std::wstring checkCaption, bool checked,
                bool checkEnabled);

  // Shows the dialog; true when the user chose a file.
  bool DoModal(HWND owner);
  const std::wstring& path() const { return m_path; }
  bool checked() const { return m_checked; }

 private:
  static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit(HWND hook);
  void OnDestroy();

  std::wstring m_title;
  std::wstring m_filter;
  std::wstring m_checkCaption;
  bool m_checked;
  bool m_checkEnabled;
  std::wstring m_path;
  HWND m_checkBox = nullptr;
};

}  // namespace brontel

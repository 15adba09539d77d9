#include "app/file_dialog_ex.h"

#include <commdlg.h>

#include <vector>

namespace brontel {
namespace {

// The explorer frame's file-type label, under which the box goes.
constexpr int kFileTypeLabelId = 1089;
constexpr int kExtraFrameHeight = 40;
constexpr int kBoxTopShift = 30;
constexpr int kBoxBottomShift = 50;
constexpr int kBoxRightShift = 100;
constexpr DWORD kPathChars = 32768;

}  // namespace

CFileDialogEx::CFileDialogEx(std::wstring title, std::wstring filter, std::wstring checkCaption,
                             bool checked, bool checkEnabled)
    : m_title(std::move(title)),
      m_filter(std::move(filter)),
      m_checkCaption(std::move(checkCaption)),
      m_checked(checked),
      m_checkEnabled(checkEnabled) {}

bool CFileDialogEx::DoModal(HWND owner) {
  std::wstring filter = m_filter;
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  std::vector<wchar_t> file(kPathChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kPathChars;
  ofn.lpstrTitle = m_title.c_str();
  ofn.Flags =
      OFN_EXPLORER | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  ofn.lpfnHook = HookProc;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);
  m_checkBox = nullptr;
  const bool chosen = GetOpenFileNameW(&ofn) != FALSE;
  if (chosen) m_path = file.data();
  return chosen;
}

UINT_PTR CALLBACK CFileDialogEx::HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
    auto* self = reinterpret_cast<CFileDialogEx*>(ofn->lCustData);
    SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->OnInit(hook);
    return TRUE;
  }
  auto* self = reinterpret_cast<CFileDialogEx*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
  if (self != nullptr && message == WM_DESTROY) self->OnDestroy();
  return 0;
}

void CFileDialogEx::OnInit(HWND hook) {
  HWND frame = GetParent(hook);
  RECT frameRect;
  GetWindowRect(frame, &frameRect);
  SetWindowPos(frame, nullptr, 0, 0, frameRect.right - frameRect.left,
               frameRect.bottom - frameRect.top + kExtraFrameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND label = GetDlgItem(frame, kFileTypeLabelId);
  if (label == nullptr) return;
  RECT box;
  GetWindowRect(label, &box);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&box), 2);
  box.top += kBoxTopShift;
  box.bottom += kBoxBottomShift;
  box.right += kBoxRightShift;
  m_checkBox = CreateWindowExW(0, L"BUTTON", m_checkCaption.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, box.left,
                               box.top, box.right - box.left, box.bottom - box.top, frame,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFileDialogCheckId)),
                               GetModuleHandleW(nullptr), nullptr);
  if (m_checkBox == nullptr) return;
  SendMessageW(m_checkBox, WM_SETFONT, SendMessageW(label, WM_GETFONT, 0, 0), FALSE);
  SendMessageW(m_checkBox, BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
  EnableWindow(m_checkBox, m_checkEnabled ? TRUE : FALSE);
  SetFocus(m_checkBox);
}

void CFileDialogEx::OnDestroy() {
  if (m_checkBox != nullptr && IsWindow(m_checkBox)) {
    m_checked = SendMessageW(m_checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  m_checkBox = nullptr;
}

}  // namespace brontel

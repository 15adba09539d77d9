#include "app/skin_binding.h"

// Without a skin engine the controls are plain windows that draw nothing but
// the dialog background, and the panel stays as the template lays it out.

namespace brontel {
namespace {

bool RegisterPlainClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW cls = {};
  cls.cbSize = sizeof(cls);
  // Global: the dialog is created from the language library, not from this module.
  cls.style = CS_GLOBALCLASS;
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = name;
  return RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterSkinControlClasses(HINSTANCE instance) {
  return RegisterPlainClass(instance, kSkinControlClass) &&
         RegisterPlainClass(instance, kSkinLabelClass);
}

SkinLoadResult LoadAndBindSkin(HWND) {
  return SkinLoadResult::kNoEngine;
}

void ShowPanel(HWND, bool) {}

}  // namespace brontel

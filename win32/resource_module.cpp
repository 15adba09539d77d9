#include "win32/resource_module.h"

namespace brontel {
namespace {

HINSTANCE g_resourceModule = nullptr;

}  // namespace

HINSTANCE ResourceModule() {
  return g_resourceModule != nullptr ? g_resourceModule : GetModuleHandleW(nullptr);
}

void SetResourceModule(HINSTANCE module) {
  g_resourceModule = module;
}

std::wstring LoadResString(UINT id) {
  // With a zero buffer size LoadStringW hands out a pointer into the
  // resource itself, so texts of any length come through whole.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(ResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return std::wstring();
  return std::wstring(text, static_cast<size_t>(length));
}

int ShowResMessage(HWND owner, UINT textId, UINT captionId, UINT flags) {
  const std::wstring text = LoadResString(textId);
  const std::wstring caption = LoadResString(captionId);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace brontel

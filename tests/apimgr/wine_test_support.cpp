#include "apimgr/wine_test_support.h"

#include <cstdio>

namespace apimgr_test {

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring KeyDefaultValue(HKEY root, const std::wstring& path) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<no key>";
  const LONG status =
      RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return L"<no value>";
  return value;
}

bool RegisterManager() {
  return RunProcess(L"regsvr32.exe /s \"" + ExeDir() + L"KXApiMgr.dll\"") == 0;
}

bool UnregisterManager() {
  return RunProcess(L"regsvr32.exe /u /s \"" + ExeDir() + L"KXApiMgr.dll\"") == 0;
}

std::vector<std::string> JournalFile::CallTexts() const {
  std::vector<std::string> lines;
  for (const std::string& line : Texts()) {
    if (line.rfind("board ", 0) != 0) lines.push_back(line);
  }
  return lines;
}

std::string JournalFile::LineAfter(size_t previousCount) const {
  const std::vector<std::string> lines = CallTexts();
  if (lines.size() != previousCount + 1) {
    return lines.size() <= previousCount
               ? std::string()
               : "<" + std::to_string(lines.size() - previousCount) + " lines>";
  }
  return lines.back();
}

HWND CreateHostWindow(const wchar_t* title, int width, int height) {
  RECT rect = {0, 0, width, height};
  AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
  HWND hwnd = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd != nullptr) {
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  return hwnd;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::string HexValue(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace apimgr_test

#include "win32/registry.h"

#include <vector>

#include "win32/handles.h"

namespace brontel {
namespace {
constexpr DWORD kMaxKeyNameChars = 256;  // 255 and the terminator
}  // namespace

LONG DeleteRegistryTree(HKEY parent, const wchar_t* subkey) {
  UniqueKey key;
  LONG status = RegOpenKeyExW(parent, subkey, 0, KEY_READ | KEY_WRITE, key.Put());
  if (status != ERROR_SUCCESS) return status;
  for (;;) {
    wchar_t child[kMaxKeyNameChars];
    DWORD childChars = kMaxKeyNameChars;
    // Always the first child: the one before was just deleted.
    status = RegEnumKeyExW(key.Get(), 0, child, &childChars, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_SUCCESS) status = DeleteRegistryTree(key.Get(), child);
    if (status != ERROR_SUCCESS) return status;
  }
  key.Reset();
  return RegDeleteKeyW(parent, subkey);
}

LONG WriteRegistryString(HKEY key, const wchar_t* name, const std::wstring& value,
                         bool terminated) {
  const DWORD bytes = static_cast<DWORD>((value.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LONG WriteRegistryDword(HKEY key, const wchar_t* name, DWORD value, DWORD type) {
  return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool ReadRegistryString(HKEY key, const wchar_t* name, std::wstring* value) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return false;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::wstring text(buffer.data(), size / sizeof(wchar_t));
  const std::size_t zero = text.find(L'\0');
  if (zero != std::wstring::npos) text.resize(zero);
  *value = text;
  return true;
}

bool ReadRegistryDword(HKEY key, const wchar_t* name, DWORD* value) {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return false;
  }
  *value = data;
  return true;
}

}  // namespace brontel

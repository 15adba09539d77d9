#include "app/registry_store_win.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "app/text_convert.h"

namespace brontel {
namespace {

HKEY AsKey(SettingsStore::KeyId key) {
  return reinterpret_cast<HKEY>(key);
}

void ShowCreateKeyFailure(const std::string& path, long /*error*/) {
  const std::wstring caption = Widen(path);
  MessageBoxW(GetFocus(), L"Unable to create key", caption.c_str(), MB_OK);
}

}  // namespace

RegistryStore::RegistryStore() {
  onCreateKeyFailed = ShowCreateKeyFailure;
}

RegistryStore::~RegistryStore() = default;

RegistryStore::KeyId RegistryStore::OpenKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_ALL_ACCESS, &key) !=
      ERROR_SUCCESS) {
    return 0;
  }
  return reinterpret_cast<KeyId>(key);
}

long RegistryStore::CreateKey(const std::string& path, KeyId* key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  wchar_t emptyClass[] = L"";
  const LONG error =
      RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, emptyClass,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, &disposition);
  *key = error == ERROR_SUCCESS ? reinterpret_cast<KeyId>(created) : 0;
  return error;
}

void RegistryStore::CloseKey(KeyId key) {
  if (key != 0) RegCloseKey(AsKey(key));
}

bool RegistryStore::DeleteValue(KeyId key, const std::string& name) {
  return RegDeleteValueW(AsKey(key), Widen(name).c_str()) == ERROR_SUCCESS;
}

bool RegistryStore::QueryString(KeyId key, const std::string& name, std::string* text) {
  const std::wstring wideName = Widen(name);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(AsKey(key), wideName.c_str(), nullptr, &type, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return false;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(AsKey(key), wideName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return false;
  }
  // Stored texts may or may not carry their terminating zero.
  std::wstring value(buffer.data(), size / sizeof(wchar_t));
  const std::size_t zero = value.find(L'\0');
  if (zero != std::wstring::npos) value.resize(zero);
  *text = Narrow(value);
  return true;
}

bool RegistryStore::SetString(KeyId key, const std::string& name, const std::string& text,
                              bool terminated) {
  const std::wstring wide = Widen(text);
  const DWORD bytes = static_cast<DWORD>((wide.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
  return RegSetValueExW(AsKey(key), Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool RegistryStore::QueryDword(KeyId key, const std::string& name, std::uint32_t* value) {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExW(AsKey(key), Widen(name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return false;
  }
  *value = data;
  return true;
}

bool RegistryStore::SetDword(KeyId key, const std::string& name, std::uint32_t value,
                             ValueType type) {
  const DWORD data = value;
  return RegSetValueExW(AsKey(key), Widen(name).c_str(), 0, static_cast<DWORD>(type),
                        reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool DeleteRegistryTree(const std::string& path) {
  const DWORD status = SHDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace brontel

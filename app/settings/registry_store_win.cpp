#include "app/settings/registry_store_win.h"

#include "win32/registry.h"
#include "win32/text_convert.h"
#include "win32/windows_include.h"

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
  std::wstring value;
  if (!ReadRegistryString(AsKey(key), Widen(name).c_str(), &value)) return false;
  *text = Narrow(value);
  return true;
}

bool RegistryStore::SetString(KeyId key, const std::string& name, const std::string& text,
                              bool terminated) {
  return WriteRegistryString(AsKey(key), Widen(name).c_str(), Widen(text), terminated) ==
         ERROR_SUCCESS;
}

bool RegistryStore::QueryDword(KeyId key, const std::string& name, std::uint32_t* value) {
  DWORD data = 0;
  if (!ReadRegistryDword(AsKey(key), Widen(name).c_str(), &data)) return false;
  *value = data;
  return true;
}

bool RegistryStore::SetDword(KeyId key, const std::string& name, std::uint32_t value,
                             ValueType type) {
  return WriteRegistryDword(AsKey(key), Widen(name).c_str(), value, static_cast<DWORD>(type)) ==
         ERROR_SUCCESS;
}

bool DeleteRegistryTree(const std::string& path) {
  const LONG status = brontel::DeleteRegistryTree(HKEY_CURRENT_USER, Widen(path).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace brontel

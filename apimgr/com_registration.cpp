#include "apimgr/com_registration.h"

#include <string>

#include "win32/handles.h"
#include "win32/registry.h"

namespace {

constexpr DWORD kModulePathChars = 512;
constexpr size_t kGuidTextChars = 39;   // 38 characters and the terminator
constexpr size_t kKeyNameBytes = 1024;  // parent, "\" and subkey

std::wstring GuidText(const GUID& guid) {
  wchar_t text[kGuidTextChars] = {};
  StringFromGUID2(guid, text, static_cast<int>(kGuidTextChars));
  return text;
}

// Creates (or opens) the key and, when a value is given, sets its default
// value. Failures are skipped silently.
void SetKeyDefault(const std::wstring& parent, const wchar_t* subkey, const std::wstring* value) {
  std::wstring name = parent;
  if (subkey != nullptr) {
    name += L"\\";
    name += subkey;
  }
  if ((name.size() + 1) * sizeof(wchar_t) > kKeyNameBytes) {
    return;
  }
  brontel::UniqueKey key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  if (value != nullptr) brontel::WriteRegistryString(key.Get(), nullptr, *value);
}

}  // namespace

void RegisterComponentClass(const ComponentClass& row, HMODULE module) {
  wchar_t path[kModulePathChars] = {};
  GetModuleFileNameW(module, path, kModulePathChars);
  const std::wstring modulePath = path;
  const std::wstring classText = GuidText(*row.classId);
  const std::wstring extraText = GuidText(*row.extraGuid);
  const std::wstring description = row.description;
  const std::wstring progId = row.progId;
  const std::wstring independentProgId = row.versionIndependentProgId;
  const std::wstring classKey = L"CLSID\\" + classText;

  SetKeyDefault(classKey, nullptr, &description);
  SetKeyDefault(classKey, L"InprocServer32", &modulePath);
  SetKeyDefault(classKey, L"ProgID", &progId);
  SetKeyDefault(classKey, L"VersionIndependentProgID", &independentProgId);
  SetKeyDefault(independentProgId, nullptr, &description);
  SetKeyDefault(independentProgId, L"CLSID", &classText);
  SetKeyDefault(independentProgId, L"GUID", &extraText);
  SetKeyDefault(independentProgId, L"CurVer", &progId);
  SetKeyDefault(progId, nullptr, &description);
  SetKeyDefault(progId, L"CLSID", &classText);
}

void UnregisterComponentClass(const ComponentClass& row) {
  const std::wstring classKey = L"CLSID\\" + GuidText(*row.classId);
  brontel::UniqueKey localServer;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (classKey + L"\\LocalServer32").c_str(), 0, KEY_READ,
                    localServer.Put()) == ERROR_SUCCESS) {
    // An out-of-process registration of the same class stays.
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (classKey + L"\\InprocServer32").c_str());
    return;
  }
  brontel::DeleteRegistryTree(HKEY_CLASSES_ROOT, classKey.c_str());
  brontel::DeleteRegistryTree(HKEY_CLASSES_ROOT, row.progId);
  brontel::DeleteRegistryTree(HKEY_CLASSES_ROOT, row.versionIndependentProgId);
}

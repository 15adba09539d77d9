#include "apimgr/com_registration.h"

#include <string>

namespace {

constexpr DWORD kModulePathChars = 512;
constexpr size_t kGuidTextChars = 39;    // 38 characters and the terminator
constexpr size_t kKeyNameBytes = 1024;   // parent, "\" and subkey
constexpr DWORD kSubkeyNameChars = 128;  // 256 bytes

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
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  if (value != nullptr) {
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

// Depth first: the first error stops this tree and is returned.
LONG DeleteKeyTree(HKEY parent, const std::wstring& name) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  for (;;) {
    wchar_t child[kSubkeyNameChars];
    DWORD childChars = kSubkeyNameChars;
    status = RegEnumKeyExW(key, 0, child, &childChars, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) {
      break;
    }
    if (status == ERROR_SUCCESS) {
      status = DeleteKeyTree(key, child);
    }
    if (status != ERROR_SUCCESS) {
      RegCloseKey(key);
      return status;
    }
  }
  RegCloseKey(key);
  return RegDeleteKeyW(parent, name.c_str());
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
  HKEY localServer = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (classKey + L"\\LocalServer32").c_str(), 0, KEY_READ,
                    &localServer) == ERROR_SUCCESS) {
    // An out-of-process registration of the same class stays.
    RegCloseKey(localServer);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (classKey + L"\\InprocServer32").c_str());
    return;
  }
  DeleteKeyTree(HKEY_CLASSES_ROOT, classKey);
  DeleteKeyTree(HKEY_CLASSES_ROOT, row.progId);
  DeleteKeyTree(HKEY_CLASSES_ROOT, row.versionIndependentProgId);
}

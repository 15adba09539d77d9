#include "app/power_library_win.h"

#include <cwchar>

#include "app/power/os_class.h"

namespace brontel {
namespace {

constexpr const char* kPowerEntryPoints[] = {
    "SetSuspendState",    "IsPwrSuspendAllowed", "IsPwrHibernateAllowed", "GetActivePwrScheme",
    "SetActivePwrScheme", "ReadGlobalPwrPolicy", "WriteGlobalPwrPolicy",
};
// OSVERSIONINFOEXA and OSVERSIONINFOA: the sizes the version call knows.
constexpr DWORD kExtendedVersionSize = 156;
constexpr DWORD kBasicVersionSize = 148;

}  // namespace

bool PowerLibrary::Load() {
  Free();
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t path[MAX_PATH + 16] = {};
  // Only the system's own copy: a powrprof.dll planted beside the program
  // must not be loaded.
  swprintf(path, sizeof path / sizeof path[0], L"%ls\\powrprof.dll", system);
  UniqueModule module(LoadLibraryW(path));
  if (!module) return false;
  for (const char* name : kPowerEntryPoints) {
    if (GetProcAddress(module.Get(), name) == nullptr) return false;
  }
  m_isHibernateAllowed =
      reinterpret_cast<BoolQuery>(GetProcAddress(module.Get(), "IsPwrHibernateAllowed"));
  m_module = std::move(module);
  m_complete = true;
  return true;
}

void PowerLibrary::Free() {
  m_complete = false;
  m_isHibernateAllowed = nullptr;
  m_module.Reset();
}

bool PowerLibrary::IsHibernateAllowed() const {
  return m_isHibernateAllowed != nullptr && m_isHibernateAllowed() != FALSE;
}

int GetOsClass() {
  OSVERSIONINFOEXA info = {};
  static_assert(sizeof(OSVERSIONINFOEXA) == kExtendedVersionSize, "extended version record");
  static_assert(sizeof(OSVERSIONINFOA) == kBasicVersionSize, "basic version record");
  info.dwOSVersionInfoSize = kExtendedVersionSize;
  power::OsVersion version;
  if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
    version.productType = info.wProductType;
  } else {
    info = {};
    info.dwOSVersionInfoSize = kBasicVersionSize;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return power::kOsClassUnknown;
  }
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  return power::OsClassOf(version);
}

}  // namespace brontel

#include "app/instance_checker.h"

#include <cstdint>
#include <cstring>

namespace brontel {
namespace {

constexpr wchar_t kInstanceMutexName[] = L"QZ_Instance_Checker_Mutex";
constexpr wchar_t kMappingPrefix[] = L"CInstanceChecker_MMF_";
// The shared block holds exactly one 32-bit window handle.
constexpr DWORD kSharedBlockSize = 4;

// The first instance's mapping stays open until the process ends: the
// mapping's existence is what a later copy looks for.
HANDLE g_firstInstanceMapping = nullptr;

std::wstring ApplicationName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace

CInstanceChecker::CInstanceChecker() {
  m_dataLock.Reset(CreateMutexW(nullptr, FALSE, nullptr));
  m_instanceMutex.Reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
}

CInstanceChecker::~CInstanceChecker() {
  ReleaseLock();
}

std::wstring CInstanceChecker::GetMMFFilename() const {
  return std::wstring(kMappingPrefix) + ApplicationName();
}

bool CInstanceChecker::Lock() {
  if (!m_dataLock) return false;
  const DWORD result = WaitForSingleObject(m_dataLock.Get(), INFINITE);
  if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) return false;
  m_heldLock = m_dataLock.Get();
  return true;
}

void CInstanceChecker::ReleaseLock() {
  if (m_heldLock != nullptr) {
    ReleaseMutex(m_heldLock);
    m_heldLock = nullptr;
  }
}

bool CInstanceChecker::PreviousInstanceRunning() const {
  UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, GetMMFFilename().c_str()));
  return static_cast<bool>(mapping);
}

bool CInstanceChecker::TrackFirstInstanceRunning(HWND window) {
  if (PreviousInstanceRunning()) return false;
  UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          kSharedBlockSize, GetMMFFilename().c_str()));
  if (!mapping) return false;
  // Another copy registered between the check and here: its handle stays.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
  void* view = MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, kSharedBlockSize);
  if (view == nullptr) return false;
  m_trackedWindow = window;
  const bool locked = Lock();
  const std::uint32_t value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
  std::memcpy(view, &value, sizeof(value));
  UnmapViewOfFile(view);
  if (locked) ReleaseLock();
  // Kept open for the life of the process: it marks this copy as running.
  g_firstInstanceMapping = mapping.Release();
  return true;
}

HWND CInstanceChecker::ActivatePreviousInstance() {
  UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, GetMMFFilename().c_str()));
  if (!mapping) return nullptr;
  void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, kSharedBlockSize);
  if (view == nullptr) return nullptr;
  const bool locked = Lock();
  std::uint32_t value = 0;
  std::memcpy(&value, view, sizeof(value));
  HWND previous = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
  if (previous != nullptr && IsWindow(previous)) {
    HWND popup = GetLastActivePopup(previous);
    if (IsIconic(previous)) ShowWindow(previous, SW_RESTORE);
    SetForegroundWindow(popup != nullptr ? popup : previous);
  }
  if (locked) ReleaseLock();
  UnmapViewOfFile(view);
  return previous;
}

}  // namespace brontel

#include "app/recording/disk_checks_win.h"

#include "app/recording/disk_space.h"
#include "win32/text_convert.h"
#include "win32/windows_include.h"

namespace brontel {

bool IsNtfsVolume(const std::string& path) {
  const std::wstring root = Widen(recording::VolumeRootOf(path));
  wchar_t fileSystem[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root.empty() ? nullptr : root.c_str(), nullptr, 0, nullptr, nullptr,
                             nullptr, fileSystem, MAX_PATH + 1)) {
    return false;
  }
  return wcsstr(fileSystem, L"NTFS") != nullptr;
}

std::int64_t GetFreeBytes(const std::string& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search =
      FindFirstFileW(Widen(recording::FreeSpaceSearchPattern(folder)).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(Widen(folder).c_str(), &available, nullptr, nullptr)) return 0;
  return static_cast<std::int64_t>(available.QuadPart);
}

std::int64_t GetUsableRecordBytes(const std::string& folder) {
  return recording::UsableRecordBytes(GetFreeBytes(folder), IsNtfsVolume(folder));
}

bool RecordFolderExists(const std::string& folder) {
  const DWORD attributes = GetFileAttributesW(Widen(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return recording::IsDriveRootPath(folder) || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace brontel

#pragma once
// The disk checks of the recording start, the recording status tick and the
// capture settings page, on the Win32 file system. Paths are UTF-8.

#include <cstdint>
#include <string>

namespace brontel {

// True when the volume of `path` reports a file system named NTFS.
bool IsNtfsVolume(const std::string& path);
// The bytes free to the caller on the volume of `folder`; 0 when the folder
// cannot be found.
std::int64_t GetFreeBytes(const std::string& folder);
// GetFreeBytes less 100 MiB kept free, at most 4 GiB off NTFS.
std::int64_t GetUsableRecordBytes(const std::string& folder);
// True when `folder` exists as a directory (a drive root only has to exist).
bool RecordFolderExists(const std::string& folder);

}  // namespace brontel

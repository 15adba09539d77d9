#pragma once
// The arithmetic of the disk checks before and during a recording.

#include <cstdint>
#include <string>

namespace brontel::recording {

// Kept free on the recording disk.
constexpr std::int64_t kReservedFreeBytes = 104857600;
// The largest file a FAT volume takes.
constexpr std::int64_t kFatLargestFile = 4294967296LL;

// The search pattern whose match tells that `folder` exists: one trailing
// backslash removed, then "*" after ":\" and "\*" after ":".
std::string FreeSpaceSearchPattern(const std::string& folder);

// The root "X:\" of the drive of `path`; empty when it names no drive.
std::string VolumeRootOf(const std::string& path);

// Free bytes less the reserve, at most 4 GiB off NTFS; negative when less
// than the reserve is free.
std::int64_t UsableRecordBytes(std::int64_t freeBytes, bool ntfs);

// Whether a recording may start or go on with this much free space.
bool EnoughFreeSpace(std::int64_t freeBytes);

// A drive root ("C:\", three characters) only has to exist; any other
// destination must be a directory.
bool IsDriveRootPath(const std::string& folder);

}  // namespace brontel::recording

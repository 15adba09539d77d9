#include "app/recording/disk_space.h"

namespace brontel::recording {
namespace {

bool EndsWith(const std::string& text, const char* tail) {
  const std::string end(tail);
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string FreeSpaceSearchPattern(const std::string& folder) {
  std::string text = folder;
  if (!text.empty() && text.back() == '\\') text.pop_back();
  if (EndsWith(text, ":\\")) return text + "*";
  if (EndsWith(text, ":")) return text + "\\*";
  return text;
}

std::string VolumeRootOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return std::string();
  return path.substr(0, 2) + "\\";
}

std::int64_t UsableRecordBytes(std::int64_t freeBytes, bool ntfs) {
  std::int64_t usable = freeBytes - kReservedFreeBytes;
  if (!ntfs && usable >= kFatLargestFile) usable = kFatLargestFile;
  return usable;
}

bool EnoughFreeSpace(std::int64_t freeBytes) {
  return freeBytes > kReservedFreeBytes;
}

bool IsDriveRootPath(const std::string& folder) {
  return folder.size() == 3;
}

}  // namespace brontel::recording

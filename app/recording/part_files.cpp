#include "app/recording/part_files.h"

#include <algorithm>

#include "app/recording/record_names.h"

namespace brontel::recording {
namespace {

constexpr std::int64_t kLargestPartNo = 99999;

}  // namespace

PlaybackParts ParsePlaybackParts(const std::string& path) {
  PlaybackParts parts;
  const std::size_t open = path.find('(');
  if (open == std::string::npos) return parts;
  std::size_t end = open + 1;
  std::int64_t number = 0;
  while (end < path.size() && end < kPartDigitsScanEnd && path[end] >= '0' && path[end] <= '9') {
    number = number * 10 + (path[end] - '0');
    if (number > kLargestPartNo) return parts;
    ++end;
  }
  if (number == 0) return parts;
  parts.partNo = static_cast<std::int32_t>(number);
  parts.partTemplate =
      EscapePercent(path.substr(0, open + 1)) + "%s" + EscapePercent(path.substr(end));
  return parts;
}

std::string PlaybackPartPath(const std::string& partTemplate, std::int32_t partNo) {
  return ExpandPartTemplate(partTemplate, std::to_string(partNo));
}

std::string RecordPartPath(const std::string& partTemplate, std::int32_t partNo) {
  return ExpandPartTemplate(partTemplate, PartSuffix(partNo));
}

std::int32_t FindEndPart(const std::string& partTemplate, std::int32_t partNo,
                         const FileExists& exists) {
  std::int32_t number = partNo;
  while (number - partNo < kMaxPartSearch && exists(PlaybackPartPath(partTemplate, number))) {
    ++number;
  }
  return number;
}

std::int32_t StepPartNumber(std::int32_t partNo, bool forward, std::int32_t firstPartNo) {
  return std::max(forward ? partNo + 1 : partNo - 1, firstPartNo);
}

}  // namespace brontel::recording

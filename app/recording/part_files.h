#pragma once
// Recordings split into numbered parts: the part number in a played file's
// name, the template that names its sibling parts, and the search for them.

#include <cstdint>
#include <functional>
#include <string>

namespace brontel::recording {

// Only the first this many characters of a path are looked at for digits.
constexpr std::size_t kPartDigitsScanEnd = 100;

struct PlaybackParts {
  std::int32_t partNo = 0;   // 0: the file is not a part
  std::string partTemplate;  // the path with "%s" in place of the digits
};

// The digits after the first "(" of `path` (up to position 100) form the
// part number. A number too large for a part counts as none.
PlaybackParts ParsePlaybackParts(const std::string& path);

using FileExists = std::function<bool(const std::string& path)>;

// The file of part `partNo` named by a playback template.
std::string PlaybackPartPath(const std::string& partTemplate, std::int32_t partNo);
// The file of part `partNo` named by a recording template ("_(%d)").
std::string RecordPartPath(const std::string& partTemplate, std::int32_t partNo);

// The first number from `partNo` upwards whose file does not exist. The
// search gives up after kMaxPartSearch numbers.
constexpr std::int32_t kMaxPartSearch = 10000;
std::int32_t FindEndPart(const std::string& partTemplate, std::int32_t partNo,
                         const FileExists& exists);

// The part number one step on or back, never below the one first opened.
std::int32_t StepPartNumber(std::int32_t partNo, bool forward, std::int32_t firstPartNo);

}  // namespace brontel::recording

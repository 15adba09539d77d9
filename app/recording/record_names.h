#pragma once
// File names of recordings, the time-shift buffer and snapshots, and the part
// templates of recordings that span several files.
//
// Name formats come from the language library, so they are never handed to
// printf: FormatStrings only fills "%s" places. A part template keeps a
// single "%s" for the part and "%%" for every literal percent sign, so a
// folder or description that holds one cannot steal the part's place.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"

namespace brontel::recording {

// Each "%s" of `format` takes the next argument (an empty text once they run
// out) and "%%" gives "%"; any other '%' stays as it is.
std::string FormatStrings(const std::string& format, const std::vector<std::string>& args);

// `text` with every '%' doubled, to stand in a part template.
std::string EscapePercent(const std::string& text);

// A part template with its "%s" replaced by `piece` and "%%" by "%".
std::string ExpandPartTemplate(const std::string& partTemplate, const std::string& piece);

// `folder`, a backslash unless it already ends with one, and `name`.
std::string JoinFolder(const std::string& folder, const std::string& name);

// "0%d" below 10, else "%d".
std::string TwoDigits(std::int32_t value);
// At least three digits: "00%d" below 10, "0%d" below 100.
std::string ChannelNumberText(std::int32_t channel);
// "_(%d)".
std::string PartSuffix(std::int32_t partNo);

// The locale's short-date order.
enum class DateOrder { kMonthDayYear = 0, kDayMonthYear = 1, kYearMonthDay = 2 };
// The one-digit order value of the locale; nullopt for anything else.
std::optional<DateOrder> ParseDateOrder(const std::string& value);

struct LocalTime {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

// Six texts: the four-digit year, month and day in the locale's order, then
// hour, minute and second, each part below 10 with a leading zero.
std::vector<std::string> DateTimeArgs(const LocalTime& time, DateOrder order);

// The format tag of an encoder record: "MPG2", "VCD", "SVCD" or "AVI" by
// "dwmpeg_type", "DVD" for a bit rate of 4096000; nullopt for a type that is
// not recorded.
std::optional<std::string> FormatTag(const EncoderParams& params);

// Name format string resources.
constexpr unsigned kFormatManual = 257;
constexpr unsigned kFormatScheduled = 259;
constexpr unsigned kFormatVideo = 261;
constexpr unsigned kFormatSVideo = 262;
constexpr unsigned kStringTimeShiftName = 263;
constexpr unsigned kFormatSnapshotNumbered = 265;
constexpr unsigned kFormatSnapshotDated = 266;

// The name format resource for a recording of `source`.
unsigned RecordNameFormatId(std::int32_t source, bool scheduled);

struct RecordNameInput {
  std::string format;  // the text of RecordNameFormatId
  std::string folder;  // szRecDestDir
  std::int32_t source = 0;
  bool scheduled = false;
  bool multiPart = false;
  std::string tag;
  std::int32_t channel = 0;  // lFreqChn or lStn
  std::string scheduleDesc;  // szScheDesc
  LocalTime time;
  DateOrder order = DateOrder::kMonthDayYear;
};

struct RecordNames {
  std::string path;          // szRecFile
  std::string partTemplate;  // szPartTemplate; empty without multi-part
  bool avi = false;          // bAviRecording
};

RecordNames MakeRecordNames(const RecordNameInput& input);

// The time-shift buffer: the folder, the name of resource 263 and ".mpg".
std::string TimeShiftPath(const std::string& folder, const std::string& name);

// Characters Windows refuses in a file name, each replaced by '_'.
std::string SafeFileNamePart(const std::string& text);

}  // namespace brontel::recording

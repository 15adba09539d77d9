#include "app/recording/record_names.h"

#include "app/vocabulary/source_numbers.h"

namespace brontel::recording {
namespace {

constexpr std::uint32_t kMpegTypeMpeg2 = 0;
constexpr std::uint32_t kMpegTypeVcd = 5;
constexpr std::uint32_t kMpegTypeSvcd = 4;
constexpr std::uint32_t kMpegTypeAvi = 172;
constexpr std::uint32_t kDvdBitRate = 4096000;

// "%s" places filled in order. With `escape` the literal text and the
// arguments are escaped for a part template, except the argument at
// `rawIndex`, which is the template's own place.
std::string Fill(const std::string& format, const std::vector<std::string>& args, bool escape,
                 std::size_t rawIndex) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        const std::string arg = next < args.size() ? args[next] : std::string();
        out += escape && next != rawIndex ? EscapePercent(arg) : arg;
        ++next;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += escape ? "%%" : "%";
        ++i;
        continue;
      }
    }
    out += escape && c == '%' ? std::string("%%") : std::string(1, c);
  }
  return out;
}

std::string Digits(std::int32_t value) {
  return std::to_string(value);
}

}  // namespace

std::string FormatStrings(const std::string& format, const std::vector<std::string>& args) {
  return Fill(format, args, false, 0);
}

std::string EscapePercent(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string ExpandPartTemplate(const std::string& partTemplate, const std::string& piece) {
  std::string out;
  bool placed = false;
  for (std::size_t i = 0; i < partTemplate.size(); ++i) {
    const char c = partTemplate[i];
    if (c == '%' && i + 1 < partTemplate.size()) {
      if (partTemplate[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (partTemplate[i + 1] == 's' && !placed) {
        out += piece;
        placed = true;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string TwoDigits(std::int32_t value) {
  return value < 10 ? "0" + Digits(value) : Digits(value);
}

std::string ChannelNumberText(std::int32_t channel) {
  if (channel < 10) return "00" + Digits(channel);
  if (channel < 100) return "0" + Digits(channel);
  return Digits(channel);
}

std::string PartSuffix(std::int32_t partNo) {
  return "_(" + Digits(partNo) + ")";
}

std::optional<DateOrder> ParseDateOrder(const std::string& value) {
  if (value == "0") return DateOrder::kMonthDayYear;
  if (value == "1") return DateOrder::kDayMonthYear;
  if (value == "2") return DateOrder::kYearMonthDay;
  return std::nullopt;
}

std::vector<std::string> DateTimeArgs(const LocalTime& time, DateOrder order) {
  const std::string year = Digits(time.year);
  const std::string month = TwoDigits(time.month);
  const std::string day = TwoDigits(time.day);
  std::vector<std::string> args;
  switch (order) {
    case DateOrder::kMonthDayYear:
      args = {month, day, year};
      break;
    case DateOrder::kDayMonthYear:
      args = {day, month, year};
      break;
    case DateOrder::kYearMonthDay:
      args = {year, month, day};
      break;
  }
  args.push_back(TwoDigits(time.hour));
  args.push_back(TwoDigits(time.minute));
  args.push_back(TwoDigits(time.second));
  return args;
}

std::optional<std::string> FormatTag(const EncoderParams& params) {
  std::string tag;
  switch (params.dwmpeg_type) {
    case kMpegTypeMpeg2:
      tag = "MPG2";
      break;
    case kMpegTypeVcd:
      tag = "VCD";
      break;
    case kMpegTypeSvcd:
      tag = "SVCD";
      break;
    case kMpegTypeAvi:
      tag = "AVI";
      break;
    default:
      return std::nullopt;
  }
  if (params.dwbit_rate == kDvdBitRate) tag = "DVD";
  return tag;
}

unsigned RecordNameFormatId(std::int32_t source, bool scheduled) {
  if (source == kSourceVideo) return kFormatVideo;
  if (source == kSourceSVideo) return kFormatSVideo;
  return scheduled ? kFormatScheduled : kFormatManual;
}

RecordNames MakeRecordNames(const RecordNameInput& input) {
  const bool radio = input.source == kSourceRadio;
  const bool videoInput = input.source == kSourceVideo || input.source == kSourceSVideo;
  std::vector<std::string> args;
  args.push_back(input.multiPart ? PartSuffix(1) : std::string());
  if (videoInput) {
    args.push_back(input.tag);
  } else if (input.scheduled) {
    args.push_back(SafeFileNamePart(input.scheduleDesc));
  } else {
    args.push_back(input.tag);
    args.push_back(ChannelNumberText(input.channel));
  }
  for (std::string& piece : DateTimeArgs(input.time, input.order)) args.push_back(piece);

  RecordNames names;
  std::string extension = ".mpg";
  if (radio) {
    extension = ".wma";
  } else if (input.tag == "AVI") {
    extension = ".avi";
    names.avi = true;
  }
  names.path = JoinFolder(input.folder, FormatStrings(input.format, args) + extension);
  if (input.multiPart) {
    args[0] = "%s";
    const std::string templateExtension = radio ? ".wma" : ".mpg";
    names.partTemplate = JoinFolder(EscapePercent(input.folder),
                                    Fill(input.format, args, true, 0) + templateExtension);
  }
  return names;
}

std::string TimeShiftPath(const std::string& folder, const std::string& name) {
  return JoinFolder(folder, name + ".mpg");
}

std::string SafeFileNamePart(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
        c == '<' || c == '>' || c == '|') {
      c = '_';
    }
  }
  return out;
}

}  // namespace brontel::recording

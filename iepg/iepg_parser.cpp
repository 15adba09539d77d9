#include "iepg/iepg_parser.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include "app/settings/app_settings.h"
#include "iepg/line_reader.h"

namespace brontel {

const char* const kIepgKeys[kIepgKeyCount] = {
    "Content-type:", "version:", "station:", "year:",          "month:",
    "date:",         "start:",   "end:",     "program-title:", "program-subtitle:",
    "performar:",
};

namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
// Far beyond any real broadcast, yet small enough that the C library's time
// conversion cannot overflow on the values.
constexpr std::int64_t kMaxTimeField = 1000000;
constexpr std::int32_t kMaxYear = 9999;

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool StartsWith(const std::string& line, const char* key) {
  return line.compare(0, std::char_traits<char>::length(key), key) == 0;
}

// Splits "hh:mm" at its first colon.
bool SplitTimeText(const std::string& text, std::int64_t* hours, std::int64_t* minutes) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  *hours = TextToInt(text.substr(0, colon));
  *minutes = TextToInt(text.substr(colon + 1));
  return true;
}

bool InTimeRange(std::int64_t value) {
  return value >= -kMaxTimeField && value <= kMaxTimeField;
}

}  // namespace

std::string TrimWhiteSpace(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::int32_t TextToInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1) break;  // saturated
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<std::int32_t>(value);
}

IepgParser::IepgParser(StationLookup findChannel) : m_findChannel(std::move(findChannel)) {
  Reset();
}

void IepgParser::Reset() {
  m_programme = IepgProgramme();
  m_programme.startDateTime = DefaultScheDateTime();
  m_programme.stopDateTime = m_programme.startDateTime;
}

void IepgParser::ParseLine(const std::string& line) {
  for (int index = 0; index < kIepgKeyCount; ++index) {
    const char* key = kIepgKeys[index];
    if (!StartsWith(line, key)) continue;
    const std::string value = TrimWhiteSpace(line.substr(std::char_traits<char>::length(key)));
    bool dateOrTime = true;
    switch (static_cast<IepgKey>(index)) {
      case IepgKey::kStation:
        m_programme.station = value;
        m_programme.channel = m_findChannel ? m_findChannel(value) : kNoChannel;
        dateOrTime = false;
        break;
      case IepgKey::kYear:
        m_programme.year = TextToInt(value);
        break;
      case IepgKey::kMonth:
        m_programme.month = TextToInt(value);
        break;
      case IepgKey::kDate:
        m_programme.day = TextToInt(value);
        break;
      case IepgKey::kStart:
        m_programme.startText = value;
        break;
      case IepgKey::kEnd:
        m_programme.endText = value;
        break;
      case IepgKey::kProgramTitle:
        m_programme.title = value;
        dateOrTime = false;
        break;
      default:
        dateOrTime = false;
        break;
    }
    if (dateOrTime && m_programme.year != 0 && m_programme.month != 0 && m_programme.day != 0 &&
        !m_programme.startText.empty() && !m_programme.endText.empty()) {
      ComputeTimes();
    }
  }
}

bool IepgParser::ComputeTimes() {
  IepgProgramme& p = m_programme;
  std::int64_t startHours = 0, startMinutes = 0, endHours = 0, endMinutes = 0;
  if (!SplitTimeText(p.startText, &startHours, &startMinutes)) return false;
  if (!SplitTimeText(p.endText, &endHours, &endMinutes)) return false;
  if (!InTimeRange(startHours) || !InTimeRange(startMinutes) || !InTimeRange(endHours) ||
      !InTimeRange(endMinutes) || p.year < -kMaxYear || p.year > kMaxYear ||
      !InTimeRange(p.month) || !InTimeRange(p.day)) {
    return false;
  }

  const std::int64_t startOfDay = startHours * kMinutesPerHour + startMinutes;
  const std::int64_t endOfDay = endHours * kMinutesPerHour + endMinutes;
  std::int64_t duration = endOfDay - startOfDay;
  if (startOfDay > endOfDay) duration += kMinutesPerDay;  // runs past midnight
  if (startOfDay == endOfDay) duration = kMinutesPerDay;  // a whole day

  const DateTime start =
      MakeLocalDateTime(p.year, static_cast<int>(p.month), static_cast<int>(p.day),
                        static_cast<int>(startHours), static_cast<int>(startMinutes), 0);
  p.startDateTime = start;
  p.stopDateTime = start + duration * kSecondsPerMinute;
  p.timesComputed = true;
  return true;
}

void IepgParser::FinishFile() {
  m_programme.overnight = SplitLocalDateTime(m_programme.startDateTime).day !=
                          SplitLocalDateTime(m_programme.stopDateTime).day;
}

void ParseIepgLines(CLineReader& reader, IepgParser& parser, const std::function<void()>& onLine) {
  std::vector<char> buffer(reader.capacity() > 0 ? reader.capacity() : 1);
  while (reader.ReadLine(buffer.data(), static_cast<std::uint32_t>(buffer.size())) != 0) {
    parser.ParseLine(TrimWhiteSpace(buffer.data()));
    if (onLine) onLine();
  }
  parser.FinishFile();
}

}  // namespace brontel

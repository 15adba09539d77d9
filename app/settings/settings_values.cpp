#include "app/settings/settings_values.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace brontel {

std::string FormatLong(std::int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%lu",
                static_cast<unsigned long>(static_cast<std::uint32_t>(value)));
  return buffer;
}

std::int32_t ParseLong(const std::string& text) {
  // A plain strtol would saturate "4294967295" at LONG_MAX on a 32-bit long;
  // keeping the low 32 bits reads back exactly what FormatLong wrote.
  const std::string head = text.substr(0, kMaxNumberTextBytes - 1);
  std::size_t i = 0;
  while (i < head.size() && std::isspace(static_cast<unsigned char>(head[i]))) ++i;
  bool negative = false;
  if (i < head.size() && (head[i] == '+' || head[i] == '-')) {
    negative = head[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i) {
    value = value * 10u + static_cast<std::uint32_t>(head[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::string FormatReal(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  return buffer;
}

double ParseReal(const std::string& text) {
  return std::strtod(text.c_str(), nullptr);
}

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerMinute = 60;
// 1970-01-01 was a Thursday.
constexpr std::int64_t kEpochWeekday = 4;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  std::int64_t quotient = value / divisor;
  if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) --quotient;
  return quotient;
}

// Days from 1970-01-01 to the first of a month (1-12) of the proleptic
// Gregorian calendar, in 400-year eras so that no year is out of reach.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month) {
  if (month <= 2) --year;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t* year, int* month, int* day) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  *day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  *month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

// The C library's text-to-int, without its undefined overflow.
int PieceToInt(const std::string& piece) {
  const long value = std::strtol(piece.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

}  // namespace

// Date-times are wall-clock seconds counted in 64 bits with our own calendar
// arithmetic: the C library's time_t of the 32-bit Windows runtime ends in
// January 2038, and the registry, the iEPG files and the dialogs all speak
// local wall-clock time anyway.
DateTime MakeLocalDateTime(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t months = static_cast<std::int64_t>(month) - 1;
  const std::int64_t days = DaysFromCivil(static_cast<std::int64_t>(year) + FloorDiv(months, 12),
                                          months - FloorDiv(months, 12) * 12 + 1) +
                            static_cast<std::int64_t>(day) - 1;
  return days * kSecondsPerDay + static_cast<std::int64_t>(hour) * kSecondsPerHour +
         static_cast<std::int64_t>(minute) * kSecondsPerMinute + second;
}

LocalTimeParts SplitLocalDateTime(DateTime value) {
  const std::int64_t days = FloorDiv(value, kSecondsPerDay);
  const std::int64_t secondOfDay = value - days * kSecondsPerDay;
  LocalTimeParts parts;
  std::int64_t year = 0;
  CivilFromDays(days, &year, &parts.month, &parts.day);
  parts.year = static_cast<int>(std::clamp<std::int64_t>(year, INT_MIN, INT_MAX));
  parts.hour = static_cast<int>(secondOfDay / kSecondsPerHour);
  parts.minute = static_cast<int>(secondOfDay % kSecondsPerHour / kSecondsPerMinute);
  parts.second = static_cast<int>(secondOfDay % kSecondsPerMinute);
  parts.weekday = static_cast<int>(days + kEpochWeekday - FloorDiv(days + kEpochWeekday, 7) * 7);
  return parts;
}

std::string FormatDateTime(DateTime value) {
  const LocalTimeParts p = SplitLocalDateTime(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d-%d-%d-%d-%d", p.year, p.month, p.day, p.hour, p.minute);
  return buffer;
}

DateTime ParseDateTime(const std::string& text) {
  int fields[5] = {0, 0, 0, 0, 0};
  std::size_t start = 0;
  for (int i = 0; i < 5; ++i) {
    const std::size_t dash = text.find('-', start);
    const std::string piece =
        text.substr(start, dash == std::string::npos ? std::string::npos : dash - start);
    fields[i] = PieceToInt(piece);
    if (dash == std::string::npos) break;
    start = dash + 1;
  }
  return MakeLocalDateTime(fields[0], fields[1], fields[2], fields[3], fields[4]);
}

std::string CutText(const std::string& text, std::size_t maxChars) {
  std::size_t chars = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (chars == maxChars) return text.substr(0, i);
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xF0)
      length = 4;
    else if (lead >= 0xE0)
      length = 3;
    else if (lead >= 0xC0)
      length = 2;
    i += length;
    ++chars;
  }
  return text;
}

std::string ThreeDigitRecordName(const std::string& prefix, int number) {
  char buffer[32];
  if (number < 10)
    std::snprintf(buffer, sizeof buffer, "00%d", number);
  else if (number < 100)
    std::snprintf(buffer, sizeof buffer, "0%d", number);
  else
    std::snprintf(buffer, sizeof buffer, "%d", number);
  return prefix + buffer;
}

std::string TwoDigitRecordName(const std::string& prefix, int number) {
  char buffer[32];
  if (number < 10)
    std::snprintf(buffer, sizeof buffer, "0%d", number);
  else
    std::snprintf(buffer, sizeof buffer, "%d", number);
  return prefix + buffer;
}

}  // namespace brontel

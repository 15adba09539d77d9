#include "app/settings/settings_values.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

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

DateTime MakeLocalDateTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return static_cast<DateTime>(std::mktime(&tm));
}

LocalTimeParts SplitLocalDateTime(DateTime value) {
  std::time_t t = static_cast<std::time_t>(value);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  LocalTimeParts parts;
  parts.year = tm.tm_year + 1900;
  parts.month = tm.tm_mon + 1;
  parts.day = tm.tm_mday;
  parts.hour = tm.tm_hour;
  parts.minute = tm.tm_min;
  parts.second = tm.tm_sec;
  parts.weekday = tm.tm_wday;
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
    fields[i] = std::atoi(piece.c_str());
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

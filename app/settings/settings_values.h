#pragma once
// How settings values are written as text and read back.

#include <cstdint>
#include <string>

namespace brontel {

// Local wall-clock time in seconds since 1970-01-01 00:00, in 64 bits: no
// time zone, no year limit. Now comes from the system's local clock.
using DateTime = std::int64_t;

// A value that could not be read; the reader replaces it with the default.
constexpr std::int32_t kMissingValue = -9999;
// Texts are read into a 256-byte buffer with a terminating zero.
constexpr std::size_t kMaxTextChars = 255;
// Integer texts are read from at most 80 bytes.
constexpr std::size_t kMaxNumberTextBytes = 80;

// "%lu" of the value's 32-bit pattern: -1 is "4294967295".
std::string FormatLong(std::int32_t value);
// Decimal text-to-long: leading blanks and a sign, then digits up to the
// first non-digit ("abc" is 0). The result keeps the low 32 bits, so that
// "4294967295" reads back as -1.
std::int32_t ParseLong(const std::string& text);

// "%.3f".
std::string FormatReal(double value);
// Decimal text-to-double; 0.0 for text that is not a number.
double ParseReal(const std::string& text);

// Local time as "year-month-day-hour-minute" without leading zeros.
std::string FormatDateTime(DateTime value);
// Splits at "-" and builds a local time (seconds 0). Out-of-range fields are
// normalised the way mktime does.
DateTime ParseDateTime(const std::string& text);
// Builds a local time from its parts, normalising like mktime.
DateTime MakeLocalDateTime(int year, int month, int day, int hour, int minute, int second = 0);
struct LocalTimeParts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 = Sunday
};
LocalTimeParts SplitLocalDateTime(DateTime value);

// Keeps at most 255 characters, never splitting a UTF-8 sequence.
std::string CutText(const std::string& text, std::size_t maxChars = kMaxTextChars);

// Record key names: ChnInfo001..ChnInfo181 (three digits),
// StnInfo01/ScheItem01.. (two digits). `number` is index + 1.
std::string ThreeDigitRecordName(const std::string& prefix, int number);
std::string TwoDigitRecordName(const std::string& prefix, int number);

}  // namespace brontel

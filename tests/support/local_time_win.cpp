#include "support/local_time_win.h"

#include <cwchar>

namespace brontel::test_support {
namespace {

constexpr LONGLONG kTicksPerSecond = 10000000;

LONGLONG Ticks(const SYSTEMTIME& time) {
  FILETIME file;
  SystemTimeToFileTime(&time, &file);
  ULARGE_INTEGER value{};
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  return static_cast<LONGLONG>(value.QuadPart);
}

SYSTEMTIME FromTicks(LONGLONG ticks) {
  ULARGE_INTEGER value{};
  value.QuadPart = static_cast<ULONGLONG>(ticks);
  const FILETIME file{value.LowPart, value.HighPart};
  SYSTEMTIME time;
  FileTimeToSystemTime(&file, &time);
  return time;
}

SYSTEMTIME WholeMinute(SYSTEMTIME time) {
  time.wSecond = 0;
  time.wMilliseconds = 0;
  return time;
}

}  // namespace

// Plain arithmetic on the local clock: the program reads the same clock
// with GetLocalTime, so both sides agree even across a change of offset.
SYSTEMTIME AddSeconds(const SYSTEMTIME& time, LONGLONG seconds) {
  return FromTicks(Ticks(time) + seconds * kTicksPerSecond);
}

SYSTEMTIME LocalAfter(LONGLONG seconds) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return AddSeconds(now, seconds);
}

double SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return static_cast<double>(Ticks(b) - Ticks(a)) / kTicksPerSecond;
}

SYSTEMTIME MinuteAtLeast(LONGLONG seconds) {
  return WholeMinute(LocalAfter(seconds + 59));
}

SYSTEMTIME LocalMinutesAhead(int minutes) {
  return WholeMinute(LocalAfter(static_cast<LONGLONG>(minutes) * 60));
}

std::wstring ScheduleDateText(const SYSTEMTIME& time) {
  wchar_t text[64];
  swprintf(text, 64, L"%d-%d-%d-%d-%d", time.wYear, time.wMonth, time.wDay, time.wHour,
           time.wMinute);
  return text;
}

}  // namespace brontel::test_support

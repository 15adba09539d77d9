#pragma once
// Local times for tests that write schedule entries and judge when the
// program acted on them: moments from now, whole minutes (entries keep
// minutes), distances in seconds and the registry's date-time text.

#include <windows.h>

#include <string>

namespace brontel::test_support {

// `time` moved by `seconds` (negative moves back).
SYSTEMTIME AddSeconds(const SYSTEMTIME& time, LONGLONG seconds);

// The local time `seconds` from now.
SYSTEMTIME LocalAfter(LONGLONG seconds);

// Seconds from `a` to `b`, negative when `b` comes first.
double SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

// The first whole local minute at least `seconds` from now.
SYSTEMTIME MinuteAtLeast(LONGLONG seconds);

// The whole local minute that holds the moment `minutes` from now.
SYSTEMTIME LocalMinutesAhead(int minutes);

// A date-time as the settings store it: "2026-12-9-21-5", no leading zeros.
std::wstring ScheduleDateText(const SYSTEMTIME& time);

}  // namespace brontel::test_support

#pragma once
// The power manager's side of the hand-over: reading the command line the
// main program starts it with, and the line it restarts the program with.

#include <cstdint>
#include <string>

#include "app/settings/settings_values.h"

namespace brontel::power {

struct PowerManagerRequest {
  std::string program;  // the program to start at the wake-up time
  std::int32_t langCode = 0;
  std::int32_t sleepKind = 0;  // the number after "S:"
  int day = 0, month = 0, year = 0, hour = 0, minute = 0;
  DateTime WakeTime() const;
};

struct PowerManagerParse {
  bool ok = false;
  PowerManagerRequest request;
  std::string error;  // what could not be read, for the user
};

// Reads "<own path> <program> L:<lang> /w S:<n> D:<d>_<m>_<y> T:<h>_<min>",
// the whole command line including the power manager's own path (quoted or
// not). Paths may hold spaces; the fields after the program are found from
// the end.
PowerManagerParse ParsePowerManagerLine(const std::string& commandLine);

// Arguments the program is restarted with: the wake-up switch and its
// language.
std::string WakeStartArguments(std::int32_t langCode);

}  // namespace brontel::power

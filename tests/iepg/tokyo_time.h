#pragma once
// Local time for the date tests: Japan, which has no daylight saving, so
// that results do not depend on the machine's zone.

#include <cstdlib>
#include <ctime>

namespace brontel_test {

inline void UseTokyoTime() {
#ifdef _WIN32
  _putenv_s("TZ", "JST-9");
  _tzset();
#else
  setenv("TZ", "JST-9", 1);
  tzset();
#endif
}

}  // namespace brontel_test

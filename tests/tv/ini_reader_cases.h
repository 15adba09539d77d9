#pragma once
// Lookups whose answers both ini readers must give for the shared fixtures:
// the portable reader natively, the private-profile functions under Wine.

#include <cstdint>

namespace brontel::test {

struct StringCase {
  const char* file;
  const char* section;
  const char* key;
  const char* fallback;
  const char* expected;
};

struct IntCase {
  const char* file;
  const char* section;
  const char* key;
  std::int32_t fallback;
  std::int32_t expected;
};

inline constexpr StringCase kStringCases[] = {
    {"profile_rules.ini", "Plain", "Key", "-", "value"},
    {"profile_rules.ini", "plain", "KEY", "-", "value"},
    {"profile_rules.ini", "Plain", "Spaced", "-", "padded value"},
    {"profile_rules.ini", "Plain", "mixedcase", "-", "Found"},
    {"profile_rules.ini", "Plain", "Empty", "-", ""},
    {"profile_rules.ini", "Plain", "Quoted", "-", "  kept inside  "},
    {"profile_rules.ini", "Plain", "Single", "-", "single"},
    {"profile_rules.ini", "Plain", "Missing", "fallback", "fallback"},
    {"profile_rules.ini", "NoSuchSection", "Key", "fallback", "fallback"},
    {"profile_rules.ini", "Plain2", "Key", "-", "second section"},
    {"profile_rules.ini", "mixed section", "inner", "-", "1"},
    {"profile_rules.ini", "Plain", "NoEquals", "fallback", "fallback"},
    {"profile_rules.ini", "Plain", "two words", "-", "two"},
    {"profile_rules.ini", "Plain", "TWICE", "-", "first"},
    {"profile_rules.ini", "Plain", "Tabbed", "-", "tab"},
    {"profile_rules.ini", "Plain", "InnerEquals", "-", "a=b"},
    {"profile_rules.ini", "Plain", "; comment line", "none", "none"},
    {"missing_file.ini", "Plain", "Key", "fallback", "fallback"},
    {"region_utf16.ini", "State1", "StateName", "-", "東京都"},
    {"region_utf16.ini", "state1city1chninfo", "chntvpiname1", "-", "NHK総合・東京"},
    {"region_utf16.ini", "State1City1ChnInfo", "ChnTVPIName2", "none", "none"},
    {"freq_broad_small.ini", "ChnInfo", "Chn_003", "-", "103250000"},
    {"freq_three_digits.ini", "ChnInfo", "Chn_007", "-", "7000000"},
    {"freq_three_digits.ini", "ChnInfo", "Chn_7", "-", "1"},
};

inline constexpr IntCase kIntCases[] = {
    {"profile_rules.ini", "Plain", "Number", -1, 12345},
    {"profile_rules.ini", "Plain", "Negative", -1, -42},
    {"profile_rules.ini", "Plain", "Signed", -1, 7},
    {"profile_rules.ini", "Plain", "Leading", -1, 12},
    {"profile_rules.ini", "Plain", "Text", -1, 0},
    {"profile_rules.ini", "Plain", "Zero", -1, 0},
    {"profile_rules.ini", "Plain", "Empty", 99, 99},
    {"profile_rules.ini", "Plain", "Missing", 99, 99},
    {"profile_rules.ini", "Plain", "Big", 5, -1},
    {"missing_file.ini", "Plain", "Number", 7, 7},
    {"region_utf16.ini", "Country Channel Info", "NumOfState", 0, 2},
    {"freq_cable_min0.ini", "ChnInfo", "MinChn", -1, 0},
};

}  // namespace brontel::test

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace brontel {
namespace {

struct LineCase {
  const char* line;
  int langCode;
  int fullScreen;
  int wake;
  int notice;
};

class CommandLineCases : public testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, GivesTheStartValues) {
  const LineCase& c = GetParam();
  const StartOptions options = ParseCommandLine(c.line);
  EXPECT_EQ(options.langCode, c.langCode) << '"' << c.line << '"';
  EXPECT_EQ(options.fullScreenStart, c.fullScreen) << '"' << c.line << '"';
  EXPECT_EQ(options.wakeStart, c.wake) << '"' << c.line << '"';
  EXPECT_EQ(options.wakeNotice, c.notice) << '"' << c.line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLineCases,
    testing::Values(LineCase{"", 1160, 0, 0, 0}, LineCase{"   \t ", 1160, 0, 0, 0},
                    LineCase{"L:1170", 1170, 0, 0, 0},  // capitals still match
                    LineCase{"  l:1000  ", 1000, 0, 0, 0},
                    LineCase{"/f l:12", 12, 1, 0, 0},  // short code at the end
                    LineCase{"l:12", 12, 0, 0, 0},
                    LineCase{"l:abcd", 1160, 0, 0, 0},  // unreadable gives the default
                    LineCase{"l:0000", 1160, 0, 0, 0},  // 0 counts as absent
                    LineCase{"l:", 1160, 0, 0, 0},
                    LineCase{"l:12ab", 12, 0, 0, 0},      // digits up to the first letter
                    LineCase{"l:123456", 1234, 0, 0, 0},  // only four characters are read
                    LineCase{"l:-100", -100, 0, 0, 0},
                    LineCase{"l: 1160", 116, 0, 0, 0},        // the blank is one of the four
                    LineCase{"l:1160l:1000", 1160, 0, 0, 0},  // the first occurrence counts
                    LineCase{"/F", 1160, 1, 0, 0},
                    LineCase{"/fl:1010", 1010, 1, 0, 0},  // no separators needed
                    LineCase{"/w", 1160, 0, 1, 0},
                    LineCase{"/W:0", 1160, 0, 1, 1},  // "/w" is part of "/w:0"
                    LineCase{"/w /w:0", 1160, 0, 1, 1}, LineCase{"/w:1", 1160, 0, 1, 0},
                    LineCase{"/w /w:0 /w:1", 1160, 0, 1, 0},  // "/w:1" cancels the notice
                    LineCase{"/w:0/w:1", 1160, 0, 1, 0}, LineCase{"L:1000 /W:0 /F", 1000, 1, 1, 1},
                    LineCase{"/x /wake", 1160, 0, 1, 0}  // substring search, by design
                    ));

struct ProgramNameCase {
  const char* fullLine;
  const char* arguments;
};

class ProgramNameCases : public testing::TestWithParam<ProgramNameCase> {};

TEST_P(ProgramNameCases, ArgumentsStartAfterTheProgramName) {
  EXPECT_EQ(ArgumentsAfterProgramName(GetParam().fullLine), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProgramNameCases,
    testing::Values(ProgramNameCase{"Brontel.exe", ""},
                    ProgramNameCase{"Brontel.exe l:1000 /w", "l:1000 /w"},
                    ProgramNameCase{"C:\\Brontel\\Brontel.exe\t \t/f", "/f"},
                    ProgramNameCase{"\"C:\\Program Files\\Brontel\\Brontel.exe\" L:1170", "L:1170"},
                    ProgramNameCase{"\"C:\\Program Files\\Brontel.exe\"/w", "/w"},
                    ProgramNameCase{"\"unterminated l:1000", ""}, ProgramNameCase{"", ""},
                    // The arguments' own trailing blanks stay; the switches
                    // are trimmed later.
                    ProgramNameCase{"b.exe  /w:0  ", "/w:0  "}));

TEST(CommandLine, NormaliseLowersAsciiAndTrimsWhiteSpace) {
  EXPECT_EQ(NormaliseCommandLine("  L:1170 /W \r\n"), "l:1170 /w");
  EXPECT_EQ(NormaliseCommandLine("\t"), "");
  // Bytes above 0x7f (UTF-8 sequences) are kept as they are.
  EXPECT_EQ(NormaliseCommandLine("\xE6\x97\xA5 A"), "\xE6\x97\xA5 a");
}

struct LanguageCase {
  int code;
  const char* library;
};

class LanguageTableCases : public testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageTableCases, SelectsTheLibrary) {
  EXPECT_EQ(LanguageLibraryFileName(GetParam().code), GetParam().library);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LanguageTableCases,
    testing::Values(
        LanguageCase{1010, "BrontelResFrnch.dll"}, LanguageCase{1020, "BrontelResSpain.dll"},
        LanguageCase{1060, "BrontelResChnsm.dll"}, LanguageCase{1070, "BrontelResChntr.dll"},
        LanguageCase{1120, "BrontelResFrncn.dll"}, LanguageCase{1150, "BrontelResIndns.dll"},
        LanguageCase{1160, "BrontelResJapan.dll"}, LanguageCase{1170, "BrontelResKorea.dll"},
        LanguageCase{1200, "BrontelResPorbr.dll"}, LanguageCase{1290, "BrontelResArabc.dll"},
        LanguageCase{1300, "BrontelResLatin.dll"},
        // Everything else is English, neighbours of table codes too.
        LanguageCase{1000, "BrontelResEnglh.dll"}, LanguageCase{12, "BrontelResEnglh.dll"},
        LanguageCase{1005, "BrontelResEnglh.dll"}, LanguageCase{1161, "BrontelResEnglh.dll"},
        LanguageCase{1310, "BrontelResEnglh.dll"}, LanguageCase{-100, "BrontelResEnglh.dll"},
        LanguageCase{0, "BrontelResEnglh.dll"}));

TEST(LanguageTable, EveryTableCodeHasItsOwnLibrary) {
  std::string previous;
  for (int code = 1010; code <= 1300; code += 10) {
    const std::string name = LanguageLibraryBaseName(code);
    EXPECT_NE(name, "BrontelResEnglh") << code;
    EXPECT_NE(name, previous) << code;
    EXPECT_EQ(name.size(), 15u) << code;
    previous = name;
  }
}

TEST(LanguageTable, CommandLineToLibraryName) {
  EXPECT_EQ(LanguageLibraryFileName(ParseCommandLine("L:1170").langCode), "BrontelResKorea.dll");
  EXPECT_EQ(LanguageLibraryFileName(ParseCommandLine("/w l:12").langCode), "BrontelResEnglh.dll");
  EXPECT_EQ(LanguageLibraryFileName(ParseCommandLine("l:abcd").langCode), "BrontelResJapan.dll");
  EXPECT_EQ(LanguageLibraryFileName(ParseCommandLine("").langCode), "BrontelResJapan.dll");
}

}  // namespace
}  // namespace brontel

#include <gtest/gtest.h>

#include "app/power/handover.h"
#include "app/power/power_manager_line.h"

namespace brontel::power {
namespace {

TEST(PowerManagerLine, ReadsWhatTheHandOverWrites) {
  const char* programs[] = {"C:\\Program Files\\Kestrova TV\\Brontel.exe", "D:\\Brontel.exe"};
  const DateTime wake = MakeLocalDateTime(2027, 2, 28, 7, 5);
  for (const char* program : programs) {
    const PowerManagerParse parse =
        ParsePowerManagerLine(PowerManagerCommandLine(program, 1010, wake));
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_EQ(parse.request.program, program);
    EXPECT_EQ(parse.request.langCode, 1010);
    EXPECT_EQ(parse.request.sleepKind, 4);
    EXPECT_EQ(parse.request.WakeTime(), wake);
  }
}

TEST(PowerManagerLine, QuotedOwnPathAndQuotedProgram) {
  const PowerManagerParse parse = ParsePowerManagerLine(
      "\"C:\\a b\\kxPwrMgr.exe\" \"C:\\a b\\Brontel.exe\" l:1160 /W s:4 d:29_2_2028 t:23_59");
  ASSERT_TRUE(parse.ok) << parse.error;
  EXPECT_EQ(parse.request.program, "C:\\a b\\Brontel.exe");
  EXPECT_EQ(parse.request.WakeTime(), MakeLocalDateTime(2028, 2, 29, 23, 59));
}

TEST(PowerManagerLine, MalformedLinesAreRefusedNamingTheField) {
  const std::string own = "C:\\B\\kxPwrMgr.exe ";
  struct Case {
    std::string line;
    const char* named;  // a piece the refusal must show
  };
  const Case cases[] = {
      {"C:\\B\\kxPwrMgr.exe", "L:"},
      {own + "L:1160 /w S:4 D:1_1_2027 T:1_1", "program"},
      {own + "C:\\B\\Brontel.exe L:x /w S:4 D:1_1_2027 T:1_1", "L:x"},
      {own + "C:\\B\\Brontel.exe L:1160 S:4 D:1_1_2027 T:1_1", "/w"},
      {own + "C:\\B\\Brontel.exe L:1160 /w D:1_1_2027 T:1_1", "S:"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 T:1_1", "D:"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_2027", "T:"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:29_2_2027 T:1_1", "D:29_2_2027"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_13_2027 T:1_1", "D:1_13_2027"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1 T:1_1", "D:1_1"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_2027 T:24_0", "T:24_0"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_2027 T:1_60", "T:1_60"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_2027 T:-1_5", "T:-1_5"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_99999999999 T:1_1", "D:1_1_99999999999"},
      {own + "C:\\B\\Brontel.exe L:1160 /w S:4 D:1_1_2027 T:1_1 X:9", "X:9"},
  };
  for (const Case& c : cases) {
    const PowerManagerParse parse = ParsePowerManagerLine(c.line);
    EXPECT_FALSE(parse.ok) << c.line;
    EXPECT_NE(parse.error.find(c.named), std::string::npos) << c.line << " -> " << parse.error;
  }
}

TEST(PowerManagerLine, RestartArguments) {
  EXPECT_EQ(WakeStartArguments(1160), "/w l:1160");
}

}  // namespace
}  // namespace brontel::power

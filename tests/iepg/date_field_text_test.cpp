#include "iepg/date_field_text.h"

#include <gtest/gtest.h>

#include <string>

#include "app/vocabulary/program_arguments.h"
#include "iepg/schedule_overlap.h"

namespace brontel {
namespace {

TEST(DateFieldTexts, EachRepetitionKind) {
  const struct {
    const char* name;
    std::int32_t sfType;
    int startWeekday, stopWeekday;
    bool overnight;
    int startId, stopId;
    bool suffix;
  } cases[] = {
      {"once shows dates", kScheOnce, 6, 0, true, 0, 0, false},
      {"weekly Saturday night into Sunday", kScheWeekly, 6, 0, true, 114, 108, true},
      {"weekly Monday", kScheWeekly, 1, 1, false, 109, 109, false},
      {"daily", kScheDaily, 3, 3, false, 115, 115, false},
      {"daily overnight", kScheDaily, 3, 4, true, 115, 115, true},
      {"unknown kind shows dates", 5, 3, 4, true, 0, 0, false},
  };
  for (const auto& c : cases) {
    const DateFieldTexts texts =
        DateFieldTextsFor(c.sfType, c.startWeekday, c.stopWeekday, c.overnight);
    EXPECT_EQ(texts.startStringId, c.startId) << c.name;
    EXPECT_EQ(texts.stopStringId, c.stopId) << c.name;
    EXPECT_EQ(texts.lateNightSuffix, c.suffix) << c.name;
  }
}

TEST(ArgumentsAfterProgramName, EverythingAfterTheProgramNameStaysAsItIs) {
  const struct {
    const char* commandLine;
    const char* path;
  } cases[] = {
      {"BrontelIEPG.exe C:\\tmp\\a.tvpi", "C:\\tmp\\a.tvpi"},
      {"\"C:\\Program Files\\BrontelIEPG.exe\" C:\\tmp\\a b.tvpi", "C:\\tmp\\a b.tvpi"},
      {"\"C:\\x\\BrontelIEPG.exe\" \"C:\\tmp\\a.tvpi\"", "\"C:\\tmp\\a.tvpi\""},
      {"BrontelIEPG.exe \t  C:\\a.tvpi  ", "C:\\a.tvpi  "},
      {"BrontelIEPG.exe", ""},
      {"\"C:\\x\\BrontelIEPG.exe\"   ", ""},
      {"\"unterminated", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentsAfterProgramName(std::string(c.commandLine)), c.path) << c.commandLine;
  }
  EXPECT_EQ(ArgumentsAfterProgramName(std::wstring(L"a.exe b.tvpi")), L"b.tvpi");
}

}  // namespace
}  // namespace brontel

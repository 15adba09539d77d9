#include "iepg/iepg_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "iepg/line_reader.h"
#include "iepg/tokyo_time.h"

namespace brontel {
namespace {

class IepgParserTest : public testing::Test {
 protected:
  void SetUp() override { brontel_test::UseTokyoTime(); }

  IepgParser MakeParser() {
    return IepgParser([this](const std::string& station) {
      lookups.push_back(station);
      return station == "NHK" ? 11 : kNoChannel;
    });
  }

  void Feed(IepgParser& parser, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) parser.ParseLine(TrimWhiteSpace(line));
  }

  std::vector<std::string> lookups;
};

TEST(TextToInt, BehavesLikeTheCLibrary) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"12", 12},
      {" 12abc", 12},
      {"-5", -5},
      {"+7", 7},
      {"abc", 0},
      {"", 0},
      {"  ", 0},
      {"1 2", 1},
      {"0030", 30},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
      {"99999999999999999999999", INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << c.text;
}

TEST(TrimWhiteSpace, RemovesBothEnds) {
  EXPECT_EQ(TrimWhiteSpace("  \tNHK \r\n"), "NHK");
  EXPECT_EQ(TrimWhiteSpace("   "), "");
  EXPECT_EQ(TrimWhiteSpace("a b"), "a b");
}

TEST_F(IepgParserTest, SpacingAroundTheValueDoesNotMatter) {
  for (const char* line :
       {"start:21:00", "start: 21:00", "start:    21:00    ", "start:\t21:00\t"}) {
    IepgParser parser = MakeParser();
    Feed(parser, {line});
    EXPECT_EQ(parser.programme().startText, "21:00") << line;
  }
}

TEST_F(IepgParserTest, KeysMatchOnlyExactlyAndAtTheStart) {
  for (const char* line : {"Station: NHK", "STATION: NHK", "xstation: NHK", "my station: NHK",
                           "station NHK", "Program-title: T", "performer: P"}) {
    IepgParser parser = MakeParser();
    Feed(parser, {line});
    EXPECT_TRUE(parser.programme().station.empty()) << line;
    EXPECT_TRUE(parser.programme().title.empty()) << line;
  }
  EXPECT_TRUE(lookups.empty());
}

TEST_F(IepgParserTest, StationAndTitleAreTakenAndTheStationLookedUp) {
  IepgParser parser = MakeParser();
  Feed(parser, {"station:  NHK ", "program-title: News 7", "program-subtitle: ignored",
                "performar: someone"});
  EXPECT_EQ(parser.programme().station, "NHK");
  EXPECT_EQ(parser.programme().channel, 11);
  EXPECT_EQ(parser.programme().title, "News 7");
  EXPECT_EQ(lookups, std::vector<std::string>{"NHK"});
}

TEST_F(IepgParserTest, LaterLinesReplaceEarlierValues) {
  IepgParser parser = MakeParser();
  Feed(parser, {"station: NHK", "station: Other", "program-title: A", "program-title: B"});
  EXPECT_EQ(parser.programme().station, "Other");
  EXPECT_EQ(parser.programme().channel, kNoChannel);
  EXPECT_EQ(parser.programme().title, "B");
}

TEST_F(IepgParserTest, WithoutStationThereIsNoChannel) {
  IepgParser parser = MakeParser();
  EXPECT_EQ(parser.programme().channel, kNoChannel);
}

TEST_F(IepgParserTest, EmptyStationIsLookedUpAsEmpty) {
  IepgParser parser = MakeParser();
  Feed(parser, {"station:"});
  EXPECT_EQ(lookups, std::vector<std::string>{""});
}

TEST_F(IepgParserTest, ShiftJisBytesPassThroughUnchanged) {
  const std::string title = "\x83\x6a\x83\x85\x81\x5b\x83\x58 \x82\xe6\x82\xa4";  // ニュース よう
  IepgParser parser = MakeParser();
  Feed(parser, {"program-title: " + title});
  EXPECT_EQ(parser.programme().title, title);
}

struct TimeCase {
  const char* name;
  std::vector<std::string> lines;
  LocalTimeParts start;  // year, month, day, hour, minute
  std::int64_t minutes;
  bool overnight;
};

TEST_F(IepgParserTest, TimesFromDateAndStartAndEnd) {
  const TimeCase cases[] = {
      {"plain",
       {"year: 2026", "month: 12", "date: 24", "start: 21:00", "end: 21:54"},
       {2026, 12, 24, 21, 0},
       54,
       false},
      {"past midnight",
       {"year: 2026", "month: 12", "date: 24", "start: 23:30", "end: 0:45"},
       {2026, 12, 24, 23, 30},
       75,
       true},
      {"equal is a whole day",
       {"year: 2026", "month: 12", "date: 24", "start: 21:00", "end: 21:00"},
       {2026, 12, 24, 21, 0},
       1440,
       true},
      {"date lines last",
       {"start: 08:15", "end: 09:00", "date: 3", "month: 1", "year: 2027"},
       {2027, 1, 3, 8, 15},
       45,
       false},
      {"25:30 is normalised",
       {"year: 2026", "month: 12", "date: 5", "start: 25:30", "end: 26:00"},
       {2026, 12, 6, 1, 30},
       30,
       false},
      {"year end",
       {"year: 2026", "month: 12", "date: 31", "start: 23:00", "end: 1:00"},
       {2026, 12, 31, 23, 0},
       120,
       true},
      {"month 13 rolls over",
       {"year: 2026", "month: 13", "date: 1", "start: 10:00", "end: 11:00"},
       {2027, 1, 1, 10, 0},
       60,
       false},
      {"leading zeros and blanks",
       {"year:2026", "month: 02", "date:  09 ", "start: 07:05", "end: 7:35"},
       {2026, 2, 9, 7, 5},
       30,
       false},  // Around the end of a 32-bit time_t (2038-01-19 03:14:07) and beyond.
      {"2037",
       {"year: 2037", "month: 12", "date: 31", "start: 23:30", "end: 0:30"},
       {2037, 12, 31, 23, 30},
       60,
       true},
      {"stop just past 2038-01-19 03:14:07",
       {"year: 2038", "month: 1", "date: 19", "start: 3:00", "end: 3:15"},
       {2038, 1, 19, 3, 0},
       15,
       false},
      {"start just past 2038-01-19 03:14:07",
       {"year: 2038", "month: 1", "date: 19", "start: 3:15", "end: 4:00"},
       {2038, 1, 19, 3, 15},
       45,
       false},
      {"2040",
       {"year: 2040", "month: 3", "date: 15", "start: 21:00", "end: 22:00"},
       {2040, 3, 15, 21, 0},
       60,
       false},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.name);
    IepgParser parser = MakeParser();
    Feed(parser, c.lines);
    parser.FinishFile();
    const IepgProgramme& p = parser.programme();
    ASSERT_TRUE(p.timesComputed);
    const LocalTimeParts start = SplitLocalDateTime(p.startDateTime);
    EXPECT_EQ(start.year, c.start.year);
    EXPECT_EQ(start.month, c.start.month);
    EXPECT_EQ(start.day, c.start.day);
    EXPECT_EQ(start.hour, c.start.hour);
    EXPECT_EQ(start.minute, c.start.minute);
    EXPECT_EQ(start.second, 0);
    EXPECT_EQ(p.stopDateTime - p.startDateTime, c.minutes * 60);
    EXPECT_EQ(p.overnight, c.overnight);
  }
}

TEST_F(IepgParserTest, TimesWaitForAllFiveValues) {
  IepgParser parser = MakeParser();
  const std::vector<std::string> lines = {"start: 21:00", "end: 22:00", "year: 2026", "month: 12"};
  Feed(parser, lines);
  EXPECT_FALSE(parser.programme().timesComputed);
  Feed(parser, {"date: 24"});
  EXPECT_TRUE(parser.programme().timesComputed);
}

TEST_F(IepgParserTest, IncompleteFileKeepsTheScheduleDefaultTimes) {
  const std::vector<std::vector<std::string>> files = {
      {},
      {"year: 2026", "month: 12", "start: 21:00", "end: 22:00"},
      {"year: abc", "month: 12", "date: 24", "start: 21:00", "end: 22:00"},
      {"year: 2026", "month: 12", "date: 24", "start: 2100", "end: 22:00"},
      {"year: 2026", "month: 12", "date: 24", "start: 21:00", "end:"},
      {"year: 99999999999", "month: 12", "date: 24", "start: 21:00", "end: 22:00"},
      {"year: 2026", "month: 12", "date: 24", "start: 99999999:00", "end: 22:00"},
  };
  for (const auto& lines : files) {
    SCOPED_TRACE(testing::PrintToString(lines));
    IepgParser parser = MakeParser();
    Feed(parser, lines);
    parser.FinishFile();
    EXPECT_FALSE(parser.programme().timesComputed);
    EXPECT_EQ(parser.programme().startDateTime, DefaultScheDateTime());
    EXPECT_EQ(parser.programme().stopDateTime, DefaultScheDateTime());
    EXPECT_FALSE(parser.programme().overnight);
  }
}

TEST_F(IepgParserTest, TimeWithoutColonKeepsTheEarlierResult) {
  IepgParser parser = MakeParser();
  Feed(parser, {"year: 2026", "month: 12", "date: 24", "start: 21:00", "end: 22:00"});
  const DateTime start = parser.programme().startDateTime;
  Feed(parser, {"start: 2130"});
  EXPECT_EQ(parser.programme().startText, "2130");
  EXPECT_EQ(parser.programme().startDateTime, start);
  Feed(parser, {"start: 21:30"});
  EXPECT_EQ(parser.programme().startDateTime, start + 30 * 60);
  EXPECT_EQ(parser.programme().stopDateTime, start + 60 * 60);
}

TEST_F(IepgParserTest, WholeFileWithCarriageReturnsOnly) {
  const std::string file =
      "Content-type: application/x-tv-program-info; charset=shift_jis\r"
      "version: 1\r\r   \r"
      "station: NHK\r year: 2026\r month: 12 \r date: 24\r start: 23:30\r end: 00:45\r"
      "program-title: Late show\r";
  IepgParser parser = MakeParser();
  CLineReader reader;
  ASSERT_TRUE(reader.Open(std::make_unique<MemorySource>(file)));
  int refreshes = 0;
  ParseIepgLines(reader, parser, [&refreshes] { ++refreshes; });
  const IepgProgramme& p = parser.programme();
  EXPECT_EQ(refreshes, 10);
  EXPECT_EQ(p.station, "NHK");
  EXPECT_EQ(p.channel, 11);
  EXPECT_EQ(p.title, "Late show");
  EXPECT_EQ(p.stopDateTime - p.startDateTime, 75 * 60);
  EXPECT_TRUE(p.overnight);
}

}  // namespace
}  // namespace brontel

#include "tv/freq_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "tv/ini_document.h"

namespace brontel {
namespace {

IniDocument Fixture(const std::string& name) {
  return IniDocument::LoadFile(std::string(BRONTEL_TV_FIXTURE_DIR) + "/" + name);
}

IniDocument Shipped(const std::string& name) {
  return IniDocument::LoadFile(std::string(BRONTEL_DATA_DIR) + "/" + name);
}

IniDocument Table(const std::string& body) {
  return IniDocument::FromBytes("[ChnInfo]\r\n" + body);
}

// Tables that a failed load must leave alone.
FreqTables Sentinel() {
  FreqTables tables;
  tables.broadcast.hertz.fill(11);
  tables.broadcast.minChn = 1;
  tables.broadcast.maxChn = 2;
  tables.cable.hertz.fill(22);
  tables.cable.minChn = 3;
  tables.cable.maxChn = 4;
  return tables;
}

void ExpectSentinel(const FreqTables& tables) {
  EXPECT_EQ(tables.broadcast.hertz[0], 11);
  EXPECT_EQ(tables.broadcast.hertz[180], 11);
  EXPECT_EQ(tables.broadcast.minChn, 1);
  EXPECT_EQ(tables.broadcast.maxChn, 2);
  EXPECT_EQ(tables.cable.hertz[0], 22);
  EXPECT_EQ(tables.cable.minChn, 3);
  EXPECT_EQ(tables.cable.maxChn, 4);
}

TEST(LoadFreqTables, ReadsChannelsFromTheirThreeDigitKeys) {
  FreqTables tables;
  const IniDocument file = Fixture("freq_three_digits.ini");
  ASSERT_TRUE(LoadFreqTables(&tables, file, file));
  EXPECT_EQ(ChannelFrequency(tables, 0, 7), 7000000);
  EXPECT_EQ(ChannelFrequency(tables, 0, 42), 42000000);
  EXPECT_EQ(ChannelFrequency(tables, 0, 105), 105000000);
  EXPECT_EQ(ChannelFrequency(tables, 0, 181), 181000000);
}

TEST(LoadFreqTables, CableFileWithMinChnZeroStopsBothTables) {
  FreqTables tables = Sentinel();
  EXPECT_FALSE(
      LoadFreqTables(&tables, Fixture("freq_broad_small.ini"), Fixture("freq_cable_min0.ini")));
  ExpectSentinel(tables);
}

TEST(LoadFreqTables, RejectsLimitsThatMakeNoSense) {
  const struct {
    const char* name;
    std::string body;
  } cases[] = {
      {"no limits", "Chn_001=1\r\n"},
      {"MinChn 0", "MinChn=0\r\nMaxChn=5\r\n"},
      {"MaxChn 0", "MinChn=1\r\nMaxChn=0\r\n"},
      {"negative MinChn", "MinChn=-1\r\nMaxChn=5\r\n"},
      {"negative MaxChn", "MinChn=1\r\nMaxChn=-5\r\n"},
      {"MinChn above MaxChn", "MinChn=20\r\nMaxChn=10\r\n"},
      {"MinChn beyond the table", "MinChn=182\r\nMaxChn=190\r\n"},
      {"MinChn not a number", "MinChn=one\r\nMaxChn=5\r\n"},
  };
  const IniDocument good = Fixture("freq_broad_small.ini");
  for (const auto& c : cases) {
    const IniDocument bad = Table(c.body);
    FreqTables tables = Sentinel();
    EXPECT_FALSE(LoadFreqTables(&tables, bad, good)) << c.name << " in broadcast";
    ExpectSentinel(tables);
    EXPECT_FALSE(LoadFreqTables(&tables, good, bad)) << c.name << " in cable";
    ExpectSentinel(tables);
  }
}

TEST(LoadFreqTables, MissingFileLeavesTablesAlone) {
  FreqTables tables = Sentinel();
  EXPECT_FALSE(LoadFreqTables(&tables, Fixture("freq_broad_small.ini"), IniDocument()));
  EXPECT_FALSE(LoadFreqTables(&tables, IniDocument(), Fixture("freq_cable_small.ini")));
  ExpectSentinel(tables);
}

TEST(LoadFreqTables, MaxChnBeyondTheTableIsCutTo181) {
  FreqTables tables;
  const IniDocument file = Fixture("freq_max_beyond.ini");
  ASSERT_TRUE(LoadFreqTables(&tables, file, file));
  EXPECT_EQ(tables.broadcast.minChn, 170);
  EXPECT_EQ(tables.broadcast.maxChn, 181);
  EXPECT_EQ(ChannelFrequency(tables, 0, 170), 170000000);
  EXPECT_EQ(ChannelFrequency(tables, 0, 181), 181000000);
  EXPECT_EQ(ChannelFrequency(tables, 0, 182), 0);
}

TEST(LoadFreqTables, ClearsChannelsTheFileDoesNotGive) {
  FreqTables tables = Sentinel();
  ASSERT_TRUE(
      LoadFreqTables(&tables, Fixture("freq_broad_small.ini"), Fixture("freq_cable_small.ini")));
  EXPECT_EQ(tables.broadcast.hertz[0], 91250000);
  EXPECT_EQ(tables.broadcast.hertz[4], 0);          // Chn_005 missing
  EXPECT_EQ(tables.broadcast.hertz[3], 0);          // Chn_004 is no number
  EXPECT_EQ(tables.broadcast.hertz[2], 103250000);  // key written in other letter case
  EXPECT_EQ(tables.broadcast.hertz[12], 0);         // Chn_013 lies beyond MaxChn 12
  EXPECT_EQ(tables.broadcast.hertz[180], 0);
  EXPECT_EQ(tables.cable.hertz[0], 0);
  EXPECT_EQ(tables.cable.hertz[62], 463250000);
}

TEST(ParseHertz, AcceptsOnlyNonNegative32BitDecimals) {
  const struct {
    const char* text;
    std::int32_t hertz;
  } cases[] = {
      {"91250000", 91250000},
      {"+5", 5},
      {"765250000 Hz", 765250000},
      {"", 0},
      {"abc", 0},
      {"-91250000", 0},
      {"2147483647", 2147483647},
      {"2147483648", 0},
      {"99999999999999999999", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseHertz(c.text), c.hertz) << c.text;
  }
}

TEST(ChannelFrequency, IsZeroOutsideTheTableLimits) {
  FreqTables tables;
  ASSERT_TRUE(
      LoadFreqTables(&tables, Fixture("freq_broad_small.ini"), Fixture("freq_cable_small.ini")));
  const struct {
    std::int32_t table;
    std::int32_t channel;
    std::int32_t hertz;
  } cases[] = {
      {0, 0, 0},   {0, 1, 91250000},   {0, 12, 217250000}, {0, 13, 0},
      {0, -1, 0},  {1, 13, 109250000}, {1, 63, 463250000}, {1, 64, 0},
      {1, 182, 0}, {2, 1, 0},          {-1, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelFrequency(tables, c.table, c.channel), c.hertz)
        << "table " << c.table << " channel " << c.channel;
  }
}

TEST(ChannelFrequency, GuardsLimitsSetBeyondTheTable) {
  FreqTables tables;
  tables.broadcast.minChn = -5;
  tables.broadcast.maxChn = 500;
  EXPECT_EQ(ChannelFrequency(tables, 0, 0), 0);
  EXPECT_EQ(ChannelFrequency(tables, 0, 182), 0);
  EXPECT_FALSE(TuneHertz(tables, 0, 0, 0).has_value());
  EXPECT_FALSE(TuneHertz(tables, 0, 400, 0).has_value());
}

TEST(TuneHertz, CableTableAnswersEvenWhenBroadcastHasTheChannel) {
  FreqTables tables;
  ASSERT_TRUE(
      LoadFreqTables(&tables, Fixture("freq_broad_small.ini"), Fixture("freq_cable_small.ini")));
  EXPECT_EQ(TuneHertz(tables, 0, 2, 0), 97250000);
  EXPECT_EQ(TuneHertz(tables, 1, 2, 0), 55250000);
  // 13 lies beyond the broadcast MaxChn although its file names it.
  EXPECT_EQ(TuneHertz(tables, 1, 13, 0), 109250000);
  EXPECT_FALSE(TuneHertz(tables, 0, 13, 0).has_value());
}

TEST(TuneHertz, AddsTheOffsetAndRefusesOverflow) {
  FreqTables tables;
  tables.broadcast.minChn = 1;
  tables.broadcast.maxChn = 2;
  tables.broadcast.hertz[0] = 471250000;
  tables.broadcast.hertz[1] = 2147483000;
  EXPECT_EQ(TuneHertz(tables, 0, 1, 250000), 471500000);
  EXPECT_EQ(TuneHertz(tables, 0, 1, -250000), 471000000);
  EXPECT_FALSE(TuneHertz(tables, 0, 2, 1000).has_value());
  EXPECT_FALSE(TuneHertz(tables, 3, 1, 0).has_value());
}

TEST(MegahertzToHertz, TruncatesToWholeHertz) {
  const struct {
    double megahertz;
    std::int32_t hertz;
  } cases[] = {
      {0.25, 250000},
      {-0.25, -250000},
      {0.0, 0},
      {80.4, 80400000},
      {76.1, 76100000},
      {89.9, 89900000},
      {0.001, 1000},
      {1.0000004, 1000000},
      {1.0000006, 1000000},
      {-1.0000006, -1000000},
      {2147.483647, 2147483647},
      {2147.483648, 0},
      {-3000.0, 0},
      {1e300, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MegahertzToHertz(c.megahertz), c.hertz) << c.megahertz;
  }
}

TEST(ShippedTables, JapaneseTablesLoadWithTheKnownCarriers) {
  FreqTables tables;
  ASSERT_TRUE(
      LoadFreqTables(&tables, Shipped("TVFreqBroad_81.ini"), Shipped("TVFreqCable_81.ini")));
  EXPECT_EQ(tables.broadcast.minChn, 1);
  EXPECT_EQ(tables.broadcast.maxChn, 62);
  EXPECT_EQ(tables.cable.minChn, 1);
  EXPECT_EQ(tables.cable.maxChn, 63);
  const struct {
    std::int32_t table;
    std::int32_t channel;
    std::int32_t hertz;
  } cases[] = {
      {0, 1, 91250000},   {0, 3, 103250000},  {0, 4, 171250000},  {0, 7, 189250000},
      {0, 8, 193250000},  {0, 12, 217250000}, {0, 13, 471250000}, {0, 62, 765250000},
      {1, 1, 91250000},   {1, 12, 217250000}, {1, 13, 109250000}, {1, 21, 157250000},
      {1, 22, 165250000}, {1, 23, 223250000}, {1, 63, 463250000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelFrequency(tables, c.table, c.channel), c.hertz)
        << "table " << c.table << " channel " << c.channel;
  }
}

TEST(ShippedTables, UnitedStatesTablesLoadWithTheKnownCarriers) {
  FreqTables tables;
  ASSERT_TRUE(LoadFreqTables(&tables, Shipped("TVFreqBroad_1.ini"), Shipped("TVFreqCable_1.ini")));
  EXPECT_EQ(tables.broadcast.minChn, 2);
  EXPECT_EQ(tables.broadcast.maxChn, 69);
  EXPECT_EQ(tables.cable.minChn, 1);
  EXPECT_EQ(tables.cable.maxChn, 125);
  const struct {
    std::int32_t table;
    std::int32_t channel;
    std::int32_t hertz;
  } cases[] = {
      {0, 2, 55250000},   {0, 4, 67250000},    {0, 5, 77250000},    {0, 7, 175250000},
      {0, 13, 211250000}, {0, 14, 471250000},  {0, 69, 801250000},  {0, 1, 0},
      {1, 1, 73250000},   {1, 14, 121250000},  {1, 22, 169250000},  {1, 23, 217250000},
      {1, 36, 295250000}, {1, 37, 301250000},  {1, 94, 643250000},  {1, 95, 91250000},
      {1, 99, 115250000}, {1, 100, 649250000}, {1, 125, 799250000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelFrequency(tables, c.table, c.channel), c.hertz)
        << "table " << c.table << " channel " << c.channel;
  }
}

TEST(ShippedTables, EveryChannelWithinTheLimitsHasAFrequency) {
  for (const char* country : {"81", "1"}) {
    FreqTables tables;
    ASSERT_TRUE(LoadFreqTables(&tables, Shipped(std::string("TVFreqBroad_") + country + ".ini"),
                               Shipped(std::string("TVFreqCable_") + country + ".ini")));
    for (const FreqTable* t : {&tables.broadcast, &tables.cable}) {
      for (std::int32_t ch = t->minChn; ch <= t->maxChn; ++ch) {
        EXPECT_GT(t->hertz[ch - 1], 40000000) << country << " channel " << ch;
      }
    }
  }
}

}  // namespace
}  // namespace brontel

#include "settings/radio_band.h"

#include <gtest/gtest.h>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

TEST(RadioBand, TypedFrequencyAgainstTheCountrysBand) {
  const struct {
    const char* text;
    std::int32_t country;
    int error;
    std::int32_t hertz;
  } cases[] = {
      {"90.0", 81, 0, 90000000},
      {"90.1", 81, kStringOutsideBand, 0},
      {"76", 81, 0, 76000000},
      {"75.9", 81, kStringOutsideBand, 0},
      {"80.1", 81, 0, 80100000},  // rounded, not truncated to 80099999
      {" 81.3 MHz ", 81, 0, 81300000},
      {"81.3mhz", 81, 0, 81300000},
      {"87.9", 1, kStringOutsideBand, 0},
      {"88.0", 1, 0, 88000000},
      {"108", 1, 0, 108000000},
      {"108.1", 1, kStringOutsideBand, 0},
      {"-80", 81, kStringOutsideBand, 0},
      {"", 81, kStringNoFrequency, 0},
      {"abc", 81, kStringNoFrequency, 0},
      {"0", 81, kStringNoFrequency, 0},
      {"0.000", 1, kStringNoFrequency, 0},
      {"80.0x", 81, kStringNoFrequency, 0},
      {"1e400", 81, kStringNoFrequency, 0},
  };
  for (const auto& c : cases) {
    const TypedFrequency got = ParseTypedFrequency(c.text, c.country);
    EXPECT_EQ(got.errorStringId, c.error) << '"' << c.text << "\" " << c.country;
    EXPECT_EQ(got.hertz, c.hertz) << '"' << c.text << "\" " << c.country;
  }
}

TEST(RadioBand, BandLimitsAndProgressSteps) {
  const struct {
    std::int32_t country;
    std::int32_t lower, upper;
    int steps;
  } cases[] = {
      {81, 76000000, 90000000, 140}, {1, 88000000, 108000000, 200}, {0, 88000000, 108000000, 200}};
  for (const auto& c : cases) {
    const RadioBand band = RadioBandFor(c.country);
    EXPECT_EQ(band.lowerHz, c.lower) << c.country;
    EXPECT_EQ(band.upperHz, c.upper) << c.country;
    EXPECT_EQ(RadioProgressSteps(band), c.steps) << c.country;
  }
  EXPECT_EQ(FormatMegahertz(80100000), "80.100");
  EXPECT_EQ(FormatMegahertz(107950000), "107.950");
}

TEST(RadioBand, SeekStepsStayInsideTheBand) {
  const RadioBand band = RadioBandFor(81);
  const struct {
    std::int32_t from;
    bool up;
    std::optional<std::int32_t> to;
  } cases[] = {
      {76000000, true, 76100000},      {76000000, false, std::nullopt},
      {90000000, true, std::nullopt},  {90000000, false, 89900000},
      {89950000, true, std::nullopt},  // a typed frequency near the top
      {76050000, false, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SeekStep(c.from, c.up, band), c.to) << c.from << c.up;
}

TEST(RadioBand, ScanTunesEveryStepOnceAndNumbersItsFinds) {
  const struct {
    std::int32_t country;
    int ticks;
  } cases[] = {{81, 141}, {1, 201}};
  for (const auto& c : cases) {
    RadioScan scan(RadioBandFor(c.country));
    int ticks = 0;
    std::int32_t last = 0;
    while (!scan.Done()) {
      last = scan.Frequency();
      const bool station = ticks % 50 == 7;
      const int number = scan.Advance(station);
      EXPECT_EQ(number, station ? scan.Found() : 0);
      ++ticks;
    }
    EXPECT_EQ(ticks, c.ticks) << c.country;
    EXPECT_EQ(last, RadioBandFor(c.country).upperHz) << "no drift: the last step is the limit";
    EXPECT_EQ(scan.Advance(true), 0) << "a finished scan finds nothing more";
  }
}

TEST(RadioStations, RowsKeepAtMostTenAndEmptyTheRest) {
  RdSetGroup group;
  group.lRDStnCount = 3;
  group.lCurrStn = 3;
  for (int i = 0; i < kStationRecordCount; ++i) {
    group.stations[i] = StationEntry{i + 1, 80.0 + i, 0.25, "old"};
  }
  const std::vector<StationRow> stored = StationRowsOf(group);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[1].hertz, 81000000);
  EXPECT_EQ(stored[1].offsetMHz, 0.25);

  const struct {
    std::size_t rows;
    bool overflow;
    std::int32_t count;
    std::int32_t currStn;
  } cases[] = {
      {0, false, 0, 0}, {2, false, 2, 1}, {10, false, 10, 3}, {11, true, 10, 3}, {14, true, 10, 3}};
  for (const auto& c : cases) {
    std::vector<StationRow> rows;
    for (std::size_t i = 0; i < c.rows; ++i) {
      rows.push_back(StationRow{static_cast<std::int32_t>(i + 1),
                                76000000 + static_cast<std::int32_t>(i) * 100000,
                                "St" + std::to_string(i + 1)});
    }
    RdSetGroup out = group;
    EXPECT_EQ(StationRowsOverflow(rows.size()), c.overflow) << c.rows;
    StoreStationRows(rows, &out);
    EXPECT_EQ(out.lRDStnCount, c.count) << c.rows;
    EXPECT_EQ(out.lCurrStn, c.currStn) << c.rows;
    for (int i = 0; i < kStationRecordCount; ++i) {
      const StationEntry& e = out.stations[i];
      if (i < c.count) {
        EXPECT_EQ(e.lStn, i + 1);
        EXPECT_NEAR(e.dPresetFreq, 76.0 + i * 0.1, 1e-9);
        EXPECT_EQ(e.szRDStnName, "St" + std::to_string(i + 1));
      } else {
        EXPECT_EQ(e.lStn, 0) << c.rows << " " << i;
        EXPECT_TRUE(e.szRDStnName.empty()) << c.rows << " " << i;
      }
    }
  }
}

TEST(RadioStations, ScanRefusedOnlyForARadioEntryInUse) {
  const struct {
    std::int32_t count;
    int radioAt;  // -1: none
    bool refused;
  } cases[] = {{0, -1, false}, {3, -1, false}, {3, 2, true},
               {3, 3, false},  {10, 9, true},  {99, 9, true}};
  for (const auto& c : cases) {
    ScheSetGroup group;
    group.lScheItemCount = c.count;
    for (auto& item : group.items) item.msSrcType = kSourceTv;
    if (c.radioAt >= 0) group.items[c.radioAt].msSrcType = kSourceRadio;
    EXPECT_EQ(HasRadioScheduleEntry(group), c.refused) << c.count << " " << c.radioAt;
  }
}

TEST(RadioStations, NameFormatReadsOnlyOneNumber) {
  const struct {
    const char* format;
    const char* name;
  } cases[] = {{"Channel %d", "Channel 3"},
               {"チャンネル %d", "チャンネル 3"},
               {"%d%% %d %s", "3% %d %s"},
               {"no number", "no number"},
               {"trailing %", "trailing %"}};
  for (const auto& c : cases) EXPECT_EQ(StationName(c.format, 3), c.name) << c.format;
}

}  // namespace
}  // namespace brontel

#include "settings/radio_band.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

bool IsBlank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// What may follow the number: blanks and the unit, nothing else.
bool IsUnitTail(const char* tail) {
  while (IsBlank(*tail)) ++tail;
  if (*tail == '\0') return true;
  static const char kUnit[] = "mhz";
  for (const char* u = kUnit; *u != '\0'; ++u, ++tail) {
    if (std::tolower(static_cast<unsigned char>(*tail)) != *u) return false;
  }
  while (IsBlank(*tail)) ++tail;
  return *tail == '\0';
}

}  // namespace

RadioBand RadioBandFor(std::int32_t countryCode) {
  if (countryCode == kJapanCountryCode) return RadioBand{76000000, 90000000};
  return RadioBand{88000000, 108000000};
}

int RadioProgressSteps(const RadioBand& band) {
  return (band.upperHz - band.lowerHz) / kRadioStepHz;
}

std::string FormatMegahertz(std::int32_t hertz) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.3f", hertz * 1e-6);
  return text;
}

TypedFrequency ParseTypedFrequency(const std::string& text, std::int32_t countryCode) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double megahertz = std::strtod(begin, &end);
  if (end == begin || !IsUnitTail(end) || !std::isfinite(megahertz) || megahertz == 0.0) {
    return TypedFrequency{kStringNoFrequency, 0};
  }
  // The limits sit a hair outside the band, so that a limit typed exactly
  // is accepted whatever the rounding of the text.
  const bool japan = countryCode == kJapanCountryCode;
  const double above = japan ? 75.999999 : 87.999999;
  const double below = japan ? 90.000001 : 108.000001;
  if (!(megahertz > above && megahertz < below)) return TypedFrequency{kStringOutsideBand, 0};
  // Rounded, not truncated: 80.1 MHz is 80,100,000 Hz, not 80,099,999.
  return TypedFrequency{0, static_cast<std::int32_t>(std::llround(megahertz * 1e6))};
}

std::optional<std::int32_t> SeekStep(std::int32_t hertz, bool up, const RadioBand& band) {
  const std::int64_t next = static_cast<std::int64_t>(hertz) + (up ? kRadioStepHz : -kRadioStepHz);
  if (next < band.lowerHz || next > band.upperHz) return std::nullopt;
  return static_cast<std::int32_t>(next);
}

int RadioScan::Advance(bool signal) {
  if (Done()) return 0;
  const int number = signal ? ++m_found : 0;
  m_hertz += kRadioStepHz;
  return number;
}

std::vector<StationRow> StationRowsOf(const RdSetGroup& group) {
  const int count = std::clamp<std::int32_t>(group.lRDStnCount, 0, kStationRecordCount);
  std::vector<StationRow> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const StationEntry& entry = group.stations[static_cast<std::size_t>(i)];
    rows.push_back(StationRow{entry.lStn,
                              static_cast<std::int32_t>(std::llround(entry.dPresetFreq * 1e6)),
                              entry.szRDStnName, entry.dFreqOffset});
  }
  return rows;
}

bool StationRowsOverflow(std::size_t rows) {
  return rows > static_cast<std::size_t>(kStationRecordCount);
}

void StoreStationRows(const std::vector<StationRow>& rows, RdSetGroup* group) {
  const std::size_t kept = std::min(rows.size(), static_cast<std::size_t>(kStationRecordCount));
  for (std::size_t i = 0; i < group->stations.size(); ++i) {
    StationEntry entry;
    if (i < kept) {
      entry.lStn = rows[i].number;
      entry.dPresetFreq = rows[i].hertz * 1e-6;
      entry.dFreqOffset = rows[i].offsetMHz;
      entry.szRDStnName = rows[i].name;
    }
    group->stations[i] = entry;
  }
  group->lRDStnCount = static_cast<std::int32_t>(kept);
  if (group->lCurrStn > group->lRDStnCount) group->lCurrStn = kept > 0 ? 1 : 0;
}

bool HasRadioScheduleEntry(const ScheSetGroup& group) {
  const int count = std::clamp<std::int32_t>(group.lScheItemCount, 0, kScheItemCount);
  return std::any_of(group.items.begin(), group.items.begin() + count,
                     [](const ScheItem& item) { return item.msSrcType == kSourceRadio; });
}

std::string StationName(const std::string& format, int number) {
  std::string name;
  bool numbered = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        name += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 'd' && !numbered) {
        name += std::to_string(number);
        numbered = true;
        ++i;
        continue;
      }
    }
    name += format[i];
  }
  return name;
}

}  // namespace brontel

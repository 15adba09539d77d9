#pragma once
// The radio page's rules: the FM band of the country, typed frequencies,
// seek and scan steps over the band, and the station list it keeps.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"

namespace brontel {

// Japan's FM band is 76 to 90 MHz; everywhere else it is 88 to 108 MHz.
constexpr std::int32_t kJapanCountryCode = 81;
constexpr std::int32_t kRadioStepHz = 100000;

struct RadioBand {
  std::int32_t lowerHz;
  std::int32_t upperHz;
};
RadioBand RadioBandFor(std::int32_t countryCode);
// Steps of the scan's progress bar.
int RadioProgressSteps(const RadioBand& band);

// "%.3f" MHz.
std::string FormatMegahertz(std::int32_t hertz);

// Messages of a typed frequency that cannot be tuned.
constexpr int kStringNoFrequency = 165;
constexpr int kStringOutsideBand = 164;

// The frequency typed in MHz ("80", "80.1", "80.1 MHz"), in hertz; or the
// string that says why it cannot be tuned: 165 for no number or zero, 164
// for a frequency outside the country's band.
struct TypedFrequency {
  int errorStringId = 0;  // 0 when `hertz` is valid
  std::int32_t hertz = 0;
};
TypedFrequency ParseTypedFrequency(const std::string& text, std::int32_t countryCode);

// The next frequency of a seek, one step up or down, or nullopt when that
// step would leave the band.
std::optional<std::int32_t> SeekStep(std::int32_t hertz, bool up, const RadioBand& band);

// A band scan: every step from the lower to the upper limit once.
class RadioScan {
 public:
  explicit RadioScan(const RadioBand& band) : m_band(band), m_hertz(band.lowerHz) {}
  // The frequency this tick tunes.
  std::int32_t Frequency() const { return m_hertz; }
  bool Done() const { return m_hertz > m_band.upperHz; }
  int Found() const { return m_found; }
  // Records the tick's answer and moves on; the station's number when the
  // frequency carries one, else 0.
  int Advance(bool signal);

 private:
  RadioBand m_band;
  std::int32_t m_hertz;
  int m_found = 0;
};

// One row of the station list.
struct StationRow {
  std::int32_t number = 0;
  std::int32_t hertz = 0;
  std::string name;
  double offsetMHz = 0.0;  // kept from the station entry it came from
};
// The rows of the stored stations, in order.
std::vector<StationRow> StationRowsOf(const RdSetGroup& group);
// More rows than station entries: the user has to agree to lose the rest.
bool StationRowsOverflow(std::size_t rows);
// The first 10 rows become the station entries; the entries after them are
// emptied, and a current station beyond the list starts again at the first.
void StoreStationRows(const std::vector<StationRow>& rows, RdSetGroup* group);

// Whether a schedule entry records from the radio, which a scan would
// leave pointing at another station.
bool HasRadioScheduleEntry(const ScheSetGroup& group);

// A station's name from a format such as "Channel %d": the first "%d"
// becomes the number, "%%" a percent sign; nothing else is read.
std::string StationName(const std::string& format, int number);

}  // namespace brontel

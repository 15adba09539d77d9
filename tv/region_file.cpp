#include "tv/region_file.h"

#include "tv/channel_file_names.h"

namespace brontel {
namespace {

std::int32_t ReadCount(const IniSource& file, const std::string& section, const char* key) {
  const std::int32_t count = file.ReadInt(section, key, 0);
  if (count < 0) return 0;
  return count > kMaxRegionItems ? kMaxRegionItems : count;
}

// 0-based combo index to the 1-based number in section names; the sum could
// overflow for a stored index near the 32-bit limit.
std::int32_t ToNumber(std::int32_t index) {
  return index < 0 || index >= kMaxRegionItems ? 0 : index + 1;
}

}  // namespace

std::vector<std::string> LoadRegionStates(const IniSource& file) {
  std::vector<std::string> states;
  if (!file.Exists()) return states;
  const std::int32_t count = ReadCount(file, kRegionCountrySection, "NumOfState");
  for (std::int32_t state = 1; state <= count; ++state) {
    states.push_back(
        file.ReadString(RegionStateSection(state), "StateName", std::string(), kIniValueMaxChars));
  }
  return states;
}

std::vector<std::string> LoadRegionCities(const IniSource& file, std::int32_t stateIndex) {
  std::vector<std::string> cities;
  const std::int32_t state = ToNumber(stateIndex);
  if (!file.Exists() || state == 0) return cities;
  const std::int32_t count = ReadCount(file, RegionStateSection(state), "NumOfCity");
  for (std::int32_t city = 1; city <= count; ++city) {
    cities.push_back(file.ReadString(RegionCitySection(state, city), "CityName", std::string(),
                                     kIniValueMaxChars));
  }
  return cities;
}

std::vector<std::string> LoadRegionStations(const IniSource& file, std::int32_t stateIndex,
                                            std::int32_t cityIndex,
                                            const std::string& noStationItem) {
  std::vector<std::string> stations{noStationItem};
  const std::int32_t state = ToNumber(stateIndex);
  const std::int32_t city = ToNumber(cityIndex);
  if (!file.Exists() || state == 0 || city == 0) return stations;
  const std::int32_t count = ReadCount(file, RegionCitySection(state, city), "NumOfChn");
  const std::string section = RegionStationSection(state, city);
  for (std::int32_t station = 1; station <= count; ++station) {
    stations.push_back(
        file.ReadString(section, RegionStationKey(station), std::string(), kIniValueMaxChars));
  }
  return stations;
}

}  // namespace brontel

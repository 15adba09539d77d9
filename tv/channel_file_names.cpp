#include "tv/channel_file_names.h"

#include <cstdio>

namespace brontel {

std::string FreqTableFileName(FreqTableKind kind, std::int32_t countryCode) {
  const char* stem = kind == FreqTableKind::kCable ? "TVFreqCable_" : "TVFreqBroad_";
  return stem + std::to_string(countryCode) + ".ini";
}

std::string RegionFileName(std::int32_t countryCode) {
  return "TVChn_Cntry_" + std::to_string(countryCode) + ".ini";
}

std::string FreqKeyName(std::int32_t channel) {
  char name[32];
  std::snprintf(name, sizeof name, "Chn_%03ld", static_cast<long>(channel));
  return name;
}

std::string RegionStateSection(std::int32_t state) {
  return "State" + std::to_string(state);
}

std::string RegionCitySection(std::int32_t state, std::int32_t city) {
  return RegionStateSection(state) + "City" + std::to_string(city);
}

std::string RegionStationSection(std::int32_t state, std::int32_t city) {
  return RegionCitySection(state, city) + "ChnInfo";
}

std::string RegionStationKey(std::int32_t station) {
  return "ChnTVPIName" + std::to_string(station);
}

}  // namespace brontel

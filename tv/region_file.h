#pragma once
// The region file: states, their cities, and the stations each city
// receives, spelled as iEPG files spell them.

#include <cstdint>
#include <string>
#include <vector>

#include "tv/ini_source.h"

namespace brontel {

constexpr char kRegionCountrySection[] = "Country Channel Info";
// Counts beyond this are taken as damage: no country has this many states,
// cities or stations, and the lists fill combo boxes.
constexpr std::int32_t kMaxRegionItems = 1000;

// "StateName" of states 1 to "NumOfState"; empty when the file is missing.
std::vector<std::string> LoadRegionStates(const IniSource& file);

// "CityName" of cities 1 to "NumOfCity" of a state given by its 0-based
// index (lPrefCode).
std::vector<std::string> LoadRegionCities(const IniSource& file, std::int32_t stateIndex);

// `noStationItem` first, then "ChnTVPIName1" to "ChnTVPIName<NumOfChn>" of a
// city given by 0-based state and city indexes (lPrefCode, lAreaCode). A
// missing name keeps its place as an empty string.
std::vector<std::string> LoadRegionStations(const IniSource& file, std::int32_t stateIndex,
                                            std::int32_t cityIndex,
                                            const std::string& noStationItem);

}  // namespace brontel

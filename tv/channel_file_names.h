#pragma once
// Names of the channel files and of the keys inside them.

#include <cstdint>
#include <string>

namespace brontel {

enum class FreqTableKind : std::int32_t { kBroadcast = 0, kCable = 1 };

// "TVFreqBroad_81.ini" / "TVFreqCable_81.ini".
std::string FreqTableFileName(FreqTableKind kind, std::int32_t countryCode);
// "TVChn_Cntry_81.ini".
std::string RegionFileName(std::int32_t countryCode);
constexpr char kRegisterSettingFileName[] = "registersetting.ini";

// "Chn_007", "Chn_042", "Chn_105": at least three digits.
std::string FreqKeyName(std::int32_t channel);

// Region file sections, numbered from 1: "State2", "State2City3",
// "State2City3ChnInfo"; the station key "ChnTVPIName4".
std::string RegionStateSection(std::int32_t state);
std::string RegionCitySection(std::int32_t state, std::int32_t city);
std::string RegionStationSection(std::int32_t state, std::int32_t city);
std::string RegionStationKey(std::int32_t station);

// A file name inside a Windows folder: one backslash between the two, none
// added when the folder already ends with one. An empty folder gives an
// empty path, so that nothing is looked for in the current drive's root.
template <typename String>
String JoinWindowsPath(const String& folder, const String& fileName) {
  if (folder.empty()) return String();
  if (folder.back() == '\\') return folder + fileName;
  String path = folder;
  path.push_back('\\');
  return path + fileName;
}

}  // namespace brontel

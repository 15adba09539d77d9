#pragma once
// The channel files of one country in the Windows directory, read with the
// private-profile functions, and the current-source file of the board
// library in the installation folder.

#include <cstdint>
#include <string>
#include <vector>

#include "tv/freq_tables.h"

namespace brontel {

// GetWindowsDirectoryW; empty when it fails.
std::wstring WindowsDirectory();

class ChannelFiles {
 public:
  ChannelFiles(std::wstring windowsDirectory, std::int32_t countryCode);
  // The files of `countryCode` (AppSet lCountryCode) in the Windows directory.
  static ChannelFiles InWindowsDirectory(std::int32_t countryCode);

  std::wstring FreqTablePath(FreqTableKind kind) const;
  std::wstring RegionFilePath() const;

  // See LoadFreqTables in freq_tables.h.
  bool LoadFreqTables(FreqTables* tables) const;

  std::vector<std::string> LoadRegionStates() const;
  std::vector<std::string> LoadRegionCities(std::int32_t stateIndex) const;
  std::vector<std::string> LoadRegionStations(std::int32_t stateIndex, std::int32_t cityIndex,
                                              const std::string& noStationItem) const;

 private:
  std::wstring m_windowsDirectory;
  std::int32_t m_countryCode;
};

// "registersetting.ini" in the installation folder (AppSet InstallPath).
std::wstring RegisterSettingPath(const std::string& installPath);

// Writes "CurrentSource" in section "Brontel" of "registersetting.ini" in the
// installation folder, only when that file exists: the board library owns the
// file, and the program never creates it. True when the key was written.
bool WriteCurrentSource(const std::string& installPath, std::int32_t source);

}  // namespace brontel

#include "tv/channel_files_win.h"

#include "win32/windows_include.h"

#include <utility>

#include "win32/text_convert.h"
#include "tv/private_profile_win.h"
#include "tv/region_file.h"

namespace brontel {

std::wstring WindowsDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  return std::wstring(buffer, length);
}

ChannelFiles::ChannelFiles(std::wstring windowsDirectory, std::int32_t countryCode)
    : m_windowsDirectory(std::move(windowsDirectory)), m_countryCode(countryCode) {}

ChannelFiles ChannelFiles::InWindowsDirectory(std::int32_t countryCode) {
  return ChannelFiles(WindowsDirectory(), countryCode);
}

std::wstring ChannelFiles::FreqTablePath(FreqTableKind kind) const {
  return JoinWindowsPath(m_windowsDirectory, Widen(FreqTableFileName(kind, m_countryCode)));
}

std::wstring ChannelFiles::RegionFilePath() const {
  return JoinWindowsPath(m_windowsDirectory, Widen(RegionFileName(m_countryCode)));
}

bool ChannelFiles::LoadFreqTables(FreqTables* tables) const {
  const PrivateProfileFile broadcast(FreqTablePath(FreqTableKind::kBroadcast));
  const PrivateProfileFile cable(FreqTablePath(FreqTableKind::kCable));
  return brontel::LoadFreqTables(tables, broadcast, cable);
}

std::vector<std::string> ChannelFiles::LoadRegionStates() const {
  return brontel::LoadRegionStates(PrivateProfileFile(RegionFilePath()));
}

std::vector<std::string> ChannelFiles::LoadRegionCities(std::int32_t stateIndex) const {
  return brontel::LoadRegionCities(PrivateProfileFile(RegionFilePath()), stateIndex);
}

std::vector<std::string> ChannelFiles::LoadRegionStations(std::int32_t stateIndex,
                                                          std::int32_t cityIndex,
                                                          const std::string& noStationItem) const {
  return brontel::LoadRegionStations(PrivateProfileFile(RegionFilePath()), stateIndex, cityIndex,
                                     noStationItem);
}

std::wstring RegisterSettingPath(const std::string& installPath) {
  return JoinWindowsPath(Widen(installPath), Widen(kRegisterSettingFileName));
}

bool WriteCurrentSource(const std::string& installPath, std::int32_t source) {
  const std::wstring path = RegisterSettingPath(installPath);
  // WritePrivateProfileString would create the file; the board library's
  // installer is the one that decides whether it exists.
  if (!FileExists(path)) return false;
  const std::wstring value = std::to_wstring(source);
  return WritePrivateProfileStringW(L"Brontel", L"CurrentSource", value.c_str(), path.c_str()) !=
         FALSE;
}

}  // namespace brontel

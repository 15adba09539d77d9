#pragma once
// Source-tree paths as a Windows program under Wine sees them: Wine maps
// the Unix root to drive Z:.

#include <string>

#include "win32/text_convert.h"

namespace brontel::test {

inline std::wstring UnixToWinePath(const std::string& unixPath) {
  std::wstring path = L"Z:" + Widen(unixPath);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

inline std::wstring FixturePath(const std::string& name) {
  return UnixToWinePath(std::string(BRONTEL_TV_FIXTURE_DIR) + "/" + name);
}

inline std::wstring DataPath(const std::string& name) {
  return UnixToWinePath(std::string(BRONTEL_DATA_DIR) + "/" + name);
}

}  // namespace brontel::test

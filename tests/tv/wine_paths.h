#pragma once
// The tv fixtures and the shipped data files as a Windows program under Wine
// sees them.

#include <string>

#include "support/test_paths_win.h"

namespace brontel::test {

using test_support::UnixToWinePath;

inline std::wstring FixturePath(const std::string& name) {
  return UnixToWinePath(std::string(BRONTEL_TV_FIXTURE_DIR) + "/" + name);
}

inline std::wstring DataPath(const std::string& name) {
  return UnixToWinePath(std::string(BRONTEL_DATA_DIR) + "/" + name);
}

}  // namespace brontel::test

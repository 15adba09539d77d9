#include "tv/private_profile_win.h"

#include "win32/windows_include.h"

#include <vector>

#include "win32/text_convert.h"

namespace brontel {

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PrivateProfileFile::Exists() const {
  return FileExists(m_path);
}

std::string PrivateProfileFile::ReadString(const std::string& section, const std::string& key,
                                           const std::string& fallback,
                                           std::size_t maxChars) const {
  std::vector<wchar_t> buffer(maxChars + 1, L'\0');
  const DWORD length =
      GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(fallback).c_str(),
                               buffer.data(), static_cast<DWORD>(buffer.size()), m_path.c_str());
  return Narrow(std::wstring(buffer.data(), length));
}

std::int32_t PrivateProfileFile::ReadInt(const std::string& section, const std::string& key,
                                         std::int32_t fallback) const {
  return static_cast<std::int32_t>(
      GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(), fallback, m_path.c_str()));
}

}  // namespace brontel

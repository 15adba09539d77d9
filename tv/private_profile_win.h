#pragma once
// An ini file read through the Windows private-profile functions, so that
// the exact profile semantics (letter case, trimming, quotes, Unicode files)
// are the system's own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "tv/ini_source.h"

namespace brontel {

class PrivateProfileFile final : public IniSource {
 public:
  explicit PrivateProfileFile(std::wstring path) : m_path(std::move(path)) {}

  const std::wstring& path() const { return m_path; }

  bool Exists() const override;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback, std::size_t maxChars) const override;
  std::int32_t ReadInt(const std::string& section, const std::string& key,
                       std::int32_t fallback) const override;

 private:
  std::wstring m_path;
};

// Whether a file (not a folder) exists at this path.
bool FileExists(const std::wstring& path);

}  // namespace brontel

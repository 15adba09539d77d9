#pragma once
// Read access to one ini file, with the semantics of the Windows
// private-profile functions: section and key names compare without regard to
// letter case, names and values are trimmed, and a missing key gives the
// caller's default. Texts are UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>

namespace brontel {

class IniSource {
 public:
  virtual ~IniSource() = default;

  // Whether the file exists at all.
  virtual bool Exists() const = 0;
  // The value, cut to at most `maxChars` UTF-16 characters, or `fallback`
  // when the key is missing.
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback, std::size_t maxChars) const = 0;
  // The value's leading decimal number, or `fallback` when the key is missing
  // or its value is empty.
  virtual std::int32_t ReadInt(const std::string& section, const std::string& key,
                               std::int32_t fallback) const = 0;
};

// Values in the channel files are read into buffers of 260 characters.
constexpr std::size_t kIniValueMaxChars = 259;

}  // namespace brontel

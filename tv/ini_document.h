#pragma once
// A portable ini reader with the lookup rules of the Windows private-profile
// functions. It lets the channel-file logic run in native tests; the product
// itself reads through the real profile functions (private_profile_win.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tv/ini_source.h"

namespace brontel {

// Decodes an ini file's bytes to UTF-8: UTF-16LE or UTF-16BE when the file
// starts with the matching byte-order mark, UTF-8 with or without its mark
// otherwise (ANSI text is passed through unchanged).
std::string DecodeIniText(const std::string& bytes);

// Cuts UTF-8 text to at most `maxUnits` UTF-16 code units without splitting a
// character.
std::string TruncateUtf16Units(const std::string& utf8, std::size_t maxUnits);

// The number GetPrivateProfileInt makes of a value: optional sign, then
// decimal digits up to the first other character, wrapping like a 32-bit
// unsigned number.
std::int32_t ParseProfileInt(const std::string& text);

class IniDocument final : public IniSource {
 public:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  // A document that reads as a missing file.
  IniDocument() = default;
  static IniDocument FromBytes(const std::string& bytes);
  // A missing or unreadable file gives a document whose Exists() is false.
  static IniDocument LoadFile(const std::string& path);

  bool Exists() const override { return m_exists; }
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback, std::size_t maxChars) const override;
  std::int32_t ReadInt(const std::string& section, const std::string& key,
                       std::int32_t fallback) const override;

  const std::vector<Section>& sections() const { return m_sections; }

 private:
  const std::string* Find(const std::string& section, const std::string& key) const;

  bool m_exists = false;
  std::vector<Section> m_sections;
};

}  // namespace brontel

#include "tv/ini_document.h"

#include <fstream>
#include <iterator>

#include "app/vocabulary/text_blanks.h"

namespace brontel {
namespace {

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The profile functions drop one pair of matching quotes around a value.
std::string StripQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

void AppendUtf8(std::string* out, std::uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string DecodeUtf16(const std::string& bytes, std::size_t start, bool bigEndian) {
  constexpr std::uint32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(bytes.size());
  auto unitAt = [&](std::size_t i) -> std::uint32_t {
    auto b0 = static_cast<unsigned char>(bytes[i]);
    auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  // A trailing odd byte is not part of any character and is dropped.
  for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      std::uint32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(&out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(&out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
  }
  return out;
}

}  // namespace

std::string DecodeIniText(const std::string& bytes) {
  auto startsWith = [&](const char* mark, std::size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
  };
  if (startsWith("\xEF\xBB\xBF", 3)) return bytes.substr(3);
  if (startsWith("\xFF\xFE", 2)) return DecodeUtf16(bytes, 2, false);
  if (startsWith("\xFE\xFF", 2)) return DecodeUtf16(bytes, 2, true);
  return bytes;
}

std::string TruncateUtf16Units(const std::string& utf8, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC0 ? 2
                                        : 1;
    std::size_t width = length == 4 ? 2 : 1;
    if (units + width > maxUnits || i + length > utf8.size()) break;
    units += width;
    i += length;
  }
  return utf8.substr(0, i);
}

std::int32_t ParseProfileInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

IniDocument IniDocument::FromBytes(const std::string& bytes) {
  IniDocument doc;
  doc.m_exists = true;
  const std::string text = DecodeIniText(bytes);
  Section* current = nullptr;
  std::size_t lineStart = 0;
  while (lineStart <= text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const std::string line = TrimBlanks(text.substr(lineStart, lineEnd - lineStart));
    lineStart = lineEnd + 1;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::size_t close = line.find(']');
      std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      doc.m_sections.push_back(Section{TrimBlanks(name), {}});
      current = &doc.m_sections.back();
      continue;
    }
    // Lines before the first section belong to no section and cannot be read.
    if (!current) continue;
    // A line without "=" is no key: the profile functions give the default.
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    current->entries.push_back(Entry{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))});
  }
  return doc;
}

IniDocument IniDocument::LoadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniDocument();
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return IniDocument();
  return FromBytes(bytes);
}

const std::string* IniDocument::Find(const std::string& section, const std::string& key) const {
  if (!m_exists) return nullptr;
  const std::string wantedSection = TrimBlanks(section);
  const std::string wantedKey = TrimBlanks(key);
  for (const Section& s : m_sections) {
    if (!EqualsNoCase(s.name, wantedSection)) continue;
    for (const Entry& e : s.entries) {
      if (EqualsNoCase(e.key, wantedKey)) return &e.value;
    }
  }
  return nullptr;
}

std::string IniDocument::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback, std::size_t maxChars) const {
  const std::string* value = Find(section, key);
  return TruncateUtf16Units(value ? StripQuotes(*value) : fallback, maxChars);
}

std::int32_t IniDocument::ReadInt(const std::string& section, const std::string& key,
                                  std::int32_t fallback) const {
  const std::string* value = Find(section, key);
  if (!value) return fallback;
  const std::string text = StripQuotes(*value);
  if (text.empty()) return fallback;
  return ParseProfileInt(text);
}

}  // namespace brontel

#include "app/command_line.h"

#include <cstddef>

namespace brontel {
namespace {

constexpr char kLanguageSwitch[] = "l:";
constexpr std::size_t kLanguageDigits = 4;
constexpr char kFullScreenSwitch[] = "/f";
constexpr char kWakeSwitch[] = "/w";
constexpr char kWakeNoticeSwitch[] = "/w:0";
constexpr char kNoWakeNoticeSwitch[] = "/w:1";

struct LanguageEntry {
  int code;
  const char* baseName;
};

constexpr LanguageEntry kLanguages[] = {
    {1010, "BrontelResFrnch"}, {1020, "BrontelResSpain"}, {1030, "BrontelResGermn"},
    {1040, "BrontelResItaly"}, {1050, "BrontelResPortg"}, {1060, "BrontelResChnsm"},
    {1070, "BrontelResChntr"}, {1080, "BrontelResCzech"}, {1090, "BrontelResDansh"},
    {1100, "BrontelResDutch"}, {1110, "BrontelResFinld"}, {1120, "BrontelResFrncn"},
    {1130, "BrontelResGreek"}, {1140, "BrontelResHngry"}, {1150, "BrontelResIndns"},
    {1160, "BrontelResJapan"}, {1170, "BrontelResKorea"}, {1180, "BrontelResNorwg"},
    {1190, "BrontelResPolnd"}, {1200, "BrontelResPorbr"}, {1210, "BrontelResRussn"},
    {1220, "BrontelResSpnbs"}, {1230, "BrontelResSpnct"}, {1240, "BrontelResSwedn"},
    {1250, "BrontelResTurky"}, {1260, "BrontelResHindi"}, {1270, "BrontelResHerbw"},
    {1280, "BrontelResVietm"}, {1290, "BrontelResArabc"}, {1300, "BrontelResLatin"},
};
constexpr char kEnglishBaseName[] = "BrontelResEnglh";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool Contains(const std::string& line, const char* what) {
  return line.find(what) != std::string::npos;
}

// Decimal conversion as the C library's atoi does it: leading blanks, an
// optional sign, then digits up to the first non-digit; nothing readable is 0.
int DecimalPrefix(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int value = 0;  // at most four characters, so no overflow
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::string NormaliseCommandLine(const std::string& line) {
  std::size_t first = 0;
  std::size_t last = line.size();
  while (first < last && IsSpace(line[first])) ++first;
  while (last > first && IsSpace(line[last - 1])) --last;
  std::string result = line.substr(first, last - first);
  for (char& c : result) {
    // Bytes of multibyte characters are left alone.
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

int LanguageCodeFromLine(const std::string& normalisedLine) {
  const std::size_t at = normalisedLine.find(kLanguageSwitch);
  if (at == std::string::npos) return kDefaultLanguageCode;
  const std::string digits =
      normalisedLine.substr(at + sizeof(kLanguageSwitch) - 1, kLanguageDigits);
  const int code = DecimalPrefix(digits);
  return code == 0 ? kDefaultLanguageCode : code;
}

StartOptions ParseCommandLine(const std::string& line) {
  const std::string normalised = NormaliseCommandLine(line);
  StartOptions options;
  options.langCode = LanguageCodeFromLine(normalised);
  options.fullScreenStart = Contains(normalised, kFullScreenSwitch) ? 1 : 0;
  options.wakeStart = Contains(normalised, kWakeSwitch) ? 1 : 0;
  options.wakeNotice = options.wakeStart && Contains(normalised, kWakeNoticeSwitch) &&
                               !Contains(normalised, kNoWakeNoticeSwitch)
                           ? 1
                           : 0;
  return options;
}

const char* LanguageLibraryBaseName(int langCode) {
  for (const LanguageEntry& entry : kLanguages) {
    if (entry.code == langCode) return entry.baseName;
  }
  return kEnglishBaseName;
}

std::string LanguageLibraryFileName(int langCode) {
  return std::string(LanguageLibraryBaseName(langCode)) + ".dll";
}

}  // namespace brontel

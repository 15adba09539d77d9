#include "settings/module_list.h"

#include <cstdio>
#include <cstdlib>

namespace brontel {

std::string FormatFileVersion(bool hasVersion, std::uint32_t mostSignificant,
                              std::uint32_t leastSignificant) {
  if (!hasVersion) return std::string();
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(mostSignificant >> 16),
                static_cast<int>(mostSignificant & 0xFFFF),
                static_cast<int>(leastSignificant >> 16),
                static_cast<int>(leastSignificant & 0xFFFF));
  return text;
}

ModuleRow MakeModuleRow(const std::string& fullPath, const std::string& version,
                        const std::string& none) {
  ModuleRow row;
  const std::size_t cut = fullPath.find_last_of("\\/");
  row.name = cut == std::string::npos ? fullPath : fullPath.substr(cut + 1);
  row.version = version.empty() ? none : version;
  row.path = fullPath.empty() ? none : fullPath;
  return row;
}

std::vector<int> ParseColumnWidths(const std::string& text, int count, int fallback) {
  std::vector<int> widths(static_cast<std::size_t>(count > 0 ? count : 0), fallback);
  const char* cursor = text.c_str();
  for (int& width : widths) {
    char* end = nullptr;
    const long value = std::strtol(cursor, &end, 10);
    if (end == cursor) break;
    if (value > 0 && value < 10000) width = static_cast<int>(value);
    cursor = end;
    if (*cursor != ',') break;
    ++cursor;
  }
  return widths;
}

}  // namespace brontel

#pragma once
// The about page's list of the modules in the program: how a row reads,
// and the column widths of the pages' lists.

#include <cstdint>
#include <string>
#include <vector>

namespace brontel {

// A fixed file version as "major.minor.build.revision", most significant
// part first; empty when the module has no version record.
std::string FormatFileVersion(bool hasVersion, std::uint32_t mostSignificant,
                              std::uint32_t leastSignificant);

struct ModuleRow {
  std::string name;     // the file name
  std::string version;  // or the "none" text
  std::string path;     // folder and name, or the "none" text
};
// The row of a module at `fullPath` (either path separator), with `none`
// in place of an empty version or path.
ModuleRow MakeModuleRow(const std::string& fullPath, const std::string& version,
                        const std::string& none);

// `count` list column widths from a text "w1,w2,w3"; a missing or
// unreadable width is `fallback`.
std::vector<int> ParseColumnWidths(const std::string& text, int count, int fallback);

}  // namespace brontel

#pragma once
// The part of a full command line after the program name, as the C runtime
// splits it, for narrow and wide lines alike. Both programs take their
// arguments this way.

#include <cstddef>
#include <string>

namespace brontel {

// What follows the program name and the blanks after it, untouched: no
// quotes are removed and nothing is split. The program name ends at its
// closing quote when it starts with one (a quoted path may hold blanks),
// else at the first blank or tab.
template <class String>
String ArgumentsAfterProgramNameIn(const String& commandLine) {
  using Char = typename String::value_type;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  if (n > 0 && commandLine[0] == Char('"')) {
    ++i;
    while (i < n && commandLine[i] != Char('"')) ++i;
    if (i < n) ++i;  // the closing quote
  } else {
    while (i < n && commandLine[i] != Char(' ') && commandLine[i] != Char('\t')) ++i;
  }
  while (i < n && (commandLine[i] == Char(' ') || commandLine[i] == Char('\t'))) ++i;
  return commandLine.substr(i);
}

inline std::string ArgumentsAfterProgramName(const std::string& commandLine) {
  return ArgumentsAfterProgramNameIn(commandLine);
}
inline std::wstring ArgumentsAfterProgramName(const std::wstring& commandLine) {
  return ArgumentsAfterProgramNameIn(commandLine);
}

}  // namespace brontel

#pragma once
// The handler's command line: everything after the program name is the path.

#include <string>

namespace brontel {

// What follows the program name and the blanks after it, untouched: no
// quotes are removed and nothing is split. The program name ends at its
// closing quote when it starts with one, else at the first blank or tab.
template <class String>
String PathFromCommandLine(const String& commandLine) {
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

}  // namespace brontel

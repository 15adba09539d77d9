#pragma once
// Blanks as the product's text files and command lines have them: space,
// tab and the line ends. Both the ini reader and the power manager's line
// trim the same way.

#include <cstddef>
#include <string>

namespace brontel {

inline bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

inline std::string TrimBlanks(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace brontel

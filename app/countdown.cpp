#include "app/countdown.h"

namespace brontel {

std::string FormatWithInteger(const std::string& format, long value) {
  std::string result;
  result.reserve(format.size() + 12);
  bool used = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      result += format[i];
      continue;
    }
    const char next = format[i + 1];
    if (next == '%') {
      result += '%';
      ++i;
    } else if (!used && (next == 'd' || next == 'i')) {
      result += std::to_string(value);
      used = true;
      ++i;
    } else if (!used && next == 'l' && i + 2 < format.size() &&
               (format[i + 2] == 'd' || format[i + 2] == 'i')) {
      result += std::to_string(value);
      used = true;
      i += 2;
    } else {
      result += '%';
    }
  }
  return result;
}

}  // namespace brontel

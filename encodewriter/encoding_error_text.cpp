#include "encodewriter/encoding_error_text.h"

#include <cstdio>

namespace encodewriter {

std::string EncodingErrorText(int code, EncodedStream stream) {
  char text[64];
  std::snprintf(text, sizeof(text), "An internal encoding error #%d%c has occurred !\n", code,
                static_cast<char>(stream));
  return text;
}

}  // namespace encodewriter

#pragma once

#include <string>

// The message box shown when the encoder refuses a picture or a sample.
namespace encodewriter {

inline constexpr char kEncodingErrorTitle[] = "Kestrova Driver Error";

enum class EncodedStream : char { kVideo = 'V', kAudio = 'A' };

// "An internal encoding error #<code><V|A> has occurred !" and a line end.
std::string EncodingErrorText(int code, EncodedStream stream);

}  // namespace encodewriter

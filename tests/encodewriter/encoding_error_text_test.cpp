#include <gtest/gtest.h>

#include <climits>

#include "encodewriter/encoding_error_text.h"

namespace encodewriter {
namespace {

TEST(EncodingErrorText, NamesTheCodeAndTheStream) {
  struct Case {
    int code;
    EncodedStream stream;
    const char* text;
  };
  const Case cases[] = {
      {-5, EncodedStream::kVideo, "An internal encoding error #-5V has occurred !\n"},
      {-1, EncodedStream::kAudio, "An internal encoding error #-1A has occurred !\n"},
      // The widest code still fits whole.
      {INT_MIN, EncodedStream::kVideo, "An internal encoding error #-2147483648V has occurred !\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodingErrorText(c.code, c.stream), c.text) << c.code;
  EXPECT_STREQ(kEncodingErrorTitle, "Kestrova Driver Error");
}

}  // namespace
}  // namespace encodewriter

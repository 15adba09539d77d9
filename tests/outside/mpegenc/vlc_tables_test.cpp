#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "outside/mpegenc/vlc_tables.h"

namespace mpegenc {
namespace {

std::string Bits(const Vlc& v) {
  std::string s;
  for (int i = v.bits - 1; i >= 0; --i) s += ((v.code >> i) & 1) ? '1' : '0';
  return s;
}

// No code is a prefix of another, and complete tables fill the code space.
TEST(MpegencVlc, TablesArePrefixFreeAndCompleteWhereTheStandardIs) {
  struct Case {
    const char* table;
    double kraft;  // 0: at most 1
  };
  // coded_block_pattern leaves out only the all-zero 9-bit word.
  for (const Case& c : {Case{"address", 0}, Case{"cbp", 1 - 1.0 / 512}, Case{"motion", 0},
                        Case{"dc_luma", 1}, Case{"dc_chroma", 1}, Case{"mb_type_p", 0},
                        Case{"mb_type_i", 0}, Case{"coefficients", 0}}) {
    const std::vector<Vlc> codes = AllCodes(c.table);
    ASSERT_FALSE(codes.empty()) << c.table;
    double kraft = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
      kraft += std::ldexp(1.0, -codes[i].bits);
      for (size_t j = 0; j < codes.size(); ++j) {
        if (i == j) continue;
        const std::string a = Bits(codes[i]), b = Bits(codes[j]);
        ASSERT_NE(b.compare(0, a.size(), a), 0) << c.table << ": " << a << " prefixes " << b;
      }
    }
    if (c.kraft > 0) {
      EXPECT_DOUBLE_EQ(kraft, c.kraft) << c.table;
    } else {
      EXPECT_LE(kraft, 1.0) << c.table;
    }
  }
}

// Rows as printed in the standard's tables.
TEST(MpegencVlc, CodesMatchTheStandardsRows) {
  EXPECT_EQ(Bits(AddressIncrementCode(1)), "1");
  EXPECT_EQ(Bits(AddressIncrementCode(16)), "0000010111");
  EXPECT_EQ(Bits(AddressIncrementCode(33)), "00000011000");
  EXPECT_EQ(Bits(AddressEscapeCode()), "00000001000");
  EXPECT_EQ(Bits(MacroblockTypeCode(true, kMbForward | kMbPattern)), "1");
  EXPECT_EQ(Bits(MacroblockTypeCode(true, kMbIntra | kMbQuant)), "000001");
  EXPECT_EQ(Bits(MacroblockTypeCode(false, kMbIntra)), "1");
  EXPECT_EQ(Bits(CodedBlockPatternCode(60)), "111");
  EXPECT_EQ(Bits(CodedBlockPatternCode(0)), "000000001");
  EXPECT_EQ(Bits(CodedBlockPatternCode(39)), "000000010");
  EXPECT_EQ(Bits(MotionCode(0)), "1");
  EXPECT_EQ(Bits(MotionCode(-1)), "011");
  EXPECT_EQ(Bits(MotionCode(16)), "00000011000");
  EXPECT_EQ(Bits(DcSizeLumaCode(0)), "100");
  EXPECT_EQ(Bits(DcSizeChromaCode(11)), "1111111111");
  EXPECT_EQ(Bits(CoefficientCode(0, 1)), "11");
  EXPECT_EQ(Bits(CoefficientCode(1, 1)), "011");
  EXPECT_EQ(Bits(CoefficientCode(0, 40)), "000000000010000");
  EXPECT_EQ(Bits(CoefficientCode(31, 1)), "0000000000011011");
  EXPECT_EQ(CoefficientCode(2, 6).bits, 0);  // escape only
  EXPECT_EQ(Bits(EndOfBlockCode()), "10");
  EXPECT_EQ(Bits(CoefficientEscapeCode()), "000001");
}

}  // namespace
}  // namespace mpegenc

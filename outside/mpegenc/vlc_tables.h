#pragma once

#include <cstdint>
#include <vector>

// Variable-length codes of MPEG-2 video, in the order the syntax uses them.
namespace mpegenc {

struct Vlc {
  std::uint32_t code = 0;
  int bits = 0;  // 0: no code for this value
};

// macroblock_address_increment 1..33; the escape adds 33.
const Vlc& AddressIncrementCode(int increment);
const Vlc& AddressEscapeCode();

// macroblock_type in I and P pictures, by flags.
enum MacroblockFlags : unsigned {
  kMbQuant = 1,
  kMbForward = 2,
  kMbPattern = 4,
  kMbIntra = 8,
};
const Vlc& MacroblockTypeCode(bool pPicture, unsigned flags);

// coded_block_pattern 0..63 (4:2:0).
const Vlc& CodedBlockPatternCode(int pattern);

// motion_code -16..16, the sign bit included.
const Vlc& MotionCode(int motionCode);

// dct_dc_size 0..11.
const Vlc& DcSizeLumaCode(int size);
const Vlc& DcSizeChromaCode(int size);

// DCT coefficient table zero (run, |level|), without the sign bit; bits 0
// when the pair has no code and needs the escape. The first coefficient of a
// non-intra block codes (0, 1) as "1s" instead.
const Vlc& CoefficientCode(int run, int absLevel);
const Vlc& EndOfBlockCode();
const Vlc& CoefficientEscapeCode();

// Every code of one table, for checks on the code set as a whole.
std::vector<Vlc> AllCodes(const char* table);

}  // namespace mpegenc

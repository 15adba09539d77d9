#include "outside/mpegenc/vlc_tables.h"

#include <cstring>
#include <string>

namespace mpegenc {
namespace {

Vlc Parse(const char* text) {
  Vlc v;
  for (const char* p = text; *p; ++p) {
    if (*p == '0' || *p == '1') {
      v.code = (v.code << 1) | static_cast<std::uint32_t>(*p - '0');
      ++v.bits;
    }
  }
  return v;
}

const char* const kAddressIncrement[33] = {"1",
                                           "011",
                                           "010",
                                           "0011",
                                           "0010",
                                           "0001 1",
                                           "0001 0",
                                           "0000 111",
                                           "0000 110",
                                           "0000 1011",
                                           "0000 1010",
                                           "0000 1001",
                                           "0000 1000",
                                           "0000 0111",
                                           "0000 0110",
                                           "0000 0101 11",
                                           "0000 0101 10",
                                           "0000 0101 01",
                                           "0000 0101 00",
                                           "0000 0100 11",
                                           "0000 0100 10",
                                           "0000 0100 011",
                                           "0000 0100 010",
                                           "0000 0100 001",
                                           "0000 0100 000",
                                           "0000 0011 111",
                                           "0000 0011 110",
                                           "0000 0011 101",
                                           "0000 0011 100",
                                           "0000 0011 011",
                                           "0000 0011 010",
                                           "0000 0011 001",
                                           "0000 0011 000"};
const char kAddressEscape[] = "0000 0001 000";

// Indexed by the coded_block_pattern value.
const char* const kCodedBlockPattern[64] = {
    "0000 0000 1", "0101 1",      "0100 1",    "0011 01",     "1101",      "0010 111",
    "0010 011",    "0001 1111",   "1100",      "0010 110",    "0010 010",  "0001 1110",
    "1001 1",      "0001 1011",   "0001 0111", "0001 0011",   "1011",      "0010 101",
    "0010 001",    "0001 1101",   "1000 1",    "0001 1001",   "0001 0101", "0001 0001",
    "0011 11",     "0000 1111",   "0000 1101", "0000 0001 1", "0111 1",    "0000 1011",
    "0000 0111",   "0000 0011 1", "1010",      "0010 100",    "0010 000",  "0001 1100",
    "0011 10",     "0000 1110",   "0000 1100", "0000 0001 0", "1000 0",    "0001 1000",
    "0001 0100",   "0001 0000",   "0111 0",    "0000 1010",   "0000 0110", "0000 0011 0",
    "1001 0",      "0001 1010",   "0001 0110", "0001 0010",   "0110 1",    "0000 1001",
    "0000 0101",   "0000 0010 1", "0110 0",    "0000 1000",   "0000 0100", "0000 0010 0",
    "111",         "0101 0",      "0100 0",    "0011 00"};

// |motion_code| 0..16, before the sign bit.
const char* const kMotionCode[17] = {"1",
                                     "01",
                                     "001",
                                     "0001",
                                     "0000 11",
                                     "0000 101",
                                     "0000 100",
                                     "0000 011",
                                     "0000 0101 1",
                                     "0000 0101 0",
                                     "0000 0100 1",
                                     "0000 0100 01",
                                     "0000 0100 00",
                                     "0000 0011 11",
                                     "0000 0011 10",
                                     "0000 0011 01",
                                     "0000 0011 00"};

const char* const kDcSizeLuma[12] = {"100",      "00",        "01",          "101",
                                     "110",      "1110",      "1111 0",      "1111 10",
                                     "1111 110", "1111 1110", "1111 1111 0", "1111 1111 1"};
const char* const kDcSizeChroma[12] = {"00",        "01",          "10",           "110",
                                       "1110",      "1111 0",      "1111 10",      "1111 110",
                                       "1111 1110", "1111 1111 0", "1111 1111 10", "1111 1111 11"};

struct CoefficientEntry {
  int run, level;
  const char* code;  // without the sign bit
};

const CoefficientEntry kCoefficients[] = {
    {0, 1, "11"},
    {1, 1, "011"},
    {0, 2, "0100"},
    {2, 1, "0101"},
    {0, 3, "0010 1"},
    {3, 1, "0011 1"},
    {4, 1, "0011 0"},
    {1, 2, "0001 10"},
    {5, 1, "0001 11"},
    {6, 1, "0001 01"},
    {7, 1, "0001 00"},
    {0, 4, "0000 110"},
    {2, 2, "0000 100"},
    {8, 1, "0000 111"},
    {9, 1, "0000 101"},
    {0, 5, "0010 0110"},
    {0, 6, "0010 0001"},
    {1, 3, "0010 0101"},
    {3, 2, "0010 0100"},
    {10, 1, "0010 0111"},
    {11, 1, "0010 0011"},
    {12, 1, "0010 0010"},
    {13, 1, "0010 0000"},
    {0, 7, "0000 0010 10"},
    {1, 4, "0000 0011 00"},
    {2, 3, "0000 0010 11"},
    {4, 2, "0000 0011 11"},
    {5, 2, "0000 0010 01"},
    {14, 1, "0000 0011 10"},
    {15, 1, "0000 0011 01"},
    {16, 1, "0000 0010 00"},
    {0, 8, "0000 0001 1101"},
    {0, 9, "0000 0001 1000"},
    {0, 10, "0000 0001 0011"},
    {0, 11, "0000 0001 0000"},
    {1, 5, "0000 0001 1011"},
    {2, 4, "0000 0001 0100"},
    {3, 3, "0000 0001 1100"},
    {4, 3, "0000 0001 0010"},
    {6, 2, "0000 0001 1110"},
    {7, 2, "0000 0001 0101"},
    {8, 2, "0000 0001 0001"},
    {17, 1, "0000 0001 1111"},
    {18, 1, "0000 0001 1010"},
    {19, 1, "0000 0001 1001"},
    {20, 1, "0000 0001 0111"},
    {21, 1, "0000 0001 0110"},
    {0, 12, "0000 0000 1101 0"},
    {0, 13, "0000 0000 1100 1"},
    {0, 14, "0000 0000 1100 0"},
    {0, 15, "0000 0000 1011 1"},
    {1, 6, "0000 0000 1011 0"},
    {1, 7, "0000 0000 1010 1"},
    {2, 5, "0000 0000 1010 0"},
    {3, 4, "0000 0000 1001 1"},
    {5, 3, "0000 0000 1001 0"},
    {9, 2, "0000 0000 1000 1"},
    {10, 2, "0000 0000 1000 0"},
    {22, 1, "0000 0000 1111 1"},
    {23, 1, "0000 0000 1111 0"},
    {24, 1, "0000 0000 1110 1"},
    {25, 1, "0000 0000 1110 0"},
    {26, 1, "0000 0000 1101 1"},
    {0, 16, "0000 0000 0111 11"},
    {0, 17, "0000 0000 0111 10"},
    {0, 18, "0000 0000 0111 01"},
    {0, 19, "0000 0000 0111 00"},
    {0, 20, "0000 0000 0110 11"},
    {0, 21, "0000 0000 0110 10"},
    {0, 22, "0000 0000 0110 01"},
    {0, 23, "0000 0000 0110 00"},
    {0, 24, "0000 0000 0101 11"},
    {0, 25, "0000 0000 0101 10"},
    {0, 26, "0000 0000 0101 01"},
    {0, 27, "0000 0000 0101 00"},
    {0, 28, "0000 0000 0100 11"},
    {0, 29, "0000 0000 0100 10"},
    {0, 30, "0000 0000 0100 01"},
    {0, 31, "0000 0000 0100 00"},
    {0, 32, "0000 0000 0011 000"},
    {0, 33, "0000 0000 0010 111"},
    {0, 34, "0000 0000 0010 110"},
    {0, 35, "0000 0000 0010 101"},
    {0, 36, "0000 0000 0010 100"},
    {0, 37, "0000 0000 0010 011"},
    {0, 38, "0000 0000 0010 010"},
    {0, 39, "0000 0000 0010 001"},
    {0, 40, "0000 0000 0010 000"},
    {1, 8, "0000 0000 0011 111"},
    {1, 9, "0000 0000 0011 110"},
    {1, 10, "0000 0000 0011 101"},
    {1, 11, "0000 0000 0011 100"},
    {1, 12, "0000 0000 0011 011"},
    {1, 13, "0000 0000 0011 010"},
    {1, 14, "0000 0000 0011 001"},
    {1, 15, "0000 0000 0001 0011"},
    {1, 16, "0000 0000 0001 0010"},
    {1, 17, "0000 0000 0001 0001"},
    {1, 18, "0000 0000 0001 0000"},
    {6, 3, "0000 0000 0001 0100"},
    {11, 2, "0000 0000 0001 1010"},
    {12, 2, "0000 0000 0001 1001"},
    {13, 2, "0000 0000 0001 1000"},
    {14, 2, "0000 0000 0001 0111"},
    {15, 2, "0000 0000 0001 0110"},
    {16, 2, "0000 0000 0001 0101"},
    {27, 1, "0000 0000 0001 1111"},
    {28, 1, "0000 0000 0001 1110"},
    {29, 1, "0000 0000 0001 1101"},
    {30, 1, "0000 0000 0001 1100"},
    {31, 1, "0000 0000 0001 1011"},
};

constexpr int kMaxRun = 32;
constexpr int kMaxLevel = 41;

struct Tables {
  Vlc address[34];
  Vlc addressEscape;
  Vlc mbTypeI[16];
  Vlc mbTypeP[16];
  Vlc cbp[64];
  Vlc motion[33];
  Vlc dcLuma[12];
  Vlc dcChroma[12];
  Vlc coefficient[kMaxRun][kMaxLevel];
  Vlc eob;
  Vlc escape;

  Tables() {
    for (int i = 0; i < 33; ++i) address[i + 1] = Parse(kAddressIncrement[i]);
    addressEscape = Parse(kAddressEscape);
    mbTypeI[kMbIntra] = Parse("1");
    mbTypeI[kMbIntra | kMbQuant] = Parse("01");
    mbTypeP[kMbForward | kMbPattern] = Parse("1");
    mbTypeP[kMbPattern] = Parse("01");
    mbTypeP[kMbForward] = Parse("001");
    mbTypeP[kMbIntra] = Parse("0001 1");
    mbTypeP[kMbForward | kMbPattern | kMbQuant] = Parse("0001 0");
    mbTypeP[kMbPattern | kMbQuant] = Parse("0000 1");
    mbTypeP[kMbIntra | kMbQuant] = Parse("0000 01");
    for (int i = 0; i < 64; ++i) cbp[i] = Parse(kCodedBlockPattern[i]);
    for (int m = -16; m <= 16; ++m) {
      Vlc v = Parse(kMotionCode[m < 0 ? -m : m]);
      if (m != 0) {
        v.code = (v.code << 1) | (m < 0 ? 1u : 0u);
        ++v.bits;
      }
      motion[m + 16] = v;
    }
    for (int i = 0; i < 12; ++i) {
      dcLuma[i] = Parse(kDcSizeLuma[i]);
      dcChroma[i] = Parse(kDcSizeChroma[i]);
    }
    for (const CoefficientEntry& e : kCoefficients) coefficient[e.run][e.level] = Parse(e.code);
    eob = Parse("10");
    escape = Parse("0000 01");
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

const Vlc kNone{};

}  // namespace

const Vlc& AddressIncrementCode(int increment) {
  return increment >= 1 && increment <= 33 ? TheTables().address[increment] : kNone;
}
const Vlc& AddressEscapeCode() {
  return TheTables().addressEscape;
}

const Vlc& MacroblockTypeCode(bool pPicture, unsigned flags) {
  if (flags >= 16) return kNone;
  return pPicture ? TheTables().mbTypeP[flags] : TheTables().mbTypeI[flags];
}

const Vlc& CodedBlockPatternCode(int pattern) {
  return pattern >= 0 && pattern < 64 ? TheTables().cbp[pattern] : kNone;
}

const Vlc& MotionCode(int motionCode) {
  return motionCode >= -16 && motionCode <= 16 ? TheTables().motion[motionCode + 16] : kNone;
}

const Vlc& DcSizeLumaCode(int size) {
  return size >= 0 && size < 12 ? TheTables().dcLuma[size] : kNone;
}
const Vlc& DcSizeChromaCode(int size) {
  return size >= 0 && size < 12 ? TheTables().dcChroma[size] : kNone;
}

const Vlc& CoefficientCode(int run, int absLevel) {
  if (run < 0 || run >= kMaxRun || absLevel <= 0 || absLevel >= kMaxLevel) return kNone;
  return TheTables().coefficient[run][absLevel];
}
const Vlc& EndOfBlockCode() {
  return TheTables().eob;
}
const Vlc& CoefficientEscapeCode() {
  return TheTables().escape;
}

std::vector<Vlc> AllCodes(const char* table) {
  const Tables& t = TheTables();
  std::vector<Vlc> out;
  const std::string name = table;
  if (name == "address") {
    out.assign(t.address + 1, t.address + 34);
    out.push_back(t.addressEscape);
  } else if (name == "cbp") {
    out.assign(t.cbp, t.cbp + 64);
  } else if (name == "motion") {
    out.assign(t.motion, t.motion + 33);
  } else if (name == "dc_luma") {
    out.assign(t.dcLuma, t.dcLuma + 12);
  } else if (name == "dc_chroma") {
    out.assign(t.dcChroma, t.dcChroma + 12);
  } else if (name == "mb_type_p" || name == "mb_type_i") {
    const Vlc* src = name == "mb_type_p" ? t.mbTypeP : t.mbTypeI;
    for (int i = 0; i < 16; ++i)
      if (src[i].bits) out.push_back(src[i]);
  } else if (name == "coefficients") {
    // Each pair with both signs, plus end of block and escape.
    for (const CoefficientEntry& e : kCoefficients) {
      const Vlc v = t.coefficient[e.run][e.level];
      out.push_back({v.code << 1, v.bits + 1});
      out.push_back({(v.code << 1) | 1u, v.bits + 1});
    }
    out.push_back(t.eob);
    out.push_back(t.escape);
  }
  return out;
}

}  // namespace mpegenc

#include "outside/virtualboard/timeshift/video_decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "outside/mpegenc/block_coding.h"
#include "outside/mpegenc/dct.h"
#include "outside/mpegenc/motion_kernels.h"
#include "outside/mpegenc/video_encoder.h"
#include "outside/mpegenc/vlc_tables.h"

namespace timeshift {
namespace {

using mpegenc::Vlc;

// A prefix-indexed table for one code set: peek maxBits, look up the value
// and the code's length (0: no code starts with these bits).
class VlcTable {
 public:
  struct Entry {
    std::int16_t value = 0;
    std::uint8_t length = 0;
  };

  explicit VlcTable(int maxBits) : maxBits_(maxBits), entries_(std::size_t{1} << maxBits) {}
  void Add(const Vlc& code, int value) {
    if (code.bits == 0 || code.bits > maxBits_) return;
    const std::uint32_t first = code.code << (maxBits_ - code.bits);
    const std::uint32_t count = 1u << (maxBits_ - code.bits);
    for (std::uint32_t i = 0; i < count; ++i)
      entries_[first + i] = {static_cast<std::int16_t>(value),
                             static_cast<std::uint8_t>(code.bits)};
  }
  int MaxBits() const { return maxBits_; }
  const Entry& operator[](std::uint32_t prefix) const { return entries_[prefix]; }

 private:
  int maxBits_;
  std::vector<Entry> entries_;
};

constexpr int kCoefficientEob = 64;
constexpr int kCoefficientEscape = 65;

struct DecodeTables {
  VlcTable address{11}, mbTypeI{2}, mbTypeP{6}, cbp{9}, motion{11}, dcLuma{9}, dcChroma{10};
  // Value: run * 64 + level, or the two markers above times 64.
  VlcTable coefficient{16};

  DecodeTables() {
    for (int i = 1; i <= 33; ++i) address.Add(mpegenc::AddressIncrementCode(i), i);
    address.Add(mpegenc::AddressEscapeCode(), 0);
    for (unsigned flags = 0; flags < 16; ++flags) {
      mbTypeI.Add(mpegenc::MacroblockTypeCode(false, flags), static_cast<int>(flags));
      mbTypeP.Add(mpegenc::MacroblockTypeCode(true, flags), static_cast<int>(flags));
    }
    for (int i = 0; i < 64; ++i) cbp.Add(mpegenc::CodedBlockPatternCode(i), i);
    for (int m = -16; m <= 16; ++m) motion.Add(mpegenc::MotionCode(m), m);
    for (int s = 0; s < 12; ++s) {
      dcLuma.Add(mpegenc::DcSizeLumaCode(s), s);
      dcChroma.Add(mpegenc::DcSizeChromaCode(s), s);
    }
    for (int run = 0; run < 32; ++run)
      for (int level = 1; level <= 40; ++level)
        coefficient.Add(mpegenc::CoefficientCode(run, level), run * 64 + level);
    coefficient.Add(mpegenc::EndOfBlockCode(), kCoefficientEob * 64);
    coefficient.Add(mpegenc::CoefficientEscapeCode(), kCoefficientEscape * 64);
  }
};

const DecodeTables& Tables() {
  static const DecodeTables tables;
  return tables;
}

inline std::uint8_t ClampPixel(int v) {
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Luma lines of block b in a macroblock: frame DCT takes 8 consecutive
// lines, field DCT every other line of one field.
inline int BlockLine(int block, int i, bool fieldDct) {
  return fieldDct ? (block >> 1) + 2 * i : (block >> 1) * 8 + i;
}

struct Vector {
  int x = 0, y = 0;  // half samples
};

}  // namespace

// Most-significant-bit-first reader; reads past the end give zeros and mark
// the reader as overrun.
class VideoDecoder::Bits {
 public:
  Bits(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint32_t Peek(int n) const {  // n <= 32
    std::uint64_t v = 0;
    const std::size_t byte = pos_ >> 3;
    for (std::size_t i = 0; i < 5; ++i) v = (v << 8) | (byte + i < size_ ? data_[byte + i] : 0u);
    v <<= 24 + (pos_ & 7);  // the wanted bits now start at bit 63
    return static_cast<std::uint32_t>(v >> (64 - n));
  }
  void Skip(int n) { pos_ += static_cast<std::size_t>(n); }
  std::uint32_t Get(int n) {
    const std::uint32_t v = Peek(n);
    Skip(n);
    return v;
  }
  bool Overrun() const { return pos_ > size_ * 8; }
  // Next start code at or after the byte boundary: its code byte, or -1.
  int NextStartCode() {
    std::size_t byte = (pos_ + 7) >> 3;
    for (; byte + 3 < size_; ++byte) {
      if (data_[byte] == 0 && data_[byte + 1] == 0 && data_[byte + 2] == 1) {
        pos_ = (byte + 4) * 8;
        return data_[byte + 3];
      }
    }
    pos_ = size_ * 8;
    return -1;
  }
  // 23 zero bits: the macroblocks of the slice have ended.
  bool AtStartCode() const { return Peek(23) == 0; }
  int Decode(const VlcTable& table) {
    const VlcTable::Entry& e = table[Peek(table.MaxBits())];
    if (e.length == 0) return -1;
    Skip(e.length);
    return e.value;
  }
  bool DecodeEntry(const VlcTable& table, int* value) {
    const VlcTable::Entry& e = table[Peek(table.MaxBits())];
    if (e.length == 0) return false;
    Skip(e.length);
    *value = e.value;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

DecodeResult VideoDecoder::Fail(DecodeResult result, const char* reason) {
  error_ = reason;
  haveReference_ = false;
  return result;
}

DecodeResult VideoDecoder::ParseSequence(Bits& bits) {
  const int width = static_cast<int>(bits.Get(12));
  const int height = static_cast<int>(bits.Get(12));
  bits.Skip(4);  // aspect ratio
  const double rate = mpegenc::FrameRateOfCode(static_cast<int>(bits.Get(4)));
  bits.Skip(18 + 1 + 10 + 1);  // bit rate, marker, buffer size, constrained flag
  if (bits.Get(1) || bits.Get(1)) return Fail(DecodeResult::kUnsupported, "quantiser matrices");
  if (width <= 0 || height <= 0 || width > 1920 || height > 1152 || rate == 0)
    return Fail(DecodeResult::kUnsupported, "picture size or frame rate");
  if (width != width_ || height != height_) {
    width_ = width;
    height_ = height;
    // Interlaced frame pictures: whole macroblocks, and pairs of them
    // vertically so that each field has whole macroblocks too.
    const int paddedWidth = (width + 15) / 16 * 16;
    const int paddedHeight = (height + 31) / 32 * 32;
    mbWidth_ = paddedWidth / 16;
    mbHeight_ = paddedHeight / 16;
    current_.Allocate(paddedWidth, paddedHeight);
    reference_.Allocate(paddedWidth, paddedHeight);
    haveReference_ = false;
  }
  frameRate_ = rate;
  haveSequence_ = true;
  return DecodeResult::kPicture;
}

DecodeResult VideoDecoder::ParseSequenceExtension(Bits& bits) {
  bits.Skip(8 + 1);  // profile and level, progressive_sequence
  if (bits.Get(2) != 1) return Fail(DecodeResult::kUnsupported, "chroma format other than 4:2:0");
  if (bits.Get(2) || bits.Get(2)) return Fail(DecodeResult::kUnsupported, "picture size");
  return DecodeResult::kPicture;
}

DecodeResult VideoDecoder::ParsePictureExtension(Bits& bits, PictureHeader* header) {
  const int fx = static_cast<int>(bits.Get(4));
  const int fy = static_cast<int>(bits.Get(4));
  bits.Skip(8);  // backward codes
  if (bits.Get(2) != 0) return Fail(DecodeResult::kUnsupported, "intra DC precision");
  if (bits.Get(2) != 3) return Fail(DecodeResult::kUnsupported, "field pictures");
  bits.Skip(1);  // top_field_first
  header->framePredFrameDct = bits.Get(1) != 0;
  if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "concealment vectors");
  if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "non-linear quantiser scale");
  if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "intra VLC table one");
  if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "alternate scan");
  if (!header->intra) {
    if (fx != fy || fx < 1 || fx > 9)
      return Fail(DecodeResult::kUnsupported, "motion vector range");
    header->fCode = fx;
  }
  return DecodeResult::kPicture;
}

DecodeResult VideoDecoder::Decode(const std::uint8_t* data, std::size_t size) {
  error_.clear();
  Bits bits(data, size);
  PictureHeader header;
  bool havePicture = false, haveExtension = false;
  std::vector<bool> rowsDone;
  int code;
  while ((code = bits.NextStartCode()) >= 0) {
    DecodeResult r = DecodeResult::kPicture;
    if (code == 0xB3) {
      r = ParseSequence(bits);
    } else if (code == 0xB5) {
      const std::uint32_t id = bits.Get(4);
      if (id == 1) {
        r = ParseSequenceExtension(bits);
      } else if (id == 8) {
        if (!havePicture) return Fail(DecodeResult::kCorrupt, "picture extension out of place");
        r = ParsePictureExtension(bits, &header);
        haveExtension = true;
      }
    } else if (code == 0x00) {
      if (havePicture) return Fail(DecodeResult::kCorrupt, "two pictures in one unit");
      bits.Skip(10);  // temporal reference
      const std::uint32_t type = bits.Get(3);
      bits.Skip(16);  // vbv_delay
      if (type != 1 && type != 2) return Fail(DecodeResult::kUnsupported, "B or D pictures");
      header.intra = type == 1;
      if (!header.intra) {
        if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "full-sample vectors");
        bits.Skip(3);
      }
      while (bits.Get(1)) bits.Skip(8);  // extra information
      if (!haveSequence_ || (!header.intra && !haveReference_)) return DecodeResult::kWaitForIntra;
      havePicture = true;
      rowsDone.assign(static_cast<std::size_t>(mbHeight_), false);
    } else if (code >= 0x01 && code <= 0xAF) {
      if (!havePicture || !haveExtension)
        return Fail(haveSequence_ ? DecodeResult::kUnsupported : DecodeResult::kCorrupt,
                    "slices without an MPEG-2 picture header");
      const int row = code - 1;
      if (row >= mbHeight_ || rowsDone[static_cast<std::size_t>(row)])
        return Fail(DecodeResult::kCorrupt, "slice row");
      r = DecodeSlice(bits, row, header);
      rowsDone[static_cast<std::size_t>(row)] = true;
    }
    if (r != DecodeResult::kPicture) return r;
    if (bits.Overrun()) return Fail(DecodeResult::kCorrupt, "truncated picture");
  }
  if (!havePicture) return Fail(DecodeResult::kCorrupt, "no picture");
  if (std::find(rowsDone.begin(), rowsDone.end(), false) != rowsDone.end())
    return Fail(DecodeResult::kCorrupt, "missing slices");
  std::swap(current_, reference_);
  haveReference_ = true;
  lastIntra_ = header.intra;
  return DecodeResult::kPicture;
}

DecodeResult VideoDecoder::DecodeSlice(Bits& bits, int row, const PictureHeader& header) {
  const DecodeTables& t = Tables();
  const mpegenc::DctPath dctPath = mpegenc::FastestDctPath();
  const mpegenc::MotionPath motionPath = mpegenc::FastestMotionPath();
  const std::uint8_t* zigzag = mpegenc::ZigZagOrder();
  const int stride = current_.width, cstride = current_.width / 2;
  const int width = current_.width, height = current_.height;

  int quantCode = static_cast<int>(bits.Get(5));
  if (bits.Get(1)) return Fail(DecodeResult::kUnsupported, "slice extra information");
  if (quantCode == 0) return Fail(DecodeResult::kCorrupt, "quantiser scale 0");
  int dcPredictor[3] = {128, 128, 128};
  Vector pmv;
  int mbx = -1;

  auto copySkipped = [&](int x) {
    const int x0 = x * 16, y0 = row * 16;
    for (int y = 0; y < 16; ++y)
      std::memcpy(&current_.y[static_cast<std::size_t>((y0 + y) * stride + x0)],
                  &reference_.y[static_cast<std::size_t>((y0 + y) * stride + x0)], 16);
    for (int y = 0; y < 8; ++y) {
      const std::size_t o = static_cast<std::size_t>((y0 / 2 + y) * cstride + x0 / 2);
      std::memcpy(&current_.cb[o], &reference_.cb[o], 8);
      std::memcpy(&current_.cr[o], &reference_.cr[o], 8);
    }
  };

  while (!bits.AtStartCode()) {
    int increment = 0;
    for (;;) {
      const int v = bits.Decode(t.address);
      if (v < 0) return Fail(DecodeResult::kCorrupt, "macroblock address");
      if (v == 0) {
        increment += 33;
        continue;
      }
      increment += v;
      break;
    }
    if (mbx + increment >= mbWidth_) return Fail(DecodeResult::kCorrupt, "macroblock address");
    if (increment > 1) {
      if (header.intra) return Fail(DecodeResult::kCorrupt, "skipped macroblock in an I picture");
      if (mbx < 0) return Fail(DecodeResult::kCorrupt, "skipped first macroblock");
      for (int x = mbx + 1; x < mbx + increment; ++x) copySkipped(x);
      dcPredictor[0] = dcPredictor[1] = dcPredictor[2] = 128;
      pmv = {};
    }
    mbx += increment;

    const int flagsValue = bits.Decode(header.intra ? t.mbTypeI : t.mbTypeP);
    if (flagsValue < 0) return Fail(DecodeResult::kCorrupt, "macroblock type");
    const unsigned flags = static_cast<unsigned>(flagsValue);
    const bool intra = flags & mpegenc::kMbIntra;
    const bool forward = flags & mpegenc::kMbForward;
    const bool pattern = flags & mpegenc::kMbPattern;
    if (forward && !header.framePredFrameDct && bits.Get(2) != 2)
      return Fail(DecodeResult::kUnsupported, "field or dual-prime prediction");
    bool fieldDct = false;
    if (!header.framePredFrameDct && (intra || pattern)) fieldDct = bits.Get(1) != 0;
    if (flags & mpegenc::kMbQuant) {
      quantCode = static_cast<int>(bits.Get(5));
      if (quantCode == 0) return Fail(DecodeResult::kCorrupt, "quantiser scale 0");
    }

    Vector mv;
    if (forward) {
      const int rSize = header.fCode - 1, f = 1 << rSize;
      const int low = -16 * f, high = 16 * f - 1, range = 32 * f;
      int* component[2] = {&mv.x, &mv.y};
      const int predictor[2] = {pmv.x, pmv.y};
      for (int c = 0; c < 2; ++c) {
        int motionCode;
        if (!bits.DecodeEntry(t.motion, &motionCode))
          return Fail(DecodeResult::kCorrupt, "motion code");
        int delta = motionCode;
        if (f != 1 && motionCode != 0) {
          const int residual = static_cast<int>(bits.Get(rSize));
          delta = (std::abs(motionCode) - 1) * f + residual + 1;
          if (motionCode < 0) delta = -delta;
        }
        int v = predictor[c] + delta;
        if (v < low) v += range;
        if (v > high) v -= range;
        *component[c] = v;
      }
      pmv = mv;
    } else {
      pmv = {};  // intra and no-motion macroblocks reset the predictors
    }
    if (!intra) dcPredictor[0] = dcPredictor[1] = dcPredictor[2] = 128;

    int cbp = 0;
    if (intra) {
      cbp = 63;
    } else if (pattern) {
      cbp = bits.Decode(t.cbp);
      if (cbp < 0) return Fail(DecodeResult::kCorrupt, "coded block pattern");
    }

    const int x0 = mbx * 16, y0 = row * 16;
    alignas(16) std::uint8_t predY[256];
    alignas(16) std::uint8_t predC[2][64];
    if (!intra) {
      const int lx = x0 + (mv.x >> 1), ly = y0 + (mv.y >> 1);
      const int cx = mv.x / 2, cy = mv.y / 2;  // chroma vectors truncate toward zero
      const int chx = x0 / 2 + (cx >> 1), chy = y0 / 2 + (cy >> 1);
      if (lx < 0 || ly < 0 || lx + 16 + (mv.x & 1) > width || ly + 16 + (mv.y & 1) > height ||
          chx < 0 || chy < 0 || chx + 8 + (cx & 1) > width / 2 || chy + 8 + (cy & 1) > height / 2)
        return Fail(DecodeResult::kCorrupt, "motion vector outside the picture");
      mpegenc::PredictLuma16(motionPath, &reference_.y[static_cast<std::size_t>(ly * stride + lx)],
                             stride, mv.x & 1, mv.y & 1, predY);
      const std::size_t offset = static_cast<std::size_t>(chy * cstride + chx);
      mpegenc::PredictBlockReference(&reference_.cb[offset], cstride, cx & 1, cy & 1, 8, 8,
                                     predC[0]);
      mpegenc::PredictBlockReference(&reference_.cr[offset], cstride, cx & 1, cy & 1, 8, 8,
                                     predC[1]);
    }

    alignas(16) std::int16_t levels[64], coeffs[64], recon[64];
    for (int b = 0; b < 6; ++b) {
      const bool coded = cbp & (1 << (5 - b));
      if (coded) {
        std::memset(levels, 0, sizeof levels);
        int i = 0;
        if (intra) {
          const int component = b < 4 ? 0 : b - 3;
          const int sizeValue = bits.Decode(component == 0 ? t.dcLuma : t.dcChroma);
          if (sizeValue < 0) return Fail(DecodeResult::kCorrupt, "DC size");
          int diff = 0;
          if (sizeValue > 0) {
            const int v = static_cast<int>(bits.Get(sizeValue));
            diff = v < (1 << (sizeValue - 1)) ? v - (1 << sizeValue) + 1 : v;
          }
          const int dc = dcPredictor[component] + diff;
          if (dc < 0 || dc > 255) return Fail(DecodeResult::kCorrupt, "DC value");
          dcPredictor[component] = dc;
          levels[0] = static_cast<std::int16_t>(dc);
          i = 1;
        }
        bool first = !intra;
        for (;;) {
          int run, level;
          if (first && bits.Peek(1)) {
            bits.Skip(1);
            run = 0;
            level = bits.Get(1) ? -1 : 1;
          } else {
            int value;
            if (!bits.DecodeEntry(t.coefficient, &value))
              return Fail(DecodeResult::kCorrupt, "DCT coefficient");
            run = value / 64;
            if (run == kCoefficientEob) break;
            if (run == kCoefficientEscape) {
              run = static_cast<int>(bits.Get(6));
              level = static_cast<int>(bits.Get(12));
              if (level >= 2048) level -= 4096;
              if (level == 0 || level == -2048) return Fail(DecodeResult::kCorrupt, "escape level");
            } else {
              level = value % 64;
              if (bits.Get(1)) level = -level;
            }
          }
          first = false;
          i += run;
          if (i > 63) return Fail(DecodeResult::kCorrupt, "coefficient run");
          levels[zigzag[i]] = static_cast<std::int16_t>(level);
          ++i;
          if (bits.Overrun()) return Fail(DecodeResult::kCorrupt, "truncated block");
        }
        mpegenc::Dequantise(levels, intra, 2 * quantCode, coeffs);
        mpegenc::InverseDct(dctPath, coeffs, recon);
      } else {
        std::memset(recon, 0, sizeof recon);
      }

      std::uint8_t* out;
      int outStride;
      if (b < 4) {
        outStride = fieldDct ? 2 * stride : stride;
        out = &current_.y[static_cast<std::size_t>((y0 + BlockLine(b, 0, fieldDct)) * stride + x0 +
                                                   (b & 1) * 8)];
      } else {
        outStride = cstride;
        out = &(b == 4 ? current_.cb
                       : current_.cr)[static_cast<std::size_t>((y0 / 2) * cstride + x0 / 2)];
      }
      for (int y = 0; y < 8; ++y) {
        std::uint8_t* o = out + y * outStride;
        const std::int16_t* r = recon + 8 * y;
        if (intra) {
          for (int x = 0; x < 8; ++x) o[x] = ClampPixel(r[x]);
          continue;
        }
        const std::uint8_t* p =
            b < 4 ? predY + 16 * BlockLine(b, y, fieldDct) + (b & 1) * 8 : predC[b - 4] + 8 * y;
        for (int x = 0; x < 8; ++x) o[x] = ClampPixel(p[x] + r[x]);
      }
    }
    if (bits.Overrun()) return Fail(DecodeResult::kCorrupt, "truncated slice");
  }
  if (mbx != mbWidth_ - 1) return Fail(DecodeResult::kCorrupt, "slice ends early");
  return DecodeResult::kPicture;
}

}  // namespace timeshift

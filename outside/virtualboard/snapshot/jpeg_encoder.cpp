// Baseline sequential JPEG in a JFIF file: three components, luma at full
// resolution and both chroma components at half in each direction, one
// interleaved scan, the standard Huffman tables.

#include <algorithm>
#include <array>
#include <cstddef>

#include "outside/mpegenc/bit_writer.h"
#include "outside/mpegenc/dct.h"
#include "outside/virtualboard/snapshot/image_encoders.h"

namespace brontel::snapshot {
namespace {

using Block = std::array<std::int16_t, 64>;

// Index into a row-major 8x8 block of each coefficient in zigzag order.
constexpr std::uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The example tables of the JPEG standard, row-major; they are tuned to
// what the eye notices and are what every decoder's quality scale means.
constexpr std::uint8_t kLumaQuant[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::uint8_t kChromaQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Huffman tables as a JPEG file carries them: code counts per length 1-16,
// then the symbols in code order.
struct HuffmanTableData {
  std::uint8_t counts[16];
  const std::uint8_t* symbols;
  int symbolCount;
};

constexpr std::uint8_t kDcSymbols[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr std::uint8_t kLumaAcSymbols[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
constexpr std::uint8_t kChromaAcSymbols[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
    0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
    0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
    0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
    0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
    0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

constexpr HuffmanTableData kLumaDc = {{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, kDcSymbols, 12};
constexpr HuffmanTableData kChromaDc = {
    {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, kDcSymbols, 12};
constexpr HuffmanTableData kLumaAc = {
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d}, kLumaAcSymbols, 162};
constexpr HuffmanTableData kChromaAc = {
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}, kChromaAcSymbols, 162};

// Code and length by symbol, made from a table's counts.
struct HuffmanCodes {
  std::uint16_t code[256] = {};
  std::uint8_t length[256] = {};

  explicit HuffmanCodes(const HuffmanTableData& table) {
    std::uint32_t next = 0;
    int k = 0;
    for (int bits = 1; bits <= 16; ++bits) {
      for (int i = 0; i < table.counts[bits - 1]; ++i, ++k) {
        code[table.symbols[k]] = static_cast<std::uint16_t>(next++);
        length[table.symbols[k]] = static_cast<std::uint8_t>(bits);
      }
      next <<= 1;
    }
  }
};

// The quantiser steps of one table at one quality, row-major.
std::array<std::uint16_t, 64> ScaledTable(const std::uint8_t base[64], int quality) {
  quality = std::clamp(quality, kJpegQualityLowest, kJpegQualityHighest);
  const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  std::array<std::uint16_t, 64> table{};
  for (int i = 0; i < 64; ++i)
    // Baseline files carry 8-bit steps.
    table[static_cast<std::size_t>(i)] =
        static_cast<std::uint16_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
  return table;
}

// Id, sampling factors and table number of each component.
constexpr int kComponentY[3] = {1, 0x22, 0};
constexpr int kComponentCb[3] = {2, 0x11, 1};
constexpr int kComponentCr[3] = {3, 0x11, 1};

class JpegWriter {
 public:
  explicit JpegWriter(std::vector<std::uint8_t>* out) : out_(*out) {}

  void Marker(std::uint8_t code) {
    out_.push_back(0xFF);
    out_.push_back(code);
  }
  void Put8(int v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void Put16(int v) {
    Put8(v >> 8);
    Put8(v & 0xFF);
  }

  void Jfif() {
    Marker(0xE0);
    Put16(16);
    for (char c : {'J', 'F', 'I', 'F', '\0'}) Put8(c);
    Put16(0x0101);  // version 1.01
    Put8(0);        // no unit: the density is an aspect ratio
    Put16(1);
    Put16(1);
    Put8(0);  // no thumbnail
    Put8(0);
  }

  void QuantTable(int id, const std::array<std::uint16_t, 64>& table) {
    Marker(0xDB);
    Put16(2 + 65);
    Put8(id);
    for (int k = 0; k < 64; ++k) Put8(table[kZigzag[k]]);
  }

  void FrameHeader(int width, int height) {
    Marker(0xC0);
    Put16(8 + 3 * 3);
    Put8(8);
    Put16(height);
    Put16(width);
    Put8(3);
    // Component id, sampling factors, quantisation table: Y at 2x2, Cb, Cr.
    for (const int* c : {kComponentY, kComponentCb, kComponentCr}) {
      Put8(c[0]);
      Put8(c[1]);
      Put8(c[2]);
    }
  }

  void HuffmanTable(int classAndId, const HuffmanTableData& table) {
    Marker(0xC4);
    Put16(2 + 1 + 16 + table.symbolCount);
    Put8(classAndId);
    for (int i = 0; i < 16; ++i) Put8(table.counts[i]);
    for (int i = 0; i < table.symbolCount; ++i) Put8(table.symbols[i]);
  }

  void ScanHeader() {
    Marker(0xDA);
    Put16(6 + 2 * 3);
    Put8(3);
    // Component id, then its DC and AC Huffman tables: 0 for Y, 1 for colour.
    for (const int* c : {kComponentY, kComponentCb, kComponentCr}) {
      Put8(c[0]);
      Put8(c[2] * 0x11);
    }
    Put8(0);   // first coefficient
    Put8(63);  // last coefficient
    Put8(0);   // no successive approximation
  }

  // Entropy-coded bytes, with a zero after every 0xFF so that no marker
  // appears inside them.
  void StuffedData(const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
      out_.push_back(b);
      if (b == 0xFF) out_.push_back(0);
    }
  }

 private:
  std::vector<std::uint8_t>& out_;
};

// Bits needed for the magnitude of v (the JPEG "category").
int Category(int v) {
  if (v < 0) v = -v;
  int bits = 0;
  while (v) {
    ++bits;
    v >>= 1;
  }
  return bits;
}

class BlockCoder {
 public:
  BlockCoder(mpegenc::BitWriter* bits, mpegenc::DctPath path) : bits_(*bits), path_(path) {}

  void Code(const Block& samples, const std::array<std::uint16_t, 64>& steps,
            const HuffmanCodes& dc, const HuffmanCodes& ac, int* previousDc) {
    std::int16_t coefficients[64];
    mpegenc::ForwardDct(path_, samples.data(), coefficients);
    int quantised[64];
    for (int i = 0; i < 64; ++i) {
      const int c = coefficients[i];
      const int q = steps[static_cast<std::size_t>(i)];
      quantised[i] = c >= 0 ? (c + q / 2) / q : -((-c + q / 2) / q);
    }
    const int diff = quantised[0] - *previousDc;
    *previousDc = quantised[0];
    PutValue(dc, Category(diff), diff);
    int run = 0;
    for (int k = 1; k < 64; ++k) {
      const int v = quantised[kZigzag[k]];
      if (v == 0) {
        ++run;
        continue;
      }
      while (run > 15) {
        PutSymbol(ac, 0xF0);  // sixteen zeros
        run -= 16;
      }
      const int size = Category(v);
      PutValue(ac, (run << 4) | size, v, size);
      run = 0;
    }
    if (run > 0) PutSymbol(ac, 0x00);  // end of block
  }

 private:
  void PutSymbol(const HuffmanCodes& codes, int symbol) {
    bits_.Put(codes.code[symbol], codes.length[symbol]);
  }
  // A symbol followed by the value's low bits (one less for a negative value).
  void PutValue(const HuffmanCodes& codes, int symbol, int value, int size = -1) {
    if (size < 0) size = symbol;
    PutSymbol(codes, symbol);
    if (size > 0) {
      const int extra = value < 0 ? value + (1 << size) - 1 : value;
      bits_.Put(static_cast<std::uint32_t>(extra), size);
    }
  }

  mpegenc::BitWriter& bits_;
  mpegenc::DctPath path_;
};

// Full-range YCbCr as JFIF defines it, in 16-bit fixed point.
struct YccPlanes {
  int width, height;  // padded to whole 16x16 macroblocks
  std::vector<std::uint8_t> y, cb, cr;
};

YccPlanes ToYcc(const Image& image) {
  YccPlanes p;
  p.width = (image.width + 15) & ~15;
  p.height = (image.height + 15) & ~15;
  const std::size_t n = static_cast<std::size_t>(p.width) * p.height;
  p.y.resize(n);
  p.cb.resize(n);
  p.cr.resize(n);
  for (int row = 0; row < p.height; ++row) {
    // The edge pixels repeat into the padding, which keeps the last blocks
    // smooth and cheap to code.
    const int sy = std::min(row, image.height - 1);
    for (int col = 0; col < p.width; ++col) {
      const int sx = std::min(col, image.width - 1);
      const std::uint8_t* px =
          image.bgr.data() + (static_cast<std::size_t>(sy) * image.width + sx) * 3;
      const int b = px[0], g = px[1], r = px[2];
      const std::size_t i = static_cast<std::size_t>(row) * p.width + col;
      p.y[i] = static_cast<std::uint8_t>((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
      p.cb[i] = static_cast<std::uint8_t>(
          std::clamp((-11059 * r - 21709 * g + 32768 * b + (128 << 16) + 32768) >> 16, 0, 255));
      p.cr[i] = static_cast<std::uint8_t>(
          std::clamp((32768 * r - 27439 * g - 5329 * b + (128 << 16) + 32768) >> 16, 0, 255));
    }
  }
  return p;
}

Block LumaBlock(const YccPlanes& p, int x0, int y0) {
  Block block;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      block[static_cast<std::size_t>(8 * y + x)] =
          static_cast<std::int16_t>(p.y[static_cast<std::size_t>(y0 + y) * p.width + x0 + x] - 128);
  return block;
}

// One 8x8 chroma block for the 16x16 macroblock at (x0, y0): each sample
// the mean of four.
Block ChromaBlock(const std::vector<std::uint8_t>& plane, int width, int x0, int y0) {
  Block block;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const std::size_t i = static_cast<std::size_t>(y0 + 2 * y) * width + x0 + 2 * x;
      const int sum = plane[i] + plane[i + 1] + plane[i + width] + plane[i + width + 1];
      block[static_cast<std::size_t>(8 * y + x)] = static_cast<std::int16_t>((sum + 2) / 4 - 128);
    }
  return block;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
  if (image.Empty() || ImageSizeProblem(image.width, image.height) ||
      image.bgr.size() != static_cast<std::size_t>(image.width) * image.height * 3)
    return {};
  const auto lumaSteps = ScaledTable(kLumaQuant, quality);
  const auto chromaSteps = ScaledTable(kChromaQuant, quality);
  static const HuffmanCodes lumaDc(kLumaDc), lumaAc(kLumaAc), chromaDc(kChromaDc),
      chromaAc(kChromaAc);

  const YccPlanes planes = ToYcc(image);
  mpegenc::BitWriter bits;
  BlockCoder coder(&bits, mpegenc::FastestDctPath());
  int dcY = 0, dcCb = 0, dcCr = 0;
  for (int my = 0; my < planes.height; my += 16)
    for (int mx = 0; mx < planes.width; mx += 16) {
      coder.Code(LumaBlock(planes, mx, my), lumaSteps, lumaDc, lumaAc, &dcY);
      coder.Code(LumaBlock(planes, mx + 8, my), lumaSteps, lumaDc, lumaAc, &dcY);
      coder.Code(LumaBlock(planes, mx, my + 8), lumaSteps, lumaDc, lumaAc, &dcY);
      coder.Code(LumaBlock(planes, mx + 8, my + 8), lumaSteps, lumaDc, lumaAc, &dcY);
      coder.Code(ChromaBlock(planes.cb, planes.width, mx, my), chromaSteps, chromaDc, chromaAc,
                 &dcCb);
      coder.Code(ChromaBlock(planes.cr, planes.width, mx, my), chromaSteps, chromaDc, chromaAc,
                 &dcCr);
    }
  // The scan ends on a byte boundary, padded with one bits.
  const int spare = static_cast<int>(bits.BitCount() % 8);
  if (spare) bits.Put((1u << (8 - spare)) - 1u, 8 - spare);

  std::vector<std::uint8_t> out;
  out.reserve(bits.Bytes().size() + 1024);
  JpegWriter writer(&out);
  writer.Marker(0xD8);
  writer.Jfif();
  writer.QuantTable(0, lumaSteps);
  writer.QuantTable(1, chromaSteps);
  writer.FrameHeader(image.width, image.height);
  writer.HuffmanTable(0x00, kLumaDc);
  writer.HuffmanTable(0x10, kLumaAc);
  writer.HuffmanTable(0x01, kChromaDc);
  writer.HuffmanTable(0x11, kChromaAc);
  writer.ScanHeader();
  writer.StuffedData(bits.Bytes());
  writer.Marker(0xD9);
  return out;
}

}  // namespace brontel::snapshot

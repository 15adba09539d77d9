#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegenc {

enum class PictureFormat { kYuy2, kUyvy, kYvyu, kI420, kYv12, kRgb24 };

// The picture formats of the video input that the encoder reads, from a
// bitmap header's compression code and bit count; false for any other.
bool PictureFormatFromBitmap(std::uint32_t compression, int bitCount, PictureFormat* format);

struct PictureLayout {
  PictureFormat format = PictureFormat::kYuy2;
  int width = 0;
  int height = 0;
  bool bottomUp = false;  // RGB24 with a positive bitmap height

  // Bytes of one input frame (rows padded as a bitmap pads them).
  std::size_t FrameBytes() const;
};

// A 4:2:0 picture whose size is padded to whole macroblocks; interlaced
// frame pictures need the height in multiples of 32 lines.
struct Frame420 {
  int width = 0;  // padded luma width
  int height = 0;
  std::vector<std::uint8_t> y, cb, cr;

  void Allocate(int paddedWidth, int paddedHeight);
  int ChromaWidth() const { return width / 2; }
  int ChromaHeight() const { return height / 2; }
};

// Converts one input frame into dst (already allocated for the padded size),
// repeating the last column and row into the padding. 4:2:2 chroma becomes
// 4:2:0 within each field, so that the two fields of an interlaced picture
// never mix.
void ConvertPicture(const PictureLayout& layout, const std::uint8_t* src, Frame420* dst);

}  // namespace mpegenc

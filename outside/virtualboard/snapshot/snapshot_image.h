#pragma once
// Still pictures as the board writes them: a grabbed frame turned into a
// top-down BGR image, and that image scaled to the size the program asks.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brontel::snapshot {

// Top-down, 3 bytes a pixel (blue, green, red), rows packed.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;

  bool Empty() const { return width <= 0 || height <= 0; }
};

// Which 16-bit packing a grab carries; the frame information gives only the
// bit count, the graph's media type tells the two apart.
enum class YuvOrder { kYuy2, kUyvy };

// One frame as the frame grabber hands it over: the four values of its frame
// information and the bytes it copied. 16 bits a pixel is packed 4:2:2 YUV
// (always top-down); 24 and 32 are RGB, bottom-up for a positive height and
// top-down for a negative one, as bitmaps are. Rows may be padded: the row
// length follows from the data length.
struct GrabbedFrame {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bitsPerPixel = 0;
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  YuvOrder yuvOrder = YuvOrder::kYuy2;
};

// The largest picture the board makes, on either side and in all.
inline constexpr int kMaxImageSide = 8192;
inline constexpr long long kMaxImagePixels = 4096LL * 4096LL;

// Why an image of this size cannot be made, or null when it can.
const char* ImageSizeProblem(long long width, long long height);

// Converts a grab; an empty image when the frame information does not
// describe the bytes (the reason in *problem when given).
Image FrameToImage(const GrabbedFrame& frame, const char** problem = nullptr);

// Resamples with a linear filter that widens with the reduction, so that a
// smaller picture averages what it drops instead of aliasing. An empty image
// when the source is empty or the size is refused (see ImageSizeProblem).
Image ScaleImage(const Image& source, int width, int height);

}  // namespace brontel::snapshot

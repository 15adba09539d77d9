#include <cstddef>

#include "outside/virtualboard/snapshot/image_encoders.h"

namespace brontel::snapshot {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
// 72 dots an inch, what image programs assume when they are told nothing.
constexpr std::uint32_t kPixelsPerMetre = 2835;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
  if (image.Empty() || ImageSizeProblem(image.width, image.height) ||
      image.bgr.size() != static_cast<std::size_t>(image.width) * image.height * 3)
    return {};
  const std::uint32_t row = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = row * static_cast<std::uint32_t>(image.height);
  const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;
  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);
  Put32(out, kInfoHeaderBytes);
  Put32(out, static_cast<std::uint32_t>(image.width));
  Put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom row first
  Put16(out, 1);                                         // planes
  Put16(out, 24);
  Put32(out, 0);  // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // colours important
  const std::size_t packed = static_cast<std::size_t>(image.width) * 3;
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* line = image.bgr.data() + static_cast<std::size_t>(y) * packed;
    out.insert(out.end(), line, line + packed);
    out.insert(out.end(), row - packed, 0);
  }
  return out;
}

}  // namespace brontel::snapshot

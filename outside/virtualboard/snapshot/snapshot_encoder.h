#pragma once
// A snapshot file's bytes from a grabbed frame: converted, scaled to the
// size asked and encoded in the format asked.

#include <cstdint>
#include <vector>

#include "outside/virtualboard/snapshot/snapshot_image.h"

namespace brontel::snapshot {

// The program's image format value: 2 asks for a bitmap, any other value
// for JPEG.
inline constexpr int kImageFormatBmp = 2;

// Empty, with the reason in *problem when given, when the frame or the size
// cannot be used.
std::vector<std::uint8_t> EncodeSnapshot(const GrabbedFrame& frame, int width, int height,
                                         int imageFormat, int jpegQuality,
                                         const char** problem = nullptr);

}  // namespace brontel::snapshot

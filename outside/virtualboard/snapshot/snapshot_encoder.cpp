#include "outside/virtualboard/snapshot/snapshot_encoder.h"

#include "outside/virtualboard/snapshot/image_encoders.h"

namespace brontel::snapshot {

std::vector<std::uint8_t> EncodeSnapshot(const GrabbedFrame& frame, int width, int height,
                                         int imageFormat, int jpegQuality, const char** problem) {
  if (problem) *problem = nullptr;
  // Refuse the size before converting anything.
  if (const char* sizeProblem = ImageSizeProblem(width, height)) {
    if (problem) *problem = sizeProblem;
    return {};
  }
  const Image grabbed = FrameToImage(frame, problem);
  if (grabbed.Empty()) return {};
  const Image scaled = ScaleImage(grabbed, width, height);
  std::vector<std::uint8_t> bytes =
      imageFormat == kImageFormatBmp ? EncodeBmp(scaled) : EncodeJpeg(scaled, jpegQuality);
  if (bytes.empty() && problem) *problem = "the picture could not be encoded";
  return bytes;
}

}  // namespace brontel::snapshot

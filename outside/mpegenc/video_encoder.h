#pragma once

#include <cstdint>
#include <vector>

#include "outside/mpegenc/bit_writer.h"
#include "outside/mpegenc/dct.h"
#include "outside/mpegenc/motion_kernels.h"
#include "outside/mpegenc/picture_convert.h"
#include "outside/mpegenc/rate_control.h"

namespace mpegenc {

// Frame rate of an MPEG frame_rate_code (1..8); 0 for any other code.
double FrameRateOfCode(int code);

struct VideoSettings {
  int width = 720;  // picture size shown to the viewer
  int height = 480;
  int frameRateCode = 4;
  int gopLength = 12;         // pictures from one I picture to the next
  double bitRate = 4.0e6;     // average the rate control aims at
  double maxBitRate = 6.0e6;  // peak: the decoder buffer's fill rate
  int aspectRatioCode = 2;    // 4:3 display
};

// An MPEG-2 Main Profile video encoder for interlaced 4:2:0 frame pictures:
// I and P pictures, frame prediction with half-sample motion vectors, frame
// or field DCT chosen per macroblock, one slice per macroblock row.
class VideoEncoder {
 public:
  static constexpr double kVbvBits = 1835008;  // Main Level decoder buffer

  explicit VideoEncoder(const VideoSettings& settings);

  int PaddedWidth() const { return paddedWidth_; }
  int PaddedHeight() const { return paddedHeight_; }
  // The frame the next picture is read from; fill it, then EncodePicture.
  Frame420& InputFrame() { return input_; }

  // Codes InputFrame() as the next picture and appends the bytes (headers
  // included) to out. Returns true when it was an I picture.
  bool EncodePicture(std::vector<std::uint8_t>* out);
  // The end of the sequence.
  void EncodeEnd(std::vector<std::uint8_t>* out);

  // The reconstructed last picture, as a decoder sees it.
  const Frame420& Reconstruction() const { return reference_; }
  std::int64_t PicturesCoded() const { return pictures_; }

  void SetPaths(DctPath dct, MotionPath motion) {
    dctPath_ = dct;
    motionPath_ = motion;
  }

 private:
  struct Vector {
    int x = 0, y = 0;  // half samples
  };
  struct MacroblockCoding;

  void WriteSequenceHeaders();
  void WriteGopHeader();
  void WritePictureHeaders(bool intra);
  void EncodeSlice(int row, bool intra, std::int64_t pictureStartBits, double* codeSum);
  Vector SearchMotion(int mbx, int mby);
  int IntraActivity(const std::uint8_t* src, int stride) const;
  void CodeBlocks(MacroblockCoding& mb, int mbx, int mby, bool intra, const Vector& mv);
  void WriteBlock(const std::int16_t* levels, bool intra, int component);

  VideoSettings settings_;
  int paddedWidth_, paddedHeight_, mbWidth_, mbHeight_;
  double frameRate_;
  RateControl rate_;
  DctPath dctPath_;
  MotionPath motionPath_;

  Frame420 input_, reference_, reconstruction_;
  std::vector<Vector> vectors_, previousVectors_;
  BitWriter bits_;
  std::int64_t pictures_ = 0;
  int pictureInGop_ = 0;
  std::int64_t gopIndex_ = 0;

  // Slice state.
  int quantCode_ = 8;
  // Reciprocals of the quantiser divisors of the slice, for exact division
  // by multiplication: intra per matrix entry (40-bit), non-intra (20-bit).
  std::uint64_t intraReciprocal_[64] = {};
  std::uint32_t interReciprocal_ = 0;
  int dcPredictor_[3] = {128, 128, 128};
  Vector predictor_;
};

}  // namespace mpegenc

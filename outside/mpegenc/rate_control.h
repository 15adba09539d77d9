#pragma once

#include <cstdint>

namespace mpegenc {

// Picture-level bit allocation and the quantiser inside a picture, after the
// classic test-model scheme: each picture type keeps a complexity estimate
// (bits x mean quantiser) and a virtual buffer whose fullness maps to the
// quantiser. A decoder buffer model caps every picture so that a decoder's
// buffer of vbvBits, filled at maxBitRate, never runs dry.
class RateControl {
 public:
  RateControl(double bitRate, double maxBitRate, double frameRate, int gopLength, double vbvBits);

  // Called before each picture with its type and macroblock count.
  void StartPicture(bool intra, int macroblocks);
  // Quantiser scale code (1..31, linear scale = 2 x code) for the macroblock
  // `index` of the picture when `bitsSoFar` bits of it are written.
  int QuantiserCode(int index, std::int64_t bitsSoFar) const;
  // Called after each picture with its size and mean quantiser code.
  void EndPicture(std::int64_t bits, double meanCode);

  double TargetBits() const { return target_; }
  // Bits the decoder buffer holds when the next picture is removed.
  double DecoderBufferBits() const { return vbvFullness_; }

 private:
  double bitRate_, maxBitRate_, frameRate_, vbvBits_;
  int gopLength_;
  double reaction_;
  double complexityI_, complexityP_;
  double bufferI_, bufferP_;
  double remaining_ = 0;  // bits left for the rest of the group
  int picturesLeftP_ = 0;
  int pictureInGop_ = 0;
  bool intra_ = true;
  int macroblocks_ = 1;
  double target_ = 0;
  double vbvFullness_;
};

}  // namespace mpegenc

#include "outside/mpegenc/rate_control.h"

#include <algorithm>
#include <cmath>

namespace mpegenc {

RateControl::RateControl(double bitRate, double maxBitRate, double frameRate, int gopLength,
                         double vbvBits)
    : bitRate_(bitRate),
      maxBitRate_(std::max(bitRate, maxBitRate)),
      frameRate_(frameRate),
      vbvBits_(vbvBits),
      gopLength_(std::max(1, gopLength)),
      reaction_(2.0 * bitRate / frameRate),
      complexityI_(160.0 * bitRate / 115.0),
      complexityP_(60.0 * bitRate / 115.0),
      bufferI_(10.0 * reaction_ / 31.0),
      bufferP_(10.0 * reaction_ / 31.0),
      vbvFullness_(vbvBits * 0.9) {}

void RateControl::StartPicture(bool intra, int macroblocks) {
  intra_ = intra;
  macroblocks_ = std::max(1, macroblocks);
  if (intra) {
    // A new group: its share of the rate, plus what the last one saved or
    // overspent.
    remaining_ += bitRate_ * gopLength_ / frameRate_;
    picturesLeftP_ = gopLength_ - 1;
    pictureInGop_ = 0;
  }
  const double floorBits = bitRate_ / (8.0 * frameRate_);
  if (intra) {
    target_ = remaining_ / (1.0 + picturesLeftP_ * complexityP_ / complexityI_);
  } else {
    target_ = remaining_ / std::max(1, picturesLeftP_);
  }
  target_ = std::max(target_, floorBits);
  // Never plan a picture the decoder buffer could not hold.
  target_ = std::min(target_, 0.75 * vbvFullness_);
}

int RateControl::QuantiserCode(int index, std::int64_t bitsSoFar) const {
  const double buffer = intra_ ? bufferI_ : bufferP_;
  const double fullness =
      buffer + static_cast<double>(bitsSoFar) - target_ * static_cast<double>(index) / macroblocks_;
  double scale = fullness * 31.0 / reaction_;
  int code = static_cast<int>(std::lround(scale / 2.0));
  // Close to the decoder buffer's end: coarsest quantiser for the rest.
  if (static_cast<double>(bitsSoFar) > 0.85 * vbvFullness_) code = 31;
  return std::clamp(code, 1, 31);
}

void RateControl::EndPicture(std::int64_t bits, double meanCode) {
  const double s = static_cast<double>(bits);
  const double meanScale = std::max(2.0, 2.0 * meanCode);
  double& buffer = intra_ ? bufferI_ : bufferP_;
  buffer = std::max(0.0, buffer + s - target_);
  (intra_ ? complexityI_ : complexityP_) = s * meanScale;
  remaining_ -= s;
  if (!intra_) picturesLeftP_ = std::max(0, picturesLeftP_ - 1);
  ++pictureInGop_;
  vbvFullness_ = std::min(vbvBits_, std::max(0.0, vbvFullness_ - s) + maxBitRate_ / frameRate_);
}

}  // namespace mpegenc

#include "outside/mpegenc/video_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "outside/mpegenc/block_coding.h"
#include "outside/mpegenc/vlc_tables.h"

namespace mpegenc {
namespace {

constexpr int kForwardFCode = 3;  // vectors up to +-32 samples
constexpr int kSearchRange = 30;  // integer samples

const std::uint8_t* const kDefaultIntraMatrix = DefaultIntraMatrix();
const std::uint8_t* const kZigZagOrder = ZigZagOrder();

int ClampPixel(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

void PutVlc(BitWriter& bits, const Vlc& vlc) {
  bits.Put(vlc.code, vlc.bits);
}

void PutMotionComponent(BitWriter& bits, int delta, int fCode) {
  const int rSize = fCode - 1;
  const int f = 1 << rSize;
  const int low = -16 * f, high = 16 * f - 1, range = 32 * f;
  if (delta > high) delta -= range;
  if (delta < low) delta += range;
  if (delta == 0) {
    PutVlc(bits, MotionCode(0));
    return;
  }
  const int magnitude = std::abs(delta) - 1;
  const int motionCode = magnitude / f + 1;
  PutVlc(bits, MotionCode(delta < 0 ? -motionCode : motionCode));
  if (rSize > 0) bits.Put(static_cast<std::uint32_t>(magnitude % f), rSize);
}

// Luma lines of block b in a macroblock: frame DCT takes 8 consecutive
// lines, field DCT every other line of one field.
inline int BlockLine(int block, int i, bool fieldDct) {
  return fieldDct ? (block >> 1) + 2 * i : (block >> 1) * 8 + i;
}

bool PreferFieldDct(const std::int16_t* mb) {  // 16x16, stride 16
  int frame = 0, field = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 16; ++x) {
      frame += std::abs(mb[16 * y + x] - mb[16 * (y + 1) + x]);
      field += std::abs(mb[16 * y + x] - mb[16 * (y + 2) + x]);
    }
  return field < frame;
}

}  // namespace

double FrameRateOfCode(int code) {
  static const double kRates[9] = {0,  24000.0 / 1001, 24, 25, 30000.0 / 1001, 30,
                                   50, 60000.0 / 1001, 60};
  return code >= 1 && code <= 8 ? kRates[code] : 0.0;
}

struct VideoEncoder::MacroblockCoding {
  std::int16_t levels[6][64];
  int pattern = 0;  // coded_block_pattern, block 0 in the top bit
  bool fieldDct = false;
};

VideoEncoder::VideoEncoder(const VideoSettings& settings)
    : settings_(settings),
      paddedWidth_((settings.width + 15) / 16 * 16),
      paddedHeight_((settings.height + 31) / 32 * 32),
      mbWidth_(paddedWidth_ / 16),
      mbHeight_(paddedHeight_ / 16),
      frameRate_(FrameRateOfCode(settings.frameRateCode)),
      rate_(settings.bitRate, settings.maxBitRate, FrameRateOfCode(settings.frameRateCode),
            settings.gopLength, kVbvBits),
      dctPath_(FastestDctPath()),
      motionPath_(FastestMotionPath()) {
  input_.Allocate(paddedWidth_, paddedHeight_);
  reference_.Allocate(paddedWidth_, paddedHeight_);
  reconstruction_.Allocate(paddedWidth_, paddedHeight_);
  vectors_.resize(static_cast<std::size_t>(mbWidth_) * mbHeight_);
  previousVectors_ = vectors_;
}

void VideoEncoder::WriteSequenceHeaders() {
  const std::uint32_t rateUnits = static_cast<std::uint32_t>(
      std::ceil(std::max(settings_.maxBitRate, settings_.bitRate) / 400.0));
  const std::uint32_t vbvUnits = static_cast<std::uint32_t>(kVbvBits / 16384);
  bits_.StartCode(0xB3);
  bits_.Put(static_cast<std::uint32_t>(settings_.width) & 0xFFF, 12);
  bits_.Put(static_cast<std::uint32_t>(settings_.height) & 0xFFF, 12);
  bits_.Put(static_cast<std::uint32_t>(settings_.aspectRatioCode), 4);
  bits_.Put(static_cast<std::uint32_t>(settings_.frameRateCode), 4);
  bits_.Put(rateUnits & 0x3FFFF, 18);
  bits_.Put(1, 1);  // marker
  bits_.Put(vbvUnits & 0x3FF, 10);
  bits_.Put(0, 1);  // constrained_parameters_flag
  bits_.Put(0, 1);  // default intra matrix
  bits_.Put(0, 1);  // default non-intra matrix

  // Main profile; Main level up to 720x576 at 30 frames a second, else
  // High-1440 or High.
  int level = 8;
  if (settings_.width > 720 || settings_.height > 576 || frameRate_ > 30.5) level = 6;
  if (settings_.width > 1440) level = 4;
  bits_.StartCode(0xB5);
  bits_.Put(1, 4);  // sequence extension
  bits_.Put(static_cast<std::uint32_t>(0x40 | level), 8);
  bits_.Put(0, 1);  // progressive_sequence: interlaced TV
  bits_.Put(1, 2);  // 4:2:0
  bits_.Put(static_cast<std::uint32_t>(settings_.width) >> 12, 2);
  bits_.Put(static_cast<std::uint32_t>(settings_.height) >> 12, 2);
  bits_.Put((rateUnits >> 18) & 0xFFF, 12);
  bits_.Put(1, 1);  // marker
  bits_.Put(vbvUnits >> 10, 8);
  bits_.Put(0, 1);  // low_delay
  bits_.Put(0, 2);
  bits_.Put(0, 5);
}

void VideoEncoder::WriteGopHeader() {
  const int nominal = static_cast<int>(std::lround(frameRate_));
  const std::int64_t frames = pictures_;
  const int pictures = static_cast<int>(frames % nominal);
  const std::int64_t seconds = frames / nominal;
  bits_.StartCode(0xB8);
  bits_.Put(0, 1);  // drop_frame_flag
  bits_.Put(static_cast<std::uint32_t>((seconds / 3600) % 24), 5);
  bits_.Put(static_cast<std::uint32_t>((seconds / 60) % 60), 6);
  bits_.Put(1, 1);  // marker
  bits_.Put(static_cast<std::uint32_t>(seconds % 60), 6);
  bits_.Put(static_cast<std::uint32_t>(pictures), 6);
  bits_.Put(1, 1);  // closed_gop: P pictures only look back inside the group
  bits_.Put(0, 1);  // broken_link
}

void VideoEncoder::WritePictureHeaders(bool intra) {
  bits_.StartCode(0x00);
  bits_.Put(static_cast<std::uint32_t>(pictureInGop_) & 0x3FF, 10);
  bits_.Put(intra ? 1 : 2, 3);
  bits_.Put(0xFFFF, 16);  // vbv_delay: not given (variable rate buffer model)
  if (!intra) {
    bits_.Put(0, 1);  // full_pel_forward_vector
    bits_.Put(7, 3);  // forward_f_code: coded in the extension
  }
  bits_.Put(0, 1);  // extra_bit_picture

  bits_.StartCode(0xB5);
  bits_.Put(8, 4);  // picture coding extension
  bits_.Put(intra ? 15 : kForwardFCode, 4);
  bits_.Put(intra ? 15 : kForwardFCode, 4);
  bits_.Put(15, 4);
  bits_.Put(15, 4);
  bits_.Put(0, 2);  // intra_dc_precision: 8 bits
  bits_.Put(3, 2);  // frame picture
  bits_.Put(1, 1);  // top_field_first
  bits_.Put(0, 1);  // frame_pred_frame_dct: field DCT allowed per macroblock
  bits_.Put(0, 1);  // concealment_motion_vectors
  bits_.Put(0, 1);  // q_scale_type: linear
  bits_.Put(0, 1);  // intra_vlc_format
  bits_.Put(0, 1);  // alternate_scan
  bits_.Put(0, 1);  // repeat_first_field
  bits_.Put(0, 1);  // chroma_420_type
  bits_.Put(0, 1);  // progressive_frame
  bits_.Put(0, 1);  // composite_display_flag
}

bool VideoEncoder::EncodePicture(std::vector<std::uint8_t>* out) {
  const bool intra = pictures_ % std::max(1, settings_.gopLength) == 0;
  bits_.Clear();
  if (intra) {
    pictureInGop_ = 0;
    WriteSequenceHeaders();
    WriteGopHeader();
    ++gopIndex_;
  }
  WritePictureHeaders(intra);
  const std::int64_t start = static_cast<std::int64_t>(bits_.BitCount());
  rate_.StartPicture(intra, mbWidth_ * mbHeight_);
  std::swap(vectors_, previousVectors_);
  double codeSum = 0;
  for (int row = 0; row < mbHeight_; ++row) EncodeSlice(row, intra, start, &codeSum);
  bits_.Align();
  rate_.EndPicture(static_cast<std::int64_t>(bits_.BitCount()) - start, codeSum / mbHeight_);
  std::swap(reference_, reconstruction_);
  out->insert(out->end(), bits_.Bytes().begin(), bits_.Bytes().end());
  ++pictures_;
  ++pictureInGop_;
  return intra;
}

void VideoEncoder::EncodeEnd(std::vector<std::uint8_t>* out) {
  static const std::uint8_t kSequenceEnd[4] = {0, 0, 1, 0xB7};
  out->insert(out->end(), kSequenceEnd, kSequenceEnd + 4);
}

int VideoEncoder::IntraActivity(const std::uint8_t* src, int stride) const {
  int sum = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) sum += src[y * stride + x];
  const int mean = (sum + 128) >> 8;
  int activity = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) activity += std::abs(src[y * stride + x] - mean);
  return activity;
}

VideoEncoder::Vector VideoEncoder::SearchMotion(int mbx, int mby) {
  const int stride = paddedWidth_;
  const int x0 = mbx * 16, y0 = mby * 16;
  const std::uint8_t* src = input_.y.data() + y0 * stride + x0;
  const std::uint8_t* ref = reference_.y.data();
  const int minX = -std::min(x0, kSearchRange),
            maxX = std::min(paddedWidth_ - 16 - x0, kSearchRange);
  const int minY = -std::min(y0, kSearchRange),
            maxY = std::min(paddedHeight_ - 16 - y0, kSearchRange);

  auto sadAt = [&](int dx, int dy) {
    return Sad16x16(motionPath_, src, stride, ref + (y0 + dy) * stride + x0 + dx, stride);
  };
  int bestX = 0, bestY = 0;
  // A small bias keeps still areas on the zero vector, which costs nothing.
  int best = sadAt(0, 0) - 64;

  auto tryCandidate = [&](int dx, int dy) {
    dx = std::clamp(dx, minX, maxX);
    dy = std::clamp(dy, minY, maxY);
    const int s = sadAt(dx, dy);
    if (s < best) {
      best = s;
      bestX = dx;
      bestY = dy;
    }
  };
  const std::size_t index = static_cast<std::size_t>(mby) * mbWidth_ + mbx;
  if (mbx > 0) tryCandidate(vectors_[index - 1].x >> 1, vectors_[index - 1].y >> 1);
  if (mby > 0) {
    const Vector& up = vectors_[index - mbWidth_];
    tryCandidate(up.x >> 1, up.y >> 1);
    if (mbx + 1 < mbWidth_) {
      const Vector& upRight = vectors_[index - mbWidth_ + 1];
      tryCandidate(upRight.x >> 1, upRight.y >> 1);
    }
  }
  tryCandidate(previousVectors_[index].x >> 1, previousVectors_[index].y >> 1);

  // Diamond descent with shrinking steps.
  for (int step = 8; step >= 1; step >>= 1) {
    for (int moves = 0; moves < 8; ++moves) {
      const int cx = bestX, cy = bestY;
      static const int kDirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (const auto& d : kDirs) {
        const int nx = cx + d[0] * step, ny = cy + d[1] * step;
        if (nx < minX || nx > maxX || ny < minY || ny > maxY) continue;
        const int s = sadAt(nx, ny);
        if (s < best) {
          best = s;
          bestX = nx;
          bestY = ny;
        }
      }
      if (bestX == cx && bestY == cy) break;
    }
  }

  // Half-sample refinement; the half step must stay inside the picture.
  Vector mv{2 * bestX, 2 * bestY};
  alignas(16) std::uint8_t pred[256];
  const int hx0 = mv.x, hy0 = mv.y;
  for (int oy = -1; oy <= 1; ++oy)
    for (int ox = -1; ox <= 1; ++ox) {
      if (!ox && !oy) continue;
      const int hx = hx0 + ox, hy = hy0 + oy;
      if (x0 * 2 + hx < 0 || y0 * 2 + hy < 0 || x0 * 2 + hx > 2 * (paddedWidth_ - 16) ||
          y0 * 2 + hy > 2 * (paddedHeight_ - 16) || hx < -64 || hx > 63 || hy < -64 || hy > 63)
        continue;
      const std::uint8_t* p = ref + (y0 + (hy >> 1)) * stride + x0 + (hx >> 1);
      PredictLuma16(motionPath_, p, stride, hx & 1, hy & 1, pred);
      const int s = Sad16x16(motionPath_, src, stride, pred, 16);
      if (s < best) {
        best = s;
        mv = {hx, hy};
      }
    }
  return mv;
}

void VideoEncoder::CodeBlocks(MacroblockCoding& mb, int mbx, int mby, bool intra,
                              const Vector& mv) {
  const int stride = paddedWidth_, cstride = paddedWidth_ / 2;
  const int x0 = mbx * 16, y0 = mby * 16;
  const int scale = 2 * quantCode_;

  // Prediction (zero for intra macroblocks).
  alignas(16) std::uint8_t predY[256];
  alignas(16) std::uint8_t predC[2][64];
  if (!intra) {
    const std::uint8_t* p = reference_.y.data() + (y0 + (mv.y >> 1)) * stride + x0 + (mv.x >> 1);
    PredictLuma16(motionPath_, p, stride, mv.x & 1, mv.y & 1, predY);
    const int cx = mv.x / 2, cy = mv.y / 2;  // truncation toward zero, as decoders do
    const int offset = (y0 / 2 + (cy >> 1)) * cstride + x0 / 2 + (cx >> 1);
    PredictBlockReference(reference_.cb.data() + offset, cstride, cx & 1, cy & 1, 8, 8, predC[0]);
    PredictBlockReference(reference_.cr.data() + offset, cstride, cx & 1, cy & 1, 8, 8, predC[1]);
  }

  // Luma samples (or residual) of the whole macroblock, to choose the DCT.
  std::int16_t luma[256];
  const std::uint8_t* src = input_.y.data() + y0 * stride + x0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      luma[16 * y + x] =
          static_cast<std::int16_t>(src[y * stride + x] - (intra ? 0 : predY[16 * y + x]));
  mb.fieldDct = PreferFieldDct(luma);
  mb.pattern = 0;

  alignas(16) std::int16_t block[64], coeffs[64], recon[64];
  for (int b = 0; b < 6; ++b) {
    if (b < 4) {
      for (int i = 0; i < 8; ++i)
        std::memcpy(block + 8 * i, luma + 16 * BlockLine(b, i, mb.fieldDct) + (b & 1) * 8, 16);
    } else {
      const std::uint8_t* c =
          (b == 4 ? input_.cb.data() : input_.cr.data()) + (y0 / 2) * cstride + x0 / 2;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          block[8 * y + x] =
              static_cast<std::int16_t>(c[y * cstride + x] - (intra ? 0 : predC[b - 4][8 * y + x]));
    }
    ForwardDct(dctPath_, block, coeffs);

    std::int16_t* levels = mb.levels[b];
    bool any = false;
    if (intra) {
      levels[0] = static_cast<std::int16_t>(std::clamp((coeffs[0] + 4) >> 3, 0, 255));
      for (int i = 1; i < 64; ++i) {
        const int w = kDefaultIntraMatrix[i];
        const int a = std::abs(coeffs[i]);
        // Rounding slightly below one half: a small dead zone pays for itself.
        int level = static_cast<int>(((80ULL * a + 2ULL * w * scale) * intraReciprocal_[i]) >> 40);
        level = std::min(level, 2047);
        levels[i] = static_cast<std::int16_t>(coeffs[i] < 0 ? -level : level);
      }
      any = true;
    } else {
      for (int i = 0; i < 64; ++i) {
        int level = std::min(
            static_cast<int>((static_cast<std::uint32_t>(std::abs(coeffs[i])) * interReciprocal_) >>
                             20),
            2047);
        levels[i] = static_cast<std::int16_t>(coeffs[i] < 0 ? -level : level);
        any |= level != 0;
      }
    }
    if (any) mb.pattern |= 1 << (5 - b);

    // Reconstruct as the decoder will.
    std::uint8_t* out;
    int outStride;
    if (b < 4) {
      outStride = mb.fieldDct ? 2 * stride : stride;
      out = reconstruction_.y.data() + (y0 + BlockLine(b, 0, mb.fieldDct)) * stride + x0 +
            (b & 1) * 8;
    } else {
      outStride = cstride;
      out = (b == 4 ? reconstruction_.cb.data() : reconstruction_.cr.data()) + (y0 / 2) * cstride +
            x0 / 2;
    }
    if (any) {
      Dequantise(levels, intra, scale, coeffs);
      InverseDct(dctPath_, coeffs, recon);
    } else {
      std::memset(recon, 0, sizeof(recon));
    }
    for (int y = 0; y < 8; ++y) {
      std::uint8_t* o = out + y * outStride;
      const std::int16_t* r = recon + 8 * y;
      if (intra) {
        for (int x = 0; x < 8; ++x) o[x] = static_cast<std::uint8_t>(ClampPixel(r[x]));
        continue;
      }
      const std::uint8_t* p =
          b < 4 ? predY + 16 * BlockLine(b, y, mb.fieldDct) + (b & 1) * 8 : predC[b - 4] + 8 * y;
      for (int x = 0; x < 8; ++x) o[x] = static_cast<std::uint8_t>(ClampPixel(p[x] + r[x]));
    }
  }
}

void VideoEncoder::WriteBlock(const std::int16_t* levels, bool intra, int component) {
  int start = 0;
  if (intra) {
    const int diff = levels[0] - dcPredictor_[component];
    dcPredictor_[component] = levels[0];
    int size = 0;
    for (int a = std::abs(diff); a; a >>= 1) ++size;
    PutVlc(bits_, component == 0 ? DcSizeLumaCode(size) : DcSizeChromaCode(size));
    if (size > 0) {
      const int v = diff > 0 ? diff : diff + (1 << size) - 1;
      bits_.Put(static_cast<std::uint32_t>(v), size);
    }
    start = 1;
  }
  bool first = true;
  int run = 0;
  for (int i = start; i < 64; ++i) {
    const int level = levels[kZigZagOrder[i]];
    if (level == 0) {
      ++run;
      continue;
    }
    const int a = std::abs(level);
    const std::uint32_t sign = level < 0 ? 1u : 0u;
    if (!intra && first && run == 0 && a == 1) {
      bits_.Put(2u | sign, 2);  // "1s"
    } else {
      const Vlc& code = CoefficientCode(run, a);
      if (code.bits) {
        PutVlc(bits_, code);
        bits_.Put(sign, 1);
      } else {
        PutVlc(bits_, CoefficientEscapeCode());
        bits_.Put(static_cast<std::uint32_t>(run), 6);
        bits_.Put(static_cast<std::uint32_t>(level) & 0xFFF, 12);
      }
    }
    first = false;
    run = 0;
  }
  PutVlc(bits_, EndOfBlockCode());
}

void VideoEncoder::EncodeSlice(int row, bool intra, std::int64_t pictureStartBits,
                               double* codeSum) {
  quantCode_ = rate_.QuantiserCode(row * mbWidth_,
                                   static_cast<std::int64_t>(bits_.BitCount()) - pictureStartBits);
  *codeSum += quantCode_;
  // ceil(2^k / d) makes (x * r) >> k equal x / d for every x the blocks give.
  const int scale = 2 * quantCode_;
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t d = 5ULL * kDefaultIntraMatrix[i] * scale;
    intraReciprocal_[i] = ((1ULL << 40) + d - 1) / d;
  }
  interReciprocal_ = static_cast<std::uint32_t>(((1u << 20) + scale - 1) / scale);
  bits_.StartCode(static_cast<std::uint8_t>(row + 1));
  bits_.Put(static_cast<std::uint32_t>(quantCode_), 5);
  bits_.Put(0, 1);  // extra_bit_slice

  dcPredictor_[0] = dcPredictor_[1] = dcPredictor_[2] = 128;
  predictor_ = {};
  int lastCoded = -1;
  const int stride = paddedWidth_;
  MacroblockCoding mb;

  for (int mbx = 0; mbx < mbWidth_; ++mbx) {
    const std::size_t index = static_cast<std::size_t>(row) * mbWidth_ + mbx;
    bool mbIntra = intra;
    Vector mv;
    if (!intra) {
      mv = SearchMotion(mbx, row);
      const std::uint8_t* src = input_.y.data() + row * 16 * stride + mbx * 16;
      alignas(16) std::uint8_t pred[256];
      const std::uint8_t* p =
          reference_.y.data() + (row * 16 + (mv.y >> 1)) * stride + mbx * 16 + (mv.x >> 1);
      PredictLuma16(motionPath_, p, stride, mv.x & 1, mv.y & 1, pred);
      const int interCost = Sad16x16(motionPath_, src, stride, pred, 16);
      mbIntra = IntraActivity(src, stride) + 512 < interCost;
      if (mbIntra) mv = {};
    }
    vectors_[index] = mv;
    CodeBlocks(mb, mbx, row, mbIntra, mv);

    const bool edge = mbx == 0 || mbx == mbWidth_ - 1;
    const bool zeroVector = mv.x == 0 && mv.y == 0;
    if (!mbIntra && mb.pattern == 0 && zeroVector && !edge) {
      // Skipped: the decoder copies the reference and resets its predictors.
      dcPredictor_[0] = dcPredictor_[1] = dcPredictor_[2] = 128;
      predictor_ = {};
      continue;
    }

    int increment = mbx - lastCoded;
    lastCoded = mbx;
    while (increment > 33) {
      PutVlc(bits_, AddressEscapeCode());
      increment -= 33;
    }
    PutVlc(bits_, AddressIncrementCode(increment));

    unsigned flags;
    if (mbIntra) {
      flags = kMbIntra;
    } else if (zeroVector && mb.pattern != 0) {
      flags = kMbPattern;  // no motion compensation: zero vector, predictors reset
    } else {
      flags = kMbForward | (mb.pattern ? kMbPattern : 0u);
    }
    PutVlc(bits_, MacroblockTypeCode(!intra, flags));
    if (flags & kMbForward) bits_.Put(2, 2);  // frame_motion_type: frame prediction
    if ((flags & kMbIntra) || (flags & kMbPattern)) bits_.Put(mb.fieldDct ? 1 : 0, 1);
    if (flags & kMbForward) {
      PutMotionComponent(bits_, mv.x - predictor_.x, kForwardFCode);
      PutMotionComponent(bits_, mv.y - predictor_.y, kForwardFCode);
      predictor_ = mv;
    } else {
      predictor_ = {};
    }
    if (!mbIntra) dcPredictor_[0] = dcPredictor_[1] = dcPredictor_[2] = 128;
    if (flags & kMbPattern) PutVlc(bits_, CodedBlockPatternCode(mb.pattern));
    for (int b = 0; b < 6; ++b) {
      if (mbIntra || (mb.pattern & (1 << (5 - b))))
        WriteBlock(mb.levels[b], mbIntra, b < 4 ? 0 : b - 3);
    }
  }
}

}  // namespace mpegenc

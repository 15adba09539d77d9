#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "outside/mpegenc/picture_convert.h"

// An MPEG-2 video decoder for the streams our own encoder writes: Main
// Profile 4:2:0 frame pictures, I and P pictures, frame prediction, frame or
// field DCT per macroblock, default matrices. Anything else is refused with
// a reason rather than decoded wrongly.
namespace timeshift {

enum class DecodeResult {
  kPicture,       // a picture was decoded: Picture() holds it
  kWaitForIntra,  // a P picture with no reference yet (after a start or seek)
  kUnsupported,   // a syntax our encoder never writes; Error() says which
  kCorrupt,       // the data breaks the syntax
};

class VideoDecoder {
 public:
  // One coded picture: the bytes from its first header (sequence, group or
  // picture start code) up to the next picture's first header.
  DecodeResult Decode(const std::uint8_t* data, std::size_t size);

  // Forget the reference picture: the next picture decoded is an I picture.
  void Reset() { haveReference_ = false; }

  // Displayed size from the sequence header; 0 before one was seen.
  int Width() const { return width_; }
  int Height() const { return height_; }
  double FrameRate() const { return frameRate_; }
  const mpegenc::Frame420& Picture() const { return reference_; }
  bool LastWasIntra() const { return lastIntra_; }
  const std::string& Error() const { return error_; }

 private:
  class Bits;
  struct PictureHeader {
    bool intra = true;
    int fCode = 1;
    bool framePredFrameDct = false;
  };

  DecodeResult ParseSequence(Bits& bits);
  DecodeResult ParseSequenceExtension(Bits& bits);
  DecodeResult ParsePictureExtension(Bits& bits, PictureHeader* header);
  DecodeResult DecodeSlice(Bits& bits, int row, const PictureHeader& header);
  DecodeResult Fail(DecodeResult result, const char* reason);

  int width_ = 0, height_ = 0, mbWidth_ = 0, mbHeight_ = 0;
  double frameRate_ = 0;
  bool haveSequence_ = false;
  bool haveReference_ = false;
  bool lastIntra_ = false;
  mpegenc::Frame420 current_, reference_;
  std::string error_;
};

}  // namespace timeshift

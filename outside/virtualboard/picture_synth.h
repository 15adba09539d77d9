#pragma once
// The virtual board's synthetic picture, drawn into a 32-bit XRGB frame.
// Portable: the Windows side adds the texts and shows the frame.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Frame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

  Frame(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Picture properties as the board stores them: 0 to 100, 50 is neutral.
struct PictureProperties {
  int32_t brightness = 50;
  int32_t contrast = 50;
  int32_t hue = 50;
  int32_t saturation = 50;
  int32_t sharpness = 50;
};

// Colour bars in a station-specific order and tint, a station-coloured band
// and a box that moves with the frame number.
void DrawStationPicture(Frame& frame, int stationIndex, uint32_t frameNumber);
// Grey snow, different on every frame.
void DrawNoise(Frame& frame, uint32_t frameNumber);
// A moving checkerboard for the composite (input 2) and S-Video (3) inputs.
void DrawInputPattern(Frame& frame, int inputType, int connector, uint32_t frameNumber);
void DrawBlack(Frame& frame);

// Brightness, contrast, saturation and hue applied to every pixel.
void ApplyPictureProperties(Frame& frame, const PictureProperties& properties);

// The x position of the moving box for a frame (for tests).
int MovingBoxX(int frameWidth, uint32_t frameNumber);

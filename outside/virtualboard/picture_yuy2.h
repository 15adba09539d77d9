#pragma once
// The synthetic picture as a capture board delivers it: YUY2, two fields a
// picture taken 1/59.94 s apart, so that moving things comb.

#include <cstdint>

#include "outside/virtualboard/picture_synth.h"

// Even lines from `top`, odd lines from `bottom` (both the same size), as
// studio-range YUY2 with the chroma of each pixel pair averaged.
void InterleaveFieldsToYuy2(const Frame& top, const Frame& bottom, uint8_t* yuy2);

// A YUY2 picture (width * 2 bytes a line, top line first, width even) into
// `out`, scaled to its size: the nearest pixel across, the lines it covers
// averaged down.
void Yuy2ToFrame(const uint8_t* yuy2, int width, int height, Frame& out);

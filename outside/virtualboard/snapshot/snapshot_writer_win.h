#pragma once
// The board's snapshot command: a grabbed frame written to the path asked,
// all or nothing.

#include <string>

#include "outside/virtualboard/snapshot/snapshot_image.h"

namespace brontel::snapshot {

// Scales the frame to width x height and writes it as a bitmap (imageFormat
// 2) or as JPEG at jpegQuality (any other value). False when the frame or
// the size cannot be used or the file cannot be written (a missing folder,
// a full disk); nothing is then left at the path, and *problem, when given,
// says why in a line fit for the board's journal.
bool WriteSnapshot(const GrabbedFrame& frame, const std::wstring& path, int width, int height,
                   int imageFormat, int jpegQuality, std::string* problem = nullptr);

}  // namespace brontel::snapshot

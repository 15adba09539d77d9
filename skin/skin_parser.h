#pragma once
// Reads the text of a skin file (format in skin/README.md). A file with any
// fault is refused as a whole; the error names the first wrong line.

#include <cstddef>
#include <string>
#include <string_view>

#include "skin/skin_model.h"

namespace brontel::skin {

// Largest skin file accepted.
constexpr std::size_t kMaxSkinFileBytes = 4 * 1024 * 1024;

struct SkinError {
  int line = 0;  // 1-based; 0 when the fault is not on one line
  std::string message;
};

// Parses `text`. On success fills `*model` (every element at its design
// rectangle) and returns true; on failure leaves `*model` untouched and
// describes the first fault in `*error`.
bool ParseSkin(std::string_view text, SkinModel* model, SkinError* error);

// "AppSkin.skn(12): unknown colour 'reed'" (no line part when line is 0).
std::string FormatSkinError(const std::string& fileName, const SkinError& error);

}  // namespace brontel::skin

#pragma once
// 24-bit RGB pictures as PNG files with stored (uncompressed) deflate blocks:
// large, but simple, always right, and no library needed.

#include <cstdint>
#include <string>
#include <vector>

namespace brontel::test_support {

// `rgb` holds width * height * 3 bytes, top row first.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb);

}  // namespace brontel::test_support

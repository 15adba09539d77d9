#include "support/window_capture_win.h"

#include <cstdint>
#include <cstdio>

namespace brontel::test_support {

std::wstring TestOutputDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  dir.erase(dir.find_last_of(L"\\/"));      // the program's name
  dir.erase(dir.find_last_of(L"\\/") + 1);  // the bin folder
  dir += L"test-output\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

namespace {

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::string* out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string* out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  *out += typed;
  PutBigEndian(out, Crc32(typed));
}

// A PNG of a bottom-up 24-bit BGR DIB, with stored (uncompressed) deflate
// blocks: large, but simple and always right.
std::string EncodePng(const unsigned char* bits, int width, int height, DWORD stride) {
  std::string raw;
  raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = bits + static_cast<size_t>(height - 1 - y) * stride;
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      raw.push_back(static_cast<char>(row[x * 3 + 2]));
      raw.push_back(static_cast<char>(row[x * 3 + 1]));
      raw.push_back(static_cast<char>(row[x * 3]));
    }
  }
  std::string zlib = "\x78\x01";
  constexpr size_t kMaxStored = 65535;
  for (size_t at = 0; at < raw.size() || at == 0; at += kMaxStored) {
    const size_t length = std::min(kMaxStored, raw.size() - at);
    const bool last = at + length >= raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<char>(length & 0xFF));
    zlib.push_back(static_cast<char>(length >> 8));
    zlib.push_back(static_cast<char>(~length & 0xFF));
    zlib.push_back(static_cast<char>((~length >> 8) & 0xFF));
    zlib.append(raw, at, length);
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(&zlib, (b << 16) | a);

  std::string header;
  PutBigEndian(&header, static_cast<std::uint32_t>(width));
  PutBigEndian(&header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(&png, "IHDR", header);
  PutChunk(&png, "IDAT", zlib);
  PutChunk(&png, "IEND", std::string());
  return png;
}

bool EndsWithPng(const std::wstring& path) {
  return path.size() >= 4 && _wcsicmp(path.c_str() + path.size() - 4, L".png") == 0;
}

}  // namespace

bool SaveWindowScreenshot(HWND window, const std::wstring& path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    if (EndsWithPng(path)) {
      const std::string png =
          EncodePng(static_cast<const unsigned char*>(bits), width, height, stride);
      if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        saved = fwrite(png.data(), png.size(), 1, out) == 1;
        fclose(out);
      }
    } else if (FILE* out = _wfopen(path.c_str(), L"wb")) {
      saved = fwrite(&file, sizeof(file), 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
              fwrite(bits, imageSize, 1, out) == 1;
      fclose(out);
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

}  // namespace brontel::test_support

#include "support/screenshot_win.h"

#include "support/png_writer.h"

namespace brontel::test_support {
namespace {

Capture CaptureFromDc(HDC source, int left, int top, int width, int height) {
  Capture capture;
  if (width <= 0 || height <= 0) return capture;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib == nullptr) return capture;
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  capture.width = width;
  capture.height = height;
  capture.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
  for (std::uint32_t& pixel : capture.pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
  return capture;
}

bool EndsWithPng(const std::wstring& path) {
  return path.size() >= 4 && _wcsicmp(path.c_str() + path.size() - 4, L".png") == 0;
}

}  // namespace

Capture CaptureWindow(HWND window) {
  RECT client = {};
  if (!GetClientRect(window, &client)) return Capture();
  HDC dc = GetDC(window);
  Capture capture = CaptureFromDc(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(window, dc);
  return capture;
}

Capture CaptureScreenOf(HWND window) {
  RECT rect = {};
  if (!GetWindowRect(window, &rect)) return Capture();
  HDC screen = GetDC(nullptr);
  Capture capture =
      CaptureFromDc(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  ReleaseDC(nullptr, screen);
  return capture;
}

bool SaveCapture(const Capture& capture, const std::wstring& path) {
  if (capture.width <= 0 || capture.height <= 0) return false;
  if (EndsWithPng(path)) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(capture.pixels.size() * 3);
    for (std::uint32_t pixel : capture.pixels) {
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
      rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
      rgb.push_back(static_cast<std::uint8_t>(pixel));
    }
    return WritePng(path, capture.width, capture.height, rgb);
  }
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = capture.width;
  info.biHeight = -capture.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  const size_t pixelBytes = capture.pixels.size() * sizeof(std::uint32_t);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes.append(reinterpret_cast<const char*>(capture.pixels.data()), pixelBytes);
  return WriteFileBytes(path, bytes);
}

bool SaveWindowScreenshot(HWND window, const std::wstring& path) {
  return SaveCapture(CaptureScreenOf(window), path);
}

}  // namespace brontel::test_support

#include "win32/text_convert.h"

#include "win32/windows_include.h"

namespace brontel {
namespace {

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) {
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], length);
  }
  return out;
}

std::string FromWide(const std::wstring& text, UINT codePage) {
  if (text.empty()) return std::string();
  const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], length,
                        nullptr, nullptr);
  }
  return out;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  return ToWide(utf8, CP_UTF8);
}
std::string Narrow(const std::wstring& utf16) {
  return FromWide(utf16, CP_UTF8);
}
std::string AnsiToUtf8(const std::string& ansi) {
  return Narrow(ToWide(ansi, CP_ACP));
}
std::string Utf8ToAnsi(const std::string& utf8) {
  return FromWide(Widen(utf8), CP_ACP);
}

}  // namespace brontel

#pragma once
// UTF-8 <-> UTF-16 at the boundary between portable and Win32 code.

#include <string>

namespace brontel {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// Text in the system ANSI code page (CP_ACP) to UTF-8 and back.
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);

}  // namespace brontel

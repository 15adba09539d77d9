#include "support/test_paths_win.h"

#include <windows.h>

namespace brontel::test_support {

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  dir.erase(dir.find_last_of(L"\\/") + 1);
  return dir;
}

std::wstring TestOutputDir() {
  std::wstring dir = ExeDir();
  dir.pop_back();                           // the trailing backslash
  dir.erase(dir.find_last_of(L"\\/") + 1);  // the bin folder
  dir += L"test-output\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::wstring TempDir() {
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, path);
  std::wstring dir = path;
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  return dir;
}

std::wstring UnixToWinePath(const std::string& unixPath) {
  // Source and build paths are plain ASCII here, so each byte is a character.
  std::wstring path = L"Z:";
  for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace brontel::test_support

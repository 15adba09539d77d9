#include "apimgr/wine_test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace apimgr_test {

std::wstring BinDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::wstring TestOutputDirectory() {
  std::wstring bin = BinDirectory();
  std::wstring dir = bin.substr(0, bin.find_last_of(L"\\/")) + L"\\test-output";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::wstring TempDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, path);
  return path;
}

DWORD RunProcess(const std::wstring& commandLine, const std::wstring& workingDirectory) {
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &si, &pi)) {
    return static_cast<DWORD>(-1);
  }
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring KeyDefaultValue(HKEY root, const std::wstring& path) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<no key>";
  const LONG status =
      RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return L"<no value>";
  return value;
}

bool RegisterManager() {
  return RunProcess(L"regsvr32.exe /s \"" + BinDirectory() + L"\\KXApiMgr.dll\"") == 0;
}

bool UnregisterManager() {
  return RunProcess(L"regsvr32.exe /u /s \"" + BinDirectory() + L"\\KXApiMgr.dll\"") == 0;
}

JournalFile::JournalFile() {
  wchar_t name[MAX_PATH] = {};
  GetTempFileNameW(TempDirectory().c_str(), L"kxj", 0, name);
  m_path = name;
  DeleteFileW(m_path.c_str());
  SetEnvironmentVariableW(L"KXTVA_JOURNAL", m_path.c_str());
}

JournalFile::~JournalFile() {
  SetEnvironmentVariableW(L"KXTVA_JOURNAL", nullptr);
  DeleteFileW(m_path.c_str());
}

std::vector<std::string> JournalFile::Lines() const {
  std::vector<std::string> lines;
  HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  std::istringstream stream(content);
  std::string line;
  while (std::getline(stream, line)) lines.push_back(line);
  return lines;
}

std::string JournalFile::LineAfter(size_t previousCount) const {
  const std::vector<std::string> lines = Lines();
  if (lines.size() != previousCount + 1) {
    return lines.size() <= previousCount
               ? std::string()
               : "<" + std::to_string(lines.size() - previousCount) + " lines>";
  }
  return lines.back();
}

void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

HWND CreateHostWindow(const wchar_t* title, int width, int height) {
  RECT rect = {0, 0, width, height};
  AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
  HWND hwnd = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd != nullptr) {
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  return hwnd;
}

namespace {

struct DialogSearch {
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (std::wstring(className) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  if (*search->caption == title) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param) {
  auto* text = reinterpret_cast<std::wstring*>(param);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  wchar_t value[512] = {};
  GetWindowTextW(hwnd, value, 512);
  *text += value;
  return TRUE;
}

}  // namespace

HWND WaitForDialog(const std::wstring& caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    DialogSearch search = {&caption, nullptr};
    EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::wstring DialogStaticText(HWND dialog) {
  std::wstring text;
  EnumChildWindows(dialog, &CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

Capture CaptureWindow(HWND hwnd) {
  Capture capture;
  RECT client = {};
  GetClientRect(hwnd, &client);
  capture.width = client.right;
  capture.height = client.bottom;
  if (capture.width <= 0 || capture.height <= 0) return capture;
  HDC windowDc = GetDC(hwnd);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memoryDc, dib);
  BitBlt(memoryDc, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  capture.pixels.assign(pixels, pixels + static_cast<size_t>(capture.width) * capture.height);
  for (uint32_t& p : capture.pixels) p &= 0xFFFFFF;
  SelectObject(memoryDc, old);
  DeleteObject(dib);
  DeleteDC(memoryDc);
  ReleaseDC(hwnd, windowDc);
  return capture;
}

bool SaveBitmap(const Capture& capture, const std::wstring& path) {
  BITMAPFILEHEADER fileHeader = {};
  BITMAPINFOHEADER infoHeader = {};
  infoHeader.biSize = sizeof infoHeader;
  infoHeader.biWidth = capture.width;
  infoHeader.biHeight = -capture.height;
  infoHeader.biPlanes = 1;
  infoHeader.biBitCount = 32;
  infoHeader.biCompression = BI_RGB;
  const DWORD pixelBytes = static_cast<DWORD>(capture.pixels.size() * sizeof(uint32_t));
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof infoHeader;
  fileHeader.bfSize = fileHeader.bfOffBits + pixelBytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, &fileHeader, sizeof fileHeader, &written, nullptr) &&
            WriteFile(file, &infoHeader, sizeof infoHeader, &written, nullptr) &&
            WriteFile(file, capture.pixels.data(), pixelBytes, &written, nullptr);
  CloseHandle(file);
  return ok;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::string HexValue(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace apimgr_test

#include "outside/virtualboard/channel_tables_win.h"

#include "win32/windows_include.h"

#include <cwchar>
#include <string>

namespace {

constexpr int32_t kMaxTableChannel = 181;

std::wstring TablePath(bool cable, int32_t countryCode) {
  wchar_t directory[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
  std::wstring path(directory, length);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += cable ? L"TVFreqCable_" : L"TVFreqBroad_";
  path += std::to_wstring(countryCode) + L".ini";
  return path;
}

constexpr wchar_t kAppSetKey[] = L"SOFTWARE\\Kestrova\\Pellamy\\App\\AppSet";
constexpr DWORD kNumberTextBytes = 80;

}  // namespace

int32_t ProgramCountryCode() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAppSetKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return kDefaultCountryCode;
  }
  wchar_t text[kNumberTextBytes / sizeof(wchar_t) + 1] = {};
  DWORD type = 0;
  DWORD bytes = kNumberTextBytes;
  const LONG read =
      RegQueryValueExW(key, L"lCountryCode", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) return kDefaultCountryCode;
  // The program stores "%lu" of the 32-bit value and reads it back so.
  return static_cast<int32_t>(static_cast<uint32_t>(wcstoul(text, nullptr, 10)));
}

ChannelTable ReadChannelTable(bool cable, int32_t countryCode) {
  ChannelTable table;
  const std::wstring path = TablePath(cable, countryCode);
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return table;
  }
  const int32_t minChannel =
      static_cast<int32_t>(GetPrivateProfileIntW(L"ChnInfo", L"MinChn", 0, path.c_str()));
  const int32_t maxChannel =
      static_cast<int32_t>(GetPrivateProfileIntW(L"ChnInfo", L"MaxChn", 0, path.c_str()));
  if (minChannel <= 0 || maxChannel < minChannel) {
    return table;
  }
  table.minChannel = minChannel;
  table.maxChannel = maxChannel < kMaxTableChannel ? maxChannel : kMaxTableChannel;
  for (int32_t channel = table.minChannel; channel <= table.maxChannel; ++channel) {
    wchar_t key[16];
    swprintf(key, 16, L"Chn_%03d", static_cast<int>(channel));
    wchar_t value[260] = {};
    GetPrivateProfileStringW(L"ChnInfo", key, L"", value, 260, path.c_str());
    const unsigned long hertz = wcstoul(value, nullptr, 10);
    if (hertz != 0) table.hertz[channel] = static_cast<uint32_t>(hertz);
  }
  return table;
}

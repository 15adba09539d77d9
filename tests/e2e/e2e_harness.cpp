#include "e2e/e2e_harness.h"

#include "skin/skin_control.h"
#include "support/local_time_win.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace brontel::e2e {
namespace {

constexpr wchar_t kAppRoot[] = L"SOFTWARE\\Kestrova\\Pellamy\\App";
constexpr wchar_t kAppSetKey[] = L"SOFTWARE\\Kestrova\\Pellamy\\App\\AppSet";
constexpr wchar_t kApiMgrClassKey[] = L"CLSID\\{630EFB03-3187-46C1-9542-302DC1234609}";
constexpr wchar_t kApiMgrDll[] = L"KXApiMgr.dll";

}  // namespace

std::wstring ProductDir() {
  return test_support::ExeDir();
}

void ResetProductSettings() {
  SHDeleteKeyW(HKEY_CURRENT_USER, kAppRoot);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kAppSetKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    const std::wstring path = ProductDir();
    RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
}

void WriteAppSetLong(const wchar_t* name, long value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kAppSetKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring text = std::to_wstring(value);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool ReadAppSetText(const wchar_t* name, std::wstring* text) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kAppSetKey, name, RRF_RT_REG_SZ, &type, buffer, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  *text = buffer;
  return true;
}

void WriteSettingText(const std::wstring& group, const wchar_t* name, const std::wstring& text) {
  const std::wstring path = std::wstring(kAppRoot) + L"\\" + group;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void WriteSettingLong(const std::wstring& group, const wchar_t* name, long value) {
  WriteSettingText(group, name, std::to_wstring(value));
}

bool ReadSettingText(const std::wstring& group, const wchar_t* name, std::wstring* text) {
  const std::wstring path = std::wstring(kAppRoot) + L"\\" + group;
  wchar_t buffer[512] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, &type, buffer, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  *text = buffer;
  return true;
}

bool SettingKeyExists(const std::wstring& group) {
  const std::wstring path = std::wstring(kAppRoot) + L"\\" + group;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void DeleteSettingValue(const std::wstring& group, const wchar_t* name) {
  const std::wstring path = std::wstring(kAppRoot) + L"\\" + group;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    return;
  }
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}

void WriteOnceScheItem(int number, const SYSTEMTIME& start, int minutes, long channel,
                       const wchar_t* description) {
  wchar_t record[32];
  swprintf(record, 32, L"ScheSet\\ScheItem%02d", number);
  WriteSettingLong(record, L"msSrcType", 0);
  WriteSettingLong(record, L"sfType", 0);
  WriteSettingLong(record, L"lChn", channel);
  WriteSettingText(record, L"szChnName", L"TV Tokyo");
  WriteSettingText(record, L"szScheDesc", description);
  WriteSettingText(record, L"tStartDateTime", test_support::ScheduleDateText(start));
  WriteSettingText(record, L"tStopDateTime",
                   test_support::ScheduleDateText(test_support::AddSeconds(start, minutes * 60LL)));
  WriteSettingLong(record, L"lCaptMode", 1);
}

std::wstring FreshRecordFolder(const wchar_t* name) {
  const std::wstring folder = TestOutputDir() + name + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.mpg").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return folder;
  do {
    DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return folder;
}

std::wstring PowerManagerLine(const SYSTEMTIME& wake, int langCode) {
  wchar_t fields[96];
  swprintf(fields, 96, L" L:%d /w S:4 D:%d_%d_%d T:%d_%d", langCode, wake.wDay, wake.wMonth,
           wake.wYear, wake.wHour, wake.wMinute);
  return ProductDir() + kPowerManagerExe + L" " + ProductDir() + L"Brontel.exe" + fields;
}

void UnregisterApiManager() {
  const std::wstring dll = ProductDir() + kApiMgrDll;
  if (GetFileAttributesW(dll.c_str()) != INVALID_FILE_ATTRIBUTES) {
    test_support::RunProcess(L"regsvr32.exe /u /s \"" + dll + L"\"", L"", 30000);
  }
  SHDeleteKeyW(HKEY_CLASSES_ROOT, kApiMgrClassKey);
}

void RegisterApiManager() {
  const std::wstring dll = ProductDir() + kApiMgrDll;
  if (GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  test_support::RunProcess(L"regsvr32.exe /s \"" + dll + L"\"", L"", 30000);
}

bool ApiManagerRegistered() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kApiMgrClassKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::wstring LoadLibraryString(const std::wstring& dllName, UINT id) {
  const std::wstring path = ProductDir() + dllName;
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return std::wstring();
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  std::wstring result = length > 0 ? std::wstring(text, static_cast<size_t>(length)) : L"";
  FreeLibrary(module);
  return result;
}

TitledWindow::TitledWindow(const wchar_t* title) : m_title(title) {
  m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_thread = std::thread([this] { Run(); });
  WaitForSingleObject(m_ready, 5000);
}

TitledWindow::~TitledWindow() {
  PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
  m_thread.join();
  CloseHandle(m_ready);
}

LRESULT CALLBACK TitledWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    auto* self = reinterpret_cast<TitledWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) InterlockedIncrement(&self->m_closeCount);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void TitledWindow::Run() {
  m_threadId = GetCurrentThreadId();
  WNDCLASSW cls = {};
  cls.lpfnWndProc = Proc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"BrontelTestTitledWindow";
  RegisterClassW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, m_title, WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, cls.hInstance, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists now
  SetEvent(m_ready);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(window);
}

bool MatchesPattern(const std::string& text, const std::string& pattern) {
  size_t t = 0, p = 0, starP = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool SendCommand(HWND dialog, int id) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)), SMTO_ABORTIFHUNG,
                             10000, &result) != 0;
}

namespace {

constexpr int kSkinItemId = 1000;
constexpr DWORD kDialogTimeoutMs = 20000;

}  // namespace

BrontelSession::BrontelSession(const std::wstring& journalName)
    : m_journal(TestOutputDir() + journalName) {}

bool BrontelSession::Start(const std::wstring& arguments) {
  if (!m_program.Start(L"Brontel.exe", arguments)) return false;
  m_dialog = WaitForTopWindow(m_program.pid(), L"#32770", L"Brontel", kDialogTimeoutMs);
  return m_dialog != nullptr;
}

bool BrontelSession::WaitForPanel(DWORD timeoutMs) {
  return WaitUntil([this] { return SkinVisible(L"MainPanel"); }, timeoutMs);
}

HWND BrontelSession::skin() const {
  return GetDlgItem(m_dialog, kSkinItemId);
}

long BrontelSession::SkinField(const wchar_t* element, int field) const {
  return static_cast<long>(
      skin::QuerySkinElement(skin(), element, static_cast<skin::SkinField>(field)));
}

bool BrontelSession::SkinVisible(const wchar_t* element) const {
  return SkinField(element, skin::kFieldVisible) == 1;
}

std::wstring BrontelSession::ItemText(int id) const {
  return WindowText(GetDlgItem(m_dialog, id));
}

HWND BrontelSession::OtherDialog() const {
  for (HWND dialog : FindTopWindows(m_program.pid(), L"#32770", nullptr)) {
    if (dialog != m_dialog && IsWindowVisible(dialog)) return dialog;
  }
  return nullptr;
}

}  // namespace brontel::e2e

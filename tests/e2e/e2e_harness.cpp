#include "e2e/e2e_harness.h"

#include "skin/skin_control.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <sstream>

namespace brontel::e2e {
namespace {

constexpr wchar_t kAppRoot[] = L"SOFTWARE\\Kestrova\\Pellamy\\App";
constexpr wchar_t kAppSetKey[] = L"SOFTWARE\\Kestrova\\Pellamy\\App\\AppSet";
constexpr wchar_t kApiMgrClassKey[] = L"CLSID\\{630EFB03-3187-46C1-9542-302DC1234609}";
constexpr wchar_t kApiMgrDll[] = L"KXApiMgr.dll";
constexpr DWORD kPollMs = 50;

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  dir.erase(dir.find_last_of(L"\\/") + 1);
  return dir;
}

bool RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return false;
  }
  const bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ended;
}

struct FindState {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* title;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != state->pid) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (state->className != nullptr && wcscmp(cls, state->className) != 0) return TRUE;
  if (state->title != nullptr && WindowText(window) != state->title) return TRUE;
  state->found->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
  auto* texts = reinterpret_cast<std::wstring*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") != 0) return TRUE;
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
  const std::wstring text = WindowText(child);
  if (text.empty()) return TRUE;
  if (!texts->empty()) *texts += L"\n";
  *texts += text;
  return TRUE;
}

}  // namespace

std::wstring ProductDir() {
  return ExeDir();
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

void KillProcessesNamed(const wchar_t* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) != 0) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

void UnregisterApiManager() {
  const std::wstring dll = ProductDir() + kApiMgrDll;
  if (GetFileAttributesW(dll.c_str()) != INVALID_FILE_ATTRIBUTES) {
    RunAndWait(L"regsvr32.exe /u /s \"" + dll + L"\"", 30000);
  }
  SHDeleteKeyW(HKEY_CLASSES_ROOT, kApiMgrClassKey);
}

void RegisterApiManager() {
  const std::wstring dll = ProductDir() + kApiMgrDll;
  if (GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  RunAndWait(L"regsvr32.exe /s \"" + dll + L"\"", 30000);
}

bool ApiManagerRegistered() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kApiMgrClassKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

Program::~Program() {
  Kill();
  if (m_info.hThread != nullptr) CloseHandle(m_info.hThread);
  if (m_info.hProcess != nullptr) CloseHandle(m_info.hProcess);
}

bool Program::Start(const std::wstring& exeName, const std::wstring& arguments) {
  const std::wstring exe = ProductDir() + exeName;
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  return CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        ProductDir().c_str(), &startup, &m_info) != 0;
}

bool Program::WaitForExit(DWORD timeoutMs) {
  return m_info.hProcess != nullptr &&
         WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::IsRunning() const {
  return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
  if (IsRunning()) {
    TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, 5000);
  }
}

std::vector<HWND> FindTopWindows(DWORD pid, const wchar_t* className, const wchar_t* title) {
  std::vector<HWND> found;
  FindState state{pid, className, title, &found};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&state));
  return found;
}

HWND WaitForTopWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    const std::vector<HWND> found = FindTopWindows(pid, className, title);
    if (!found.empty()) return found.front();
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND WaitForOtherDialog(DWORD pid, HWND exclude, int controlId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND dialog : FindTopWindows(pid, L"#32770", nullptr)) {
      if (dialog == exclude || !IsWindowVisible(dialog)) continue;
      if (controlId == 0 || GetDlgItem(dialog, controlId) != nullptr) return dialog;
    }
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  // SendMessageTimeout: reading the text of a hung window must not hang
  // the test.
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &length);
  return text;
}

std::wstring StaticTexts(HWND dialog) {
  std::wstring texts;
  EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void ClickButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
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

namespace {

constexpr wchar_t kJournalVariable[] = L"KXTVA_JOURNAL";

bool ParseJournalLine(const std::string& text, JournalLine* line) {
  line->text = text;
  std::istringstream in(text);
  std::string direction, rc;
  if (!(in >> line->command >> direction >> rc)) return false;
  if (direction.size() != 1 || rc.compare(0, 3, "rc=") != 0) return false;
  line->direction = direction[0];
  line->rc = std::atoi(rc.c_str() + 3);
  std::getline(in, line->block);
  if (!line->block.empty() && line->block[0] == ' ') line->block.erase(0, 1);
  return true;
}

}  // namespace

BoardJournal::BoardJournal(const std::wstring& path) : m_path(path) {
  DeleteFileW(m_path.c_str());
  SetEnvironmentVariableW(kJournalVariable, m_path.c_str());
}

BoardJournal::~BoardJournal() {
  SetEnvironmentVariableW(kJournalVariable, nullptr);
}

std::vector<JournalLine> BoardJournal::Read() const {
  std::vector<JournalLine> lines;
  std::ifstream in(m_path.c_str(), std::ios::binary);
  std::string text;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    JournalLine line;
    // A line still being written has no end yet; the board writes whole lines.
    if (ParseJournalLine(text, &line)) lines.push_back(line);
  }
  return lines;
}

std::vector<JournalLine> BoardJournal::ReadFrom(size_t first, int command) const {
  const std::vector<JournalLine> all = Read();
  std::vector<JournalLine> lines;
  for (size_t i = first; i < all.size(); ++i) {
    if (command == 0 || all[i].command == command) lines.push_back(all[i]);
  }
  return lines;
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

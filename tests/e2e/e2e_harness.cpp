#include "e2e/e2e_harness.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

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

std::wstring TestOutputDir() {
  std::wstring dir = ExeDir();
  dir.pop_back();  // the bin folder's backslash
  dir.erase(dir.find_last_of(L"\\/") + 1);
  dir += L"test-output\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
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
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
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

}  // namespace brontel::e2e

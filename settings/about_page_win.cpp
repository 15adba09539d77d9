#include "settings/about_page_win.h"

#include <tlhelp32.h>
#include <winver.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lang/resource_ids.h"
#include "settings/module_list.h"
#include "win32/handles.h"
#include "win32/resource_module.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr UINT kColumnWidthsId = 286;
constexpr UINT kColumnTitleFirst = 287;  // module, version, path
constexpr int kColumnCount = 3;
constexpr UINT kNoneTextId = 203;
constexpr DWORD kMaxModules = 1024;

using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

// The full paths of the modules of this process through the process-status
// library, which older systems may lack; false when it is not there.
bool ModulesFromPsapi(std::vector<std::wstring>* paths) {
  UniqueModule psapi(LoadLibraryW(L"psapi.dll"));
  if (!psapi) return false;
  auto enumModules = reinterpret_cast<EnumProcessModulesFn>(
      reinterpret_cast<void*>(GetProcAddress(psapi.Get(), "EnumProcessModules")));
  auto fileName = reinterpret_cast<GetModuleFileNameExFn>(
      reinterpret_cast<void*>(GetProcAddress(psapi.Get(), "GetModuleFileNameExW")));
  if (enumModules == nullptr || fileName == nullptr) return false;
  std::vector<HMODULE> modules(kMaxModules);
  DWORD needed = 0;
  HANDLE self = GetCurrentProcess();
  if (!enumModules(self, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                   &needed)) {
    return false;
  }
  modules.resize(std::min<size_t>(needed / sizeof(HMODULE), modules.size()));
  for (HMODULE module : modules) {
    wchar_t path[MAX_PATH] = {};
    fileName(self, module, path, MAX_PATH);
    paths->push_back(path);
  }
  return true;
}

// The same list from a tool-help snapshot of the process.
void ModulesFromSnapshot(std::vector<std::wstring>* paths) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId()));
  if (!snapshot) return;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more;
       more = Module32NextW(snapshot.Get(), &entry)) {
    paths->push_back(entry.szExePath);
  }
}

std::string FileVersionOf(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::string();
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::string();
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return std::string();
  }
  return FormatFileVersion(true, fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

}  // namespace

CAboutPtyPage::CAboutPtyPage(CAppSettings& working, SettingsSheetHost& host)
    : SettingsPage(IDD_SET_ABOUT, working, host) {}

void CAboutPtyPage::OnInitDialog() {
  HWND list = Item(IDC_AB_MODULES);
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  AddListColumns(list, kColumnTitleFirst, kColumnCount, kColumnWidthsId);

  std::vector<std::wstring> paths;
  if (!ModulesFromPsapi(&paths)) ModulesFromSnapshot(&paths);
  const std::string none = Narrow(LoadResString(kNoneTextId));
  int row = 0;
  for (const std::wstring& path : paths) {
    const ModuleRow cells = MakeModuleRow(Narrow(path), FileVersionOf(path), none);
    std::wstring name = Widen(cells.name);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = &name[0];
    const int at = ListView_InsertItem(list, &item);
    if (at < 0) continue;
    SetListText(list, at, 1, Widen(cells.version));
    SetListText(list, at, 2, Widen(cells.path));
    ++row;
  }
}

}  // namespace brontel

// Brontel-Setup.exe under Wine, in a prefix of its own that nothing else has
// touched: silent installs and uninstalls, seen from outside through the
// files, the registry, the shell and the installed programs themselves.
//
// The suites run in order on one prefix: a failed install that rolls back,
// an install into the default folder that is then reinstalled and removed,
// and an install into a folder with spaces and Japanese characters that runs
// the product. The path of the installer comes in BRONTEL_SETUP.

#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/board_journal_win.h"
#include "support/process_win.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"

namespace brontel::test_support {
namespace {

constexpr DWORD kSetupTimeoutMs = 120000;
constexpr DWORD kWindowTimeoutMs = 30000;
// NSIS's "installation aborted by the script".
constexpr DWORD kSetupAborted = 2;

constexpr wchar_t kAppRoot[] = L"SOFTWARE\\Kestrova\\Pellamy\\App";
constexpr wchar_t kAppSet[] = L"SOFTWARE\\Kestrova\\Pellamy\\App\\AppSet";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brontel";
constexpr wchar_t kLegacyFilters[] = L"{083863F1-70DE-11D0-BD40-00A0C911CE86}";
constexpr wchar_t kVideoCompressors[] = L"{33D9A760-90C8-11D0-BD43-00A0C911CE86}";
constexpr wchar_t kEncodeWriterName[] = L"Ligos GoMotion Filter (Kestrova)";
constexpr wchar_t kMissing[] = L"<missing>";

struct Server {
  const wchar_t* file;
  const wchar_t* clsid;
  const wchar_t* filterName;  // null: not a DirectShow filter
};

constexpr Server kServers[] = {
    {L"KXApiMgr.dll", L"{630EFB03-3187-46C1-9542-302DC1234609}", nullptr},
    {L"kxEncodeWriter.ax", L"{D9BD2743-3122-425B-9C0A-F3CC0FE525B9}", kEncodeWriterName},
    {L"kxDIgrab.ax", L"{D216C7E1-0BB8-44BA-80A8-2C13DECC2930}", L"kxDIgrab"},
    {L"kxDISnap.ax", L"{CAA109F6-8F50-475A-967A-691197CF8BEB}", L"kxDISnap"},
};

// The product's files in its folder; the stand-ins that the build made are
// added by FolderFiles().
constexpr const wchar_t* kProgramFiles[] = {
    L"Brontel.exe",         L"BrontelIEPG.exe", L"KXApiMgr.dll",        L"kxEncodeWriter.ax",
    L"kxDIgrab.ax",         L"kxDISnap.ax",     L"BrontelResJapan.dll", L"BrontelResEnglh.dll",
    L"registersetting.ini", L"Uninstall.exe",
};
constexpr const wchar_t* kStandInFiles[] = {
    L"KXTVA.DLL",
    L"gomotion.dll",
    L"StdPropPage.dll",
    L"kxPwrMgr.exe",
};
constexpr const wchar_t* kWindowsFiles[] = {
    L"AppSkin.skn",       L"TVFreqBroad_81.ini", L"TVFreqCable_81.ini", L"TVChn_Cntry_81.ini",
    L"TVFreqBroad_1.ini", L"TVFreqCable_1.ini",  L"TVChn_Cntry_1.ini",
};

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::wstring DefaultFolder() {
  return KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Kestrova\\Brontel";
}

std::wstring WindowsDir() {
  wchar_t path[MAX_PATH] = {};
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring StartMenuFolder() {
  return KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Brontel";
}

int CountShortcuts() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((StartMenuFolder() + L"\\*.lnk").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

// A value as text (REG_SZ), or kMissing.
std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return kMissing;
  }
  return buffer;
}

// The first key below `key` (depth first), to tell what is left behind.
std::wstring FirstKeyBelow(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return key;
  wchar_t name[256] = {};
  DWORD length = 256;
  const bool hasChild =
      RegEnumKeyExW(handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return hasChild ? FirstKeyBelow(root, key + L"\\" + name) : key;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void WriteUserText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
}

std::wstring SetupPath() {
  wchar_t path[MAX_PATH] = {};
  GetEnvironmentVariableW(L"BRONTEL_SETUP", path, MAX_PATH);
  return path;
}

// Runs the installer silently; `options` go before NSIS's /D=, which must
// come last.
DWORD RunSetup(const std::wstring& options, const std::wstring& folder = L"") {
  std::wstring command = L"\"" + SetupPath() + L"\" /S " + options;
  if (!folder.empty()) command += L" /D=" + folder;
  return RunProcess(command, L"", kSetupTimeoutMs);
}

// The uninstaller copies itself away and returns at once; the removal is
// over when its last step, the uninstall entry, is gone.
bool RunUninstall(const std::wstring& folder, const std::wstring& options) {
  const std::wstring uninstaller = folder + L"\\Uninstall.exe";
  if (!FileExists(uninstaller)) return false;
  if (RunProcess(L"\"" + uninstaller + L"\" /S " + options, L"", kSetupTimeoutMs) != 0) {
    return false;
  }
  return WaitUntil(
      [&] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey) && !FileExists(uninstaller); },
      kSetupTimeoutMs);
}

std::vector<std::wstring> FolderFiles() {
  std::vector<std::wstring> files(std::begin(kProgramFiles), std::end(kProgramFiles));
  // A stand-in is shipped when this build has it.
  for (const wchar_t* file : kStandInFiles) {
    if (FileExists(ExeDir() + file)) files.push_back(file);
  }
  return files;
}

// Every place the installer writes to, for a folder it installed into.
void ExpectInstalledInto(const std::wstring& folder) {
  for (const std::wstring& file : FolderFiles()) {
    EXPECT_TRUE(FileExists(folder + L"\\" + file)) << Narrow(file);
  }
  for (const wchar_t* file : kWindowsFiles) {
    EXPECT_TRUE(FileExists(WindowsDir() + L"\\" + file)) << Narrow(file);
  }
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kAppSet, L"InstallPath"), folder + L"\\");
  for (const Server& server : kServers) {
    const std::wstring classKey = std::wstring(L"CLSID\\") + server.clsid;
    EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr),
              folder + L"\\" + server.file)
        << Narrow(server.file);
    if (server.filterName != nullptr) {
      const std::wstring instance =
          std::wstring(L"CLSID\\") + kLegacyFilters + L"\\Instance\\" + server.clsid;
      EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, instance, L"FriendlyName"), server.filterName);
    }
  }
  const std::wstring compressor =
      std::wstring(L"CLSID\\") + kVideoCompressors + L"\\Instance\\" + kEncodeWriterName;
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, compressor, L"CLSID"), kServers[1].clsid);
}

// Nothing the installer writes is left, settings aside.
void ExpectNothingInstalledIn(const std::wstring& folder) {
  EXPECT_FALSE(FileExists(folder)) << "the install folder is left";
  for (const wchar_t* file : kWindowsFiles) {
    EXPECT_FALSE(FileExists(WindowsDir() + L"\\" + file)) << Narrow(file);
  }
  for (const Server& server : kServers) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + server.clsid))
        << Narrow(server.file);
    if (server.filterName != nullptr) {
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + kLegacyFilters +
                                                    L"\\Instance\\" + server.clsid))
          << Narrow(server.file);
    }
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + kVideoCompressors +
                                                L"\\Instance\\" + kEncodeWriterName));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Kestrova.KXApiMgr"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".tvpi"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Brontel.iEPGFile"));
  EXPECT_FALSE(
      KeyExists(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type\\application/x-tv-program-info"));
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kAppSet, L"InstallPath"), kMissing);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(FileExists(StartMenuFolder()));
}

// --- A registration that fails ----------------------------------------------

// Without the stand-ins this prefix has no MPEG encoder library, so the
// encode-writer filter cannot load to register: the installer must stop and
// take back what it did, the manager it had registered already included.
TEST(FailedRegistration, StopsAndRollsEverythingBack) {
  ASSERT_FALSE(SetupPath().empty()) << "BRONTEL_SETUP is not set";
  EXPECT_EQ(RunSetup(L"/NOSTANDINS"), kSetupAborted);
  ExpectNothingInstalledIn(DefaultFolder());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppRoot));
}

// --- The default folder: install, reinstall, uninstall -----------------------

// One silent install into the folder given by Folder() (empty: the default)
// for the whole suite.
template <std::wstring (*Folder)()>
class InstalledSuite : public testing::Test {
 protected:
  static void SetUpTestSuite() { s_setupResult = RunSetup(L"", Folder()); }
  void SetUp() override { ASSERT_EQ(s_setupResult, 0u); }

  static inline DWORD s_setupResult = ~0u;
};

std::wstring NoFolder() {
  return L"";
}
using DefaultInstall = InstalledSuite<NoFolder>;

TEST_F(DefaultInstall, PutsFilesRegistrationsAndInstallPathInPlace) {
  ExpectInstalledInto(DefaultFolder());
}

TEST_F(DefaultInstall, TvpiFilesAndTheirContentTypeOpenWithTheIepgHandler) {
  const std::wstring handler = L"\"" + DefaultFolder() + L"\\BrontelIEPG.exe\" %1";
  wchar_t command[1024] = {};
  DWORD length = 1024;
  ASSERT_EQ(AssocQueryStringW(0, ASSOCSTR_COMMAND, L".tvpi", L"open", command, &length), S_OK);
  EXPECT_EQ(std::wstring(command), handler);
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L".tvpi", L"Content Type"),
            L"application/x-tv-program-info");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT,
                    L"MIME\\Database\\Content Type\\application/x-tv-program-info", L"Extension"),
            L".tvpi");
}

TEST_F(DefaultInstall, AddsTheUninstallEntryAndStartMenuShortcuts) {
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Brontel");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Kestrova");
  const std::wstring version = RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion");
  EXPECT_NE(version, kMissing);
  EXPECT_FALSE(version.empty());
  EXPECT_NE(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString").find(L"Uninstall.exe"),
            std::wstring::npos);
  EXPECT_TRUE(FileExists(StartMenuFolder() + L"\\Brontel.lnk"));
  EXPECT_EQ(CountShortcuts(), 2) << "Brontel and its uninstaller";
}

TEST_F(DefaultInstall, ReinstallKeepsTheSettingsAndTheCurrentSource) {
  const std::wstring ini = DefaultFolder() + L"\\registersetting.ini";
  WriteUserText(std::wstring(kAppRoot) + L"\\AppSet", L"lVolLevel", L"7");
  WriteUserText(std::wstring(kAppRoot) + L"\\TVSet\\ChnInfo001", L"szTVStnName", L"NHK G");
  ASSERT_TRUE(WritePrivateProfileStringW(L"Brontel", L"CurrentSource", L"2", ini.c_str()));

  ASSERT_EQ(RunSetup(L""), 0u);
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kAppSet, L"lVolLevel"), L"7");
  EXPECT_EQ(
      RegText(HKEY_CURRENT_USER, std::wstring(kAppRoot) + L"\\TVSet\\ChnInfo001", L"szTVStnName"),
      L"NHK G");
  EXPECT_EQ(GetPrivateProfileIntW(L"Brontel", L"CurrentSource", -1, ini.c_str()), 2u);
  ExpectInstalledInto(DefaultFolder());
}

TEST_F(DefaultInstall, SilentUninstallRemovesEverythingButTheSettings) {
  WriteUserText(std::wstring(kAppRoot) + L"\\AppSet", L"lVolLevel", L"7");
  ASSERT_TRUE(RunUninstall(DefaultFolder(), L""));
  ExpectNothingInstalledIn(DefaultFolder());
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kAppSet, L"lVolLevel"), L"7");
}

// --- A folder whose name has spaces and Japanese characters ------------------

// C:\Program Files\テレビ 録画\Brontel
std::wstring JapaneseFolder() {
  return KnownFolder(CSIDL_PROGRAM_FILES) + L"\\\x30C6\x30EC\x30D3 \x9332\x753B\\Brontel";
}

using JapaneseFolderInstall = InstalledSuite<JapaneseFolder>;

TEST_F(JapaneseFolderInstall, PutsFilesRegistrationsAndInstallPathThere) {
  ExpectInstalledInto(JapaneseFolder());
}

// Started from the installed folder, Brontel finds its skin, its manager,
// the channel tables and the virtual board, which opens its picture window
// and shows the station.
TEST_F(JapaneseFolderInstall, BrontelStartsOnTheVirtualBoardAndShowsItsPicture) {
  WriteUserText(kAppSet, L"bHideNoOvrlaySpt", L"1");
  // One channel, 4, which the installed Japanese broadcast table puts on
  // 171.25 MHz, where the virtual board has a station.
  const std::wstring tvSet = std::wstring(kAppRoot) + L"\\TVSet";
  WriteUserText(tvSet, L"lTVChnCount", L"1");
  WriteUserText(tvSet, L"lCurrChn", L"1");
  WriteUserText(tvSet + L"\\ChnInfo001", L"lChn", L"1");
  WriteUserText(tvSet + L"\\ChnInfo001", L"lFreqChn", L"4");
  WriteUserText(tvSet + L"\\ChnInfo001", L"dPresetFreq", L"0.000");
  WriteUserText(tvSet + L"\\ChnInfo001", L"dFreqOffset", L"0.000");
  WriteUserText(tvSet + L"\\ChnInfo001", L"szTVStnName", L"NTV");
  BoardJournal journal(TestOutputDir() + L"installer_brontel_journal.txt");
  const std::wstring exe = JapaneseFolder() + L"\\Brontel.exe";
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION info = {};
  std::wstring command = L"\"" + exe + L"\"";
  ASSERT_TRUE(CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                             JapaneseFolder().c_str(), &startup, &info));
  // The board's picture window lives inside the program's video window.
  HWND picture = nullptr;
  WaitUntil(
      [&] {
        HWND video = FindWindowW(nullptr, L"Video Screen");
        picture = video ? FindWindowExW(video, nullptr, nullptr, L"Pellamy Screen") : nullptr;
        if (picture == nullptr) picture = FindWindowW(nullptr, L"Pellamy Screen");
        return picture != nullptr;
      },
      kWindowTimeoutMs);
  const bool tuned = WaitUntil(
      [&] {
        for (const JournalLine& line : journal.Read()) {
          if (line.command == 404 && line.rc == 0 &&
              line.block.find("freq=171250000") != std::string::npos) {
            return true;
          }
        }
        return false;
      },
      kWindowTimeoutMs);
  // The board draws into its window: more than one colour on the screen.
  const bool pictureDrawn = picture != nullptr && WaitUntil(
                                                      [&] {
                                                        const Capture shot =
                                                            CaptureScreenOf(picture);
                                                        for (std::uint32_t pixel : shot.pixels) {
                                                          if (pixel != shot.pixels.front()) {
                                                            return true;
                                                          }
                                                        }
                                                        return false;
                                                      },
                                                      kWindowTimeoutMs);
  if (picture != nullptr) {
    SaveWindowScreenshot(GetAncestor(picture, GA_ROOT),
                         TestOutputDir() + L"installer_video_screen.png");
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);

  ASSERT_NE(picture, nullptr) << "no picture window";
  EXPECT_TRUE(tuned) << "channel 4 was not tuned from the installed table";
  EXPECT_TRUE(pictureDrawn) << "the picture window shows nothing";
  const std::vector<JournalLine> lines = journal.Read();
  ASSERT_GE(lines.size(), 6u);
  // The start-up sequence: capabilities, limits, open, the start check, the
  // deinterlacer, then the picture window.
  const int kStartupCommands[] = {3, 4, 6, 113, 214, 1};
  for (size_t i = 0; i < sizeof(kStartupCommands) / sizeof(kStartupCommands[0]); ++i) {
    EXPECT_EQ(lines[i].command, kStartupCommands[i]) << lines[i].text;
    EXPECT_EQ(lines[i].rc, 0) << lines[i].text;
  }
  EXPECT_NE(lines[5].text.find("title=\"Pellamy Screen\""), std::string::npos) << lines[5].text;
}

// As a browser does with a download: the shell opens the file, and the
// handler reads it from the path it is given, spaces and all.
TEST_F(JapaneseFolderInstall, OpeningATvpiFileRunsTheHandlerOnIt) {
  const std::wstring folder = TempDir() + L"iEPG downloads";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\news at nine.tvpi";
  ASSERT_TRUE(WriteFileBytes(file,
                             "Content-type: application/x-tv-program-info; charset=shift_jis\r\n"
                             "version: 1\r\nstation: NHK\r\nyear: 2030\r\nmonth: 4\r\n"
                             "date: 1\r\nstart: 21:00\r\nend: 21:30\r\n"
                             "program-title: News\r\n"));
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  ASSERT_GT(reinterpret_cast<INT_PTR>(result), 32);
  HWND dialog = WaitForTopWindow(0, L"#32770", L"Brontel iEPG", kWindowTimeoutMs);
  ASSERT_NE(dialog, nullptr) << "the handler did not show its dialog";
  EXPECT_EQ(ItemText(dialog, 1006), L"NHK");
  EXPECT_EQ(ItemText(dialog, 1007), L"News");
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  if (process != nullptr) {
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 0);
    CloseHandle(process);
  }
}

TEST_F(JapaneseFolderInstall, UninstallWithRemoveSettingsLeavesNothing) {
  WriteUserText(kAppSet, L"lVolLevel", L"7");
  ASSERT_TRUE(RunUninstall(JapaneseFolder(), L"/REMOVESETTINGS"));
  ExpectNothingInstalledIn(JapaneseFolder());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Kestrova"))
      << Narrow(FirstKeyBelow(HKEY_CURRENT_USER, L"SOFTWARE\\Kestrova"));
}

}  // namespace
}  // namespace brontel::test_support

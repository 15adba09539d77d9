// The capture settings page in a real property sheet, over the real board
// client and the virtual board: the free-space check on a real small disk
// (small_disk.sh maps a 64 MiB tmpfs to R:), the profile and sound-device
// choices in the working copy, the vanished-folder notice, and pictures of
// the page in both languages for a person to look at.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/settings/app_settings.h"
#include "lang/resource_ids.h"
#include "settings/capture_page_win.h"
#include "settings/sheet_host.h"
#include "win32/resource_module.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"
#include "tv/board_client_win.h"

namespace brontel {
namespace {

using test_support::ClickButton;
using test_support::ExeDir;
using test_support::FindTopWindows;
using test_support::ItemText;
using test_support::StaticTexts;
using test_support::TestOutputDir;
using test_support::WaitForOtherDialog;
using test_support::WaitUntil;

constexpr wchar_t kSheetTitle[] = L"Capture page test";
constexpr wchar_t kEnglish[] = L"BrontelResEnglh.dll";
constexpr wchar_t kJapanese[] = L"BrontelResJapan.dll";
constexpr wchar_t kSmallDrive[] = L"R:\\";
constexpr DWORD kTimeoutMs = 15000;

std::string Narrowed(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// The point-size word of a dialog template's font (DLGTEMPLATE or
// DLGTEMPLATEEX), or null when it names none.
WORD* TemplateFontSize(void* templ) {
  auto* words = static_cast<WORD*>(templ);
  const bool extended = words[1] == 0xFFFF;
  const DWORD style =
      extended ? *reinterpret_cast<DWORD*>(words + 6) : *reinterpret_cast<DWORD*>(words);
  if ((style & DS_SETFONT) == 0) return nullptr;
  WORD* p = words + (extended ? 13 : 9);
  for (int text = 0; text < 3; ++text) {  // menu, class, title
    if (*p == 0x0000) {
      p += 1;
    } else if (*p == 0xFFFF) {
      p += 2;
    } else {
      while (*p++ != 0) {
      }
    }
  }
  return p;
}

// A sheet measures its pages in its own font; the language's pages use a
// font of their own (9 pt in Japanese), so the sheet takes the pages' font
// size, as the program's sheet has to.
WORD g_pageFontSize = 8;
int CALLBACK SheetCallback(HWND, UINT message, LPARAM data) {
  if (message == PSCB_PRECREATE && data != 0) {
    if (WORD* size = TemplateFontSize(reinterpret_cast<void*>(data))) *size = g_pageFontSize;
  }
  return 0;
}

WORD PageFontSize(HMODULE resources) {
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(IDD_SET_CAPTURE), RT_DIALOG);
  void* templ = found ? LockResource(LoadResource(resources, found)) : nullptr;
  const WORD* size = templ ? TemplateFontSize(templ) : nullptr;
  return size ? *size : 8;
}

// The main dialog's part, as far as the page and the board client ask.
class PageHost : public BoardClientHost, public SettingsSheetHost {
 public:
  CBoardClient* board = nullptr;
  HWND MainWindow() override { return nullptr; }
  HWND VideoWindow() override { return nullptr; }
  void ShowBoardError() override {}
  void ShowVolume(std::int32_t) override {}
  void ShowAudioMode(std::int32_t) override {}
  void ShowChannelTexts(const std::string&, const std::string&) override {}
  void ShowPendingSource(std::int32_t) override {}
  void RefreshPanel() override {}
  bool VideoWindowVisible() override { return false; }
  void ShowVideoWindow(bool) override {}
  std::int32_t RunMode() override { return 0; }
  CBoardClient* Board() override { return board; }
  std::int32_t LiveSource() override { return 0; }
  bool DeinterlacerAvailable() override { return true; }
  bool ReadTempScheItem(ScheItem*) override { return false; }
};

// The page alone in a modal sheet on a thread of its own, as the settings
// sheet shows it; the test works it from outside like a user.
class SheetRun {
 public:
  SheetRun(CAppSettings& working, const wchar_t* library) : m_working(working) {
    m_thread = std::thread([this, library] { Run(library); });
  }
  ~SheetRun() {
    if (!m_done) {
      if (HWND sheet = Sheet()) PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
    m_thread.join();
  }

  HWND WaitForSheet() {
    WaitUntil([this] { return Sheet() != nullptr || m_done; }, kTimeoutMs);
    return Sheet();
  }
  HWND Sheet() const {
    const auto sheets = FindTopWindows(GetCurrentProcessId(), L"#32770", kSheetTitle);
    return sheets.empty() ? nullptr : sheets.front();
  }
  // The page once the sheet has made it; a message box instead fails the
  // test with its text (and is closed, so that the sheet can end).
  HWND WaitForPage() {
    HWND page = nullptr;
    WaitUntil(
        [&] {
          page = Page();
          return page != nullptr || m_done;
        },
        kTimeoutMs);
    if (HWND box = WaitForOtherDialog(GetCurrentProcessId(), Sheet(), IDOK, 200)) {
      ADD_FAILURE() << "message box: " << Narrowed(StaticTexts(box));
      ClickButton(box, IDOK);
    }
    return page;
  }
  HWND Page() const {
    HWND sheet = Sheet();
    return sheet ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0))
                 : nullptr;
  }
  void Press(int button) { PostMessageW(Sheet(), PSM_PRESSBUTTON, button, 0); }
  bool WaitDone() {
    return WaitUntil([this] { return m_done.load(); }, kTimeoutMs);
  }
  bool boardOpened() const { return m_boardOpened; }
  INT_PTR result() const { return m_result; }

 private:
  void Run(const wchar_t* library) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE resources = LoadLibraryW((ExeDir() + library).c_str());
    if (resources) {
      SetResourceModule(resources);
      CAppSettings live;
      PageHost host;
      CBoardClient client(live, host);
      m_boardOpened = client.CreateBoard() == kBoardCreated;
      if (m_boardOpened) host.board = &client;
      CCaptSetPtyPage page(m_working, host);
      PROPSHEETPAGEW description = page.Describe(resources);
      HPROPSHEETPAGE handle = CreatePropertySheetPageW(&description);
      PROPSHEETHEADERW header{};
      header.dwSize = sizeof(header);
      header.dwFlags = PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_USECALLBACK;
      header.pfnCallback = &SheetCallback;
      g_pageFontSize = PageFontSize(resources);
      header.hInstance = resources;
      header.pszCaption = kSheetTitle;
      header.nPages = 1;
      header.phpage = &handle;
      m_result = PropertySheetW(&header);
      SetResourceModule(nullptr);
      FreeLibrary(resources);
    }
    CoUninitialize();
    m_done = true;
  }

  CAppSettings& m_working;
  std::thread m_thread;
  std::atomic<bool> m_done{false};
  std::atomic<bool> m_boardOpened{false};
  INT_PTR m_result = -1;
};

std::wstring LibraryString(const wchar_t* library, UINT id) {
  HMODULE module = LoadLibraryExW((ExeDir() + library).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  wchar_t text[512] = {};
  if (module) {
    LoadStringW(module, id, text, 512);
    FreeLibrary(module);
  }
  return text;
}

// Waits for the page's message box, checks that it says string `id` and
// closes it.
void ExpectNotice(SheetRun& run, UINT id) {
  HWND box = WaitForOtherDialog(GetCurrentProcessId(), run.Sheet(), IDOK, kTimeoutMs);
  ASSERT_NE(box, nullptr) << "no message box for string " << id;
  const std::wstring expected = LibraryString(kEnglish, id);
  ASSERT_FALSE(expected.empty());
  EXPECT_NE(StaticTexts(box).find(expected), std::wstring::npos) << "string " << id;
  ClickButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kTimeoutMs));
}

void SetField(HWND page, int id, const wchar_t* text) {
  SendMessageW(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Choose(HWND page, int comboId, int index) {
  HWND combo = GetDlgItem(page, comboId);
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::wstring ComboText(HWND page, int comboId, int index) {
  HWND combo = GetDlgItem(page, comboId);
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int ComboCount(HWND page, int comboId) {
  return static_cast<int>(SendDlgItemMessageW(page, comboId, CB_GETCOUNT, 0, 0));
}

std::string BigFolder() {
  const std::wstring folder = TestOutputDir();
  return std::string(folder.begin(), folder.end());
}

TEST(CapturePageWine, SizeLimitBeyondTheSmallDriveIsRefusedAndAFittingOneKept) {
  ULARGE_INTEGER available{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(kSmallDrive, &available, nullptr, nullptr))
      << "drive R: is not mapped (small_disk.sh setup)";
  const ULONGLONG freeMB = available.QuadPart >> 20;
  // The free-space check finds a folder by the files in it, and a fresh
  // drive root holds none.
  const std::wstring marker = std::wstring(kSmallDrive) + L"capture-page-marker.txt";
  ASSERT_TRUE(test_support::WriteFileBytes(marker, "x"));
  struct Remove {
    std::wstring path;
    ~Remove() { DeleteFileW(path.c_str()); }
  } removeMarker{marker};
  ASSERT_GT(freeMB, 40u);
  ASSERT_LT(freeMB, 100u);

  CAppSettings working;
  working.captSet.szRecDestDir = "R:\\";
  working.captSet.szTimeShiftDestDir = "R:\\";
  working.captSet.Rec_clt = 1;
  working.captSet.lRecSizeLimitMB = 30;
  working.captSet.lTSBufferSizeMB = 20;
  SheetRun run(working, kEnglish);
  ASSERT_NE(run.WaitForSheet(), nullptr);
  HWND page = run.WaitForPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ItemText(page, IDC_CP_REC_FIGURES), L"30");

  SetField(page, IDC_CP_SIZE_LIMIT, L"100");
  run.Press(PSBTN_OK);
  ExpectNotice(run, 300);
  EXPECT_NE(run.Sheet(), nullptr) << "the sheet closed over a refused limit";

  SetField(page, IDC_CP_SIZE_LIMIT, L"30");
  run.Press(PSBTN_OK);
  ASSERT_TRUE(run.WaitDone());
  EXPECT_GT(run.result(), 0);
  EXPECT_EQ(working.captSet.lRecSizeLimitMB, 30);
  EXPECT_EQ(working.captSet.Rec_clt, 1);
}

TEST(CapturePageWine, ProfileSoundDeviceAndPreviewGoToTheWorkingCopy) {
  CAppSettings working;
  working.captSet.szRecDestDir = BigFolder();
  working.captSet.szTimeShiftDestDir = BigFolder();
  working.captSet.lTSBufferSizeMB = 1;
  working.captSet.iRecQuickProfile = 17;  // AVI, which this installation cannot capture
  working.captSet.szAudioDevice = "virtual sound card";
  working.captSet.szAudioInputSrc = "gone input";
  working.captSet.Rec_spc.dwcappreview = 1;
  SheetRun run(working, kEnglish);
  ASSERT_NE(run.WaitForSheet(), nullptr);
  HWND page = run.WaitForPage();
  ASSERT_TRUE(run.boardOpened());
  ASSERT_NE(page, nullptr);

  // The board's own 7134 device is never offered.
  ASSERT_EQ(ComboCount(page, IDC_CP_AUDIO_DEVICE), 1);
  EXPECT_EQ(ComboText(page, IDC_CP_AUDIO_DEVICE, 0), L"Virtual Sound Card");
  EXPECT_EQ(ComboCount(page, IDC_CP_AUDIO_INPUT), 4);
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_CP_AUDIO_INPUT, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ComboCount(page, IDC_CP_REC_PROFILE), 17);
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_CP_REC_PROFILE, CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(ComboCount(page, IDC_CP_TS_PROFILE), 3);
  EXPECT_EQ(IsDlgButtonChecked(page, IDC_CP_PREVIEW), BST_UNCHECKED);

  Choose(page, IDC_CP_REC_PROFILE, 6);
  Choose(page, IDC_CP_AUDIO_INPUT, 2);
  SendDlgItemMessageW(page, IDC_CP_PREVIEW, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CP_PREVIEW, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_CP_PREVIEW)));
  run.Press(PSBTN_OK);
  ASSERT_TRUE(run.WaitDone());
  EXPECT_GT(run.result(), 0);

  const CaptSetGroup& capt = working.captSet;
  EXPECT_EQ(capt.iRecQuickProfile, 6);
  EXPECT_EQ(capt.Rec_spc.dwbit_rate, 8000000u);
  EXPECT_EQ(capt.Rec_spc.dwvbr_max_bit_rate, 9800000u);
  EXPECT_EQ(capt.Rec_spc.dwcappreview, 2u);
  EXPECT_EQ(capt.iTSQuickProfile, 1);
  EXPECT_EQ(capt.TS_spc.dwbit_rate, 6000000u);
  EXPECT_EQ(capt.szAudioDevice, "Virtual Sound Card");
  EXPECT_EQ(capt.szAudioInputSrc, "CD Audio");
}

TEST(CapturePageWine, VanishedFolderBecomesDriveCWithANotice) {
  const std::wstring folder = TestOutputDir() + L"capture-page-vanishing";
  CreateDirectoryW(folder.c_str(), nullptr);
  CAppSettings working;
  working.captSet.szRecDestDir = std::string(folder.begin(), folder.end());
  working.captSet.szTimeShiftDestDir = BigFolder();
  working.captSet.lRecSizeLimitMB = 1;
  working.captSet.lTSBufferSizeMB = 1;
  SheetRun run(working, kEnglish);
  ASSERT_NE(run.WaitForSheet(), nullptr);
  HWND page = run.WaitForPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ItemText(page, IDC_CP_REC_FOLDER), folder);

  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  ExpectNotice(run, 279);
  EXPECT_EQ(ItemText(page, IDC_CP_REC_FOLDER), L"C:\\");
  run.Press(PSBTN_OK);
  ASSERT_TRUE(run.WaitDone());
  EXPECT_EQ(working.captSet.szRecDestDir, "C:\\");
}

TEST(CapturePageWine, PicturesOfThePageInBothLanguages) {
  for (const wchar_t* library : {kEnglish, kJapanese}) {
    SCOPED_TRACE(library);
    CAppSettings working;
    working.captSet.szRecDestDir = BigFolder();
    working.captSet.szTimeShiftDestDir = BigFolder();
    working.captSet.Rec_clt = 2;
    working.captSet.lRecSizeLimitMB = 1024;
    working.captSet.lTSBufferSizeMB = 1;
    SheetRun run(working, library);
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(sheet, nullptr);
    Sleep(500);
    const std::wstring name = library == kEnglish ? L"english" : L"japanese";
    EXPECT_TRUE(test_support::SaveWindowScreenshot(
        sheet, TestOutputDir() + L"capture-page-" + name + L".png"));
    run.Press(PSBTN_CANCEL);
    ASSERT_TRUE(run.WaitDone());
  }
}

}  // namespace
}  // namespace brontel

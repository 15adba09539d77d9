// The capture settings page of the real Brontel.exe, opened from the panel's
// settings button: a size limit beyond the free space of the small drive R:
// (small_disk.sh) is refused and a fitting one taken, and a profile chosen
// there is what the next custom-mode recording hands to the board.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using CapturePageE2E = BoardE2ETest;

constexpr DWORD kSheetTimeoutMs = 15000;
constexpr UINT kStringSizeOverFree = 300;
constexpr long kCustomMode = 3;
constexpr int kProfileBest = 6;  // 8 Mbit/s
constexpr int kEncoderCommand = 506;

// Opens the settings sheet from the panel and shows its capture page.
HWND OpenCapturePage(BrontelSession& session, HWND* sheetOut) {
  PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_SETTINGS, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(session.dialog(), IDC_BTN_SETTINGS)));
  HWND sheet = WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kSheetTimeoutMs);
  *sheetOut = sheet;
  if (!sheet) return nullptr;
  for (int index = 0; index < 8; ++index) {
    if (!SendMessageW(sheet, PSM_SETCURSEL, index, 0)) break;
    HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (page && GetDlgItem(page, IDC_CP_REC_PROFILE)) return page;
  }
  return nullptr;
}

bool SheetClosed(HWND sheet) {
  return WaitUntil([&] { return !IsWindow(sheet); }, kSheetTimeoutMs);
}

TEST_F(CapturePageE2E, SizeLimitBeyondTheSmallDriveIsRefusedAndAFittingOneTaken) {
  ULARGE_INTEGER available{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"R:\\", &available, nullptr, nullptr))
      << "drive R: is not mapped (small_disk.sh setup)";
  // The free-space check finds a folder by the files in it, and a fresh
  // drive root holds none.
  const std::wstring marker = L"R:\\capture-page-e2e-marker.txt";
  ASSERT_TRUE(test_support::WriteFileBytes(marker, "x"));
  struct Remove {
    std::wstring path;
    ~Remove() { DeleteFileW(path.c_str()); }
  } removeMarker{marker};
  WriteSettingText(L"CaptSet", L"szRecDestDir", L"R:\\");
  WriteSettingText(L"CaptSet", L"szTimeShiftDestDir", L"R:\\");
  WriteSettingLong(L"CaptSet", L"Rec_clt", 1);
  WriteSettingLong(L"CaptSet", L"lRecSizeLimitMB", 30);
  WriteSettingLong(L"CaptSet", L"lTSBufferSizeMB", 20);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  HWND sheet = nullptr;
  HWND page = OpenCapturePage(session, &sheet);
  ASSERT_NE(page, nullptr) << "no capture page";
  SaveWindowScreenshot(sheet, TestOutputDir() + L"capture-page-brontel.png");

  SetDlgItemTextW(page, IDC_CP_SIZE_LIMIT, L"100");
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  HWND box = WaitForOtherDialog(session.program().pid(), sheet, IDOK, kSheetTimeoutMs);
  ASSERT_NE(box, nullptr) << "the limit was not refused";
  EXPECT_NE(StaticTexts(box).find(LoadLibraryString(kJapaneseLibrary, kStringSizeOverFree)),
            std::wstring::npos);
  ClickButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kSheetTimeoutMs));
  EXPECT_TRUE(IsWindow(sheet)) << "the sheet closed over a refused limit";

  SetDlgItemTextW(page, IDC_CP_SIZE_LIMIT, L"40");
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  ASSERT_TRUE(SheetClosed(sheet));
  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadSettingText(L"CaptSet", L"lRecSizeLimitMB", &stored));
  EXPECT_EQ(stored, L"40");
}

TEST_F(CapturePageE2E, ChosenProfileIsTheBitRateOfTheNextRecording) {
  const std::wstring folder = TestOutputDir() + L"capture-page-recording";
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteSettingText(L"CaptSet", L"szTimeShiftDestDir", folder);
  WriteSettingLong(L"CaptSet", L"lTSBufferSizeMB", 16);
  WriteAppSetLong(L"cmCurrRecMode", kCustomMode);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  HWND sheet = nullptr;
  HWND page = OpenCapturePage(session, &sheet);
  ASSERT_NE(page, nullptr) << "no capture page";
  HWND combo = GetDlgItem(page, IDC_CP_REC_PROFILE);
  SendMessageW(combo, CB_SETCURSEL, kProfileBest, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CP_REC_PROFILE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
  ASSERT_TRUE(SheetClosed(sheet));

  const size_t first = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  const std::vector<JournalLine> records =
      WaitForLines(session, first, kEncoderCommand, 1, kJournalTimeoutMs);
  ASSERT_FALSE(records.empty()) << "no encoder record reached the board";
  // The 8 Mbit/s profile's first words: group 12, sub-group 3, MPEG-2, the
  // bit rate; its peak is 9.8 Mbit/s.
  EXPECT_NE(records.front().block.find("{12,3,0,8000000,"), std::string::npos)
      << records.front().text;
  EXPECT_NE(records.front().block.find(",9800000,8000000,9000000,"), std::string::npos)
      << records.front().text;
  ASSERT_TRUE(session.Command(IDC_BTN_STOP));
  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadSettingText(L"CaptSet", L"iRecQuickProfile", &stored));
  EXPECT_EQ(stored, L"6");
}

}  // namespace
}  // namespace brontel::e2e

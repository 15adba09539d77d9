// The colour, snapshot and radio pages of the real Brontel.exe, opened with
// the panel's settings button: what they send to the virtual board (its
// journal) and what reaches the registry after OK or Cancel and the exit.

#include <gtest/gtest.h>

#include <string>

#include "e2e/board_e2e_fixture.h"

#include <commctrl.h>

namespace brontel::e2e {
namespace {

using SettingsPagesE2E = BoardE2ETest;

constexpr long kSourceRadio = 3;
constexpr DWORD kSheetTimeoutMs = 10000;
// The virtual board's FM stations lie between 78.0 and 82.5 MHz; a scan
// steps every half second from 76.0 MHz.
constexpr DWORD kScanTimeoutMs = 60000;

// The settings button opens a modal sheet, so the click is posted.
HWND OpenSheet(BrontelSession& session) {
  PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_SETTINGS, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(session.dialog(), IDC_BTN_SETTINGS)));
  return WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kSheetTimeoutMs);
}

// Turns to the page holding control `id`, as a click on its tab does.
HWND ShowPageWith(HWND sheet, int id) {
  const int count = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
  for (int i = 0; i < count; ++i) {
    PropSheet_SetCurSel(sheet, nullptr, i);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    if (page != nullptr && GetDlgItem(page, id) != nullptr) return page;
  }
  return nullptr;
}

// A slider dragged and let go.
void MoveSlider(HWND page, int id, int position) {
  HWND slider = GetDlgItem(page, id);
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
  SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

bool CloseSheet(HWND sheet, bool ok) {
  PropSheet_PressButton(sheet, ok ? PSBTN_OK : PSBTN_CANCEL);
  return WaitUntil([&] { return !IsWindow(sheet); }, kSheetTimeoutMs);
}

std::wstring Setting(const std::wstring& group, const wchar_t* name) {
  std::wstring text;
  ReadSettingText(group, name, &text);
  return text;
}

TEST_F(SettingsPagesE2E, ColourSliderReachesTheBoardAndOkKeepsIt) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  HWND sheet = OpenSheet(session);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  HWND page = ShowPageWith(sheet, IDC_CL_BRIGHTNESS);
  ASSERT_NE(page, nullptr) << "no colour page";
  const size_t from = session.journal().Size();
  MoveSlider(page, IDC_CL_BRIGHTNESS, 80);
  const std::vector<JournalLine> writes = WaitForLines(session, from, 205, 1, kJournalTimeoutMs);
  ASSERT_FALSE(writes.empty()) << "the live input's colour did not reach the board";
  EXPECT_NE(writes[0].block.find("kind=0 value=80 "), std::string::npos) << writes[0].text;
  ASSERT_TRUE(CloseSheet(sheet, true));
  ExitProgram(session);
  EXPECT_EQ(Setting(L"VidClrSet", L"TV_lBrightness"), L"80");
}

TEST_F(SettingsPagesE2E, CancelLeavesTheRegistryAsItWas) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const std::wstring brightness = Setting(L"VidClrSet", L"TV_lBrightness");
  const std::wstring size = Setting(L"SnapSet", L"lCaptDim");
  const std::wstring counter = Setting(L"SnapSet", L"lFileCounter");
  HWND sheet = OpenSheet(session);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  HWND colour = ShowPageWith(sheet, IDC_CL_BRIGHTNESS);
  ASSERT_NE(colour, nullptr);
  MoveSlider(colour, IDC_CL_BRIGHTNESS, 12);
  HWND snapshot = ShowPageWith(sheet, IDC_SN_SIZE_800);
  ASSERT_NE(snapshot, nullptr);
  SendMessageW(GetDlgItem(snapshot, IDC_SN_SIZE_800), BM_CLICK, 0, 0);
  ClickButton(snapshot, IDC_SN_RESET_COUNTER);
  ASSERT_TRUE(CloseSheet(sheet, false));
  ExitProgram(session);
  EXPECT_EQ(Setting(L"VidClrSet", L"TV_lBrightness"), brightness);
  EXPECT_EQ(Setting(L"SnapSet", L"lCaptDim"), size);
  EXPECT_EQ(Setting(L"SnapSet", L"lFileCounter"), counter);
}

TEST_F(SettingsPagesE2E, RadioScanFindsTheBoardsStations) {
  WriteAppSetLong(L"msCurrSrc", kSourceRadio);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  HWND sheet = OpenSheet(session);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  EXPECT_EQ(ShowPageWith(sheet, IDC_CL_BRIGHTNESS), nullptr) << "no colour page for the radio";
  HWND page = ShowPageWith(sheet, IDC_RD_SCAN);
  ASSERT_NE(page, nullptr) << "no radio page";
  HWND list = GetDlgItem(page, IDC_RD_LIST);
  ClickButton(page, IDC_RD_SCAN);
  ASSERT_TRUE(WaitUntil([&] { return ListView_GetItemCount(list) >= 4; }, kScanTimeoutMs))
      << "found " << ListView_GetItemCount(list);
  ClickButton(page, IDC_RD_SCAN);
  ASSERT_TRUE(CloseSheet(sheet, true));
  ExitProgram(session);
  EXPECT_EQ(Setting(L"RdSet", L"lRDStnCount"), L"4");
  const wchar_t* stations[] = {L"78.000", L"80.000", L"81.300", L"82.500"};
  for (int i = 0; i < 4; ++i) {
    const std::wstring group = L"RdSet\\StnInfo0" + std::to_wstring(i + 1);
    EXPECT_EQ(Setting(group, L"dPresetFreq"), stations[i]) << i;
  }
}

}  // namespace
}  // namespace brontel::e2e

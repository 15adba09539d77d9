// The colour, snapshot and radio pages in a real property sheet over the
// real board client and the virtual board: what they send to the board
// (its journal) and what they leave in the working copy.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/vocabulary/source_numbers.h"
#include "lang/resource_ids.h"
#include "settings/colour_page_win.h"
#include "settings/radio_page_win.h"
#include "settings/sheet_font_win.h"
#include "settings/snapshot_page_win.h"
#include "support/board_journal_win.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"
#include "tv/board_client_win.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

using test_support::BoardJournal;
using test_support::JournalLine;
using test_support::PumpUntil;

// The main dialog's side of the board client, reduced to a window.
class TestBoardHost : public BoardClientHost {
 public:
  explicit TestBoardHost(HWND window) : m_window(window) {}
  HWND MainWindow() override { return m_window; }
  HWND VideoWindow() override { return m_window; }
  void ShowBoardError() override { ++boardErrors; }
  void ShowVolume(std::int32_t) override {}
  void ShowAudioMode(std::int32_t) override {}
  void ShowChannelTexts(const std::string&, const std::string&) override {}
  void ShowPendingSource(std::int32_t) override {}
  void RefreshPanel() override {}
  bool VideoWindowVisible() override { return false; }
  void ShowVideoWindow(bool) override {}
  std::int32_t RunMode() override { return 0; }
  int boardErrors = 0;

 private:
  HWND m_window;
};

class TestSheetHost : public SettingsSheetHost {
 public:
  TestSheetHost(CBoardClient& board, CAppSettings& live, HWND window)
      : m_board(board), m_live(live), m_window(window) {}
  CBoardClient* Board() override { return &m_board; }
  std::int32_t LiveSource() override { return m_live.appSet.msCurrSrc; }
  bool DeinterlacerAvailable() override { return true; }
  HWND MainWindow() override { return m_window; }
  bool ReadTempScheItem(ScheItem*) override { return false; }

 private:
  CBoardClient& m_board;
  CAppSettings& m_live;
  HWND m_window;
};

// The sheet takes the pages' font size, as the product's sheet does, so that
// a page is not clipped in a language with a larger font.
WORD g_pageFontSize = 0;
int CALLBACK SheetCallback(HWND, UINT message, LPARAM lParam) {
  if (message == PSCB_PRECREATE && g_pageFontSize != 0) {
    SetDialogFontSize(reinterpret_cast<void*>(lParam), g_pageFontSize);
  }
  return 0;
}

// A modeless PropertySheetW holding one page, so that the test thread can
// work it between its own message pumps.
class OnePageSheet {
 public:
  OnePageSheet(SettingsPage& page, HWND owner) {
    PROPSHEETPAGEW description = page.Describe(ResourceModule());
    HPROPSHEETPAGE pages[] = {CreatePropertySheetPageW(&description)};
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_USECALLBACK;
    header.pfnCallback = &SheetCallback;
    g_pageFontSize = DialogFontSize(ResourceModule(), page.TemplateId());
    header.hwndParent = owner;
    header.hInstance = ResourceModule();
    header.pszCaption = L"Brontel";
    header.nPages = 1;
    header.phpage = pages;
    m_sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    test_support::PaintNow(m_sheet);
  }
  ~OnePageSheet() {
    if (m_sheet != nullptr) DestroyWindow(m_sheet);
  }
  HWND sheet() const { return m_sheet; }
  HWND page() const { return PropSheet_GetCurrentPageHwnd(m_sheet); }
  HWND Item(int id) const { return GetDlgItem(page(), id); }
  // A click as the user makes it: auto buttons change their state too.
  void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  // A slider moved with the mouse and let go.
  void MoveSlider(int id, int position) const {
    SendMessageW(Item(id), TBM_SETPOS, TRUE, position);
    SendMessageW(page(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(Item(id)));
    SendMessageW(page(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(Item(id)));
  }
  // OK or Cancel; true once the sheet has let its pages go.
  bool Close(bool ok) const {
    PropSheet_PressButton(m_sheet, ok ? PSBTN_OK : PSBTN_CANCEL);
    return PumpUntil([&] { return PropSheet_GetCurrentPageHwnd(m_sheet) == nullptr; }, 5000);
  }

 private:
  HWND m_sheet = nullptr;
};

// Answers the next message box of this process with `button` and keeps its
// text.
class MessageBoxAnswer {
 public:
  MessageBoxAnswer(HWND exclude, int button)
      : m_thread([this, exclude, button] {
          HWND box =
              test_support::WaitForOtherDialog(GetCurrentProcessId(), exclude, button, 10000);
          if (box == nullptr) return;
          m_text = test_support::StaticTexts(box);
          test_support::ClickButton(box, button);
          m_answered = true;
        }) {}
  ~MessageBoxAnswer() {
    if (m_thread.joinable()) m_thread.join();
  }
  const std::wstring& Text() {
    if (m_thread.joinable()) m_thread.join();
    return m_text;
  }
  bool Answered() const { return m_answered; }

 private:
  std::atomic<bool> m_answered{false};
  std::wstring m_text;
  std::thread m_thread;
};

// "kind=0 value=80 result=..." of a video property line.
bool IsProperty(const JournalLine& line, int kind, int value) {
  return line.block.find("kind=" + std::to_string(kind) + " value=" + std::to_string(value) +
                         " ") != std::string::npos;
}

class SettingsPages : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    UseLanguage(L"BrontelResEnglh.dll");
    m_window = CreateWindowExW(0, L"STATIC", L"pages test", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
    m_journal = std::make_unique<BoardJournal>();
    m_boardHost = std::make_unique<TestBoardHost>(m_window);
    m_board = std::make_unique<CBoardClient>(m_live, *m_boardHost);
    ASSERT_EQ(m_board->CreateBoard(), 0) << "KXApiMgr and the virtual board must be installed";
    m_sheetHost = std::make_unique<TestSheetHost>(*m_board, m_live, m_window);
    m_working = m_live;
  }
  void TearDown() override {
    if (m_board) m_board->CloseBoard();
    m_board.reset();
    m_journal.reset();
    if (m_window != nullptr) DestroyWindow(m_window);
    SetResourceModule(nullptr);
    if (m_language != nullptr) FreeLibrary(m_language);
    CoUninitialize();
  }
  void UseLanguage(const wchar_t* library) {
    SetResourceModule(nullptr);
    if (m_language != nullptr) FreeLibrary(m_language);
    m_language = LoadLibraryW((test_support::ExeDir() + library).c_str());
    ASSERT_NE(m_language, nullptr);
    SetResourceModule(m_language);
  }
  std::vector<JournalLine> PropertyWrites(size_t from) const {
    return m_journal->ReadFrom(from, 205);
  }

  CAppSettings m_live;
  CAppSettings m_working;
  HWND m_window = nullptr;
  HMODULE m_language = nullptr;
  std::unique_ptr<BoardJournal> m_journal;
  std::unique_ptr<TestBoardHost> m_boardHost;
  std::unique_ptr<CBoardClient> m_board;
  std::unique_ptr<TestSheetHost> m_sheetHost;
};

TEST_F(SettingsPages, ColourSliderReachesTheBoardOnlyForTheLiveInput) {
  m_live.appSet.msCurrSrc = kSourceVideo;
  m_working = m_live;
  CColorSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  ASSERT_NE(sheet.page(), nullptr);
  EXPECT_EQ(IsDlgButtonChecked(sheet.page(), IDC_CL_VIDEO1), BST_CHECKED)
      << "opens on the live input";

  size_t from = m_journal->Size();
  sheet.MoveSlider(IDC_CL_CONTRAST, 81);
  std::vector<JournalLine> writes = PropertyWrites(from);
  ASSERT_FALSE(writes.empty()) << "the live input's change goes to the board";
  EXPECT_TRUE(IsProperty(writes[1], 1, 81)) << writes[1].text;

  sheet.Click(IDC_CL_VIDEO2);
  from = m_journal->Size();
  sheet.MoveSlider(IDC_CL_HUE, 12);
  EXPECT_TRUE(PropertyWrites(from).empty()) << "an input not on screen is not previewed";

  ASSERT_TRUE(sheet.Close(true));
  EXPECT_EQ(m_working.vidClrSet.video1.lContrast, 81);
  EXPECT_EQ(m_working.vidClrSet.video2.lHue, 12);
  EXPECT_EQ(m_live.vidClrSet.video1.lContrast, 53) << "only the working copy changes";
}

TEST_F(SettingsPages, ColourCancelPutsTheLiveColoursBackOnTheBoard) {
  m_live.vidClrSet.tv = InputColour{44, 55, 66, 33};
  m_working = m_live;
  CColorSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  sheet.MoveSlider(IDC_CL_BRIGHTNESS, 90);
  const size_t from = m_journal->Size();
  ASSERT_TRUE(sheet.Close(false));
  const std::vector<JournalLine> writes = PropertyWrites(from);
  ASSERT_GE(writes.size(), 4u);
  EXPECT_TRUE(IsProperty(writes[0], 0, 44)) << writes[0].text;
  EXPECT_TRUE(IsProperty(writes[1], 1, 55)) << writes[1].text;
  EXPECT_TRUE(IsProperty(writes[2], 2, 33)) << writes[2].text;
  EXPECT_TRUE(IsProperty(writes[3], 3, 66)) << writes[3].text;
}

TEST_F(SettingsPages, ColourAllSameAsksAndSharesTheTvSet) {
  m_live.vidClrSet.tv = InputColour{10, 20, 30, 40};
  m_live.vidClrSet.video1 = InputColour{150, 50, 50, 50};  // shows as 0
  m_working = m_live;
  CColorSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  {
    MessageBoxAnswer no(sheet.sheet(), IDNO);
    sheet.Click(IDC_CL_ALL_SAME);
    EXPECT_NE(no.Text().find(L"Use the TV picture settings for all inputs?"), std::wstring::npos);
  }
  EXPECT_EQ(IsDlgButtonChecked(sheet.page(), IDC_CL_ALL_SAME), BST_UNCHECKED);
  sheet.Click(IDC_CL_VIDEO1);
  EXPECT_EQ(SendMessageW(sheet.Item(IDC_CL_BRIGHTNESS), TBM_GETPOS, 0, 0), 0);
  {
    MessageBoxAnswer yes(sheet.sheet(), IDYES);
    sheet.Click(IDC_CL_ALL_SAME);
    yes.Text();
  }
  EXPECT_EQ(IsDlgButtonChecked(sheet.page(), IDC_CL_TV), BST_CHECKED);
  ASSERT_TRUE(sheet.Close(true));
  EXPECT_EQ(m_working.vidClrSet.bColorAllSame, 1);
  EXPECT_EQ(m_working.vidClrSet.video1.lBrightness, 10);
  EXPECT_EQ(m_working.vidClrSet.video2.lHue, 40);
}

TEST_F(SettingsPages, SnapshotChoicesAreStoredAtOnce) {
  m_working.snapSet.lFileCounter = 41;
  m_working.snapSet.lJPGQuality = 30;
  CSnapSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  EXPECT_EQ(SendMessageW(sheet.Item(IDC_SN_QUALITY), TBM_GETPOS, 0, 0), 70);
  sheet.Click(IDC_SN_SIZE_800);
  sheet.Click(IDC_SN_BMP);
  sheet.Click(IDC_SN_NUMBERED);
  sheet.Click(IDC_SN_RESET_COUNTER);
  EXPECT_EQ(m_working.snapSet.lCaptDim, 800);
  EXPECT_EQ(m_working.snapSet.lImageFormat, 2);
  EXPECT_EQ(m_working.snapSet.lFileNameType, 0);
  EXPECT_EQ(m_working.snapSet.lFileCounter, 1);
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_SN_COUNTER), L"1");
  sheet.MoveSlider(IDC_SN_QUALITY, 0);
  EXPECT_EQ(m_working.snapSet.lJPGQuality, 100);
  sheet.Click(IDC_SN_QUALITY_DEFAULT);
  EXPECT_EQ(m_working.snapSet.lJPGQuality, 75);
  EXPECT_EQ(SendMessageW(sheet.Item(IDC_SN_QUALITY), TBM_GETPOS, 0, 0), 25);
  ASSERT_TRUE(sheet.Close(true));
}

TEST_F(SettingsPages, RadioScanFindsTheBoardsStations) {
  m_board->SelectSource(kSourceRadio, false);
  m_working = m_live;
  CRDSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_RD_FREQUENCY), L"76.000");
  const size_t from = m_journal->Size();
  sheet.Click(IDC_RD_SCAN);
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_RD_SCAN), L"&Stop");
  EXPECT_FALSE(IsWindowEnabled(sheet.Item(IDC_RD_TUNE)));
  // The virtual board's stations lie between 78.0 and 82.5 MHz; the scan
  // is stopped after the last of them.
  const HWND list = sheet.Item(IDC_RD_LIST);
  ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(list) >= 4; }, 60000));
  sheet.Click(IDC_RD_SCAN);
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_RD_SCAN), L"&Scan");
  EXPECT_TRUE(IsWindowEnabled(sheet.Item(IDC_RD_TUNE)));

  // Every 100 kHz step from the band's bottom, in order.
  std::int32_t expected = 76000000;
  for (const JournalLine& line : m_journal->ReadFrom(from, 404)) {
    EXPECT_NE(line.block.find("freq=" + std::to_string(expected) + "}"), std::string::npos)
        << line.text;
    expected += 100000;
  }
  EXPECT_GE(expected, 82600000);

  ASSERT_TRUE(sheet.Close(true));
  const RdSetGroup& radio = m_working.rdSet;
  ASSERT_EQ(radio.lRDStnCount, 4);
  const double stations[] = {78.0, 80.0, 81.3, 82.5};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(radio.stations[i].lStn, i + 1);
    EXPECT_NEAR(radio.stations[i].dPresetFreq, stations[i], 1e-6);
    EXPECT_EQ(radio.stations[i].szRDStnName, "Channel " + std::to_string(i + 1));
  }
}

TEST_F(SettingsPages, RadioScanRefusedWhileARadioRecordingIsScheduled) {
  m_working.scheSet.lScheItemCount = 1;
  m_working.scheSet.items[0].msSrcType = kSourceRadio;
  CRDSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  const size_t from = m_journal->Size();
  {
    MessageBoxAnswer ok(sheet.sheet(), IDOK);
    sheet.Click(IDC_RD_SCAN);
    EXPECT_NE(ok.Text().find(L"A channel scan cannot run"), std::wstring::npos) << ok.Text();
  }
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_RD_SCAN), L"&Scan");
  EXPECT_TRUE(m_journal->ReadFrom(from, 404).empty());
}

TEST_F(SettingsPages, RadioTypedFrequencyIsCheckedAgainstTheBand) {
  m_board->SelectSource(kSourceRadio, false);
  CRDSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  SetDlgItemTextW(sheet.page(), IDC_RD_FREQUENCY, L"90.1");
  {
    MessageBoxAnswer ok(sheet.sheet(), IDOK);
    sheet.Click(IDC_RD_TUNE);
    EXPECT_NE(ok.Text().find(L"outside the FM band"), std::wstring::npos) << ok.Text();
  }
  const size_t from = m_journal->Size();
  SetDlgItemTextW(sheet.page(), IDC_RD_FREQUENCY, L"80");
  sheet.Click(IDC_RD_ADD);
  const std::vector<JournalLine> tunes = m_journal->ReadFrom(from, 404);
  ASSERT_EQ(tunes.size(), 1u);
  EXPECT_NE(tunes[0].block.find("freq=80000000}"), std::string::npos) << tunes[0].text;
  EXPECT_EQ(ListView_GetItemCount(sheet.Item(IDC_RD_LIST)), 1);
  ASSERT_TRUE(sheet.Close(true));
  EXPECT_EQ(m_working.rdSet.lRDStnCount, 1);
}

TEST_F(SettingsPages, RadioSeekStopsAtTheNextStationAndARowTunesItsFrequency) {
  m_board->SelectSource(kSourceRadio, false);
  m_working.rdSet.lRDStnCount = 1;
  m_working.rdSet.stations[0] = StationEntry{1, 81.3, 0.0, "Third"};
  CRDSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  size_t from = m_journal->Size();
  sheet.Click(IDC_RD_SEEK_UP);
  ASSERT_TRUE(PumpUntil(
      [&] {
        return IsWindowEnabled(sheet.Item(IDC_RD_SCAN)) && !m_journal->ReadFrom(from, 404).empty();
      },
      30000));
  EXPECT_EQ(test_support::ItemText(sheet.page(), IDC_RD_FREQUENCY), L"78.000");
  const std::vector<JournalLine> tunes = m_journal->ReadFrom(from, 404);
  ASSERT_EQ(tunes.size(), 20u) << "76.1 to 78.0 MHz";
  EXPECT_NE(tunes.back().block.find("freq=78000000}"), std::string::npos) << tunes.back().text;

  from = m_journal->Size();
  ListView_SetItemState(sheet.Item(IDC_RD_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
  const std::vector<JournalLine> row = m_journal->ReadFrom(from, 404);
  ASSERT_EQ(row.size(), 1u);
  EXPECT_NE(row[0].block.find("freq=81300000}"), std::string::npos) << row[0].text;
  ASSERT_TRUE(sheet.Close(false));
}

TEST_F(SettingsPages, RadioKeepsTenStationsOnlyWhenTheUserAgrees) {
  m_board->SelectSource(kSourceRadio, false);
  CRDSetPtyPage page(m_working, *m_sheetHost);
  OnePageSheet sheet(page, m_window);
  for (int i = 0; i < 11; ++i) {
    SetDlgItemTextW(sheet.page(), IDC_RD_FREQUENCY, std::to_wstring(80 + i).c_str());
    sheet.Click(IDC_RD_ADD);
  }
  {
    MessageBoxAnswer no(sheet.sheet(), IDNO);
    PropSheet_PressButton(sheet.sheet(), PSBTN_OK);
    PumpUntil([&] { return no.Answered(); }, 10000);
    EXPECT_NE(no.Text().find(L"Only 10 radio stations"), std::wstring::npos) << no.Text();
  }
  test_support::PumpMessages(200);
  EXPECT_NE(sheet.page(), nullptr) << "No keeps the page open";
  EXPECT_EQ(m_working.rdSet.lRDStnCount, 0);
  MessageBoxAnswer yes(sheet.sheet(), IDYES);
  ASSERT_TRUE(sheet.Close(true));
  EXPECT_EQ(m_working.rdSet.lRDStnCount, 10);
  EXPECT_NEAR(m_working.rdSet.stations[9].dPresetFreq, 89.0, 1e-6);
}

// Pictures of the three pages in both languages, for a person to look at.
TEST_F(SettingsPages, PagesInBothLanguages) {
  m_working.rdSet.lRDStnCount = 2;
  m_working.rdSet.stations[0] = StationEntry{1, 80.0, 0.0, "FM Tokyo"};
  m_working.rdSet.stations[1] = StationEntry{2, 82.5, 0.0, "J-WAVE"};
  for (const wchar_t* language : {L"Englh", L"Japan"}) {
    UseLanguage((std::wstring(L"BrontelRes") + language + L".dll").c_str());
    CColorSetPtyPage colour(m_working, *m_sheetHost);
    CSnapSetPtyPage snapshot(m_working, *m_sheetHost);
    CRDSetPtyPage radio(m_working, *m_sheetHost);
    const struct {
      SettingsPage* page;
      const wchar_t* name;
    } pages[] = {{&colour, L"colour"}, {&snapshot, L"snapshot"}, {&radio, L"radio"}};
    for (const auto& shown : pages) {
      OnePageSheet sheet(*shown.page, m_window);
      test_support::PumpMessages(300);
      test_support::PaintNow(sheet.sheet());
      const std::wstring path = test_support::TestOutputDir() + L"settings_page_" + shown.name +
                                L"_" + language + L".png";
      EXPECT_TRUE(test_support::SaveWindowScreenshot(sheet.sheet(), path)) << shown.name;
      ASSERT_TRUE(sheet.Close(false));
    }
  }
}

}  // namespace
}  // namespace brontel

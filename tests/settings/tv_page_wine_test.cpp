// The TV setup page in a real property sheet over the real board client,
// the board API manager and the virtual board: the scan, fine tuning and
// how the page looks in each language. The sheet runs on a thread of its
// own; the test works it from outside as a user would, through its
// windows, and reads the board's journal.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/settings/app_settings.h"
#include "app/vocabulary/source_numbers.h"
#include "lang/resource_ids.h"
#include "settings/sheet_host.h"
#include "settings/tv_page_win.h"
#include "support/board_journal_win.h"
#include "support/screenshot_win.h"
#include "support/test_paths_win.h"
#include "support/windows_win.h"
#include "tv/board_client_win.h"
#include "win32/resource_module.h"

namespace brontel {
namespace {

using test_support::BoardJournal;
using test_support::ExeDir;
using test_support::FindTopWindows;
using test_support::JournalLine;
using test_support::TestOutputDir;
using test_support::WaitUntil;
using test_support::WindowText;

// The virtual board's stations on the Tokyo broadcast table.
const std::set<int> kBoardStations = {1, 3, 4, 6, 8, 10, 12, 14};
constexpr int kNameColumn = 2;

class QuietBoardHost : public BoardClientHost {
 public:
  explicit QuietBoardHost(HWND window) : m_window(window) {}
  HWND MainWindow() override { return m_window; }
  HWND VideoWindow() override { return m_window; }
  void ShowBoardError() override { ++boardErrors; }
  void ShowVolume(std::int32_t) override {}
  void ShowAudioMode(std::int32_t) override {}
  void ShowChannelTexts(const std::string&, const std::string&) override {}
  void ShowPendingSource(std::int32_t) override {}
  void RefreshPanel() override {}
  bool VideoWindowVisible() override { return true; }
  void ShowVideoWindow(bool) override {}
  std::int32_t RunMode() override { return 0; }
  std::atomic<int> boardErrors{0};

 private:
  HWND m_window;
};

class BoardSheetHost : public SettingsSheetHost {
 public:
  BoardSheetHost(CBoardClient* board, HWND window) : m_board(board), m_window(window) {}
  CBoardClient* Board() override { return m_board; }
  std::int32_t LiveSource() override { return kSourceTv; }
  bool DeinterlacerAvailable() override { return true; }
  HWND MainWindow() override { return m_window; }
  bool ReadTempScheItem(ScheItem*) override { return false; }

 private:
  CBoardClient* m_board;
  HWND m_window;
};

std::atomic<HWND> g_sheet{nullptr};

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) g_sheet = sheet;
  return 0;
}

// A property sheet holding the TV page, run on its own thread with the
// board opened there, as the main program would have it.
class TvPageSheet {
 public:
  TvPageSheet(const CAppSettings& working, const wchar_t* languageDll)
      : m_working(working), m_language(languageDll) {
    g_sheet = nullptr;
    m_thread = std::thread([this] { Run(); });
  }
  ~TvPageSheet() {
    if (HWND sheet = g_sheet) PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    if (m_thread.joinable()) m_thread.join();
  }

  // The sheet and its page once they are shown; null on time-out.
  HWND WaitForPage() {
    WaitUntil([] { return g_sheet.load() != nullptr; }, 20000);
    HWND sheet = g_sheet;
    if (!sheet) return nullptr;
    HWND page = nullptr;
    WaitUntil(
        [&] {
          page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          return page != nullptr && IsWindowVisible(page);
        },
        10000);
    return page;
  }
  HWND sheet() const { return g_sheet; }

  // Presses OK and waits for the sheet to end; the working copy as the
  // page left it, when OK was taken.
  bool PressOk() {
    PostMessageW(g_sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    m_thread.join();
    return m_result > 0;
  }
  // Presses Cancel and waits for the sheet to end.
  void PressCancel() {
    PostMessageW(g_sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    m_thread.join();
  }
  const CAppSettings& working() const { return m_working; }
  bool boardOpened() const { return m_boardOpened; }

 private:
  void Run() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE language = LoadLibraryW((ExeDir() + m_language).c_str());
    SetResourceModule(language);
    HWND window = CreateWindowExW(0, L"STATIC", L"tv page test", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    {
      CAppSettings live = m_working;
      QuietBoardHost boardHost(window);
      CBoardClient board(live, boardHost);
      m_boardOpened = board.CreateBoard() == kBoardCreated;
      // The picture runs in a hidden window; starting it selects the TV
      // source and loads the board client's channel tables.
      m_boardOpened = m_boardOpened && board.StartPicture(0);
      BoardSheetHost host(&board, window);
      CTVSetPtyPage page(m_working, host);
      PROPSHEETPAGEW pages[] = {page.Describe(ResourceModule())};
      PROPSHEETHEADERW header{};
      header.dwSize = sizeof(header);
      header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
      header.hInstance = ResourceModule();
      header.pszCaption = L"TV";
      header.nPages = 1;
      header.ppsp = pages;
      header.pfnCallback = &SheetCallback;
      m_result = PropertySheetW(&header);
      g_sheet = nullptr;
      board.CloseBoard();
    }
    DestroyWindow(window);
    SetResourceModule(nullptr);
    if (language) FreeLibrary(language);
    CoUninitialize();
  }

  CAppSettings m_working;
  const wchar_t* m_language;
  std::thread m_thread;
  INT_PTR m_result = -1;
  std::atomic<bool> m_boardOpened{false};
};

void Click(HWND page, int id) {
  PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

std::wstring ResString(const wchar_t* dll, UINT id) {
  HMODULE module = LoadLibraryExW((ExeDir() + dll).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  wchar_t text[512] = {};
  if (module) {
    LoadStringW(module, id, text, 512);
    FreeLibrary(module);
  }
  return text;
}

std::wstring Cell(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<int> TunedHertz(const BoardJournal& journal, size_t from) {
  std::vector<int> hertz;
  for (const JournalLine& line : journal.ReadFrom(from, 404)) {
    const size_t at = line.block.find("freq=");
    if (at != std::string::npos) hertz.push_back(std::atoi(line.block.c_str() + at + 5));
  }
  return hertz;
}

// Waits for a message box of the sheet's thread with this text, presses
// its OK and says whether it came.
bool AnswerMessage(const std::wstring& text) {
  HWND box = nullptr;
  const bool shown = WaitUntil(
      [&] {
        for (HWND window : FindTopWindows(GetCurrentProcessId(), L"#32770", nullptr)) {
          if (IsWindowVisible(window) &&
              test_support::StaticTexts(window).find(text) != std::wstring::npos) {
            box = window;
            return true;
          }
        }
        return false;
      },
      5000);
  if (box) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitUntil([&] { return !IsWindow(box); }, 5000);
  return shown;
}

void TypeChannel(HWND page, const wchar_t* number) {
  SendMessageW(GetDlgItem(page, IDC_TV_CHANNEL), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(number));
}

int RowCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

CAppSettings FreshWorking() {
  CAppSettings working;
  working.appSet.lCountryCode = 81;
  return working;
}

TEST(TvSetupPage, ScanOfTheTokyoTableFindsExactlyTheBoardsStations) {
  BoardJournal journal(TestOutputDir() + L"tv-page-scan-journal.txt");
  TvPageSheet sheet(FreshWorking(), L"BrontelResEnglh.dll");
  HWND page = sheet.WaitForPage();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(sheet.boardOpened());
  const size_t before = journal.Size();
  const std::wstring idle = ResString(L"BrontelResEnglh.dll", 193);
  const std::wstring running = ResString(L"BrontelResEnglh.dll", 194);

  Click(page, IDC_TV_SCAN);
  ASSERT_TRUE(
      WaitUntil([&] { return WindowText(GetDlgItem(page, IDC_TV_SCAN)) == running; }, 5000));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_TV_TUNE)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_TV_CHANNEL)));
  // 62 channels, one a second.
  ASSERT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(page, IDC_TV_SCAN)) == idle; }, 120000));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_TV_TUNE)));
  EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TV_CHANNEL)), L"1");
  EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TV_SCAN_CHANNEL)), L"");

  HWND list = GetDlgItem(page, IDC_TV_LIST);
  std::set<int> listed;
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < rows; ++i) listed.insert(_wtoi(Cell(list, i, 0).c_str()));
  EXPECT_EQ(listed, kBoardStations);
  EXPECT_EQ(Cell(list, 0, 0), L"001");
  EXPECT_EQ(Cell(list, 0, 1), L"91.250");
  EXPECT_EQ(Cell(list, 0, 2), L"Channel 1");
  test_support::PaintNow(sheet.sheet());
  test_support::SaveWindowScreenshot(sheet.sheet(), TestOutputDir() + L"tv-page-scanned-en.png");

  // Every channel of the table was tuned once, at its table frequency.
  const std::vector<int> tuned = TunedHertz(journal, before);
  EXPECT_EQ(tuned.size(), 62u);
  if (!tuned.empty()) {
    EXPECT_EQ(tuned.front(), 91250000);
    EXPECT_EQ(tuned.back(), 765250000);
  }

  ASSERT_TRUE(sheet.PressOk());
  const TVSetGroup& tv = sheet.working().tvSet;
  EXPECT_EQ(tv.lTVChnCount, 8);
  int i = 0;
  for (int channel : kBoardStations) {
    EXPECT_EQ(tv.channels[i].lFreqChn, channel);
    EXPECT_EQ(tv.channels[i].dFreqOffset, 0.0);
    ++i;
  }
  EXPECT_EQ(tv.channels[8].lFreqChn, 0);
}

TEST(TvSetupPage, FineTuningThreeStepsUpIsKeptAndTuned) {
  BoardJournal journal(TestOutputDir() + L"tv-page-fine-tune-journal.txt");
  CAppSettings working = FreshWorking();
  working.tvSet.lTVChnCount = 2;
  working.tvSet.channels[0] = {1, 1, 0.0, 0.0, "One", ""};
  working.tvSet.channels[1] = {2, 4, 0.0, 0.0, "Four", ""};
  TvPageSheet sheet(working, L"BrontelResEnglh.dll");
  HWND page = sheet.WaitForPage();
  ASSERT_NE(page, nullptr);
  HWND list = GetDlgItem(page, IDC_TV_LIST);
  ASSERT_EQ(Cell(list, 1, 1), L"171.250");

  // Select the row of channel 4 and double-click its frequency.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  RECT cell{};
  cell.top = 1;
  cell.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
  const size_t before = journal.Size();
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));

  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::vector<HWND> found =
            FindTopWindows(GetCurrentProcessId(), L"#32770", L"Fine Tuning");
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr && IsWindowVisible(dialog);
      },
      10000));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FT_FREQUENCY)), L"171.250");
  for (int step = 0; step < 3; ++step) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FT_UP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_FT_UP)));
  }
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FT_FREQUENCY)), L"171.400");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FT_OFFSET)), L"0.150");
  EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_FT_SLIDER), TBM_GETPOS, 0, 0), 3);
  test_support::PaintNow(dialog);
  test_support::SaveWindowScreenshot(dialog, TestOutputDir() + L"tv-fine-tune-en.png");
  // Each step is tuned at once.
  EXPECT_EQ(TunedHertz(journal, before),
            (std::vector<int>{171250000, 171300000, 171350000, 171400000}));
  const size_t beforeOk = journal.Size();
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return Cell(list, 1, 1) == L"171.400"; }, 5000));
  EXPECT_EQ(TunedHertz(journal, beforeOk), std::vector<int>{171400000});

  ASSERT_TRUE(sheet.PressOk());
  char stored[32];
  std::snprintf(stored, sizeof stored, "%.3f", sheet.working().tvSet.channels[1].dFreqOffset);
  EXPECT_STREQ(stored, "0.150");
  EXPECT_EQ(sheet.working().tvSet.channels[0].dFreqOffset, 0.0);
  EXPECT_EQ(sheet.working().tvSet.lTVChnCount, 2);
}

TEST(TvSetupPage, SeekAddDeleteAndNamingFromThePage) {
  BoardJournal journal(TestOutputDir() + L"tv-page-edit-journal.txt");
  const wchar_t* dll = L"BrontelResEnglh.dll";
  CAppSettings working = FreshWorking();
  working.tvSet.lTVChnCount = 1;
  working.tvSet.channels[0] = {1, 4, 0.0, 0.0, "Four", ""};
  working.scheSet.lScheItemCount = 1;
  working.scheSet.items[0].msSrcType = kSourceTv;
  working.scheSet.items[0].lChn = 4;
  working.scheSet.items[0].szChnName = "Four";
  TvPageSheet sheet(working, dll);
  HWND page = sheet.WaitForPage();
  ASSERT_NE(page, nullptr);
  HWND list = GetDlgItem(page, IDC_TV_LIST);

  // Seek up from channel 1 stops on the next station, channel 3.
  const size_t beforeSeek = journal.Size();
  Click(page, IDC_TV_SEEK_UP);
  ASSERT_TRUE(WaitUntil([&] { return TunedHertz(journal, beforeSeek).size() >= 2; }, 8000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page, IDC_TV_SCAN)); }, 5000));
  EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TV_CHANNEL)), L"3");
  EXPECT_EQ(TunedHertz(journal, beforeSeek), (std::vector<int>{97250000, 103250000}));

  // A number outside the table is refused and the current channel tuned again.
  TypeChannel(page, L"99");
  const size_t beforeAdd = journal.Size();
  Click(page, IDC_TV_ADD);
  EXPECT_TRUE(AnswerMessage(ResString(dll, 205)));
  EXPECT_TRUE(
      WaitUntil([&] { return WindowText(GetDlgItem(page, IDC_TV_CHANNEL)) == L"3"; }, 5000));
  EXPECT_EQ(TunedHertz(journal, beforeAdd), std::vector<int>{103250000});
  TypeChannel(page, L"5");
  Click(page, IDC_TV_ADD);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(list) == 2; }, 5000));
  EXPECT_EQ(Cell(list, 1, 0), L"005");
  EXPECT_EQ(Cell(list, 1, 1), L"177.250");
  EXPECT_EQ(Cell(list, 1, 2), L"Channel 5");
  TypeChannel(page, L"4");
  Click(page, IDC_TV_ADD);
  EXPECT_TRUE(AnswerMessage(ResString(dll, 207)));
  EXPECT_EQ(RowCount(list), 2);

  // The schedule records channel 4: its row stays.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  SetForegroundWindow(sheet.sheet());
  PostMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(AnswerMessage(ResString(dll, 212)));
  EXPECT_EQ(RowCount(list), 2);

  // The station name typed into its cell renames the schedule entry too.
  RECT cell{};
  cell.top = kNameColumn;
  cell.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
  HWND editor = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        editor = FindWindowExW(list, nullptr, L"Edit", nullptr);
        return editor != nullptr;
      },
      5000));
  SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Nippon TV"));
  PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitUntil([&] { return Cell(list, 0, 2) == L"Nippon TV"; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000));

  ASSERT_TRUE(sheet.PressOk());
  EXPECT_EQ(sheet.working().tvSet.lTVChnCount, 2);
  EXPECT_EQ(sheet.working().tvSet.channels[0].szTVStnName, "Nippon TV");
  EXPECT_EQ(sheet.working().tvSet.channels[1].lFreqChn, 5);
  EXPECT_EQ(sheet.working().scheSet.items[0].szChnName, "Nippon TV");
}

TEST(TvSetupPage, CancelTunesThePanelsChannelAgain) {
  BoardJournal journal(TestOutputDir() + L"tv-page-cancel-journal.txt");
  CAppSettings working = FreshWorking();
  working.tvSet.lTVChnCount = 1;
  working.tvSet.lCurrChn = 1;
  working.tvSet.channels[0] = {1, 4, 0.0, 0.0, "Four", ""};
  TvPageSheet sheet(working, L"BrontelResEnglh.dll");
  HWND page = sheet.WaitForPage();
  ASSERT_NE(page, nullptr);
  const size_t before = journal.Size();
  TypeChannel(page, L"6");
  Click(page, IDC_TV_TUNE);
  ASSERT_TRUE(WaitUntil([&] { return TunedHertz(journal, before).size() == 1; }, 5000));
  sheet.PressCancel();
  EXPECT_EQ(TunedHertz(journal, before), (std::vector<int>{183250000, 171250000}));
}

TEST(TvSetupPage, ShownInEnglishAndJapanese) {
  CAppSettings working = FreshWorking();
  working.tvSet.lPrefCode = 12;  // Tokyo
  working.tvSet.lTVChnCount = 3;
  working.tvSet.channels[0] = {1, 1, 0.0, 0.0, "NHK", "NHK"};
  working.tvSet.channels[1] = {2, 4, 0.0, 0.15, "NTV", ""};
  working.tvSet.channels[2] = {3, 6, 0.0, -0.05, "TBS", ""};
  for (const wchar_t* dll : {L"BrontelResEnglh.dll", L"BrontelResJapan.dll"}) {
    TvPageSheet sheet(working, dll);
    HWND page = sheet.WaitForPage();
    ASSERT_NE(page, nullptr) << dll;
    HWND list = GetDlgItem(page, IDC_TV_LIST);
    EXPECT_EQ(Cell(list, 1, 1), L"171.400");
    EXPECT_EQ(Cell(list, 2, 1), L"183.200");
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TV_SCAN)), ResString(dll, 193));
    EXPECT_GT(SendMessageW(GetDlgItem(page, IDC_TV_STATE), CB_GETCOUNT, 0, 0), 12);
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_TV_STATE), CB_GETCURSEL, 0, 0), 12);
    test_support::PaintNow(sheet.sheet());
    const std::wstring name =
        std::wstring(L"tv-page-") + (dll[10] == L'E' ? L"en" : L"ja") + L".png";
    EXPECT_TRUE(test_support::SaveWindowScreenshot(sheet.sheet(), TestOutputDir() + name));
  }
}

}  // namespace
}  // namespace brontel

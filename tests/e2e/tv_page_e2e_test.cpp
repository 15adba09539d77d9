// The TV setup page through the real Brontel.exe: the panel's settings
// command opens the sheet, the scan and the fine tuning are worked from
// outside, and the results are read back from the registry and the board
// journal, also after a restart.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

constexpr DWORD kScanTimeoutMs = 120000;
constexpr wchar_t kEnglish[] = L"l:1000";

// The virtual board's stations on the Tokyo broadcast table, in table
// order, with their frequencies.
const struct {
  long channel;
  long hertz;
} kStations[] = {{1, 91250000},  {3, 103250000},  {4, 171250000},  {6, 183250000},
                 {8, 193250000}, {10, 205250000}, {12, 217250000}, {14, 477250000}};

// Memory in the program's process, for the list view messages that carry a
// pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size) : m_process(process) {
    m_address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  LPARAM address() const { return reinterpret_cast<LPARAM>(m_address); }
  template <class T>
  bool Write(const T& value) {
    return m_address && WriteProcessMemory(m_process, m_address, &value, sizeof value, nullptr);
  }
  template <class T>
  bool Read(T* value) const {
    return m_address && ReadProcessMemory(m_process, m_address, value, sizeof *value, nullptr);
  }

 private:
  HANDLE m_process;
  void* m_address = nullptr;
};

class TvPageE2E : public BoardE2ETest {
 protected:
  // A profile without TV settings, as after installation.
  void SetUp() override {
    BoardE2ETest::SetUp();
    ResetProductSettings();
    WriteAppSetLong(L"bHideNoOvrlaySpt", 1);
  }

  // Opens the settings sheet with the panel's button; the TV page, its
  // first page.
  static HWND OpenTvPage(BrontelSession& session, HWND* sheet) {
    HWND dialog = session.dialog();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BTN_SETTINGS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BTN_SETTINGS)));
    *sheet = test_support::WaitForOtherDialog(session.program().pid(), dialog, 0, 10000);
    if (*sheet == nullptr) return nullptr;
    HWND page = nullptr;
    WaitUntil(
        [&] {
          page = reinterpret_cast<HWND>(SendMessageW(*sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
          return page != nullptr && GetDlgItem(page, IDC_TV_SCAN) != nullptr;
        },
        10000);
    return page;
  }

  static void PressSheetOk(BrontelSession& session, HWND sheet) {
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 10000)) << "the sheet stays open";
  }

  static std::wstring Setting(const std::wstring& group, const wchar_t* name) {
    std::wstring text;
    return ReadSettingText(group, name, &text) ? text : L"(missing)";
  }
};

TEST_F(TvPageE2E, ScanOnAFreshProfileFindsTheStationsAndThePanelStepsThroughThem) {
  {
    BrontelSession session(JournalName());
    StartToPanel(session, kEnglish);
    HWND sheet = nullptr;
    HWND page = OpenTvPage(session, &sheet);
    ASSERT_NE(page, nullptr) << "no TV page";
    const std::wstring idle = LoadLibraryString(kEnglishLibrary, 193);
    const std::wstring running = LoadLibraryString(kEnglishLibrary, 194);
    HWND scan = GetDlgItem(page, IDC_TV_SCAN);
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_TV_SCAN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(scan));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(scan) == running; }, 5000));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(scan) == idle; }, kScanTimeoutMs));
    PaintNow(sheet);
    SaveWindowScreenshot(sheet, TestOutputDir() + L"tv-page-e2e-scanned-en.png");
    PressSheetOk(session, sheet);
    ExitProgram(session);
  }
  EXPECT_EQ(Setting(L"TVSet", L"lTVChnCount"), L"8");
  for (int i = 0; i < 9; ++i) {
    wchar_t group[32];
    swprintf(group, 32, L"TVSet\\ChnInfo%03d", i + 1);
    const long expected = i < 8 ? kStations[i].channel : 0;
    EXPECT_EQ(Setting(group, L"lFreqChn"), std::to_wstring(expected)) << i;
    EXPECT_EQ(Setting(group, L"dFreqOffset"), L"0.000") << i;
  }

  // After a restart the panel starts on the first and steps through the rest.
  BrontelSession session(JournalName());
  StartToPanel(session, kEnglish);
  const size_t start = session.journal().Size();
  for (int step = 0; step < 8; ++step) ASSERT_TRUE(session.Command(IDC_BTN_CHN_UP));
  const std::vector<JournalLine> tunes = WaitForLines(session, start, 404, 8, kJournalTimeoutMs);
  ASSERT_EQ(tunes.size(), 8u);
  for (int step = 0; step < 8; ++step) {
    EXPECT_EQ(tunes[step].block, FreqBlock(kStations[(step + 1) % 8].hertz)) << step;
  }
  ExitProgram(session);
}

TEST_F(TvPageE2E, FineTuningThreeStepsUpIsStoredAndTunedAfterARestart) {
  WriteChannelList();  // channels 1, 4, 12 and 21; the list starts on channel 4
  {
    BrontelSession session(JournalName());
    StartToPanel(session, kEnglish);
    HWND sheet = nullptr;
    HWND page = OpenTvPage(session, &sheet);
    ASSERT_NE(page, nullptr) << "no TV page";
    HWND list = GetDlgItem(page, IDC_TV_LIST);

    // Row 2 is channel 4: selected, then its frequency double-clicked.
    RemoteBuffer remote(session.program().process(), 256);
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ASSERT_TRUE(remote.Write(state));
    SendMessageW(list, LVM_SETITEMSTATE, 1, remote.address());
    RECT cell{};
    cell.top = 1;  // the frequency column
    cell.left = LVIR_LABEL;
    ASSERT_TRUE(remote.Write(cell));
    SendMessageW(list, LVM_GETSUBITEMRECT, 1, remote.address());
    ASSERT_TRUE(remote.Read(&cell));
    const size_t before = session.journal().Size();
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    HWND dialog = test_support::WaitForDialog(L"Fine Tuning", 10000);
    ASSERT_NE(dialog, nullptr) << "no fine-tuning dialog";
    for (int step = 0; step < 3; ++step) ASSERT_TRUE(SendCommand(dialog, IDC_FT_UP));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FT_FREQUENCY)), L"171.400");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_FT_OFFSET)), L"0.150");
    ClickButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    // Tuned live at every step, and once more after OK.
    const std::vector<JournalLine> tunes = WaitForLines(session, before, 404, 5, kJournalTimeoutMs);
    ASSERT_GE(tunes.size(), 5u);
    EXPECT_EQ(tunes[3].block, FreqBlock(171400000));
    EXPECT_EQ(tunes.back().block, FreqBlock(171400000));
    PressSheetOk(session, sheet);
    ExitProgram(session);
  }
  EXPECT_EQ(Setting(L"TVSet\\ChnInfo002", L"dFreqOffset"), L"0.150");
  EXPECT_EQ(Setting(L"TVSet\\ChnInfo002", L"lFreqChn"), L"4");

  // The panel starts on channel 4, 150 kHz above the table.
  BrontelSession session(JournalName());
  StartToPanel(session, kEnglish);
  const std::vector<JournalLine> tunes = WaitForLines(session, 0, 404, 1, kJournalTimeoutMs);
  ASSERT_FALSE(tunes.empty());
  EXPECT_EQ(tunes.front().block, FreqBlock(171400000));
  ExitProgram(session);
}

TEST_F(TvPageE2E, PageInJapaneseFitsTheSheet) {
  WriteChannelList();
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  HWND sheet = nullptr;
  HWND page = OpenTvPage(session, &sheet);
  ASSERT_NE(page, nullptr) << "no TV page";
  EXPECT_EQ(WindowText(GetDlgItem(page, IDC_TV_SCAN)), LoadLibraryString(kJapaneseLibrary, 193));
  // The list's right edge lies within the page.
  RECT pageRect{}, listRect{};
  GetWindowRect(page, &pageRect);
  GetWindowRect(GetDlgItem(page, IDC_TV_LIST), &listRect);
  EXPECT_LE(listRect.right, pageRect.right);
  PaintNow(sheet);
  SaveWindowScreenshot(sheet, TestOutputDir() + L"tv-page-e2e-ja.png");
  ClickButton(sheet, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 10000));
  ExitProgram(session);
}

}  // namespace
}  // namespace brontel::e2e

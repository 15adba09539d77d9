// The settings sheet of Brontel.exe on the virtual board, opened from the
// panel's settings button and worked from outside: its tabs, the schedule
// editor, the iEPG hand-over while it is open, the about page's module list,
// and what reaches the registry after Cancel or OK and the exit.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

#include <commctrl.h>

namespace brontel::e2e {
namespace {

constexpr DWORD kSheetTimeoutMs = 10000;
constexpr DWORD kIepgTimeoutMs = 15000;
constexpr DWORD kRecordTimeoutMs = 20000;
constexpr wchar_t kIepgExe[] = L"BrontelIEPG.exe";
constexpr wchar_t kIndicator[] = L"LCD-Schedule";
constexpr UINT kSheetTitle = 269;
constexpr UINT kEditorTitleNew = 168;
constexpr UINT kMsgOverlap = 176;
const std::wstring kScheSet = L"ScheSet";
const std::wstring kFirstEntry = L"ScheSet\\ScheItem01";
// Page captions of the English library, as its templates name the tabs.
constexpr wchar_t kTabScheduler[] = L"Schedule";
constexpr wchar_t kTabAbout[] = L"About";
const wchar_t* const kTabsWithoutRadio[] = {L"TV Channels", L"Picture", L"Still Pictures"};

// Memory in the program under test, for the control messages that carry a
// pointer (a list view's texts, a date picker's time): Windows does not
// carry those across processes.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size) : m_process(process) {
    m_address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (m_address != nullptr) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* at(size_t offset) const { return static_cast<char*>(m_address) + offset; }
  bool Write(size_t offset, const void* data, size_t size) {
    return m_address && WriteProcessMemory(m_process, at(offset), data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) const {
    return m_address && ReadProcessMemory(m_process, at(offset), data, size, nullptr);
  }

 private:
  HANDLE m_process;
  void* m_address = nullptr;
};

constexpr int kTextChars = 512;

std::vector<std::wstring> TabTexts(HANDLE process, HWND sheet) {
  HWND tabs = FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr);
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  RemoteMemory memory(process, sizeof(TCITEMW) + kTextChars * sizeof(wchar_t));
  std::vector<std::wstring> texts;
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(TCITEMW)));
    item.cchTextMax = kTextChars;
    memory.Write(0, &item, sizeof item);
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(memory.at(0)));
    wchar_t text[kTextChars] = {};
    memory.Read(sizeof(TCITEMW), text, sizeof text - sizeof(wchar_t));
    texts.push_back(text);
  }
  return texts;
}

std::wstring ListText(HANDLE process, HWND list, int row, int column) {
  RemoteMemory memory(process, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(LVITEMW)));
  item.cchTextMax = kTextChars;
  memory.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(memory.at(0)));
  wchar_t text[kTextChars] = {};
  memory.Read(sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t));
  return text;
}

void SetPicker(HANDLE process, HWND picker, const SYSTEMTIME& time) {
  RemoteMemory memory(process, sizeof(SYSTEMTIME));
  memory.Write(0, &time, sizeof time);
  SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(memory.at(0)));
}

// Local time `days` from today at hh:mm.
SYSTEMTIME DayAt(int days, WORD hour, WORD minute) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME file;
  SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = file.dwLowDateTime;
  ticks.HighPart = file.dwHighDateTime;
  ticks.QuadPart += static_cast<ULONGLONG>(days) * 86400ULL * 10000000ULL;
  file.dwLowDateTime = ticks.LowPart;
  file.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME at;
  FileTimeToSystemTime(&file, &at);
  at.wHour = hour;
  at.wMinute = minute;
  at.wSecond = 0;
  at.wMilliseconds = 0;
  return at;
}

std::wstring StoredDate(const SYSTEMTIME& at) {
  wchar_t text[64];
  swprintf(text, 64, L"%d-%d-%d-%d-%d", at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute);
  return text;
}

class SettingsSheetE2E : public BoardE2ETest {
 protected:
  void TearDown() override {
    m_iepg.Kill();
    if (!m_iepgFile.empty()) DeleteFileW(m_iepgFile.c_str());
    BoardE2ETest::TearDown();
  }

  // The settings button (or its menu command), posted: the sheet is modal,
  // so the command returns only when it closes.
  HWND OpenSheet(BrontelSession& session, const wchar_t* library, int command = IDC_BTN_SETTINGS) {
    PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(session.dialog(), command)));
    const std::wstring title = LoadLibraryString(library, kSheetTitle);
    HWND sheet =
        WaitForTopWindow(session.program().pid(), L"#32770", title.c_str(), kSheetTimeoutMs);
    if (sheet != nullptr) PaintNow(sheet);
    return sheet;
  }
  // The whole sheet, its buttons included, lies on the work area.
  static bool OnWorkArea(HWND sheet) {
    RECT rect{}, area{};
    GetWindowRect(sheet, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
           rect.bottom <= area.bottom;
  }
  static HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }
  static void ShowPage(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  static bool CloseSheet(HWND sheet, int button) {
    ClickButton(sheet, button);
    return WaitUntil([&] { return !IsWindow(sheet); }, kSheetTimeoutMs);
  }
  static std::wstring Value(const std::wstring& group, const wchar_t* name) {
    std::wstring text;
    return ReadSettingText(group, name, &text) ? text : L"<missing>";
  }

  // Add on the scheduler page, the editor filled with a once entry on the
  // first channel; the editor is left open and returned.
  HWND AddOnceEntry(BrontelSession& session, HWND page, const wchar_t* library,
                    const SYSTEMTIME& start, const SYSTEMTIME& stop) {
    ClickButton(page, IDC_SC_ADD);
    const std::wstring title = LoadLibraryString(library, kEditorTitleNew);
    HWND editor =
        WaitForTopWindow(session.program().pid(), L"#32770", title.c_str(), kSheetTimeoutMs);
    if (editor == nullptr) return nullptr;
    SendDlgItemMessageW(editor, IDC_SE_DESCRIPTION, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(L"  Evening news "));
    HANDLE process = session.program().process();
    SetPicker(process, GetDlgItem(editor, IDC_SE_START_DATE), start);
    SetPicker(process, GetDlgItem(editor, IDC_SE_START_TIME), start);
    SetPicker(process, GetDlgItem(editor, IDC_SE_STOP_DATE), stop);
    SetPicker(process, GetDlgItem(editor, IDC_SE_STOP_TIME), stop);
    return editor;
  }

  void ReserveThroughIepg(const SYSTEMTIME& day) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "Content-type: application/x-tv-program-info; charset=shift_jis\r\n"
                  "version: 1\r\nstation: TVTOKYO\r\nyear: %d\r\nmonth: %d\r\ndate: %d\r\n"
                  "start: 21:00\r\nend: 21:30\r\nprogram-title: Evening news\r\n",
                  day.wYear, day.wMonth, day.wDay);
    m_iepgFile = test_support::TempDir() + L"brontel_sheet_" +
                 std::to_wstring(GetCurrentProcessId()) + L".tvpi";
    ASSERT_TRUE(test_support::WriteFileBytes(m_iepgFile, text));
    ASSERT_TRUE(m_iepg.Start(kIepgExe, m_iepgFile));
    HWND dialog = WaitForTopWindow(m_iepg.pid(), L"#32770", L"Brontel iEPG", kIepgTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "no reservation dialog";
    ClickButton(dialog, IDOK);
  }

  Program m_iepg;
  std::wstring m_iepgFile;
};

TEST_F(SettingsSheetE2E, WhileRecordingOnlyTheAboutPageListsTheModules) {
  const std::wstring folder = TestOutputDir() + L"sheet-recording\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteAppSetLong(L"cmCurrRecMode", 1);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");  // Japanese, the default
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  ASSERT_TRUE(WaitUntil([&] { return session.SkinVisible(L"RecordBtn-D"); }, kRecordTimeoutMs))
      << "the recording did not start";

  HWND sheet = OpenSheet(session, kJapaneseLibrary);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  const std::vector<std::wstring> tabs = TabTexts(session.program().process(), sheet);
  ASSERT_EQ(tabs.size(), 1u);
  EXPECT_TRUE(OnWorkArea(sheet));
  HWND list = GetDlgItem(CurrentPage(sheet), IDC_AB_MODULES);
  ASSERT_NE(list, nullptr) << "the page shown is not the about page";
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::wstring version, path;
  for (int row = 0; row < rows; ++row) {
    if (_wcsicmp(ListText(session.program().process(), list, row, 0).c_str(), L"KXApiMgr.dll") ==
        0) {
      version = ListText(session.program().process(), list, row, 1);
      path = ListText(session.program().process(), list, row, 2);
    }
  }
  EXPECT_EQ(version, L"1.2.0.14");
  EXPECT_EQ(_wcsicmp(path.c_str(), (ProductDir() + L"KXApiMgr.dll").c_str()), 0) << Narrow(path);
  SaveWindowScreenshot(sheet, TestOutputDir() + L"settings-about-ja.png");
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));

  ASSERT_TRUE(session.Command(IDC_BTN_STOP));
  ExitProgram(session);
  // Only what this test recorded goes.
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.mpg").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

TEST_F(SettingsSheetE2E, RadioSourceLeavesOutTheTvColourAndSnapshotPages) {
  WriteAppSetLong(L"msCurrSrc", 3);
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");
  HWND sheet = OpenSheet(session, kEnglishLibrary, ID_CMD_SETTINGS);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  const std::vector<std::wstring> tabs = TabTexts(session.program().process(), sheet);
  ASSERT_GE(tabs.size(), 2u);
  EXPECT_EQ(tabs[tabs.size() - 2], kTabScheduler);
  EXPECT_EQ(tabs.back(), kTabAbout);
  for (const std::wstring& tab : tabs) {
    for (const wchar_t* absent : kTabsWithoutRadio) EXPECT_NE(tab, absent);
  }
  ASSERT_TRUE(CloseSheet(sheet, IDCANCEL));
  ExitProgram(session);
}

// Cancel drops an added entry and a changed site address; OK keeps them, and
// an entry overlapping the one added is refused in the editor.
class SettingsSheetConfirmE2E : public SettingsSheetE2E,
                                public testing::WithParamInterface<bool> {};

TEST_P(SettingsSheetConfirmE2E, EditorEntryAndSiteReachTheRegistryOnlyWithOk) {
  const bool confirm = GetParam();
  const wchar_t* library = confirm ? kEnglishLibrary : kJapaneseLibrary;
  BrontelSession session(JournalName());
  StartToPanel(session, confirm ? L"l:1000" : L"");
  HWND sheet = OpenSheet(session, library);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  // The scheduler page follows the pages of the current source.
  HWND page = CurrentPage(sheet);
  for (int index = 1; index < 8 && !GetDlgItem(page, IDC_SC_LIST); ++index) {
    if (!SendMessageW(sheet, PSM_SETCURSEL, index, 0)) break;
    page = CurrentPage(sheet);
  }
  ASSERT_NE(GetDlgItem(page, IDC_SC_LIST), nullptr) << "no scheduler page";

  SendDlgItemMessageW(page, IDC_SC_IEPG_URL, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(L"http://guide.example/iepg/"));
  const SYSTEMTIME start = DayAt(3, 21, 0);
  const SYSTEMTIME stop = DayAt(3, 21, 30);
  HWND editor = AddOnceEntry(session, page, library, start, stop);
  ASSERT_NE(editor, nullptr) << "no schedule editor";
  PaintNow(editor);
  SaveWindowScreenshot(
      editor, TestOutputDir() + (confirm ? L"settings-editor-en.png" : L"settings-editor-ja.png"));
  ClickButton(editor, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, kSheetTimeoutMs))
      << Narrow(StaticTexts(session.OtherDialog()));
  HWND list = GetDlgItem(page, IDC_SC_LIST);
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(ListText(session.program().process(), list, 0, 0), L"01");
  EXPECT_EQ(ListText(session.program().process(), list, 0, 1), L"Evening news");

  // The same times again: the check refuses it and the editor stays.
  editor = AddOnceEntry(session, page, library, start, stop);
  ASSERT_NE(editor, nullptr);
  ClickButton(editor, IDOK);
  const std::wstring caption = LoadLibraryString(library, kEditorTitleNew);
  HWND box = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : FindTopWindows(session.program().pid(), L"#32770", caption.c_str())) {
          if (window != editor && IsWindowVisible(window)) box = window;
        }
        return box != nullptr;
      },
      kSheetTimeoutMs);
  ASSERT_NE(box, nullptr) << "no overlap message";
  EXPECT_EQ(StaticTexts(box), LoadLibraryString(library, kMsgOverlap));
  ClickButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kSheetTimeoutMs));
  EXPECT_TRUE(IsWindow(editor));
  ClickButton(editor, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, kSheetTimeoutMs));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  Sleep(500);  // the tab strip repaints after the editor's box is gone
  PaintNow(sheet);
  SaveWindowScreenshot(sheet, TestOutputDir() + (confirm ? L"settings-scheduler-en.png"
                                                         : L"settings-scheduler-ja.png"));

  ASSERT_TRUE(CloseSheet(sheet, confirm ? IDOK : IDCANCEL));
  ExitProgram(session);
  if (confirm) {
    EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"1");
    EXPECT_EQ(Value(kScheSet, L"szIEPG1_URL"), L"http://guide.example/iepg/");
    EXPECT_EQ(Value(kFirstEntry, L"szScheDesc"), L"Evening news");
    EXPECT_EQ(Value(kFirstEntry, L"lChn"), L"1");
    EXPECT_EQ(Value(kFirstEntry, L"szChnName"), L"NHK G");
    EXPECT_EQ(Value(kFirstEntry, L"tStartDateTime"), StoredDate(start));
    EXPECT_EQ(Value(kFirstEntry, L"tStopDateTime"), StoredDate(stop));
  } else {
    EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"0");
    EXPECT_NE(Value(kScheSet, L"szIEPG1_URL"), L"http://guide.example/iepg/");
    EXPECT_EQ(Value(kFirstEntry, L"szScheDesc"), L"");
  }
}

INSTANTIATE_TEST_SUITE_P(CancelOrOk, SettingsSheetConfirmE2E, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Ok" : "Cancel";
                         });

TEST_F(SettingsSheetE2E, IepgHandOverWhileOpenShowsTheSchedulerAndGoesLiveWithOk) {
  // The iEPG handler finds channel 12 by its programme-guide name.
  WriteSettingText(L"TVSet\\ChnInfo003", L"szTVPIStnName", L"TVTOKYO");
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");
  HWND sheet = OpenSheet(session, kEnglishLibrary);
  ASSERT_NE(sheet, nullptr) << "no settings sheet";
  const int pages = static_cast<int>(TabTexts(session.program().process(), sheet).size());
  ShowPage(sheet, pages - 1);
  ASSERT_NE(GetDlgItem(CurrentPage(sheet), IDC_AB_MODULES), nullptr);

  ReserveThroughIepg(DayAt(3, 21, 0));
  ASSERT_TRUE(m_iepg.WaitForExit(kIepgTimeoutMs))
      << "the hand-over waits: " << Narrow(StaticTexts(session.OtherDialog()));
  HWND list = GetDlgItem(CurrentPage(sheet), IDC_SC_LIST);
  ASSERT_NE(list, nullptr) << "the sheet did not switch to the scheduler page";
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(ListText(session.program().process(), list, 0, 3), L"TV Tokyo");
  // The live schedule has no entry yet: the scheduler shows no indicator.
  Sleep(2500);
  EXPECT_FALSE(session.SkinVisible(kIndicator));

  ASSERT_TRUE(CloseSheet(sheet, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return session.SkinVisible(kIndicator); }, 5000))
      << "the entry did not reach the live schedule";
  ExitProgram(session);
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"1");
  EXPECT_EQ(Value(kFirstEntry, L"lChn"), L"12");
  EXPECT_EQ(Value(kFirstEntry, L"szChnName"), L"TV Tokyo");
}

}  // namespace
}  // namespace brontel::e2e

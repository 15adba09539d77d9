// BrontelIEPG.exe under Wine with the real registry: the test starts the
// program on an iEPG file, works its dialog and message boxes from outside
// and looks at what the program wrote.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/e2e_harness.h"

namespace brontel::e2e {
namespace {

constexpr wchar_t kIepgExe[] = L"BrontelIEPG.exe";
constexpr UINT kIepgReserveMessage = 0x464;
constexpr DWORD kWaitMs = 15000;
constexpr int kScheItemCount = 10;

const std::wstring kScheSet = L"ScheSet";
const std::wstring kTVSet = L"TVSet";
const wchar_t kErrorCaption[] = L"\x30A8\x30E9\x30FC";  // エラー

// Shift_JIS bytes as a Japanese web site sends them.
const char kSjisNtv[] = "\x82\x6d\x82\x73\x82\x75";                    // ＮＴＶ
const char kSjisTitle[] = "\x83\x6a\x83\x85\x81\x5b\x83\x58\x82\x58";  // ニュース９
const wchar_t kWideNtv[] = L"\xFF2E\xFF34\xFF36";
const wchar_t kWideTitle[] = L"\x30CB\x30E5\x30FC\x30B9\xFF19";

// The local date some days from today (negative: ago), with its weekday.
SYSTEMTIME DaysAhead(int days) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME file;
  SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER ticks;
  ticks.LowPart = file.dwLowDateTime;
  ticks.HighPart = file.dwHighDateTime;
  ticks.QuadPart += static_cast<LONGLONG>(days) * 24 * 60 * 60 * 10000000LL;
  file.dwLowDateTime = ticks.LowPart;
  file.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME day;
  FileTimeToSystemTime(&file, &day);
  return day;
}

// The next Saturday at least a week ahead.
SYSTEMTIME SaturdayAhead() {
  return DaysAhead(7 + (6 - DaysAhead(7).wDayOfWeek));
}

// A date-time as the settings store writes it.
std::wstring DateText(const SYSTEMTIME& day, int hour, int minute) {
  wchar_t text[64];
  swprintf(text, 64, L"%d-%d-%d-%d-%d", day.wYear, day.wMonth, day.wDay, hour, minute);
  return text;
}

std::string IepgFile(const std::string& station, const std::string& title, const SYSTEMTIME& day,
                     const char* start, const char* end) {
  char date[96];
  std::snprintf(date, sizeof date, "year: %d\r\nmonth: %d\r\ndate: %d\r\n", day.wYear, day.wMonth,
                day.wDay);
  return "Content-type: application/x-tv-program-info; charset=shift_jis\r\n"
         "version: 1\r\n"
         "station: " +
         station + "\r\n" + date + "start: " + start + "\r\nend: " + end +
         "\r\nprogram-title: " + title + "\r\n";
}

std::wstring RecordName(const wchar_t* prefix, int digits, int number) {
  wchar_t name[32];
  swprintf(name, 32, L"%ls%0*d", prefix, digits, number);
  return name;
}

// BrontelIEPG.exe on a file, with the settings written and read from
// outside as the main program stores them.
class IepgE2E : public testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(kIepgExe);
    ResetProductSettings();
  }

  void TearDown() override {
    m_program.Kill();
    if (!m_filePath.empty()) DeleteFileW(m_filePath.c_str());
    ResetProductSettings();
  }

  struct Channel {
    long lFreqChn;
    std::wstring szTVStnName;
    std::wstring szTVPIStnName;
  };
  void MakeChannels(const std::vector<Channel>& channels) {
    WriteSettingLong(kTVSet, L"lTVChnCount", static_cast<long>(channels.size()));
    for (size_t i = 0; i < channels.size(); ++i) {
      const std::wstring record = kTVSet + L"\\" + RecordName(L"ChnInfo", 3, int(i) + 1);
      WriteSettingLong(record, L"lChn", static_cast<long>(i + 1));
      WriteSettingLong(record, L"lFreqChn", channels[i].lFreqChn);
      WriteSettingText(record, L"dPresetFreq", L"91.250");
      WriteSettingText(record, L"szTVStnName", channels[i].szTVStnName);
      WriteSettingText(record, L"szTVPIStnName", channels[i].szTVPIStnName);
    }
  }

  // ScheSet with `count` entries in use, each on its own far-off day, and
  // all ten records present as the main program creates them.
  void MakeSchedule(int count) {
    WriteSettingLong(kScheSet, L"lScheItemCount", count);
    for (int i = 0; i < kScheItemCount; ++i) {
      const std::wstring record = Record(i + 1);
      const bool used = i < count;
      const SYSTEMTIME day = DaysAhead(200 + i);
      const std::pair<const wchar_t*, std::wstring> values[] = {
          {L"msSrcType", L"0"},
          {L"sfType", L"0"},
          {L"lChn", used ? L"1" : L"0"},
          {L"szChnName", used ? L"NHK" : L""},
          {L"szScheDesc", L""},
          {L"tStartDateTime", used ? DateText(day, 6, 0) : L"2000-1-1-12-0"},
          {L"tStopDateTime", used ? DateText(day, 6, 30) : L"2000-1-1-12-0"},
          {L"bOvernight", L"0"},
          {L"bCompleted", L"0"},
          {L"lCaptMode", L"1"},
          {L"bMultipleCapture", L"0"},
          {L"ScheMultRec_clt", L"2"},
          {L"lScheMultRecTimeLimitSec", L"1800"},
          {L"lScheMultRecSizeLimitMB", L"100"},
      };
      for (const auto& [name, text] : values) WriteSettingText(record, name, text);
    }
  }

  static std::wstring Record(int number) {
    return kScheSet + L"\\" + RecordName(L"ScheItem", 2, number);
  }
  static std::wstring TempRecord() { return kScheSet + L"\\ScheItemTemp"; }

  std::wstring Value(const std::wstring& group, const wchar_t* name) {
    if (!SettingKeyExists(group)) return L"<no key>";
    std::wstring text;
    if (!ReadSettingText(group, name, &text)) return L"<missing>";
    return text;
  }

  void WriteIepgFile(const std::string& bytes) {
    m_filePath = test_support::TempDir() + L"brontel_iepg_" +
                 std::to_wstring(GetCurrentProcessId()) + L".tvpi";
    ASSERT_TRUE(test_support::WriteFileBytes(m_filePath, bytes));
  }

  // Starts the handler. It inherits the test's system code page (Shift_JIS
  // when run by ctest).
  void Start(const std::wstring& arguments) { ASSERT_TRUE(m_program.Start(kIepgExe, arguments)); }
  void StartOnFile() { Start(m_filePath); }

  HWND WaitForWindow(const wchar_t* title) {
    return WaitForTopWindow(m_program.pid(), L"#32770", title, kWaitMs);
  }
  HWND WaitForDialog() { return WaitForWindow(L"Brontel iEPG"); }

  // The text of the next message box, which is then closed with OK.
  std::wstring AnswerMessageBox(const wchar_t* caption) {
    HWND box = WaitForWindow(caption);
    if (!box) return L"<no message box>";
    const std::wstring text = StaticTexts(box);
    ClickButton(box, IDOK);
    return text;
  }

  static void Choose(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static std::wstring ItemText(HWND dialog, int id) { return test_support::ItemText(dialog, id); }

  bool WaitForExit() { return m_program.WaitForExit(kWaitMs); }

  // Saves the dialog as it is on the screen, for a person to look at.
  static void Screenshot(HWND dialog, const std::wstring& name) {
    SetForegroundWindow(dialog);
    PaintNow(dialog);
    EXPECT_TRUE(SaveWindowScreenshot(dialog, TestOutputDir() + name));
  }

  Program m_program;
  std::wstring m_filePath;
};

TEST_F(IepgE2E, OkAppendsTheEntryWhenTheMainProgramIsNotRunning) {
  MakeChannels({{1, L"NHK", L"NHK"}, {4, L"NTV", kWideNtv}});
  MakeSchedule(2);
  WriteSettingLong(Record(3), L"bCompleted", 1);
  WriteSettingLong(Record(3), L"bMultipleCapture", 1);
  const SYSTEMTIME day = DaysAhead(20);
  WriteIepgFile(IepgFile(kSjisNtv, kSjisTitle, day, "21:00", "22:30"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1006), kWideNtv);
  EXPECT_EQ(ItemText(dialog, 1012), L"4");
  EXPECT_EQ(ItemText(dialog, 1007), kWideTitle);
  Choose(dialog, 1022);  // high quality
  ClickButton(dialog, IDOK);
  ASSERT_TRUE(WaitForExit());
  EXPECT_TRUE(FindTopWindows(m_program.pid(), nullptr, kErrorCaption).empty());

  const std::wstring record = Record(3);
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"3");
  EXPECT_EQ(Value(record, L"msSrcType"), L"0");
  EXPECT_EQ(Value(record, L"sfType"), L"0");
  EXPECT_EQ(Value(record, L"lChn"), L"4");
  EXPECT_EQ(Value(record, L"szChnName"), kWideNtv);
  EXPECT_EQ(Value(record, L"szScheDesc"), kWideTitle);
  EXPECT_EQ(Value(record, L"tStartDateTime"), DateText(day, 21, 0));
  EXPECT_EQ(Value(record, L"tStopDateTime"), DateText(day, 22, 30));
  EXPECT_EQ(Value(record, L"bOvernight"), L"0");
  EXPECT_EQ(Value(record, L"lCaptMode"), L"2");
  EXPECT_EQ(Value(record, L"bCompleted"), L"1");
  EXPECT_EQ(Value(record, L"bMultipleCapture"), L"1");
  EXPECT_EQ(Value(Record(4), L"szChnName"), L"");
  EXPECT_EQ(Value(TempRecord(), L"lChn"), L"<no key>");
}

// Schedule and channel list faults found before the dialog: the message
// box, and the schedule left as it was.
TEST_F(IepgE2E, RefusalsBeforeTheDialogShowTheirMessageAndWriteNothing) {
  enum class Fault { kFullSchedule, kNoChannelList, kUnreadableCount };
  struct Case {
    Fault fault;
    const wchar_t* message;
    const wchar_t* countAfter;
  };
  const Case cases[] = {
      // 123: 予約の追加はできません。
      {Fault::kFullSchedule,
       L"\x4E88\x7D04\x306E\x8FFD\x52A0\x306F\x3067\x304D\x307E\x305B\x3093\x3002", L"10"},
      // 104: チャンネル情報が見つかりません。
      {Fault::kNoChannelList,
       L"\x30C1\x30E3\x30F3\x30CD\x30EB\x60C5\x5831\x304C\x898B\x3064\x304B\x308A\x307E"
       L"\x305B\x3093\x3002",
       L"0"},
      // An unreadable count is a missing schedule: スケジューラの情報が見つかりません。
      {Fault::kUnreadableCount,
       L"\x30B9\x30B1\x30B8\x30E5\x30FC\x30E9\x306E\x60C5\x5831\x304C\x898B\x3064\x304B"
       L"\x308A\x307E\x305B\x3093\x3002",
       L"<missing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    ResetProductSettings();
    if (c.fault != Fault::kNoChannelList) MakeChannels({{1, L"NHK", L"NHK"}});
    MakeSchedule(c.fault == Fault::kFullSchedule ? 10 : 0);
    if (c.fault == Fault::kUnreadableCount) DeleteSettingValue(kScheSet, L"lScheItemCount");
    WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
    StartOnFile();
    EXPECT_EQ(AnswerMessageBox(kErrorCaption), c.message);
    ASSERT_TRUE(WaitForExit());
    EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), c.countAfter);
    if (c.fault != Fault::kFullSchedule) EXPECT_EQ(Value(Record(1), L"szScheDesc"), L"");
    EXPECT_EQ(Value(TempRecord(), L"lChn"), L"<no key>");
  }
}

TEST_F(IepgE2E, EmptyCommandLineEndsWithoutAWindow) {
  MakeChannels({{1, L"NHK", L"NHK"}});
  MakeSchedule(0);
  for (const wchar_t* arguments : {L"", L"   "}) {
    Start(arguments);
    bool sawWindow = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
          for (HWND window : FindTopWindows(m_program.pid(), nullptr, nullptr)) {
            sawWindow = sawWindow || IsWindowVisible(window);
          }
          return !m_program.IsRunning();
        },
        kWaitMs));
    EXPECT_FALSE(sawWindow);
  }
}

TEST_F(IepgE2E, FileOpenForWritingElsewhereGivesEmptyFields) {
  MakeChannels({{1, L"NHK", L"NHK"}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  HANDLE writer = CreateFileW(m_filePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1006), L"");
  EXPECT_EQ(ItemText(dialog, 1012), L"");
  EXPECT_EQ(ItemText(dialog, 1008), L"");
  ClickButton(dialog, IDCANCEL);
  EXPECT_TRUE(WaitForExit());
  CloseHandle(writer);
}

TEST_F(IepgE2E, SystemMenuCommandOpensTheAboutBox) {
  MakeChannels({{1, L"NHK", L"NHK"}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  PostMessageW(dialog, WM_SYSCOMMAND, 16, 0);
  // "PellamyIEPGのﾊﾞｰｼﾞｮﾝ情報"
  HWND about =
      WaitForWindow(L"PellamyIEPG\x306E\xFF8A\xFF9E\xFF70\xFF7C\xFF9E\xFF6E\xFF9D\x60C5\x5831");
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kWaitMs));
  ClickButton(dialog, IDCANCEL);
  EXPECT_TRUE(WaitForExit());
}

// Stands in for the main program: a dialog-class window titled "Brontel"
// on a thread of its own, which reads "ScheItemTemp" while it handles the
// hand-over message, as the main program does.
struct HandOverWindow {
  HANDLE ready = nullptr;
  HWND hwnd = nullptr;
  DWORD threadId = 0;
  HANDLE handlerProcess = nullptr;
  std::atomic<int> messages{0};
  WPARAM wParam = 1;
  LPARAM lParam = 1;
  bool senderWaiting = false;
  std::wstring lChn, szChnName, tStartDateTime, sfType;
};
HandOverWindow* g_handOver = nullptr;

INT_PTR CALLBACK HandOverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kIepgReserveMessage) return message == WM_INITDIALOG;
  HandOverWindow& w = *g_handOver;
  w.wParam = wParam;
  w.lParam = lParam;
  const std::wstring temp = kScheSet + L"\\ScheItemTemp";
  ReadSettingText(temp, L"lChn", &w.lChn);
  ReadSettingText(temp, L"szChnName", &w.szChnName);
  ReadSettingText(temp, L"tStartDateTime", &w.tStartDateTime);
  ReadSettingText(temp, L"sfType", &w.sfType);
  // A synchronous send keeps the handler waiting while we take our time.
  Sleep(300);
  w.senderWaiting = WaitForSingleObject(w.handlerProcess, 0) == WAIT_TIMEOUT;
  ++w.messages;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
  return TRUE;
}

DWORD WINAPI HandOverThread(void*) {
  // A dialog template with no controls: style, counts, position, then an
  // empty menu and class and the title.
  std::vector<WORD> tmpl(64, 0);
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
  dlg->style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dlg->cx = 120;
  dlg->cy = 40;
  WORD* p = reinterpret_cast<WORD*>(dlg + 1);
  *p++ = 0;  // menu
  *p++ = 0;  // class
  for (const wchar_t* c = L"Brontel"; *c; ++c) *p++ = static_cast<WORD>(*c);
  *p++ = 0;
  g_handOver->hwnd =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dlg, nullptr, HandOverProc, 0);
  ShowWindow(g_handOver->hwnd, SW_SHOWNOACTIVATE);
  SetEvent(g_handOver->ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(g_handOver->hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  DestroyWindow(g_handOver->hwnd);
  return 0;
}

TEST_F(IepgE2E, RunningMainProgramGetsTheEntryThroughScheItemTemp) {
  MakeChannels({{1, L"NHK", L"NHK"}});
  MakeSchedule(1);
  HandOverWindow window;
  g_handOver = &window;
  window.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, HandOverThread, nullptr, 0, &window.threadId);
  ASSERT_EQ(WaitForSingleObject(window.ready, kWaitMs), WAIT_OBJECT_0);
  ASSERT_EQ(FindWindowW(L"#32770", L"Brontel"), window.hwnd);

  // Unknown station, and a start in the past: the main program checks.
  const SYSTEMTIME day = DaysAhead(-3);
  WriteIepgFile(IepgFile("Unknown TV", "Old news", day, "07:00", "07:30"));
  StartOnFile();
  window.handlerProcess = m_program.process();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, 1002);  // daily
  ClickButton(dialog, IDOK);
  EXPECT_TRUE(WaitForExit());

  PostThreadMessageW(window.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, kWaitMs);
  CloseHandle(thread);
  CloseHandle(window.ready);
  g_handOver = nullptr;

  EXPECT_EQ(window.messages.load(), 1);
  EXPECT_EQ(window.wParam, 0u);
  EXPECT_EQ(window.lParam, 0);
  EXPECT_TRUE(window.senderWaiting);
  EXPECT_EQ(window.lChn, L"4294967295");
  EXPECT_EQ(window.szChnName, L"Unknown TV");
  EXPECT_EQ(window.sfType, L"2");
  EXPECT_EQ(window.tStartDateTime, DateText(day, 7, 0));
  EXPECT_EQ(Value(TempRecord(), L"szScheDesc"), L"Old news");
  // The main program owns the schedule: the handler leaves it alone.
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"1");
  EXPECT_EQ(Value(Record(2), L"szScheDesc"), L"");
}

TEST_F(IepgE2E, ReservationDialogScreenshots) {
  MakeChannels({{4, L"NTV", kWideNtv}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile(kSjisNtv, kSjisTitle, SaturdayAhead(), "23:00", "01:00"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1012), L"4");
  Choose(dialog, 1001);                                            // weekly
  EXPECT_EQ(ItemText(dialog, 1008), L"\x6BCE\x571F\x66DC\x65E5");  // 毎土曜日
  EXPECT_EQ(ItemText(dialog, 1010),
            L"\x6BCE\x65E5\x66DC\x65E5 (\x6DF1\x591C)");  // 毎日曜日 (深夜)
  Screenshot(dialog, L"iepg_reserve_weekly_overnight.bmp");
  ClickButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForExit());
  // Cancel writes nothing.
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"0");
  EXPECT_EQ(Value(TempRecord(), L"lChn"), L"<no key>");
}

}  // namespace
}  // namespace brontel::e2e

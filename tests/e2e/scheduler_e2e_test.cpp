// The scheduler of Brontel.exe on the virtual board: entries handed over by
// BrontelIEPG.exe while Brontel runs, the warning before an entry while
// something records, and an entry of the registry recorded on its own. Seen
// from outside: message boxes, the skin's schedule indicator, the board
// journal, the recorded file and the registry after the exit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "e2e/board_e2e_fixture.h"
#include "support/local_time_win.h"

namespace brontel::e2e {
namespace {

constexpr wchar_t kIepgExe[] = L"BrontelIEPG.exe";
constexpr wchar_t kIndicator[] = L"LCD-Schedule";
constexpr DWORD kIepgTimeoutMs = 15000;
// The third channel of the fixture's list: channel 12, "TV Tokyo".
constexpr int kTokyoRecord = 3;
constexpr long kTokyoChannel = 12;
constexpr char kTokyoStation[] = "TVTOKYO";
const std::wstring kScheSet = L"ScheSet";

using test_support::AddSeconds;
using test_support::LocalAfter;
using test_support::MinuteAtLeast;
using test_support::ScheduleDateText;
using test_support::SecondsBetween;

class SchedulerE2E : public BoardE2ETest {
 protected:
  void SetUp() override {
    BoardE2ETest::SetUp();
    WriteSettingText(ChannelRecord(kTokyoRecord), L"szTVPIStnName", L"TVTOKYO");
  }
  void TearDown() override {
    m_iepg.Kill();
    if (!m_iepgFile.empty()) DeleteFileW(m_iepgFile.c_str());
    BoardE2ETest::TearDown();
  }

  static std::wstring ChannelRecord(int number) {
    wchar_t name[32];
    swprintf(name, 32, L"TVSet\\ChnInfo%03d", number);
    return name;
  }
  static std::wstring ScheRecord(int number) {
    wchar_t name[32];
    swprintf(name, 32, L"ScheSet\\ScheItem%02d", number);
    return name;
  }
  static std::wstring Value(const std::wstring& group, const wchar_t* name) {
    std::wstring text;
    return ReadSettingText(group, name, &text) ? text : L"<missing>";
  }

  static void WriteScheItem(int number, const SYSTEMTIME& start, int minutes, long channel) {
    WriteOnceScheItem(number, start, minutes, channel, L"Evening news");
  }

  // Runs BrontelIEPG.exe on a reservation of TVTOKYO and presses OK; the
  // handler hands the entry over while Brontel runs and waits for it.
  void ReserveThroughIepg(const SYSTEMTIME& day, const char* start, const char* end) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "Content-type: application/x-tv-program-info; charset=shift_jis\r\n"
                  "version: 1\r\nstation: %s\r\nyear: %d\r\nmonth: %d\r\ndate: %d\r\n"
                  "start: %s\r\nend: %s\r\nprogram-title: Evening news\r\n",
                  kTokyoStation, day.wYear, day.wMonth, day.wDay, start, end);
    m_iepgFile = test_support::TempDir() + L"brontel_sche_" +
                 std::to_wstring(GetCurrentProcessId()) + L".tvpi";
    ASSERT_TRUE(test_support::WriteFileBytes(m_iepgFile, text));
    ASSERT_TRUE(m_iepg.Start(kIepgExe, m_iepgFile));
    HWND dialog = WaitForTopWindow(m_iepg.pid(), L"#32770", L"Brontel iEPG", kIepgTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "no reservation dialog";
    ClickButton(dialog, IDOK);
  }
  bool IepgEnded() { return m_iepg.WaitForExit(kIepgTimeoutMs); }

  // A message box of Brontel's, answered with OK; its text and caption.
  static std::pair<std::wstring, std::wstring> AnswerBox(BrontelSession& session) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = session.OtherDialog()) != nullptr; }, kIepgTimeoutMs);
    if (box == nullptr) return {L"<no message box>", L""};
    std::pair<std::wstring, std::wstring> seen{StaticTexts(box), WindowText(box)};
    ClickButton(box, IDOK);
    return seen;
  }

  static std::wstring English(UINT id) { return LoadLibraryString(kEnglishLibrary, id); }

  Program m_iepg;
  std::wstring m_iepgFile;
};

TEST_F(SchedulerE2E, HandOverJoinsTheLiveScheduleAndIsSavedAtExit) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");
  EXPECT_TRUE(WaitUntil([&] { return !session.SkinVisible(kIndicator); }, 3000));

  ReserveThroughIepg(LocalAfter(3 * 86400), "21:00", "21:30");
  ASSERT_TRUE(IepgEnded());
  EXPECT_EQ(session.OtherDialog(), nullptr) << Narrow(StaticTexts(session.OtherDialog()));
  // The tick shows the indicator for the next entry.
  EXPECT_TRUE(WaitUntil([&] { return session.SkinVisible(kIndicator); }, 5000));
  // Only the scratch record was written; the schedule waits for the exit.
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"0");

  ExitProgram(session);
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"1");
  EXPECT_EQ(Value(ScheRecord(1), L"lChn"), L"12");
  EXPECT_EQ(Value(ScheRecord(1), L"szChnName"), L"TV Tokyo");
  EXPECT_EQ(Value(ScheRecord(1), L"szScheDesc"), L"Evening news");
}

TEST_F(SchedulerE2E, HandOverWithTenEntriesInUseIsIgnoredSilently) {
  // Nine in the registry, so that the handler opens its dialog; the tenth
  // comes by hand-over, and the eleventh finds the live schedule full.
  WriteSettingLong(kScheSet, L"lScheItemCount", 9);
  for (int i = 1; i <= 9; ++i) {
    SYSTEMTIME day = LocalAfter((100 + i) * 86400LL);
    day.wHour = 6;
    day.wMinute = 0;
    WriteScheItem(i, day, 30, kTokyoChannel);
  }
  // The program saves into record keys that exist; it creates them only
  // with the group.
  WriteSettingLong(ScheRecord(10), L"lCaptMode", 1);
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");

  ReserveThroughIepg(LocalAfter(3 * 86400), "21:00", "21:30");
  ASSERT_TRUE(IepgEnded());
  ReserveThroughIepg(LocalAfter(4 * 86400), "21:00", "21:30");
  ASSERT_TRUE(IepgEnded()) << "the hand-over waits for a message: "
                           << Narrow(StaticTexts(session.OtherDialog()));
  EXPECT_EQ(session.OtherDialog(), nullptr);

  ExitProgram(session);
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"10");
  SYSTEMTIME taken = LocalAfter(3 * 86400);
  taken.wHour = 21;
  taken.wMinute = 0;
  EXPECT_EQ(Value(ScheRecord(10), L"tStartDateTime"), ScheduleDateText(taken));
}

TEST_F(SchedulerE2E, OverlappingHandOverShowsItsMessageAndAddsNothing) {
  SYSTEMTIME evening = LocalAfter(3 * 86400);
  evening.wHour = 21;
  evening.wMinute = 0;
  WriteSettingLong(kScheSet, L"lScheItemCount", 1);
  WriteScheItem(1, evening, 60, kTokyoChannel);
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");

  ReserveThroughIepg(evening, "21:30", "21:45");
  const auto [text, caption] = AnswerBox(session);
  EXPECT_EQ(text, English(176));
  EXPECT_EQ(caption, English(168));
  ASSERT_TRUE(IepgEnded());

  ExitProgram(session);
  EXPECT_EQ(Value(kScheSet, L"lScheItemCount"), L"1");
}

// Something records three minutes before an entry: the warning comes, and
// its OK stops the recording a second later.
TEST_F(SchedulerE2E, RecordingBeforeAnEntryBringsTheWarningAndOkStopsIt) {
  const SYSTEMTIME start = MinuteAtLeast(195);
  WriteSettingLong(kScheSet, L"lScheItemCount", 1);
  WriteScheItem(1, start, 2, kTokyoChannel);
  WriteSettingText(L"CaptSet", L"szRecDestDir", FreshRecordFolder(L"busy"));
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");
  const size_t beforeRecording = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  ASSERT_FALSE(WaitForLines(session, beforeRecording, 500, 1, kJournalTimeoutMs).empty())
      << "the manual recording did not start";

  HWND warning = nullptr;
  WaitUntil(
      [&] {
        warning = session.OtherDialog();
        return warning != nullptr && GetDlgItem(warning, IDC_COUNTDOWN_NUMBER) != nullptr;
      },
      static_cast<DWORD>(SecondsBetween(LocalAfter(0), start) * 1000));
  ASSERT_NE(warning, nullptr) << "no warning three minutes ahead";
  const double ahead = SecondsBetween(LocalAfter(0), start);
  EXPECT_GT(ahead, 170.0);
  EXPECT_LT(ahead, 182.0);
  const size_t before = session.journal().Size();
  ClickButton(warning, IDOK);
  // The stop reaches the board a second later.
  EXPECT_TRUE(WaitUntil([&] { return !session.journal().ReadFrom(before, 501).empty(); }, 5000));
  ExitProgram(session);
}

// A one-minute entry of the registry, on its own: its channel tuned a minute
// ahead with the indicator blinking, the recording started 3 s ahead and
// stopped at the entry's stop, and the entry marked completed. Entries keep
// whole minutes, so the recording lasts about 63 s; it lands in
// test-output/scheduled, where check_scheduled_recording.sh judges it.
TEST_F(SchedulerE2E, EntryRecordsByItselfAndIsMarkedCompleted) {
  const std::wstring folder = FreshRecordFolder(L"scheduled");
  const SYSTEMTIME start = MinuteAtLeast(70);
  const SYSTEMTIME stop = AddSeconds(start, 60);
  WriteSettingLong(kScheSet, L"lScheItemCount", 1);
  WriteScheItem(1, start, 1, kTokyoChannel);
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  BrontelSession session(JournalName());
  StartToPanel(session, L"l:1000");
  const size_t first = session.journal().Size();

  const std::string tune = "404 W rc=0 " + FreqBlock(kTestChannels[kTokyoRecord - 1].hertz);
  bool tuned = false;
  WaitUntil(
      [&] {
        for (const JournalLine& line : session.journal().ReadFrom(first, 404)) {
          if (line.text == tune) tuned = true;
        }
        return tuned;
      },
      static_cast<DWORD>(SecondsBetween(LocalAfter(0), start) * 1000));
  ASSERT_TRUE(tuned) << "channel 12 was not tuned before the start";
  const double tunedAhead = SecondsBetween(LocalAfter(0), start);
  EXPECT_GT(tunedAhead, 55.0);
  EXPECT_LT(tunedAhead, 62.0);

  bool shown = false, hidden = false;
  WaitUntil(
      [&] {
        (session.SkinVisible(kIndicator) ? shown : hidden) = true;
        return shown && hidden;
      },
      4000);
  EXPECT_TRUE(shown && hidden) << "the indicator does not blink while the entry is prepared";

  bool started = false;
  WaitUntil(
      [&] {
        for (const JournalLine& line : session.journal().ReadFrom(first, 500)) {
          if (line.block.rfind("{0,", 0) == 0) started = true;
        }
        return started;
      },
      static_cast<DWORD>(SecondsBetween(LocalAfter(0), start) * 1000) + 2000);
  ASSERT_TRUE(started) << "the recording did not start";
  const double startedAhead = SecondsBetween(LocalAfter(0), start);
  EXPECT_GT(startedAhead, 1.5);
  EXPECT_LT(startedAhead, 4.5);

  const size_t recording = session.journal().Size();
  EXPECT_TRUE(WaitUntil([&] { return !session.journal().ReadFrom(recording, 501).empty(); },
                        static_cast<DWORD>(SecondsBetween(LocalAfter(0), stop) * 1000) + 5000))
      << "the recording was not stopped";
  EXPECT_LT(std::abs(SecondsBetween(stop, LocalAfter(0))), 2.5) << "not stopped at the stop time";
  ExitProgram(session);
  EXPECT_EQ(Value(ScheRecord(1), L"bCompleted"), L"1");
}

}  // namespace
}  // namespace brontel::e2e

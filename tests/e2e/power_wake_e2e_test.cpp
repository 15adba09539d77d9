// The wake-up cycle on the real programs. Brontel is started with "/w l:1000",
// as kxPwrMgr starts it after waking the PC; it records the entry it was
// woken for on its own, then counts down in dialog 149 and either asks the
// system to power off or hands the next entry over to kxPwrMgr again.
//
// Run in a wineserver of its own (own-wineserver.sh --install): the
// power-off request ends every windowed program of its server, and is seen
// here as exactly that: Brontel and an unrelated witness window both end.

#include <string>

#include "e2e/board_e2e_fixture.h"
#include "support/local_time_win.h"

namespace brontel::e2e {
namespace {

using test_support::AddSeconds;
using test_support::LocalAfter;
using test_support::MinuteAtLeast;
using test_support::SecondsBetween;

// The third channel of the fixture's list: channel 12.
constexpr long kEntryChannel = 12;
// Enough for the start-up before the recording's start 3 s ahead; the
// entry is prepared at the first tick, as after a wake-up 5 minutes early.
constexpr LONGLONG kEntryLeadSeconds = 20;
constexpr int kWakeEndCountdown = 10;
// The end decision comes 2 s after the stop, on a tick that may be late.
constexpr DWORD kDecisionSlackMs = 20000;
constexpr DWORD kCountdownTimeoutMs = (kWakeEndCountdown + 10) * 1000;

// A windowed program of the session that has nothing to do with Brontel:
// only a request to end the session ends it.
class WitnessWindow {
 public:
  bool Start() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring line = std::wstring(L"\"") + windows + L"\\notepad.exe\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_info)) {
      return false;
    }
    return test_support::WaitForTopWindow(m_info.dwProcessId, nullptr, nullptr, 15000) != nullptr;
  }
  bool WaitForExit(DWORD timeoutMs) {
    return m_info.hProcess != nullptr &&
           WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  ~WitnessWindow() {
    if (m_info.hProcess == nullptr) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_info.hProcess, 1);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
  }

 private:
  PROCESS_INFORMATION m_info = {};
};

class PowerWakeE2E : public BoardE2ETest {
 protected:
  void SetUp() override {
    KillProcessesNamed(kPowerManagerExe);
    BoardE2ETest::SetUp();
    WriteSettingText(L"CaptSet", L"szRecDestDir", FreshRecordFolder(L"wake"));
  }
  void TearDown() override {
    BoardE2ETest::TearDown();
    KillProcessesNamed(kPowerManagerExe);
  }

  static void WriteScheItem(int number, const SYSTEMTIME& start) {
    WriteOnceScheItem(number, start, 1, kEntryChannel, L"Wake news");
  }

  static std::wstring CountdownText(UINT formatId, int seconds) {
    const std::wstring format = LoadLibraryString(kEnglishLibrary, formatId);
    wchar_t text[512];
    swprintf(text, 512, format.c_str(), seconds);
    return text;
  }

  // Starts Brontel as the power manager does and follows the entry at
  // `start` through its recording to dialog 149, whose first text must be
  // `formatId` with 10 seconds; returns once the countdown has ended.
  void RecordAndCountDown(BrontelSession& session, const SYSTEMTIME& start, UINT formatId) {
    ASSERT_TRUE(session.Start(L"/w l:1000")) << "no main dialog";
    // "/w" alone brings no wake notice: no dialog comes before the recording.
    const size_t first = session.journal().Size();
    bool started = false;
    WaitUntil(
        [&] {
          for (const JournalLine& line : session.journal().ReadFrom(first, 500)) {
            if (line.block.rfind("{0,", 0) == 0) started = true;
          }
          return started || session.OtherDialog() != nullptr;
        },
        static_cast<DWORD>(SecondsBetween(LocalAfter(0), start) * 1000) + 5000);
    HWND box = session.OtherDialog();
    ASSERT_EQ(box, nullptr) << "a dialog before the recording: " << Narrow(StaticTexts(box));
    ASSERT_TRUE(started) << "the entry was not recorded";

    const SYSTEMTIME stop = AddSeconds(start, 60);
    HWND decision = WaitForOtherDialog(
        session.program().pid(), session.dialog(), IDC_COUNTDOWN_NUMBER,
        static_cast<DWORD>(SecondsBetween(LocalAfter(0), stop) * 1000) + kDecisionSlackMs);
    ASSERT_NE(decision, nullptr) << "no dialog 149 after the recording";
    EXPECT_GT(SecondsBetween(stop, LocalAfter(0)), 0.0) << "dialog 149 before the stop";
    EXPECT_NE(GetWindowLongW(decision, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // Read at once, the countdown is still at its first second.
    EXPECT_EQ(test_support::ItemText(decision, IDC_COUNTDOWN_NUMBER),
              std::to_wstring(kWakeEndCountdown));
    EXPECT_EQ(test_support::ItemText(decision, IDC_COUNTDOWN_TEXT),
              CountdownText(formatId, kWakeEndCountdown));
    EXPECT_TRUE(WaitUntil(
        [&] {
          return test_support::ItemText(decision, IDC_COUNTDOWN_NUMBER) ==
                 std::to_wstring(kWakeEndCountdown - 1);
        },
        3000))
        << "the countdown does not move";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(decision); }, kCountdownTimeoutMs))
        << "dialog 149 did not close at the end of its countdown";
  }
};

// A later entry 30 minutes ahead: the run ends by handing it to kxPwrMgr,
// with the wake-up 5 minutes before it, read from the manager's window.
TEST_F(PowerWakeE2E, WakeRunWithALaterEntryHandsOverAgain) {
  const SYSTEMTIME start = MinuteAtLeast(kEntryLeadSeconds);
  const SYSTEMTIME later = AddSeconds(start, 30 * 60);
  WriteSettingLong(L"ScheSet", L"lScheItemCount", 2);
  WriteScheItem(1, start);
  WriteScheItem(2, later);
  BrontelSession session(JournalName());
  RecordAndCountDown(session, start, 298);
  if (HasFatalFailure()) return;

  HWND manager = WaitForTopWindow(0, kPowerManagerClass, kPowerManagerTitle, 15000);
  ASSERT_NE(manager, nullptr) << "no power manager";
  EXPECT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "Brontel did not end";
  EXPECT_EQ(Narrow(test_support::ItemText(manager, kPowerManagerCommandLineItem)),
            Narrow(PowerManagerLine(AddSeconds(later, -5 * 60), 1000)));
  std::wstring completed;
  EXPECT_TRUE(ReadSettingText(L"ScheSet\\ScheItem01", L"bCompleted", &completed));
  EXPECT_EQ(completed, L"1");
}

// No later entry: the run ends by asking the system to power off, which
// ends every windowed program of the session, the witness too.
TEST_F(PowerWakeE2E, WakeRunWithoutALaterEntryAsksForPowerOff) {
  const SYSTEMTIME start = MinuteAtLeast(kEntryLeadSeconds);
  WriteSettingLong(L"ScheSet", L"lScheItemCount", 1);
  WriteScheItem(1, start);
  WitnessWindow witness;
  ASSERT_TRUE(witness.Start()) << "no witness window";
  BrontelSession session(JournalName());
  RecordAndCountDown(session, start, 297);
  if (HasFatalFailure()) return;

  EXPECT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "Brontel did not end";
  EXPECT_TRUE(witness.WaitForExit(kExitTimeoutMs))
      << "the witness still runs: Brontel ended without asking for the power-off";
  EXPECT_TRUE(FindTopWindows(0, kPowerManagerClass, kPowerManagerTitle).empty());
  // The settings were saved before the power-off.
  std::wstring completed;
  EXPECT_TRUE(ReadSettingText(L"ScheSet\\ScheItem01", L"bCompleted", &completed));
  EXPECT_EQ(completed, L"1");
}

}  // namespace
}  // namespace brontel::e2e

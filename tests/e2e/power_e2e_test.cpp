// Reservation mode on the real programs: Brontel hands the next recording to
// kxPwrMgr.exe and ends; the next Brontel start closes that power manager.

#include <string>

#include "e2e/board_e2e_fixture.h"
#include "support/local_time_win.h"

namespace brontel::e2e {
namespace {

constexpr DWORD kPowerManagerTimeoutMs = 15000;

using test_support::AddSeconds;
using test_support::LocalMinutesAhead;

class PowerE2ETest : public BoardE2ETest {
 protected:
  void SetUp() override {
    KillProcessesNamed(kPowerManagerExe);
    BoardE2ETest::SetUp();
  }
  void TearDown() override {
    BoardE2ETest::TearDown();
    KillProcessesNamed(kPowerManagerExe);
  }

  static void WriteOneEntry(const SYSTEMTIME& start) {
    WriteSettingLong(L"ScheSet", L"lScheItemCount", 1);
    WriteOnceScheItem(1, start, 29, 4, L"news");
  }
};

TEST_F(PowerE2ETest, ReservationModeHandsOverTheNextStartAndTheNextRunClosesThePowerManager) {
  const SYSTEMTIME start = LocalMinutesAhead(11);
  WriteOneEntry(start);
  HWND manager = nullptr;
  {
    BrontelSession session(JournalName());
    StartToPanel(session, L"");
    ASSERT_TRUE(session.Command(IDC_BTN_RESERVATION));
    manager = WaitForTopWindow(0, kPowerManagerClass, kPowerManagerTitle, kPowerManagerTimeoutMs);
    HWND box = session.OtherDialog();
    ASSERT_EQ(box, nullptr) << Narrow(StaticTexts(box));
    ASSERT_NE(manager, nullptr) << "no power manager";
    EXPECT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "Brontel did not end";
  }
  EXPECT_EQ(Narrow(test_support::ItemText(manager, kPowerManagerCommandLineItem)),
            Narrow(PowerManagerLine(AddSeconds(start, -5 * 60), 1160)));

  DWORD managerPid = 0;
  GetWindowThreadProcessId(manager, &managerPid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, managerPid);
  ASSERT_NE(process, nullptr);
  BrontelSession next(JournalName());
  StartToPanel(next, L"");
  EXPECT_EQ(WaitForSingleObject(process, kExitTimeoutMs), WAIT_OBJECT_0)
      << "the power manager left from the hand-over still runs";
  CloseHandle(process);
  ExitProgram(next);
}

}  // namespace
}  // namespace brontel::e2e

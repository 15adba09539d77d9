#include <gtest/gtest.h>

#include "app/power/handover.h"
#include "app/power/os_class.h"
#include "app/scheduler/schedule_times.h"

namespace brontel::power {
namespace {

struct OsCase {
  OsVersion version;
  int osClass;
};

TEST(OsClass, TableWithLaterNtSystemsInAClassOfTheirOwn) {
  const OsCase cases[] = {
      {{kPlatformWin9x, 4, 0, 0}, 1},
      {{kPlatformWin9x, 4, 10, 0}, 1},
      {{kPlatformWin9x, 4, 90, 0}, 2},
      {{kPlatformWin9x, 4, 50, 0}, 0},
      {{kPlatformNt, 4, 0, kProductWorkstation}, 3},
      {{kPlatformNt, 5, 0, kProductServer}, 4},
      {{kPlatformNt, 5, 1, kProductWorkstation}, 5},
      {{kPlatformNt, 5, 1, 0}, 0},  // only the basic record: no product type
      {{kPlatformNt, 5, 2, kProductServer}, 5},
      {{kPlatformNt, 5, 2, kProductWorkstation}, 0},  // XP x64
      {{kPlatformNt, 6, 1, kProductWorkstation}, kOsClassNt6},
      {{kPlatformNt, 10, 0, kProductWorkstation}, kOsClassNt6},
      {{0, 3, 10, 0}, 0},  // Win32s
  };
  for (const OsCase& c : cases) {
    EXPECT_EQ(OsClassOf(c.version), c.osClass)
        << c.version.platformId << " " << c.version.major << "." << c.version.minor;
  }
  for (int osClass = 0; osClass <= 6; ++osClass) {
    EXPECT_EQ(OsClassAllowsReservation(osClass), osClass >= 4) << osClass;
  }
}

TEST(HandOver, RefusalsInOrderAndTheTenMinuteLimit) {
  const DateTime now = MakeLocalDateTime(2026, 12, 9, 21, 0, 30);
  struct Case {
    int osClass;
    bool hibernate;
    std::optional<std::int64_t> seconds;
    int message;
  };
  const Case cases[] = {
      {0, false, std::nullopt, kMsgNeedsOs},
      {3, true, 3600, kMsgNeedsOs},
      {6, false, 3600, kMsgNeedsHibernation},
      {6, true, std::nullopt, kMsgNothingScheduled},
      {6, true, 9 * 60, kMsgNextTooSoon},
      {6, true, 599, kMsgNextTooSoon},
      {6, true, 600, 0},
      {5, true, 11 * 60, 0},
  };
  for (const Case& c : cases) {
    const HandOverPlan plan = PlanHandOver(c.osClass, c.hibernate, c.seconds, now);
    EXPECT_EQ(plan.messageId, c.message) << c.osClass << " " << c.seconds.value_or(-1);
    if (plan.handOver()) {
      EXPECT_EQ(plan.wakeTime, now + *c.seconds - 300);
    }
  }
}

TEST(HandOver, CommandLineForFolderWithSpacesAndForDriveRoot) {
  // Eleven minutes after 2026-01-05 08:55:30: the start is 09:06:30 and the
  // wake-up five minutes before it.
  const DateTime now = MakeLocalDateTime(2026, 1, 5, 8, 55, 30);
  const HandOverPlan plan = PlanHandOver(6, true, 11 * 60, now);
  ASSERT_TRUE(plan.handOver());
  EXPECT_EQ(
      PowerManagerCommandLine("C:\\Program Files\\Kestrova TV\\Brontel.exe", 1160, plan.wakeTime),
      "C:\\Program Files\\Kestrova TV\\kxPwrMgr.exe C:\\Program Files\\Kestrova "
      "TV\\Brontel.exe L:1160 /w S:4 D:5_1_2026 T:9_1");
  EXPECT_EQ(PowerManagerCommandLine("D:\\Brontel.exe", 1000, MakeLocalDateTime(2027, 10, 31, 0, 0)),
            "D:\\kxPwrMgr.exe D:\\Brontel.exe L:1000 /w S:4 D:31_10_2027 T:0_0");
}

TEST(HandOver, WakeTimeCrossesMidnightAndYear) {
  const DateTime now = MakeLocalDateTime(2026, 12, 31, 23, 50, 0);
  const HandOverPlan plan = PlanHandOver(6, true, 12 * 60, now);  // 00:02 on 1 January
  EXPECT_EQ(PowerManagerCommandLine("C:\\B\\Brontel.exe", 1160, plan.wakeTime),
            "C:\\B\\kxPwrMgr.exe C:\\B\\Brontel.exe L:1160 /w S:4 D:31_12_2026 T:23_57");
}

ScheItem Entry(int kind, DateTime start) {
  ScheItem item;
  item.sfType = kind;
  item.tStartDateTime = start;
  item.tStopDateTime = start + 1800;
  return item;
}

TEST(HandOver, WeeklyEntryWakesFiveMinutesBeforeItsNextOccurrence) {
  // Monday 2026-12-07 21:30; the entry records Mondays at 21:00.
  const DateTime now = MakeLocalDateTime(2026, 12, 7, 21, 30);
  ScheSetGroup schedule;
  schedule.lScheItemCount = 1;
  schedule.items[0] = Entry(1, MakeLocalDateTime(2026, 11, 30, 21, 0));
  const std::optional<NextScheItem> next = FindNextScheItem(schedule, now);
  ASSERT_TRUE(next);
  const HandOverPlan plan = PlanHandOver(6, true, next->seconds, now);
  ASSERT_TRUE(plan.handOver());
  EXPECT_EQ(plan.wakeTime, MakeLocalDateTime(2026, 12, 14, 20, 55));
}

}  // namespace
}  // namespace brontel::power

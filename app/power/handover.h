#pragma once
// Handing the next recording over to the power manager: whether it may be
// done now, and the command line the power manager is started with.

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/settings_values.h"

namespace brontel::power {

// Messages of the refused hand-over (caption 107, exclamation icon).
constexpr int kMsgNeedsOs = 295;
constexpr int kMsgNeedsHibernation = 296;
constexpr int kMsgNothingScheduled = 290;
constexpr int kMsgNextTooSoon = 293;

// The PC wakes this long before the next start.
constexpr std::int64_t kWakeLeadSeconds = 300;
// A start closer than this is recorded by the running program instead.
constexpr std::int64_t kMinHandOverSeconds = 600;

struct HandOverPlan {
  int messageId = 0;  // 0: hand over
  DateTime nextStart = 0;
  DateTime wakeTime = 0;
  bool handOver() const { return messageId == 0; }
};

// `secondsToNext`: seconds from `now` to the next schedule entry's start,
// nullopt when none is scheduled.
HandOverPlan PlanHandOver(int osClass, bool hibernateAllowed,
                          std::optional<std::int64_t> secondsToNext, DateTime now);

// Drive ("C:") and folder with its trailing backslash of a full path, the
// way the C library splits them; empty parts when the path has none.
struct PathParts {
  std::string drive;
  std::string folder;
};
PathParts SplitProgramPath(const std::string& fullPath);

constexpr char kPowerManagerExe[] = "kxPwrMgr.exe";
// The power manager beside the program: drive, folder, "kxPwrMgr.exe".
std::string PowerManagerPath(const std::string& programPath);
// "<drive><folder>kxPwrMgr.exe <program> L:<lang> /w S:4 D:<d>_<m>_<yyyy>
// T:<h>_<min>" with no leading zeros, the wake-up time in local time.
std::string PowerManagerCommandLine(const std::string& programPath, std::int32_t langCode,
                                    DateTime wakeTime);

}  // namespace brontel::power

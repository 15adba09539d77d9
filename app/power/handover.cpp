#include "app/power/handover.h"

#include <cstdio>

#include "app/power/os_class.h"

namespace brontel::power {

HandOverPlan PlanHandOver(int osClass, bool hibernateAllowed,
                          std::optional<std::int64_t> secondsToNext, DateTime now) {
  HandOverPlan plan;
  if (!OsClassAllowsReservation(osClass)) {
    plan.messageId = kMsgNeedsOs;
  } else if (!hibernateAllowed) {
    plan.messageId = kMsgNeedsHibernation;
  } else if (!secondsToNext) {
    plan.messageId = kMsgNothingScheduled;
  } else if (*secondsToNext < kMinHandOverSeconds) {
    plan.messageId = kMsgNextTooSoon;
  } else {
    plan.nextStart = now + *secondsToNext;
    plan.wakeTime = plan.nextStart - kWakeLeadSeconds;
  }
  return plan;
}

PathParts SplitProgramPath(const std::string& fullPath) {
  PathParts parts;
  std::string rest = fullPath;
  if (rest.size() >= 2 && rest[1] == ':') {
    parts.drive = rest.substr(0, 2);
    rest = rest.substr(2);
  }
  const std::size_t slash = rest.find_last_of("\\/");
  if (slash != std::string::npos) parts.folder = rest.substr(0, slash + 1);
  return parts;
}

std::string PowerManagerPath(const std::string& programPath) {
  const PathParts parts = SplitProgramPath(programPath);
  return parts.drive + parts.folder + kPowerManagerExe;
}

std::string PowerManagerCommandLine(const std::string& programPath, std::int32_t langCode,
                                    DateTime wakeTime) {
  const LocalTimeParts wake = SplitLocalDateTime(wakeTime);
  char tail[96];
  std::snprintf(tail, sizeof tail, " L:%d /w S:4 D:%d_%d_%d T:%d_%d", static_cast<int>(langCode),
                wake.day, wake.month, wake.year, wake.hour, wake.minute);
  return PowerManagerPath(programPath) + " " + programPath + tail;
}

}  // namespace brontel::power

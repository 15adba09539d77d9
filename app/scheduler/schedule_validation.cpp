#include "app/scheduler/schedule_validation.h"

#include <algorithm>

#include "app/scheduler/schedule_overlap.h"

namespace brontel {
namespace {

constexpr std::int64_t kMinimumSeconds = 60;
constexpr std::int64_t kDailyMaximumSeconds = 86400;
constexpr std::int64_t kWeeklyMaximumSeconds = 604800;
constexpr std::int64_t kFurthestAheadSeconds = 31536000;  // 365 days
constexpr std::int32_t kMinimumSplitSizeMB = 1;
constexpr std::int32_t kMinimumSplitSeconds = 60;

int InUse(std::int32_t count, std::size_t capacity) {
  return std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(capacity));
}

bool OverlapsAnother(const ScheItem& item, const ScheSetGroup& schedule, int editIndex) {
  const int count = InUse(schedule.lScheItemCount, schedule.items.size());
  for (int i = 0; i < count; ++i) {
    if (i == editIndex) continue;
    if (ScheItemsOverlap(item, schedule.items[static_cast<std::size_t>(i)],
                         OverlapRules::kMainProgram)) {
      return true;
    }
  }
  return false;
}

}  // namespace

int ValidateScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule,
                     int editIndex) {
  const std::int64_t duration = item.tStopDateTime - item.tStartDateTime;
  if (item.lChn == kScheChannelNone) return kMsgScheNoChannel;
  if (item.szScheDesc.empty()) return kMsgScheNoDescription;
  if (item.tStartDateTime <= now) return kMsgScheStartPassed;
  if (item.tStopDateTime < item.tStartDateTime) return kMsgScheStopBeforeStart;
  if (duration < kMinimumSeconds) return kMsgScheTooShort;
  if (item.sfType == kScheDaily && duration > kDailyMaximumSeconds) return kMsgScheDailyTooLong;
  if (item.sfType == kScheWeekly && duration > kWeeklyMaximumSeconds) return kMsgScheWeeklyTooLong;
  if (item.tStartDateTime - now > kFurthestAheadSeconds) return kMsgScheTooFarAhead;
  if (OverlapsAnother(item, schedule, editIndex)) return kMsgScheOverlap;
  if (item.bMultipleCapture != 0) {
    if (item.ScheMultRec_clt == kSplitBySize &&
        item.lScheMultRecSizeLimitMB < kMinimumSplitSizeMB) {
      return kMsgScheSplitSizeTooSmall;
    }
    if (item.ScheMultRec_clt == kSplitByTime &&
        item.lScheMultRecTimeLimitSec < kMinimumSplitSeconds) {
      return kMsgScheSplitTimeTooShort;
    }
  }
  return 0;
}

bool StartsWithinNotice(const ScheItem& item, DateTime now) {
  return now <= item.tStartDateTime && item.tStartDateTime <= now + kScheStartsSoonSeconds;
}

IepgIntake TakeIepgEntry(ScheItem entry, const TVSetGroup& tvSet, ScheSetGroup* scheSet,
                         DateTime now) {
  IepgIntake intake;
  const int count = InUse(scheSet->lScheItemCount, scheSet->items.size());
  // A full table ignores the hand-over before anything is checked, so that
  // no message appears for an entry that could not be taken anyway.
  if (count >= static_cast<int>(scheSet->items.size())) {
    intake.ignored = true;
    return intake;
  }
  intake.validationMessage = ValidateScheItem(entry, now, *scheSet, kScheNewEntry);
  if (intake.validationMessage != 0) return intake;

  const int channels = InUse(tvSet.lTVChnCount, tvSet.channels.size());
  const auto begin = tvSet.channels.begin();
  const auto found = std::find_if(begin, begin + channels, [&](const ChannelEntry& channel) {
    return channel.lFreqChn == entry.lChn;
  });
  if (found != begin + channels && !found->szTVStnName.empty()) {
    entry.szChnName = found->szTVStnName;
    entry.bCompleted = 0;  // a new entry has not run, whatever the scratch record held
    scheSet->items[static_cast<std::size_t>(count)] = entry;
    scheSet->lScheItemCount = count + 1;
    intake.added = true;
  }
  intake.startsSoonNotice = StartsWithinNotice(entry, now);
  return intake;
}

}  // namespace brontel

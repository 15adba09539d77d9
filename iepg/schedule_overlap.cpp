#include "iepg/schedule_overlap.h"

#include <algorithm>

#include "app/settings/app_settings.h"
#include "iepg/iepg_parser.h"

namespace brontel {
namespace {

constexpr int kMinimumCaptureSeconds = 60;

}  // namespace

int CheckNewScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule) {
  if (item.lChn == kNoChannel) return kMsgNoChannel;
  if (item.tStartDateTime <= now) return kMsgStartPassed;
  if (item.tStartDateTime > item.tStopDateTime) return kMsgStartAfterStop;
  if (item.tStopDateTime - item.tStartDateTime < kMinimumCaptureSeconds) return kMsgTooShort;
  const int count = std::clamp<std::int32_t>(schedule.lScheItemCount, 0,
                                             static_cast<std::int32_t>(schedule.items.size()));
  for (int i = 0; i < count; ++i) {
    if (ScheItemsOverlap(item, schedule.items[static_cast<std::size_t>(i)],
                         OverlapRules::kReservationHandler)) {
      return kMsgOverlap;
    }
  }
  return 0;
}

}  // namespace brontel

#include "iepg/date_field_text.h"

#include "iepg/schedule_overlap.h"

namespace brontel {
namespace {

constexpr int kDaysPerWeek = 7;

int WeekdayString(int weekday) {
  if (weekday < 0 || weekday >= kDaysPerWeek) weekday = 0;
  return kStringEverySunday + weekday;
}

}  // namespace

DateFieldTexts DateFieldTextsFor(std::int32_t sfType, int startWeekday, int stopWeekday,
                                 bool overnight) {
  DateFieldTexts texts;
  switch (sfType) {
    case kScheWeekly:
      texts.startStringId = WeekdayString(startWeekday);
      texts.stopStringId = WeekdayString(stopWeekday);
      texts.lateNightSuffix = overnight;
      break;
    case kScheDaily:
      texts.startStringId = kStringEveryDay;
      texts.stopStringId = kStringEveryDay;
      texts.lateNightSuffix = overnight;
      break;
    default:  // once: real dates need no marker
      break;
  }
  return texts;
}

}  // namespace brontel

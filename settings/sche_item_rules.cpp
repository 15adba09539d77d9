#include "settings/sche_item_rules.h"

#include <algorithm>

namespace brontel {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kNoonHour = 12;

// The local time of day `dayOffset` days after `date`, at the hour and minute
// of `clock`.
DateTime OnDayAt(DateTime date, int dayOffset, DateTime clock) {
  const LocalTimeParts day = SplitLocalDateTime(date);
  const LocalTimeParts time = SplitLocalDateTime(clock);
  return MakeLocalDateTime(day.year, day.month, day.day + dayOffset, time.hour, time.minute);
}

}  // namespace

ScheItemRequest NewScheItemRequest(DateTime now) {
  ScheItemRequest request;
  const LocalTimeParts today = SplitLocalDateTime(now);
  const DateTime noon = MakeLocalDateTime(today.year, today.month, today.day, kNoonHour, 0);
  request.startDate = request.startTime = request.stopDate = request.stopTime = noon;
  request.weekday = today.weekday;
  return request;
}

ScheItemRequest RequestForScheItem(const ScheItem& item, int index) {
  ScheItemRequest request;
  request.index = index;
  request.source = item.msSrcType;
  request.description = item.szScheDesc;
  request.channel = item.lChn;
  request.repetition = item.sfType;
  request.startDate = request.startTime = item.tStartDateTime;
  request.stopDate = request.stopTime = item.tStopDateTime;
  request.weekday = SplitLocalDateTime(item.tStartDateTime).weekday;
  request.overnight = item.bOvernight != 0;
  request.captureMode = item.lCaptMode;
  request.multiple = item.bMultipleCapture != 0;
  request.splitKind = item.ScheMultRec_clt;
  request.timeLimitSec = item.lScheMultRecTimeLimitSec;
  request.sizeLimitMB = item.lScheMultRecSizeLimitMB;
  return request;
}

int WeeklyDayOffset(int chosen, int today, bool startAheadToday) {
  int offset = chosen - today;
  if (offset <= 0) offset += kDaysPerWeek;
  if (offset == kDaysPerWeek && startAheadToday) offset = 0;
  return offset;
}

ScheItem ScheItemFromRequest(const ScheItemRequest& request, DateTime now) {
  ScheItem item;
  item.msSrcType = request.source;
  item.sfType = request.repetition;
  item.lChn = request.channel;
  item.szScheDesc = TrimBlanks(request.description);
  item.bOvernight = request.overnight ? 1 : 0;
  item.lCaptMode = request.captureMode;
  item.bMultipleCapture = request.multiple ? 1 : 0;
  item.ScheMultRec_clt = request.splitKind;
  item.lScheMultRecTimeLimitSec = request.timeLimitSec;
  item.lScheMultRecSizeLimitMB = request.sizeLimitMB;

  switch (request.repetition) {
    case kScheWeekly: {
      const bool aheadToday = OnDayAt(now, 0, request.startTime) > now;
      const int offset =
          WeeklyDayOffset(request.weekday, SplitLocalDateTime(now).weekday, aheadToday);
      item.tStartDateTime = OnDayAt(now, offset, request.startTime);
      item.tStopDateTime = OnDayAt(now, offset + (request.overnight ? 1 : 0), request.stopTime);
      break;
    }
    case kScheDaily: {
      // A start at this very minute has passed as well: it could not be taken.
      const int offset = OnDayAt(now, 0, request.startTime) <= now ? 1 : 0;
      item.tStartDateTime = OnDayAt(now, offset, request.startTime);
      item.tStopDateTime = OnDayAt(now, offset + (request.overnight ? 1 : 0), request.stopTime);
      break;
    }
    default:
      item.tStartDateTime = OnDayAt(request.startDate, 0, request.startTime);
      item.tStopDateTime = OnDayAt(request.stopDate, 0, request.stopTime);
      break;
  }
  return item;
}

std::int32_t ParseSizeLimitText(const std::string& text) {
  std::string digits = text;
  digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
  return ParseLong(digits);
}

std::string TrimBlanks(const std::string& text) {
  static const char kBlanks[] = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

}  // namespace brontel

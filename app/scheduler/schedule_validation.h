#pragma once
// The check every new or edited schedule entry passes before the main
// program takes it, and what the main program does with an entry the iEPG
// handler hands over.

#include <cstdint>

#include "app/settings/app_settings.h"
#include "app/settings/settings_values.h"

namespace brontel {

// String numbers of the language library.
constexpr int kMsgScheNoChannel = 275;
constexpr int kMsgScheNoDescription = 171;
constexpr int kMsgScheStartPassed = 172;
constexpr int kMsgScheStopBeforeStart = 173;
constexpr int kMsgScheTooShort = 174;
constexpr int kMsgScheTooFarAhead = 175;
constexpr int kMsgScheOverlap = 176;
constexpr int kMsgScheDailyTooLong = 177;
constexpr int kMsgScheWeeklyTooLong = 178;
constexpr int kMsgScheSplitSizeTooSmall = 304;
constexpr int kMsgScheSplitTimeTooShort = 303;
constexpr int kCaptionScheAdd = 168;
constexpr int kCaptionScheEdit = 169;
constexpr int kMsgScheStartsSoon = 294;
constexpr int kCaptionNotice = 197;

constexpr std::int32_t kScheChannelNone = -1;
// "ScheMultRec_clt": how a split recording is cut.
constexpr std::int32_t kSplitBySize = 1;
constexpr std::int32_t kSplitByTime = 2;
// An entry whose start lies this close ahead gets a notice when it is taken.
constexpr std::int64_t kScheStartsSoonSeconds = 180;

// Editing passes the entry's index, which the overlap search skips.
constexpr int kScheNewEntry = -1;

// The string number of the first test the entry fails, 0 when it passes.
int ValidateScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule,
                     int editIndex);
// The caption of the check's message box.
inline int ValidationCaption(int editIndex) {
  return editIndex == kScheNewEntry ? kCaptionScheAdd : kCaptionScheEdit;
}

// The start lies within the next three minutes (not before now).
bool StartsWithinNotice(const ScheItem& item, DateTime now);

// What the main program does with the entry in "ScheItemTemp".
struct IepgIntake {
  bool ignored = false;       // the table is full: nothing happens, no message
  int validationMessage = 0;  // the entry failed this check (shown, caption 168)
  bool added = false;         // appended, with its channel name
  bool startsSoonNotice = false;
};
// Appends the entry to `scheSet` when it passes, and says what to show. The
// channel name comes from the first channel record in use whose "lFreqChn"
// is the entry's "lChn"; an entry without one, or with an empty name, is
// not added.
IepgIntake TakeIepgEntry(ScheItem entry, const TVSetGroup& tvSet, ScheSetGroup* scheSet,
                         DateTime now);

}  // namespace brontel

#pragma once
// The checks the handler makes on a new schedule entry when it appends the
// entry itself. The overlap rules are the main program's, in the handler's
// variant.

#include <cstdint>

#include "app/scheduler/schedule_overlap.h"
#include "app/settings/settings_values.h"

namespace brontel {

struct ScheItem;
struct ScheSetGroup;

// Message numbers of the handler's string table for the checks.
constexpr int kMsgStartPassed = 116;
constexpr int kMsgStartAfterStop = 117;
constexpr int kMsgOverlap = 121;
constexpr int kMsgTooShort = 122;
constexpr int kMsgScheduleFull = 123;
constexpr int kMsgNoChannel = 124;

// The message number of the first check the entry fails, 0 when it passes.
// Only the first lScheItemCount entries of the schedule are looked at.
int CheckNewScheItem(const ScheItem& item, DateTime now, const ScheSetGroup& schedule);

}  // namespace brontel

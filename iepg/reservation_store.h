#pragma once
// What the handler reads from and writes to the settings store: the channel
// list, the schedule, a new entry appended to the schedule, and the scratch
// entry handed over to a running main program.

#include <cstdint>
#include <functional>
#include <string>

#include "app/settings/app_settings.h"

namespace brontel {

struct IepgProgramme;

// Message numbers of the handler's string table for the store.
constexpr int kMsgNoChannelInfo = 104;
constexpr int kMsgNoScheduleInfo = 105;

// Reads "lTVChnCount" and ChnInfo001..181; a record that cannot be opened
// gives an entry of zeros and empty names. False when TVSet cannot be opened.
bool LoadChannelList(SettingsStore& store, TVSetGroup* tvSet);

enum class ScheduleLoad {
  kLoaded,
  kGroupMissing,     // ScheSet cannot be opened
  kCountUnreadable,  // "lScheItemCount" missing or negative
};
// Reads "lScheItemCount" and ScheItem01..10; a record that cannot be opened
// gives a default entry.
ScheduleLoad LoadSchedule(SettingsStore& store, ScheSetGroup* scheSet);
// The message that ends the handler at start for this schedule, or 0.
int StartupScheduleMessage(ScheduleLoad load, const ScheSetGroup& scheSet);

// The entry the dialog would reserve. `toStoreText` turns the file's bytes
// into the store's text (on Windows: ANSI code page to UTF-8).
ScheItem MakePendingScheItem(const IepgProgramme& programme, std::int32_t sfType,
                             std::int32_t lCaptMode,
                             const std::function<std::string(const std::string&)>& toStoreText);

// Writes the values the handler owns, in their stored order. "bCompleted"
// and the split settings stay as the key holds them.
void WriteReservationEntry(const StoreKey& key, const ScheItem& item);

// Writes "ScheItemTemp", creating its key when it does not exist. False
// when the key cannot be opened (nothing is written then).
bool WriteTempScheItem(SettingsStore& store, const ScheItem& item);

enum class AppendResult {
  kAppended,
  kScheduleFull,     // the count read at start leaves no free record
  kGroupMissing,     // ScheSet cannot be opened
  kRecordMissing,    // the numbered record cannot be opened
  kCountNotWritten,  // writing the raised count failed
};
// Raises "lScheItemCount" to countAtStart + 1 and then writes the entry to
// that record. The record is opened before the count is raised, so a
// failure never leaves a count that counts a record not written.
AppendResult AppendScheItem(SettingsStore& store, std::int32_t countAtStart, const ScheItem& item);

struct ReserveOutcome {
  int message = 0;  // string number to show, 0 for none
  bool handedOver = false;
  bool appended = false;
};
// What OK does. With the main program running the entry goes to
// "ScheItemTemp" and `notifyMainProgram` runs (the main program checks it);
// otherwise the entry is checked and appended.
ReserveOutcome ReserveScheItem(SettingsStore& store, const ScheItem& item,
                               const ScheSetGroup& scheduleAtStart, DateTime now,
                               bool mainProgramRunning,
                               const std::function<void()>& notifyMainProgram);

}  // namespace brontel

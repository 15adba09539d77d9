#include "iepg/reservation_store.h"

#include "iepg/iepg_parser.h"
#include "iepg/schedule_overlap.h"

namespace brontel {
namespace {

std::string RecordPath(SettingsGroup group, const std::string& record) {
  return GroupPath(group) + "\\" + record;
}

}  // namespace

bool LoadChannelList(SettingsStore& store, TVSetGroup* tvSet) {
  const StoreKey group = OpenSettingsKey(store, GroupPath(SettingsGroup::kTVSet));
  if (!group) return false;
  tvSet->lTVChnCount = ReadLongOr(group, "lTVChnCount", 0);
  for (int i = 0; i < kChannelRecordCount; ++i) {
    ChannelEntry& entry = tvSet->channels[static_cast<std::size_t>(i)];
    entry = ChannelEntry();
    const StoreKey record =
        OpenSettingsKey(store, RecordPath(SettingsGroup::kTVSet, ChannelRecordName(i)));
    if (!record) continue;
    entry.lChn = ReadLongOr(record, "lChn", 0);
    entry.lFreqChn = ReadLongOr(record, "lFreqChn", 0);
    entry.dPresetFreq = ReadReal(record, "dPresetFreq");
    entry.szTVStnName = ReadTextOr(record, "szTVStnName", "");
    entry.szTVPIStnName = ReadTextOr(record, "szTVPIStnName", "");
  }
  return true;
}

ScheduleLoad LoadSchedule(SettingsStore& store, ScheSetGroup* scheSet) {
  const StoreKey group = OpenSettingsKey(store, GroupPath(SettingsGroup::kScheSet));
  if (!group) return ScheduleLoad::kGroupMissing;
  scheSet->lScheItemCount = ReadLong(group, "lScheItemCount");
  for (int i = 0; i < kScheItemCount; ++i) {
    ScheItem& item = scheSet->items[static_cast<std::size_t>(i)];
    item = ScheItem();
    const StoreKey record =
        OpenSettingsKey(store, RecordPath(SettingsGroup::kScheSet, ScheItemRecordName(i)));
    if (record) ReadScheItem(record, &item);
  }
  // Without a trustworthy count an append could overwrite an entry or skip
  // a record.
  if (scheSet->lScheItemCount < 0) return ScheduleLoad::kCountUnreadable;
  return ScheduleLoad::kLoaded;
}

int StartupScheduleMessage(ScheduleLoad load, const ScheSetGroup& scheSet) {
  if (load != ScheduleLoad::kLoaded) return kMsgNoScheduleInfo;
  if (scheSet.lScheItemCount >= kScheItemCount) return kMsgScheduleFull;
  return 0;
}

ScheItem MakePendingScheItem(const IepgProgramme& programme, std::int32_t sfType,
                             std::int32_t lCaptMode,
                             const std::function<std::string(const std::string&)>& toStoreText) {
  ScheItem item;
  item.msSrcType = 0;  // the TV source
  item.sfType = sfType;
  item.lChn = programme.channel;
  item.szChnName = toStoreText ? toStoreText(programme.station) : programme.station;
  item.szScheDesc = toStoreText ? toStoreText(programme.title) : programme.title;
  item.tStartDateTime = programme.startDateTime;
  item.tStopDateTime = programme.stopDateTime;
  // A once entry has real dates; the flag matters only to repeating ones.
  item.bOvernight = (sfType != kScheOnce && programme.overnight) ? 1 : 0;
  item.lCaptMode = lCaptMode;
  return item;
}

void WriteReservationEntry(const StoreKey& key, const ScheItem& item) {
  WriteLong(key, "msSrcType", 0);
  WriteLong(key, "sfType", item.sfType);
  WriteLong(key, "lChn", item.lChn);
  WriteText(key, "szChnName", item.szChnName);
  WriteText(key, "szScheDesc", item.szScheDesc);
  WriteDateTime(key, "tStartDateTime", item.tStartDateTime);
  WriteDateTime(key, "tStopDateTime", item.tStopDateTime);
  WriteLong(key, "bOvernight", item.bOvernight);
  WriteLong(key, "lCaptMode", item.lCaptMode);
}

bool WriteTempScheItem(SettingsStore& store, const ScheItem& item) {
  const std::string path = RecordPath(SettingsGroup::kScheSet, kScheItemTempName);
  if (!OpenSettingsKey(store, path)) {
    StoreKey created;
    CreateSettingsKey(store, path, &created);  // reports its own failure
  }
  const StoreKey key = OpenSettingsKey(store, path);
  if (!key) return false;
  WriteReservationEntry(key, item);
  return true;
}

AppendResult AppendScheItem(SettingsStore& store, std::int32_t countAtStart, const ScheItem& item) {
  if (countAtStart < 0 || countAtStart >= kScheItemCount) return AppendResult::kScheduleFull;
  StoreKey group = OpenSettingsKey(store, GroupPath(SettingsGroup::kScheSet));
  if (!group) return AppendResult::kGroupMissing;
  const StoreKey record =
      OpenSettingsKey(store, RecordPath(SettingsGroup::kScheSet, ScheItemRecordName(countAtStart)));
  if (!record) return AppendResult::kRecordMissing;
  // The count first: a main program starting in between sees the record as
  // in use rather than losing it.
  if (!WriteLong(group, "lScheItemCount", countAtStart + 1)) {
    return AppendResult::kCountNotWritten;
  }
  group.Reset();
  WriteReservationEntry(record, item);
  return AppendResult::kAppended;
}

ReserveOutcome ReserveScheItem(SettingsStore& store, const ScheItem& item,
                               const ScheSetGroup& scheduleAtStart, DateTime now,
                               bool mainProgramRunning,
                               const std::function<void()>& notifyMainProgram) {
  ReserveOutcome outcome;
  if (mainProgramRunning) {
    // The main program checks the entry itself. It is told even when the
    // scratch record could not be created: it then finds no record to take.
    WriteTempScheItem(store, item);
    if (notifyMainProgram) notifyMainProgram();
    outcome.handedOver = true;
    return outcome;
  }
  outcome.message = CheckNewScheItem(item, now, scheduleAtStart);
  if (outcome.message != 0) return outcome;
  switch (AppendScheItem(store, scheduleAtStart.lScheItemCount, item)) {
    case AppendResult::kAppended:
      outcome.appended = true;
      break;
    case AppendResult::kScheduleFull:
      outcome.message = kMsgScheduleFull;
      break;
    default:
      outcome.message = kMsgNoScheduleInfo;
      break;
  }
  return outcome;
}

}  // namespace brontel

#include "iepg/reservation_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "iepg/iepg_parser.h"
#include "iepg/schedule_overlap.h"
#include "app/settings/memory_store.h"
#include "iepg/tokyo_time.h"

namespace brontel {
namespace {

const std::string kScheSet = GroupPath(SettingsGroup::kScheSet);
const std::string kTVSet = GroupPath(SettingsGroup::kTVSet);

// Remembers the order in which values are written.
class RecordingStore : public MemoryStore {
 public:
  bool SetString(KeyId key, const std::string& name, const std::string& text,
                 bool terminated) override {
    written.push_back(name);
    return MemoryStore::SetString(key, name, text, terminated);
  }
  std::vector<std::string> written;
};

class ReservationStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    brontel_test::UseTokyoTime();
    CAppSettings defaults;
    defaults.EnsureKeys(store);
    store.written.clear();
  }

  std::string Value(const std::string& key, const std::string& name) {
    const MemoryStore::Value* v = store.FindValue(key, name);
    return v ? v->text : std::string("<missing>");
  }
  void Set(const std::string& path, const std::string& name, const std::string& text) {
    const StoreKey key = OpenSettingsKey(store, path);
    ASSERT_TRUE(key);
    store.SetString(key.id(), name, text, true);
    store.written.clear();
  }
  ScheItem Pending() {
    ScheItem item;
    item.sfType = kScheWeekly;
    item.lChn = 12;
    item.szChnName = "NHK";
    item.szScheDesc = "Late news";
    item.tStartDateTime = MakeLocalDateTime(2026, 12, 24, 23, 30);
    item.tStopDateTime = item.tStartDateTime + 75 * 60;
    item.bOvernight = 1;
    item.lCaptMode = 2;
    return item;
  }

  RecordingStore store;
  const DateTime now = MakeLocalDateTime(2026, 12, 8, 12, 0);
};

TEST_F(ReservationStoreTest, AppendWritesTheCountFirstThenTheEntryValuesInOrder) {
  Set(kScheSet, "lScheItemCount", "3");
  Set(kScheSet + "\\ScheItem04", "bCompleted", "1");
  ASSERT_EQ(AppendScheItem(store, 3, Pending()), AppendResult::kAppended);
  EXPECT_EQ(store.written,
            (std::vector<std::string>{"lScheItemCount", "msSrcType", "sfType", "lChn", "szChnName",
                                      "szScheDesc", "tStartDateTime", "tStopDateTime", "bOvernight",
                                      "lCaptMode"}));
  const std::string record = kScheSet + "\\ScheItem04";
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "4");
  EXPECT_EQ(Value(record, "msSrcType"), "0");
  EXPECT_EQ(Value(record, "sfType"), "1");
  EXPECT_EQ(Value(record, "lChn"), "12");
  EXPECT_EQ(Value(record, "szChnName"), "NHK");
  EXPECT_EQ(Value(record, "szScheDesc"), "Late news");
  EXPECT_EQ(Value(record, "tStartDateTime"), "2026-12-24-23-30");
  EXPECT_EQ(Value(record, "tStopDateTime"), "2026-12-25-0-45");
  EXPECT_EQ(Value(record, "bOvernight"), "1");
  EXPECT_EQ(Value(record, "lCaptMode"), "2");
  EXPECT_EQ(Value(record, "bCompleted"), "1");  // left as it was
  EXPECT_EQ(Value(record, "ScheMultRec_clt"), "2");
}

TEST_F(ReservationStoreTest, AppendGoesToTheRecordAfterTheCount) {
  const struct {
    std::int32_t count;
    const char* record;
  } cases[] = {{0, "ScheItem01"}, {8, "ScheItem09"}, {9, "ScheItem10"}};
  for (const auto& c : cases) {
    ASSERT_EQ(AppendScheItem(store, c.count, Pending()), AppendResult::kAppended);
    EXPECT_EQ(Value(kScheSet, "lScheItemCount"), std::to_string(c.count + 1));
    EXPECT_EQ(Value(kScheSet + "\\" + c.record, "szScheDesc"), "Late news") << c.record;
  }
}

TEST_F(ReservationStoreTest, AppendWritesNothingWhenTheRecordIsMissing) {
  Set(kScheSet, "lScheItemCount", "4");
  store.DeleteKeyTree(kScheSet + "\\ScheItem05");
  EXPECT_EQ(AppendScheItem(store, 4, Pending()), AppendResult::kRecordMissing);
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "4");
  EXPECT_TRUE(store.written.empty());
}

TEST_F(ReservationStoreTest, AppendWritesNothingWithoutTheGroupOrRoom) {
  EXPECT_EQ(AppendScheItem(store, 10, Pending()), AppendResult::kScheduleFull);
  EXPECT_EQ(AppendScheItem(store, -9999, Pending()), AppendResult::kScheduleFull);
  store.DeleteKeyTree(kScheSet);
  EXPECT_EQ(AppendScheItem(store, 0, Pending()), AppendResult::kGroupMissing);
  EXPECT_TRUE(store.written.empty());
}

TEST_F(ReservationStoreTest, TempEntryIsCreatedWhenMissingAndKeepsNoMatchAsUnsigned) {
  store.DeleteKeyTree(kScheSet + "\\ScheItemTemp");
  ScheItem item = Pending();
  item.lChn = kNoChannel;
  ASSERT_TRUE(WriteTempScheItem(store, item));
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "lChn"), "4294967295");
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "szChnName"), "NHK");
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "bCompleted"), "<missing>");
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
}

TEST_F(ReservationStoreTest, TempEntryThatCannotBeCreatedIsReported) {
  store.DeleteKeyTree(kScheSet + "\\ScheItemTemp");
  store.FailCreate(kScheSet + "\\ScheItemTemp", 5);
  std::string reported;
  store.onCreateKeyFailed = [&reported](const std::string& path, long) { reported = path; };
  EXPECT_FALSE(WriteTempScheItem(store, Pending()));
  EXPECT_EQ(reported, kScheSet + "\\ScheItemTemp");
}

TEST_F(ReservationStoreTest, RunningMainProgramGetsTheEntryUncheckedBeforeTheNotice) {
  ScheItem item = Pending();
  item.lChn = kNoChannel;
  item.tStartDateTime = now - 3600;  // would fail every check
  ScheSetGroup schedule;
  bool notified = false;
  const ReserveOutcome outcome = ReserveScheItem(store, item, schedule, now, true, [&] {
    notified = true;
    EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "lChn"), "4294967295");
  });
  EXPECT_TRUE(notified);
  EXPECT_TRUE(outcome.handedOver);
  EXPECT_EQ(outcome.message, 0);
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem01", "szChnName"), "");
}

TEST_F(ReservationStoreTest, WithoutMainProgramACheckFailureWritesNothing) {
  ScheItem item = Pending();
  item.lChn = kNoChannel;
  ScheSetGroup schedule;
  bool notified = false;
  const ReserveOutcome outcome =
      ReserveScheItem(store, item, schedule, now, false, [&] { notified = true; });
  EXPECT_FALSE(notified);
  EXPECT_EQ(outcome.message, kMsgNoChannel);
  EXPECT_FALSE(outcome.appended);
  EXPECT_TRUE(store.written.empty());
}

TEST_F(ReservationStoreTest, WithoutMainProgramAGoodEntryIsAppended) {
  ScheSetGroup schedule;
  schedule.lScheItemCount = 2;
  const ReserveOutcome outcome = ReserveScheItem(store, Pending(), schedule, now, false, nullptr);
  EXPECT_TRUE(outcome.appended);
  EXPECT_EQ(outcome.message, 0);
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "3");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem03", "lCaptMode"), "2");
}

TEST_F(ReservationStoreTest, MissingRecordOnAppendIsReportedAsMissingSchedule) {
  store.DeleteKeyTree(kScheSet + "\\ScheItem01");
  ScheSetGroup schedule;
  const ReserveOutcome outcome = ReserveScheItem(store, Pending(), schedule, now, false, nullptr);
  EXPECT_EQ(outcome.message, kMsgNoScheduleInfo);
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
}

TEST_F(ReservationStoreTest, ScheduleLoadDecidesWhetherTheHandlerMayGoOn) {
  ScheSetGroup schedule;
  Set(kScheSet, "lScheItemCount", "9");
  EXPECT_EQ(StartupScheduleMessage(LoadSchedule(store, &schedule), schedule), 0);
  Set(kScheSet, "lScheItemCount", "10");
  EXPECT_EQ(StartupScheduleMessage(LoadSchedule(store, &schedule), schedule), kMsgScheduleFull);
  Set(kScheSet, "lScheItemCount", "12");
  EXPECT_EQ(StartupScheduleMessage(LoadSchedule(store, &schedule), schedule), kMsgScheduleFull);
  Set(kScheSet, "lScheItemCount", "4294967295");
  EXPECT_EQ(LoadSchedule(store, &schedule), ScheduleLoad::kCountUnreadable);
  {
    const StoreKey key = OpenSettingsKey(store, kScheSet);
    store.DeleteValue(key.id(), "lScheItemCount");
  }
  EXPECT_EQ(LoadSchedule(store, &schedule), ScheduleLoad::kCountUnreadable);
  EXPECT_EQ(StartupScheduleMessage(ScheduleLoad::kCountUnreadable, schedule), kMsgNoScheduleInfo);
  store.DeleteKeyTree(kScheSet);
  EXPECT_EQ(LoadSchedule(store, &schedule), ScheduleLoad::kGroupMissing);
  EXPECT_EQ(StartupScheduleMessage(ScheduleLoad::kGroupMissing, schedule), kMsgNoScheduleInfo);
}

TEST_F(ReservationStoreTest, ScheduleRecordsAreReadAndMissingOnesDefaulted) {
  Set(kScheSet, "lScheItemCount", "2");
  Set(kScheSet + "\\ScheItem01", "sfType", "2");
  Set(kScheSet + "\\ScheItem01", "tStartDateTime", "2026-12-9-21-0");
  store.DeleteKeyTree(kScheSet + "\\ScheItem02");
  ScheSetGroup schedule;
  schedule.items[1].sfType = 1;
  ASSERT_EQ(LoadSchedule(store, &schedule), ScheduleLoad::kLoaded);
  EXPECT_EQ(schedule.lScheItemCount, 2);
  EXPECT_EQ(schedule.items[0].sfType, 2);
  EXPECT_EQ(schedule.items[0].tStartDateTime, MakeLocalDateTime(2026, 12, 9, 21, 0));
  EXPECT_EQ(schedule.items[1].sfType, 0);
  EXPECT_EQ(schedule.items[1].lCaptMode, 1);
  EXPECT_EQ(schedule.items[1].tStartDateTime, MakeLocalDateTime(2000, 1, 1, 12, 0));
}

TEST_F(ReservationStoreTest, ChannelListIsReadAndMissingRecordsAreEmpty) {
  Set(kTVSet, "lTVChnCount", "2");
  Set(kTVSet + "\\ChnInfo001", "lFreqChn", "4");
  Set(kTVSet + "\\ChnInfo001", "szTVPIStnName", "TBS");
  store.DeleteKeyTree(kTVSet + "\\ChnInfo002");
  TVSetGroup tvSet;
  tvSet.channels[1].lFreqChn = 99;
  ASSERT_TRUE(LoadChannelList(store, &tvSet));
  EXPECT_EQ(tvSet.lTVChnCount, 2);
  EXPECT_EQ(tvSet.channels[0].lFreqChn, 4);
  EXPECT_EQ(tvSet.channels[0].szTVPIStnName, "TBS");
  EXPECT_EQ(tvSet.channels[1].lFreqChn, 0);
  store.DeleteKeyTree(kTVSet);
  EXPECT_FALSE(LoadChannelList(store, &tvSet));
}

TEST_F(ReservationStoreTest, PendingEntryKeepsOvernightOnlyForRepeatingKinds) {
  IepgProgramme programme;
  programme.station = "st";
  programme.title = "ti";
  programme.channel = 7;
  programme.overnight = true;
  const auto upper = [](const std::string& s) { return "<" + s + ">"; };
  const ScheItem once = MakePendingScheItem(programme, kScheOnce, 1, upper);
  EXPECT_EQ(once.bOvernight, 0);
  EXPECT_EQ(once.szChnName, "<st>");
  EXPECT_EQ(once.szScheDesc, "<ti>");
  EXPECT_EQ(once.lChn, 7);
  EXPECT_EQ(MakePendingScheItem(programme, kScheWeekly, 3, upper).bOvernight, 1);
  EXPECT_EQ(MakePendingScheItem(programme, kScheDaily, 0, upper).bOvernight, 1);
  programme.overnight = false;
  EXPECT_EQ(MakePendingScheItem(programme, kScheDaily, 0, upper).bOvernight, 0);
}

}  // namespace
}  // namespace brontel

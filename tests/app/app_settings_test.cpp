#include "app/settings/app_settings.h"
#include "app/settings/memory_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brontel {
namespace {

std::string Group(SettingsGroup g) {
  return GroupPath(g);
}
std::string Record(SettingsGroup g, const std::string& name) {
  return GroupPath(g) + "\\" + name;
}

class AppSettingsTest : public ::testing::Test {
 protected:
  std::string Text(const std::string& path, const std::string& name) {
    const MemoryStore::Value* v = store.FindValue(path, name);
    return v ? v->text : std::string("<missing>");
  }
  MemoryStore store;
  CAppSettings settings;
};

TEST_F(AppSettingsTest, FreshProfileGetsEveryGroupAndRecord) {
  settings.SetScreenGeometry(1024, 768, 300);
  settings.LoadAll(store);
  for (int g = 0; g < kSettingsGroupCount; ++g) {
    EXPECT_TRUE(store.HasKey(Group(static_cast<SettingsGroup>(g)))) << g;
  }
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kTVSet, "ChnInfo001")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kTVSet, "ChnInfo181")));
  EXPECT_FALSE(store.HasKey(Record(SettingsGroup::kTVSet, "ChnInfo182")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kRdSet, "StnInfo10")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kScheSet, "ScheItemTemp")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kScheSet, "ScheItem10")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kCaptSet, "Rec_spc")));
  EXPECT_TRUE(store.HasKey(Record(SettingsGroup::kCaptSet, "TS_spc")));
  // Root + 4 parent keys, 8 groups, 181 + 2 + 10 + 11 records.
  EXPECT_EQ(store.KeyCount(), 4u + 8u + 181u + 2u + 10u + 11u);
}

TEST_F(AppSettingsTest, DefaultsAreWrittenAsTextWithTheirExceptions) {
  settings.SetScreenGeometry(1024, 768, 300);
  settings.EnsureKeys(store);
  const std::string app = Group(SettingsGroup::kAppSet);
  struct Case {
    std::string path, name, text;
  } cases[] = {
      {app, "lCountryCode", "81"},
      {app, "lScreenXPos", "312"},
      {app, "lScreenYPos", "234"},
      {app, "lPanelXPos", "362"},
      {app, "lPanelYPos", "535"},
      {app, "lVolLevel", "50"},
      {app, "AlwaysOnTop", "1"},
      {Group(SettingsGroup::kTVSet), "amPrefSAPMode", "4"},
      {Group(SettingsGroup::kVidClrSet), "TV_lSaturation", "75"},
      {Group(SettingsGroup::kVidClrSet), "VIDEO1_lContrast", "53"},
      {Group(SettingsGroup::kVidClrSet), "VIDEO2_lContrast", "50"},
      {Group(SettingsGroup::kVidClrDefSet), "VIDEO2_lContrast", "50"},
      {Group(SettingsGroup::kVidClrSet), "bUseDeinterlacer", "1"},
      {Group(SettingsGroup::kSnapSet), "szDestDir", "C:\\"},
      {Group(SettingsGroup::kCaptSet), "lTSBufferSizeMB", "1024"},
      {Record(SettingsGroup::kCaptSet, "Rec_spc"), "dwcappreview", "1"},
      {Record(SettingsGroup::kCaptSet, "TS_spc"), "dwbit_rate", "0"},
      {Record(SettingsGroup::kTVSet, "ChnInfo042"), "dPresetFreq", "0.000"},
      {Record(SettingsGroup::kScheSet, "ScheItem03"), "tStartDateTime", "2000-1-1-12-0"},
      {Record(SettingsGroup::kScheSet, "ScheItemTemp"), "ScheMultRec_clt", "2"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.path, c.name), c.text) << c.path << " " << c.name;

  struct Absent {
    std::string path, name;
  } absent[] = {
      {app, "InstallPath"},
      {app, "bHasAVICapt"},
      {Group(SettingsGroup::kVidClrDefSet), "bColorAllSame"},
      {Record(SettingsGroup::kCaptSet, "Rec_spc"), "dwnFrames"},
      {Record(SettingsGroup::kScheSet, "ScheItem01"), "bCompleted"},
      {Record(SettingsGroup::kScheSet, "ScheItemTemp"), "bCompleted"},
  };
  for (const Absent& a : absent) EXPECT_EQ(store.FindValue(a.path, a.name), nullptr) << a.name;

  // Integers carry their terminating zero, texts do not.
  EXPECT_TRUE(store.FindValue(app, "lVolLevel")->terminated);
  EXPECT_FALSE(store.FindValue(Group(SettingsGroup::kSnapSet), "szDestDir")->terminated);
}

TEST_F(AppSettingsTest, MissingOrBadValuesReadAsDefaultOrZero) {
  settings.LoadAll(store);
  const std::string tv = Group(SettingsGroup::kTVSet);
  const std::string vid = Group(SettingsGroup::kVidClrDefSet);
  StoreKey key = OpenSettingsKey(store, tv);
  store.DeleteValue(key.id(), "amPrefSAPMode");
  WriteText(key, "lTunerSrc", "abc");
  WriteText(key, "lCurrChn", "4294967295");
  StoreKey colours = OpenSettingsKey(store, vid);
  store.DeleteValue(colours.id(), "VIDEO2_lContrast");
  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.tvSet.amPrefSAPMode, 4);  // missing: default
  EXPECT_EQ(loaded.tvSet.lTunerSrc, 0);      // not a number: 0, not the default
  EXPECT_EQ(loaded.tvSet.lCurrChn, -1);
  EXPECT_EQ(loaded.vidClrDefSet.video2.lContrast, 53);
}

TEST_F(AppSettingsTest, SaveAllThenLoadAllRoundTrips) {
  settings.LoadAll(store);
  settings.appSet.lVolLevel = 73;
  settings.appSet.amCurrAudioMode = 16;
  settings.tvSet.channels[41].lFreqChn = 42;
  settings.tvSet.channels[41].dFreqOffset = -0.25;
  settings.tvSet.channels[41].szTVStnName = "\xE3\x83\x86\xE3\x83\xAC";
  settings.captSet.Rec_spc.dwbit_rate = 6000000;
  settings.captSet.TS_spc.dwnFrames = 12;
  settings.rdSet.stations[9].szRDStnName = "FM";
  settings.scheSet.items[2].tStartDateTime = MakeLocalDateTime(2004, 12, 31, 23, 5);
  settings.scheSet.items[2].bCompleted = 1;
  settings.SaveAll(store);

  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.appSet.lVolLevel, 73);
  EXPECT_EQ(loaded.appSet.amCurrAudioMode, 16);
  EXPECT_EQ(loaded.tvSet.channels[41].lFreqChn, 42);
  EXPECT_DOUBLE_EQ(loaded.tvSet.channels[41].dFreqOffset, -0.25);
  EXPECT_EQ(loaded.tvSet.channels[41].szTVStnName, "\xE3\x83\x86\xE3\x83\xAC");
  EXPECT_EQ(loaded.captSet.Rec_spc.dwbit_rate, 6000000u);
  EXPECT_EQ(loaded.captSet.TS_spc.dwnFrames, 12u);
  EXPECT_EQ(loaded.rdSet.stations[9].szRDStnName, "FM");
  EXPECT_EQ(loaded.scheSet.items[2].tStartDateTime, MakeLocalDateTime(2004, 12, 31, 23, 5));
  EXPECT_EQ(loaded.scheSet.items[2].bCompleted, 1);
  EXPECT_EQ(Text(Record(SettingsGroup::kScheSet, "ScheItem03"), "tStartDateTime"),
            "2004-12-31-23-5");
}

TEST_F(AppSettingsTest, DeletedGroupAloneIsRecreated) {
  settings.LoadAll(store);
  settings.appSet.lVolLevel = 10;
  settings.snapSet.lFileCounter = 99;
  settings.SaveAll(store);
  store.DeleteKeyTree(Group(SettingsGroup::kSnapSet));

  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.appSet.lVolLevel, 10);     // kept
  EXPECT_EQ(loaded.snapSet.lFileCounter, 1);  // recreated with defaults
  EXPECT_EQ(Text(Group(SettingsGroup::kSnapSet), "lFileCounter"), "1");
}

TEST_F(AppSettingsTest, SaveSkipsRecordsWhoseKeyWasDeleted) {
  settings.LoadAll(store);
  const std::string record = Record(SettingsGroup::kTVSet, "ChnInfo005");
  store.DeleteKeyTree(record);
  settings.tvSet.channels[4].lFreqChn = 5;
  settings.tvSet.channels[5].lFreqChn = 6;
  settings.SaveAll(store);
  EXPECT_FALSE(store.HasKey(record));
  EXPECT_EQ(Text(Record(SettingsGroup::kTVSet, "ChnInfo006"), "lFreqChn"), "6");

  // A record that cannot be opened when loading keeps what memory holds.
  settings.tvSet.channels[4].lFreqChn = 55;
  settings.LoadAll(store);
  EXPECT_EQ(settings.tvSet.channels[4].lFreqChn, 55);
}

TEST_F(AppSettingsTest, ReadOnlyAppValuesAreNeverWritten) {
  settings.LoadAll(store);
  StoreKey app = OpenSettingsKey(store, Group(SettingsGroup::kAppSet));
  WriteText(app, "InstallPath", "C:\\Brontel\\");
  WriteLong(app, "bHasAVICapt", 1);
  settings.LoadAll(store);
  EXPECT_EQ(settings.appSet.InstallPath, "C:\\Brontel\\");
  EXPECT_EQ(settings.appSet.bHasAVICapt, 1);
  settings.appSet.InstallPath = "D:\\elsewhere\\";
  settings.appSet.bHasAVICapt = 0;
  settings.SaveAll(store);
  EXPECT_EQ(Text(Group(SettingsGroup::kAppSet), "InstallPath"), "C:\\Brontel\\");
  EXPECT_EQ(Text(Group(SettingsGroup::kAppSet), "bHasAVICapt"), "1");
}

TEST_F(AppSettingsTest, DefaultColoursAreNeverSaved) {
  settings.LoadAll(store);
  settings.vidClrDefSet.tv.lHue = 7;
  settings.vidClrSet.tv.lHue = 8;
  settings.SaveAll(store);
  EXPECT_EQ(Text(Group(SettingsGroup::kVidClrDefSet), "TV_lHue"), "50");
  EXPECT_EQ(Text(Group(SettingsGroup::kVidClrSet), "TV_lHue"), "8");
}

TEST_F(AppSettingsTest, KeyThatCannotBeCreatedIsReportedAndSkipped) {
  std::vector<std::string> reported;
  store.onCreateKeyFailed = [&](const std::string& path, long) { reported.push_back(path); };
  store.FailCreate(Group(SettingsGroup::kRdSet), 5);
  settings.LoadAll(store);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], Group(SettingsGroup::kRdSet));
  EXPECT_FALSE(store.HasKey(Record(SettingsGroup::kRdSet, "StnInfo01")));
  EXPECT_EQ(settings.rdSet.lRDStnCount, 0);
  EXPECT_TRUE(store.HasKey(Group(SettingsGroup::kScheSet)));
}

TEST_F(AppSettingsTest, OutsidePlayerKeyIsWrittenOnlyWhenItExists) {
  EXPECT_FALSE(settings.WriteOutsidePlayerKey(store));
  EXPECT_FALSE(store.HasKey(kOutsidePlayerKey));
  StoreKey key;
  ASSERT_EQ(CreateSettingsKey(store, kOutsidePlayerKey, &key), SettingsStore::kOk);
  EXPECT_TRUE(settings.WriteOutsidePlayerKey(store));
  struct Case {
    const char* name;
    std::uint32_t value;
  } cases[] = {
      {"LIGOSSplitterOnly", 0}, {"MPEG2Only", 0}, {"Precision", 1}, {"UseOverlayMixer", 0}};
  for (const Case& c : cases) {
    const MemoryStore::Value* v = store.FindValue(kOutsidePlayerKey, c.name);
    ASSERT_NE(v, nullptr) << c.name;
    EXPECT_EQ(v->type, ValueType::kDword);
    EXPECT_EQ(v->dword, c.value);
  }
}

TEST_F(AppSettingsTest, TempScheItemAndCompletionMarking) {
  settings.LoadAll(store);
  ScheItem handed;
  handed.lChn = 4;
  handed.szChnName = "NHK";
  handed.tStartDateTime = MakeLocalDateTime(2026, 12, 8, 21, 0);
  handed.tStopDateTime = MakeLocalDateTime(2026, 12, 8, 22, 0);
  WriteScheItem(OpenSettingsKey(store, Record(SettingsGroup::kScheSet, kScheItemTempName)), handed,
                false);
  ScheItem read;
  ASSERT_TRUE(settings.ReadTempScheItem(store, &read));
  EXPECT_EQ(read.lChn, 4);
  EXPECT_EQ(read.szChnName, "NHK");
  EXPECT_EQ(read.tStopDateTime, handed.tStopDateTime);

  settings.scheSet.items[1] = handed;
  settings.scheSet.items[3] = handed;
  ScheItem other = handed;
  other.szScheDesc = "different";
  EXPECT_FALSE(settings.MarkScheItemCompleted(other));
  EXPECT_TRUE(settings.MarkScheItemCompleted(handed));
  EXPECT_EQ(settings.scheSet.items[1].bCompleted, 1);
  EXPECT_EQ(settings.scheSet.items[3].bCompleted, 0);
}

}  // namespace
}  // namespace brontel

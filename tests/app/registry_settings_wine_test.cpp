// The settings groups against the real registry of the Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "app/settings/registry_store_win.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

bool ReadRaw(const std::string& path, const std::string& name, RawValue* out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key, Widen(name).c_str(), nullptr, &out->type, nullptr, &size);
  if (rc == ERROR_SUCCESS) {
    out->bytes.resize(size);
    rc = RegQueryValueExW(key, Widen(name).c_str(), nullptr, &out->type, out->bytes.data(), &size);
  }
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

DWORD SubKeyCount(const std::string& path) {
  HKEY key = nullptr;
  DWORD count = 0;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
  }
  return count;
}

// Every value under the key and its sub-keys whose type is not REG_SZ.
void CollectNonStringValues(HKEY key, const std::wstring& path, std::vector<std::wstring>* out) {
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    if (type != REG_SZ) out->push_back(path + L"\\" + name);
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      CollectNonStringValues(sub, path + L"\\" + name, out);
      RegCloseKey(sub);
    }
  }
}

std::string Record(SettingsGroup g, const std::string& name) {
  return GroupPath(g) + "\\" + name;
}

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DeleteRegistryTree(kSettingsRoot));
    ASSERT_TRUE(DeleteRegistryTree(kOutsidePlayerKey));
    store.onCreateKeyFailed = [](const std::string& path, long error) {
      ADD_FAILURE() << "cannot create " << path << ": " << error;
    };
    settings.SetScreenGeometry(1024, 768, 300);
  }
  void TearDown() override {
    DeleteRegistryTree(kSettingsRoot);
    DeleteRegistryTree(kOutsidePlayerKey);
  }
  RegistryStore store;
  CAppSettings settings;
};

TEST_F(RegistrySettings, FreshProfileGetsAllGroupsRecordsAndOnlyStringValues) {
  settings.LoadAll(store);
  for (int g = 0; g < kSettingsGroupCount; ++g) {
    EXPECT_TRUE(KeyExists(GroupPath(static_cast<SettingsGroup>(g)))) << g;
  }
  EXPECT_EQ(SubKeyCount(GroupPath(SettingsGroup::kTVSet)), 181u);
  EXPECT_EQ(SubKeyCount(GroupPath(SettingsGroup::kRdSet)), 10u);
  EXPECT_EQ(SubKeyCount(GroupPath(SettingsGroup::kScheSet)), 11u);
  EXPECT_EQ(SubKeyCount(GroupPath(SettingsGroup::kCaptSet)), 2u);
  EXPECT_TRUE(KeyExists(Record(SettingsGroup::kTVSet, "ChnInfo181")));
  EXPECT_TRUE(KeyExists(Record(SettingsGroup::kScheSet, "ScheItemTemp")));

  HKEY root = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kSettingsRoot).c_str(), 0, KEY_READ, &root),
            ERROR_SUCCESS);
  std::vector<std::wstring> nonString;
  CollectNonStringValues(root, L"App", &nonString);
  RegCloseKey(root);
  EXPECT_TRUE(nonString.empty()) << Narrow(nonString.front());
}

TEST_F(RegistrySettings, NegativeIntegerIsStoredAsUnsignedTextWithItsZero) {
  settings.LoadAll(store);
  settings.tvSet.lCurrChn = -1;
  settings.SaveAll(store);
  RawValue value;
  ASSERT_TRUE(ReadRaw(GroupPath(SettingsGroup::kTVSet), "lCurrChn", &value));
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  const std::wstring expected = L"4294967295";
  ASSERT_EQ(value.bytes.size(), (expected.size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data())), expected);

  // Texts are handed over without their zero; Wine's registry appends one
  // itself, so only the text is checked.
  ASSERT_TRUE(ReadRaw(GroupPath(SettingsGroup::kSnapSet), "szDestDir", &value));
  value.bytes.resize(value.bytes.size() + 2, 0);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data())), L"C:\\");

  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.tvSet.lCurrChn, -1);
}

TEST_F(RegistrySettings, SaveSkipsDeletedRecordWithoutCreatingIt) {
  settings.LoadAll(store);
  const std::string record = Record(SettingsGroup::kScheSet, "ScheItem04");
  ASSERT_TRUE(DeleteRegistryTree(record));
  settings.scheSet.items[3].szChnName = "skipped";
  settings.scheSet.items[4].szChnName = "saved";
  settings.SaveAll(store);
  EXPECT_FALSE(KeyExists(record));
  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.scheSet.items[4].szChnName, "saved");
}

TEST_F(RegistrySettings, OutsidePlayerKeyOnlyWhenItExists) {
  settings.LoadAll(store);
  EXPECT_FALSE(settings.WriteOutsidePlayerKey(store));
  EXPECT_FALSE(KeyExists(kOutsidePlayerKey));

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(kOutsidePlayerKey).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_TRUE(settings.WriteOutsidePlayerKey(store));
  struct Case {
    const char* name;
    DWORD value;
  } cases[] = {
      {"LIGOSSplitterOnly", 0}, {"MPEG2Only", 0}, {"Precision", 1}, {"UseOverlayMixer", 0}};
  for (const Case& c : cases) {
    RawValue value;
    ASSERT_TRUE(ReadRaw(kOutsidePlayerKey, c.name, &value)) << c.name;
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(value.bytes.size(), sizeof(DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(value.bytes.data()), c.value);
  }
}

TEST_F(RegistrySettings, JapaneseTextAndLongTextRoundTrip) {
  settings.LoadAll(store);
  const std::string name = "\xE3\x83\x95\xE3\x82\xB8\xE3\x83\x86\xE3\x83\xAC\xE3\x83\x93";
  settings.tvSet.channels[7].szTVStnName = name;
  settings.tvSet.channels[8].szTVStnName = std::string(300, 'a');
  settings.SaveAll(store);
  CAppSettings loaded;
  loaded.LoadAll(store);
  EXPECT_EQ(loaded.tvSet.channels[7].szTVStnName, name);
  EXPECT_EQ(loaded.tvSet.channels[8].szTVStnName.size(), 255u);
}

}  // namespace
}  // namespace brontel

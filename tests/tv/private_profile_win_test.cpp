// The private-profile reader and the portable reader give the same answers:
// on the shared cases, and on every key of the shipped files.

#include "tv/private_profile_win.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/text_convert.h"
#include "tv/ini_document.h"
#include "tv/ini_reader_cases.h"
#include "tv/wine_paths.h"

namespace brontel {
namespace {

TEST(PrivateProfileFile, AnswersTheSharedStringCases) {
  for (const auto& c : test::kStringCases) {
    const PrivateProfileFile file(test::FixturePath(c.file));
    EXPECT_EQ(file.ReadString(c.section, c.key, c.fallback, kIniValueMaxChars), c.expected)
        << c.file << " [" << c.section << "] " << c.key;
  }
}

TEST(PrivateProfileFile, AnswersTheSharedIntCases) {
  for (const auto& c : test::kIntCases) {
    const PrivateProfileFile file(test::FixturePath(c.file));
    EXPECT_EQ(file.ReadInt(c.section, c.key, c.fallback), c.expected)
        << c.file << " [" << c.section << "] " << c.key;
  }
}

TEST(PrivateProfileFile, ExistsOnlyForFiles) {
  EXPECT_TRUE(PrivateProfileFile(test::FixturePath("profile_rules.ini")).Exists());
  EXPECT_FALSE(PrivateProfileFile(test::FixturePath("missing_file.ini")).Exists());
  EXPECT_FALSE(PrivateProfileFile(test::UnixToWinePath(BRONTEL_TV_FIXTURE_DIR)).Exists());
  EXPECT_FALSE(PrivateProfileFile(L"").Exists());
}

TEST(PrivateProfileFile, CutsValuesToTheBufferSize) {
  const PrivateProfileFile file(test::FixturePath("region_utf16.ini"));
  EXPECT_EQ(file.ReadString("State1", "StateName", "", 2), "東京");
}

// Reads the file through both readers and compares every key.
void ExpectReadersAgree(const std::string& name) {
  const IniDocument doc = IniDocument::LoadFile(std::string(BRONTEL_DATA_DIR) + "/" + name);
  ASSERT_TRUE(doc.Exists()) << name;
  ASSERT_FALSE(doc.sections().empty()) << name;
  const PrivateProfileFile file(test::DataPath(name));
  int compared = 0;
  for (const auto& section : doc.sections()) {
    for (const auto& entry : section.entries) {
      EXPECT_EQ(file.ReadString(section.name, entry.key, "<missing>", kIniValueMaxChars),
                doc.ReadString(section.name, entry.key, "<missing>", kIniValueMaxChars))
          << name << " [" << section.name << "] " << entry.key;
      EXPECT_EQ(file.ReadInt(section.name, entry.key, -7), doc.ReadInt(section.name, entry.key, -7))
          << name << " [" << section.name << "] " << entry.key;
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

TEST(ShippedFiles, BothReadersAgreeOnEveryKey) {
  for (const char* name :
       {"TVFreqBroad_81.ini", "TVFreqCable_81.ini", "TVChn_Cntry_81.ini", "TVFreqBroad_1.ini",
        "TVFreqCable_1.ini", "TVChn_Cntry_1.ini", "registersetting.ini"}) {
    ExpectReadersAgree(name);
  }
}

}  // namespace
}  // namespace brontel

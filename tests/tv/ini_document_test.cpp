#include "tv/ini_document.h"

#include <gtest/gtest.h>

#include <string>

#include "tv/ini_reader_cases.h"

namespace brontel {
namespace {

IniDocument Fixture(const std::string& name) {
  return IniDocument::LoadFile(std::string(BRONTEL_TV_FIXTURE_DIR) + "/" + name);
}

TEST(IniDocument, AnswersTheSharedStringCases) {
  for (const auto& c : test::kStringCases) {
    EXPECT_EQ(Fixture(c.file).ReadString(c.section, c.key, c.fallback, kIniValueMaxChars),
              c.expected)
        << c.file << " [" << c.section << "] " << c.key;
  }
}

TEST(IniDocument, AnswersTheSharedIntCases) {
  for (const auto& c : test::kIntCases) {
    EXPECT_EQ(Fixture(c.file).ReadInt(c.section, c.key, c.fallback), c.expected)
        << c.file << " [" << c.section << "] " << c.key;
  }
}

TEST(IniDocument, MissingFileDoesNotExist) {
  EXPECT_FALSE(Fixture("missing_file.ini").Exists());
  EXPECT_TRUE(Fixture("profile_rules.ini").Exists());
  EXPECT_FALSE(IniDocument().Exists());
}

TEST(IniDocument, EmptyFileExistsButHasNoKeys) {
  const IniDocument doc = IniDocument::FromBytes("");
  EXPECT_TRUE(doc.Exists());
  EXPECT_EQ(doc.ReadInt("ChnInfo", "MinChn", 3), 3);
}

TEST(IniDocument, KeysBeforeAnySectionAreNotFound) {
  const IniDocument doc = IniDocument::FromBytes("MinChn=5\r\n[ChnInfo]\r\nMaxChn=6\r\n");
  EXPECT_EQ(doc.ReadInt("ChnInfo", "MinChn", -1), -1);
  EXPECT_EQ(doc.ReadInt("ChnInfo", "MaxChn", -1), 6);
}

TEST(IniDocument, FirstOfTwoEqualKeysWins) {
  const IniDocument doc = IniDocument::FromBytes("[S]\nK=first\nk=second\n");
  EXPECT_EQ(doc.ReadString("S", "K", "", 10), "first");
}

TEST(IniDocument, LastLineWithoutNewlineIsRead) {
  const IniDocument doc = IniDocument::FromBytes("[S]\r\nK=last");
  EXPECT_EQ(doc.ReadString("S", "K", "", 10), "last");
}

TEST(IniDocument, ValueIsCutToTheBufferSize) {
  const IniDocument doc = IniDocument::FromBytes("[S]\nK=abcdef\nJ=東京都庁\n");
  EXPECT_EQ(doc.ReadString("S", "K", "", 4), "abcd");
  EXPECT_EQ(doc.ReadString("S", "J", "", 2), "東京");
}

TEST(DecodeIniText, HonoursByteOrderMarks) {
  const struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"plain", "plain"},
      {"\xEF\xBB\xBF[S]", "[S]"},
      {std::string("\xFF\xFE[\0S\0]\0", 8), "[S]"},
      {std::string("\xFE\xFF\0[\0S\0]", 8), "[S]"},
      // 東 (U+6771) and a character outside the BMP (U+1F4FA) as a pair.
      {std::string("\xFF\xFE\x71\x67\x3D\xD8\xFA\xDC", 8), "東\xF0\x9F\x93\xBA"},
      // A lone surrogate becomes the replacement character; an odd byte is dropped.
      {std::string("\xFF\xFE\x00\xD8\x41\x00\x42", 7),
       "\xEF\xBF\xBD"
       "A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeIniText(c.bytes), c.text);
  }
}

TEST(TruncateUtf16Units, CountsPairsAsTwoAndNeverSplitsACharacter) {
  const std::string tv = "\xF0\x9F\x93\xBA";  // U+1F4FA, two UTF-16 units
  EXPECT_EQ(TruncateUtf16Units("abc", 0), "");
  EXPECT_EQ(TruncateUtf16Units("abc", 3), "abc");
  EXPECT_EQ(TruncateUtf16Units("a" + tv, 2), "a");
  EXPECT_EQ(TruncateUtf16Units("a" + tv, 3), "a" + tv);
}

TEST(ParseProfileInt, ReadsLeadingDecimalNumber) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0},           {"181", 181},      {" 12", 12},
      {"+3", 3},          {"-3", -3},        {"12abc", 12},
      {"abc", 0},         {"-", 0},          {"2147483647", 2147483647},
      {"4294967295", -1}, {"4294967296", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseProfileInt(c.text), c.value) << c.text;
  }
}

}  // namespace
}  // namespace brontel

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "apimgr/board_blocks.h"
#include "apimgr/board_journal_format.h"

namespace {

std::map<uint32_t, std::string> g_texts;

std::string ReadText(uint32_t address) {
  auto found = g_texts.find(address);
  return found != g_texts.end() ? found->second : std::string("?");
}

// The encoder record at any address: its words are 100 + their position.
std::vector<uint32_t> ReadWords(uint32_t, size_t count) {
  std::vector<uint32_t> words(count);
  for (size_t i = 0; i < count; ++i) words[i] = static_cast<uint32_t>(100 + i);
  return words;
}

std::string Format(uint32_t command, bool write, const void* block) {
  return FormatBoardBlock(command, write, block, ReadText, ReadWords);
}

TEST(BoardJournalFormat, LineHasCommandDirectionResultAndBlock) {
  EXPECT_EQ(FormatJournalLine(103, true, 0, "{70}"), "103 W rc=0 {70}");
  EXPECT_EQ(FormatJournalLine(111, false, 3, "buffer"), "111 R rc=3 buffer");
  EXPECT_EQ(FormatJournalLine(2, true, -1, "-"), "2 W rc=-1 -");
}

TEST(BoardJournalFormat, WordBlocksByCommand) {
  g_texts[0x1000] = "C:\\rec\\a \"b\".mpg";
  struct Case {
    uint32_t command;
    bool write;
    std::vector<uint32_t> words;
    const char* expected;
  };
  const Case cases[] = {
      {103, true, {70}, "{70}"},
      {103, false, {0, 0, 0, 0}, "{0,0,0,0}"},
      {108, false, {1, 2, 3, 4}, "{1,2,3,4}"},
      {100, true, {0x2A0, 2}, "{0x2A0,2}"},
      {6, true, {2048, 0x1234}, "{2048,&}"},
      {216, false, {1, 0}, "{1,0}"},
      {3, false, {1, 3, 3, 0, 0, 0, 1}, "{1,3,3,0,0,0,1}"},
      {505, true, {7, 0, 1}, "{7,0,1}"},
      {505, false, {7, 0x2000}, "{7,&}"},
      {504, true, {7, 0x1000}, "{7,\"C:\\rec\\a \\x22b\\x22.mpg\"}"},
      {504, true, {7, 0}, "{7,0}"},
      {503, false, {7, 3, 0, 0, 0, 0}, "{7,3,0,0,0,0}"},
      {506, false, {7, 1, 0x10, 9}, "{7,1,&,9}"},
      {506,
       true,
       {7, 0, 0x3000},
       "{7,0,{100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,"
       "120,121,122,123,124,125,126}}"},
      {506, true, {7, 0, 0}, "{7,0,0}"},
      {507, true, {0x1000, 320, 240, 3, 75}, "{\"C:\\rec\\a \\x22b\\x22.mpg\",320,240,3,75}"},
      {500, true, {0, 0x10A, 1, 0, 0, 0x3000}, "{0,0x10A,1,0x0,0,&}"},
      {400, true, {static_cast<uint32_t>(-5)}, "{-5}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.command, c.write, c.words.data()), c.expected) << c.command;
  }
}

TEST(BoardJournalFormat, StructuredBlocks) {
  g_texts[0x2000] = "Pellamy Screen";
  VideoWindowBlock window = {};
  window.parent = 0x10024;
  window.title = 0x2000;
  window.style = 0x50000000;
  window.param1 = 1;
  window.width = 640;
  window.height = 480;
  EXPECT_EQ(Format(1, true, &window),
            "{parent=0x10024 title=\"Pellamy Screen\" style=0x50000000 p1=1 p2=0 result=0 "
            "left=0 top=0 width=640 height=480}");

  TunerBlock tuner = {};
  tuner.channel = 4;
  tuner.frequency = 171250000;
  EXPECT_EQ(Format(404, true, &tuner),
            "{minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=4 freq=171250000}");

  VideoPropertyBlock property = {4, 55, 0};
  EXPECT_EQ(Format(205, true, &property), "{kind=4 value=55 result=0}");
  property = {0, 0, 0x40};
  EXPECT_EQ(Format(204, false, &property), "{kind=0 value=0 result=&}");

  static AudioDeviceLists lists;
  std::memset(&lists, 0, sizeof lists);
  std::strcpy(lists.selectedDevice, "Sound Card");
  std::strcpy(lists.selectedInput, "Line In");
  lists.inputCount = 0x50;
  EXPECT_EQ(Format(115, true, &lists),
            "{device=\"Sound Card\" input=\"Line In\" devCount=0 inCount=&}");
}

TEST(BoardJournalFormat, EntryPointLines) {
  EXPECT_EQ(FormatInitBoardClassLine(0x20, 0, 0x7F001000), "kxTVA_InitBoardClass rc=& {0x20,0}");
  EXPECT_EQ(FormatInitBoardClassLine(0x21, 0, 0), "kxTVA_InitBoardClass rc=0 {0x21,0}");
  EXPECT_EQ(FormatFreeLine(0x7F001000, 0), "kxTVA_Free rc=0 {&}");
  EXPECT_EQ(FormatFreeLine(0x1234, 1), "kxTVA_Free rc=1 {&}");
  // Records are read only with a reader.
  const uint32_t encoder[3] = {7, 0, 0x3000};
  EXPECT_EQ(FormatBoardBlock(506, true, encoder, ReadText), "{7,0,&}");
}

TEST(BoardJournalFormat, NoBlockCallerBuffersAndUnknownCommands) {
  EXPECT_EQ(Format(2, true, nullptr), "-");
  const unsigned char buffer[16] = {0x01, 0x02, 0xAB, 0xFF};
  EXPECT_EQ(Format(111, false, buffer), "buffer");
  EXPECT_EQ(Format(508, false, buffer), "buffer");
  EXPECT_EQ(Format(999, true, buffer), "hex=0102ABFF000000000000000000000000");
  // A block where the command takes none is shown, not hidden.
  EXPECT_EQ(Format(213, true, buffer), "hex=0102ABFF000000000000000000000000");
}

TEST(BoardJournalFormat, TextsAreQuotedWithControlBytesEscaped) {
  EXPECT_EQ(QuoteJournalText("plain"), "\"plain\"");
  EXPECT_EQ(QuoteJournalText("a\"b"), "\"a\\x22b\"");
  EXPECT_EQ(QuoteJournalText(std::string("x\ny\x80")), "\"x\\x0Ay\\x80\"");
  EXPECT_EQ(QuoteJournalText(""), "\"\"");
}

}  // namespace

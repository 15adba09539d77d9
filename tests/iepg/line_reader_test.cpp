#include "iepg/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace brontel {
namespace {

struct Line {
  std::uint32_t number;
  std::string text;
  bool operator==(const Line& o) const { return number == o.number && text == o.text; }
};

void PrintTo(const Line& line, std::ostream* os) {
  *os << line.number << ":" << line.text;
}

struct ReadResult {
  std::vector<Line> lines;
  std::vector<std::string> warnings;
};

ReadResult ReadAll(const std::string& bytes, std::uint32_t capacity = kIepgLineBufferSize,
                   std::uint32_t lineSize = kIepgLineBufferSize) {
  ReadResult result;
  CLineReader reader(capacity,
                     [&result](const std::string& text) { result.warnings.push_back(text); });
  EXPECT_TRUE(reader.Open(std::make_unique<MemorySource>(bytes)));
  std::vector<char> buffer(lineSize);
  for (int guard = 0; guard < 10000; ++guard) {
    const std::uint32_t number = reader.ReadLine(buffer.data(), lineSize);
    if (number == 0) {
      EXPECT_EQ(buffer[0], '\0');
      EXPECT_EQ(reader.lineCounter(), 0u);
      break;
    }
    result.lines.push_back({number, buffer.data()});
  }
  return result;
}

TEST(LineReader, ThreeLineEndStylesGiveTheSameLines) {
  const std::vector<Line> expected = {{1, "version: 1"}, {2, "station: NHK"}, {3, "year: 2026"}};
  for (const char* end : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(end)));
    const std::string text =
        std::string("version: 1") + end + "station: NHK" + end + "year: 2026" + end;
    EXPECT_EQ(ReadAll(text).lines, expected);
  }
}

TEST(LineReader, EmptyLinesAreSkippedButNumbered) {
  const struct {
    const char* bytes;
    std::vector<Line> lines;
  } cases[] = {
      {"a\r\n\r\nb", {{1, "a"}, {3, "b"}}},
      // Any two line-end bytes in a row are one line end.
      {"a\n\nb", {{1, "a"}, {2, "b"}}},
      {"a\r\rb", {{1, "a"}, {2, "b"}}},
      {"a\n\n\nb", {{1, "a"}, {3, "b"}}},
      {"a\r\n\r\n\r\nb\r\n", {{1, "a"}, {4, "b"}}},
      {"\r\n\r\na", {{3, "a"}}},
      {"a\n\r\nb", {{1, "a"}, {3, "b"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(ReadAll(c.bytes).lines, c.lines);
  }
}

TEST(LineReader, WhiteSpaceOnlyLineIsReturnedAsIs) {
  EXPECT_EQ(ReadAll("  \t \r\nx").lines, (std::vector<Line>{{1, "  \t "}, {2, "x"}}));
}

TEST(LineReader, EmptyFileAndLineEndsOnlyGiveNothing) {
  EXPECT_TRUE(ReadAll("").lines.empty());
  EXPECT_TRUE(ReadAll("\r\n\n\r\r\r\n").lines.empty());
}

TEST(LineReader, LastLineWithoutLineEndIsReturned) {
  EXPECT_EQ(ReadAll("station: NHK").lines, (std::vector<Line>{{1, "station: NHK"}}));
  EXPECT_EQ(ReadAll("a\r\nb").lines, (std::vector<Line>{{1, "a"}, {2, "b"}}));
}

TEST(LineReader, EndIsReportedAgainAfterTheLastLine) {
  CLineReader reader;
  ASSERT_TRUE(reader.Open(std::make_unique<MemorySource>("x\n")));
  EXPECT_EQ(reader.ReadLine(), "x");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(reader.lineCounter(), 0u);
}

TEST(LineReader, NotOpenReadsNothing) {
  CLineReader reader;
  EXPECT_FALSE(reader.Open(nullptr));
  char buffer[8] = "junk";
  EXPECT_EQ(reader.ReadLine(buffer, sizeof buffer), 0u);
  EXPECT_EQ(buffer[0], '\0');
}

// Lines of `length` characters followed by LF, then "next".
TEST(LineReader, LongLinesAreCutWithOneWarningPerCut) {
  const struct {
    std::size_t length;
    std::vector<std::size_t> pieces;
    std::vector<std::uint32_t> warnedLines;
  } cases[] = {
      {2045, {2045}, {}},     {2046, {2046}, {}},           {2047, {2047}, {1}},
      {2048, {2047, 1}, {1}}, {4094, {2047, 2047}, {1, 2}}, {4095, {2047, 2047, 1}, {1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const ReadResult result = ReadAll(std::string(c.length, 'a') + "\nnext");
    ASSERT_EQ(result.lines.size(), c.pieces.size() + 1);
    for (std::size_t i = 0; i < c.pieces.size(); ++i) {
      EXPECT_EQ(result.lines[i].number, i + 1);
      EXPECT_EQ(result.lines[i].text.size(), c.pieces[i]);
    }
    EXPECT_EQ(result.lines.back(), (Line{static_cast<std::uint32_t>(c.pieces.size() + 1), "next"}));
    std::vector<std::string> expected;
    for (std::uint32_t line : c.warnedLines) expected.push_back(FormatOverflowWarning(line, 2048));
    EXPECT_EQ(result.warnings, expected);
  }
}

TEST(LineReader, OverflowWarningText) {
  EXPECT_EQ(FormatOverflowWarning(7, 2048),
            "m_pBuffer overflow in line 7 (line length over 2048 chars)");
}

TEST(LineReader, FullLineAtEndOfFileIsNotWarned) {
  const ReadResult result = ReadAll(std::string(2047, 'b'));
  ASSERT_EQ(result.lines.size(), 1u);
  EXPECT_EQ(result.lines[0].text.size(), 2047u);
  EXPECT_TRUE(result.warnings.empty());
}

TEST(LineReader, CutLineKeepsTheBytesInOrder) {
  std::string line;
  for (int i = 0; i < 2100; ++i) line += static_cast<char>('a' + i % 26);
  const ReadResult result = ReadAll(line + "\r\n");
  ASSERT_EQ(result.lines.size(), 2u);
  EXPECT_EQ(result.lines[0].text + result.lines[1].text, line);
}

TEST(LineReader, LinesContinueAcrossRefills) {
  const struct {
    const char* bytes;
    std::vector<Line> lines;
  } cases[] = {
      {"abc\ndefgh\n", {{1, "abc"}, {2, "defgh"}}},
      // CR in one fill and LF in the next are still one line end.
      {"abc\r\ncd", {{1, "abc"}, {2, "cd"}}},
      {"abc\r\n\r\ncd", {{1, "abc"}, {3, "cd"}}},
      {"abcdefghijklmnop", {{1, "abcdefghijklmnop"}}},
      {"abcd", {{1, "abcd"}}},
      {"abcd\n", {{1, "abcd"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(ReadAll(c.bytes, 4, 64).lines, c.lines);
  }
}

TEST(LineReader, OwnedStringFormUsesTheCapacity) {
  std::vector<std::string> warnings;
  CLineReader reader(8, [&warnings](const std::string& w) { warnings.push_back(w); });
  ASSERT_TRUE(reader.Open(std::make_unique<MemorySource>("0123456789\nz")));
  EXPECT_EQ(reader.ReadLine(), "0123456");
  EXPECT_EQ(reader.ReadLine(), "789");
  EXPECT_EQ(reader.ReadLine(), "z");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(warnings, (std::vector<std::string>{FormatOverflowWarning(1, 8)}));
}

TEST(LineReader, TinyLineBuffersDoNotOverrun) {
  CLineReader reader;
  ASSERT_TRUE(reader.Open(std::make_unique<MemorySource>("ab\n")));
  char one[1] = {'x'};
  EXPECT_EQ(reader.ReadLine(one, 1), 1u);  // nothing fits: an empty cut
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(reader.ReadLine(one, 0), 0u);
}

}  // namespace
}  // namespace brontel

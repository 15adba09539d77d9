// Linear and circular output files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encodewriter/output_file_writer.h"

namespace encodewriter {
namespace {

// A file in memory with a file pointer, like the system's.
class MemoryFile final : public FileSink {
 public:
  bool Write(const std::uint8_t* data, std::uint32_t length) override {
    if (failWrites) return false;
    writes.push_back(length);
    if (bytes.size() < pointer + length) bytes.resize(pointer + length);
    std::copy(data, data + length, bytes.begin() + pointer);
    pointer += length;
    return true;
  }
  bool SeekToStart() override {
    pointer = 0;
    return true;
  }
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint32_t> writes;
  std::size_t pointer = 0;
  bool failWrites = false;
};

std::vector<std::uint8_t> Block(std::size_t length, std::uint8_t value) {
  return std::vector<std::uint8_t>(length, value);
}

void WriteBlock(OutputFileWriter& writer, std::size_t length, std::uint8_t value) {
  const auto block = Block(length, value);
  writer.Write(block.data(), static_cast<std::uint32_t>(length));
}

TEST(OutputFileWriter, CircularWritesAndWraps) {
  const struct {
    const char* name;
    std::uint32_t before, block;
    std::vector<std::uint32_t> writes;  // of the block itself
    std::int64_t position;
    bool wrapped;
  } cases[] = {
      {"split at the end", 900, 300, {100, 200}, 200, true},
      {"ends at the limit", 700, 300, {300}, 0, true},
      {"inside", 100, 300, {300}, 400, false},
      {"more than half refused", 0, 501, {}, 0, false},
      {"half accepted", 0, 500, {500}, 500, false},
  };
  for (const auto& c : cases) {
    MemoryFile file;
    OutputFileWriter writer;
    writer.Start(&file, 1000, false);
    for (std::uint32_t done = 0; done < c.before; done += 100) WriteBlock(writer, 100, 1);
    file.writes.clear();
    WriteBlock(writer, c.block, 2);
    EXPECT_EQ(file.writes, c.writes) << c.name;
    EXPECT_EQ(writer.Position(), c.position) << c.name;
    EXPECT_EQ(writer.TakeWrapped(), c.wrapped) << c.name;
    EXPECT_FALSE(writer.TakeWrapped()) << c.name;
  }
}

TEST(OutputFileWriter, CircularSplitPutsTheRestAtTheStart) {
  MemoryFile file;
  OutputFileWriter writer;
  writer.Start(&file, 1000, false);
  for (int i = 0; i < 9; ++i) WriteBlock(writer, 100, 1);
  WriteBlock(writer, 300, 2);
  ASSERT_EQ(file.bytes.size(), 1000u);
  EXPECT_EQ(file.bytes[199], 2);
  EXPECT_EQ(file.bytes[200], 1);
  EXPECT_EQ(file.bytes[899], 1);
  EXPECT_EQ(file.bytes[900], 2);
  // The next block goes on after the wrapped part.
  WriteBlock(writer, 50, 3);
  EXPECT_EQ(file.bytes[200], 3);
  EXPECT_EQ(writer.Position(), 250);
}

TEST(OutputFileWriter, LinearStopsAtTheLimit) {
  MemoryFile file;
  OutputFileWriter writer;
  writer.Start(&file, 1000, true);
  for (int i = 0; i < 9; ++i) WriteBlock(writer, 100, 1);
  WriteBlock(writer, 300, 2);
  EXPECT_EQ(file.writes.back(), 100u);
  EXPECT_EQ(writer.Position(), 1000);
  WriteBlock(writer, 10, 3);
  EXPECT_EQ(file.bytes.size(), 1000u);
  EXPECT_EQ(file.writes.size(), 10u);
  EXPECT_FALSE(writer.TakeWrapped());
}

TEST(OutputFileWriter, FailedWriteKeepsThePosition) {
  MemoryFile file;
  OutputFileWriter writer;
  writer.Start(&file, 1000, true);
  WriteBlock(writer, 100, 1);
  file.failWrites = true;
  WriteBlock(writer, 100, 1);
  EXPECT_EQ(writer.Position(), 100);
  // Nothing is written without an open file.
  writer.Close();
  file.failWrites = false;
  WriteBlock(writer, 100, 1);
  EXPECT_EQ(file.writes.size(), 1u);
}

}  // namespace
}  // namespace encodewriter

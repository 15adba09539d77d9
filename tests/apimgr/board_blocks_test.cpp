#include <gtest/gtest.h>

#include <cstddef>

#include "apimgr/board_blocks.h"

namespace {

struct FieldCase {
  const char* field;
  size_t actual;
  size_t expected;
};

TEST(BoardBlocks, FieldOffsetsMatchTheDriverLayout) {
  const FieldCase cases[] = {
      {"BoardEntry.dwTag", offsetof(BoardEntry, dwTag), 0},
      {"BoardEntry.hBoard", offsetof(BoardEntry, hBoard), 4},
      {"BoardListInfo.cbEntries", offsetof(BoardListInfo, cbEntries), 0},
      {"BoardListInfo.pEntries", offsetof(BoardListInfo, pEntries), 4},
      {"VideoWindowBlock.parent", offsetof(VideoWindowBlock, parent), 0},
      {"VideoWindowBlock.title", offsetof(VideoWindowBlock, title), 4},
      {"VideoWindowBlock.style", offsetof(VideoWindowBlock, style), 8},
      {"VideoWindowBlock.param1", offsetof(VideoWindowBlock, param1), 12},
      {"VideoWindowBlock.param2", offsetof(VideoWindowBlock, param2), 16},
      {"VideoWindowBlock.result", offsetof(VideoWindowBlock, result), 20},
      {"VideoWindowBlock.left", offsetof(VideoWindowBlock, left), 24},
      {"VideoWindowBlock.top", offsetof(VideoWindowBlock, top), 26},
      {"VideoWindowBlock.width", offsetof(VideoWindowBlock, width), 28},
      {"VideoWindowBlock.height", offsetof(VideoWindowBlock, height), 30},
      {"AudioDeviceLists.deviceNames", offsetof(AudioDeviceLists, deviceNames), 0},
      {"AudioDeviceLists.deviceCount", offsetof(AudioDeviceLists, deviceCount), 2560},
      {"AudioDeviceLists.selectedDevice", offsetof(AudioDeviceLists, selectedDevice), 2564},
      {"AudioDeviceLists.inputNames", offsetof(AudioDeviceLists, inputNames), 2820},
      {"AudioDeviceLists.inputCount", offsetof(AudioDeviceLists, inputCount), 10500},
      {"AudioDeviceLists.selectedInput", offsetof(AudioDeviceLists, selectedInput), 10504},
      {"TunerBlock.lowestChannel", offsetof(TunerBlock, lowestChannel), 0},
      {"TunerBlock.highestChannel", offsetof(TunerBlock, highestChannel), 2},
      {"TunerBlock.lowestFrequency", offsetof(TunerBlock, lowestFrequency), 4},
      {"TunerBlock.highestFrequency", offsetof(TunerBlock, highestFrequency), 8},
      {"TunerBlock.channel", offsetof(TunerBlock, channel), 12},
      {"TunerBlock.unused", offsetof(TunerBlock, unused), 14},
      {"TunerBlock.frequency", offsetof(TunerBlock, frequency), 16},
      {"VideoPropertyBlock.kind", offsetof(VideoPropertyBlock, kind), 0},
      {"VideoPropertyBlock.value", offsetof(VideoPropertyBlock, value), 4},
      {"VideoPropertyBlock.resultAddress", offsetof(VideoPropertyBlock, resultAddress), 8},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.field;
  }
}

TEST(BoardBlocks, BlockSizesMatchTheDriverLayout) {
  EXPECT_EQ(sizeof(BoardEntry), 8u);
  EXPECT_EQ(sizeof(BoardListInfo), 8u);
  EXPECT_EQ(sizeof(VideoWindowBlock), 32u);
  EXPECT_EQ(sizeof(AudioDeviceLists), 10760u);
  EXPECT_EQ(sizeof(TunerBlock), 20u);
  EXPECT_EQ(sizeof(VideoPropertyBlock), 12u);
  // The caller's ten-entry array, as the main program passes it.
  EXPECT_EQ(sizeof(BoardEntry[10]), 80u);
}

}  // namespace

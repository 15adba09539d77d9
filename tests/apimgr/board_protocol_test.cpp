#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "apimgr/board_protocol.h"

namespace {

TEST(BoardProtocol, OpenKindsSelectTheBoardClass) {
  struct Case {
    int32_t kind;
    bool supported;
    uint32_t boardClass;
  };
  const Case cases[] = {
      {0, true, 0x20}, {7, true, 0x20},       {8, false, 0},   {9, false, 0},  {10, false, 0},
      {99, false, 0},  {100, true, 0xFF0020}, {101, false, 0}, {-1, false, 0},
  };
  for (const Case& c : cases) {
    uint32_t boardClass = 0;
    EXPECT_EQ(BoardClassForKind(c.kind, &boardClass), c.supported) << c.kind;
    if (c.supported) {
      EXPECT_EQ(boardClass, c.boardClass) << c.kind;
    }
  }
}

TEST(BoardProtocol, ValueListsAcceptExactlyTheirValues) {
  struct Case {
    ValueList list;
    std::vector<int32_t> listed;
    std::vector<int32_t> unlisted;
  };
  const Case cases[] = {
      {ValueList::kAudioConnectionType, {0, 1, 2, 3}, {-1, 4}},
      {ValueList::kAudioSource, {0, 1, 2, 3}, {-1, 4}},
      {ValueList::kAudioPath, {0, 3, 5, 6}, {-1, 7}},
      {ValueList::kAudioMode, {1, 2, 4, 8, 16}, {0, 3, 5, 6, 32, -1}},
      {ValueList::kVideoInputType, {1, 2, 3}, {0, 4, -1}},
      {ValueList::kVideoMode, {0, 19}, {-1, 20}},
      {ValueList::kTunerValue402, {0, 2}, {-1, 3}},
      {ValueList::kTunerValue403, {0, 18}, {-1, 19}},
  };
  for (const Case& c : cases) {
    for (int32_t v : c.listed) {
      EXPECT_TRUE(IsListedValue(c.list, v)) << static_cast<int>(c.list) << " " << v;
      EXPECT_EQ(ListedOrZero(c.list, v), static_cast<uint32_t>(v));
    }
    for (int32_t v : c.unlisted) {
      EXPECT_FALSE(IsListedValue(c.list, v)) << static_cast<int>(c.list) << " " << v;
      EXPECT_EQ(ListedOrZero(c.list, v), 0u);
    }
  }
}

TEST(BoardProtocol, PropertyKindsAboveThreeBecomeFour) {
  EXPECT_EQ(BoardPropertyKind(0), 0u);
  EXPECT_EQ(BoardPropertyKind(3), 3u);
  EXPECT_EQ(BoardPropertyKind(4), 4u);
  EXPECT_EQ(BoardPropertyKind(7), 4u);
  EXPECT_EQ(BoardPropertyKind(-1), 4u);
}

TEST(BoardProtocol, MegabytesBecomeA64BitByteCount) {
  struct Case {
    int32_t megabytes;
    uint32_t low;
    uint32_t high;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1, 0x100000, 0},
      {2047, 0x7FF00000, 0},
      {2048, 0x80000000, 0},  // past the signed 32-bit range
      {4095, 0xFFF00000, 0},
      {4096, 0, 1},  // exactly 4 GB
      {4097, 0x100000, 1},
      {-1, 0xFFF00000, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    const ByteCountWords words = MegabytesToByteWords(c.megabytes);
    EXPECT_EQ(words.low, c.low) << c.megabytes;
    EXPECT_EQ(words.high, c.high) << c.megabytes;
  }
}

TEST(BoardProtocol, ByteCountReadsBackAsWholeMegabytesTowardZero) {
  struct Case {
    uint32_t bytes;
    int32_t megabytes;
  };
  const Case cases[] = {
      {0, 0},
      {1048575, 0},
      {1048576, 1},
      {3 * 1048576 - 1, 2},  // one byte less than 3 MB
      {3 * 1048576, 3},
      {0x7FFFFFFF, 2047},
      {0xFFFFFFFF, 0},   // -1 byte rounds toward zero
      {0xFFF00000, -1},  // -1 MB
      {0xFFEFFFFF, -1},  // just below -1 MB, toward zero
      {0x80000000, -2048},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ByteCountToMegabytes(c.bytes), c.megabytes) << c.bytes;
  }
}

TEST(BoardProtocol, VideoRectRules) {
  struct Case {
    int32_t left, top, right, bottom;
    bool accepted;
    int16_t x, y, width, height;
  };
  const Case cases[] = {
      {0, 0, 640, 480, true, 0, 0, 640, 480},
      {10, 20, 330, 260, true, 10, 20, 320, 240},
      {5, 5, 5, 5, true, 5, 5, 0, 0},                 // empty is allowed
      {100, 0, 99, 10, false, 0, 0, 0, 0},            // right left of left
      {0, 100, 10, 99, false, 0, 0, 0, 0},            // bottom above top
      {-1, 0, 10, 10, false, 0, 0, 0, 0},             // negative left
      {0, -5, 10, 10, false, 0, 0, 0, 0},             // negative top
      {0x8000, 0, 0x8010, 10, false, 0, 0, 0, 0},     // left negative as 16 bits
      {0x10005, 0, 0x10015, 10, true, 5, 0, 16, 10},  // only the low 16 bits count
      {0, 0, 0x8000, 10, false, 0, 0, 0, 0},          // width negative as 16 bits
      {0, 0, 0x10010, 10, true, 0, 0, 16, 10},        // width cut to 16 bits
  };
  for (const Case& c : cases) {
    VideoWindowBlock block;
    std::memset(&block, 0xAB, sizeof block);
    const bool accepted = MakeVideoRectBlock(c.left, c.top, c.right, c.bottom, &block);
    EXPECT_EQ(accepted, c.accepted) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
    if (!accepted) continue;
    EXPECT_EQ(block.left, c.x);
    EXPECT_EQ(block.top, c.y);
    EXPECT_EQ(block.width, c.width);
    EXPECT_EQ(block.height, c.height);
    EXPECT_EQ(block.parent, 0u);
    EXPECT_EQ(block.title, 0u);
    EXPECT_EQ(block.style, 0u);
    EXPECT_EQ(block.result, 0u);
  }
}

TEST(BoardProtocol, VideoRectWithExtremeCoordinatesDoesNotOverflow) {
  // Runs under the sanitizers: the subtraction must not be signed overflow.
  VideoWindowBlock block;
  EXPECT_FALSE(MakeVideoRectBlock(INT32_MIN, 0, INT32_MAX, 10, &block));  // width -1
  ASSERT_TRUE(MakeVideoRectBlock(0, 0, INT32_MIN, 10, &block));           // 0x80000000 cuts to 0
  EXPECT_EQ(block.width, 0);
}

}  // namespace

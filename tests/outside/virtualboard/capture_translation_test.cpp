#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "outside/virtualboard/capture_times.h"
#include "outside/virtualboard/encoder_translation.h"
#include "outside/virtualboard/picture_yuy2.h"

namespace virtualboard {
namespace {

uint32_t WordAt(const WriterParamRecord& record, std::size_t offset) {
  return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 |
         static_cast<uint32_t>(record[offset + 3]) << 24;
}

// The program's Normal preset, field by field in the order of its settings.
constexpr ProgramEncoderRecord kNormal = {
    12, 3, 0, 4000000, 4,       10,      2,       2,       0,        1, 6, 48000, 4, 8,
    3,  2, 5, 4,       6000000, 4000000, 5000000, 4000000, 10000000, 0, 0, 6,     0};

TEST(EncoderTranslation, NormalPresetLandsWhereTheWriterReadsIt) {
  const WriterParamRecord record = TranslateEncoderRecord(kNormal);
  struct Case {
    std::size_t offset;
    uint32_t value;
  };
  // The frame-rate code and the bit rate change places; the level and the
  // profile move behind the sound words.
  const Case cases[] = {{0, 12},       {4, 3},        {8, 0},         {12, 4},       {16, 4000000},
                        {20, 10},      {24, 2},       {28, 2},        {32, 0},       {36, 1},
                        {40, 8},       {44, 1},       {48, 6},        {52, 48000},   {56, 4},
                        {60, 2},       {64, 5},       {68, 4},        {72, 6000000}, {76, 4000000},
                        {80, 5000000}, {84, 4000000}, {88, 10000000}, {92, 0}};
  for (const Case& c : cases) EXPECT_EQ(WordAt(record, c.offset), c.value) << "offset " << c.offset;
  for (std::size_t offset = 96; offset < kWriterParamBytes; offset += 4) {
    EXPECT_EQ(WordAt(record, offset), 0u) << "offset " << offset;
  }
}

TEST(EncoderTranslation, MonoAudioModeAsksForOneChannelAndPreviewModes) {
  ProgramEncoderRecord mono = kNormal;
  mono[kFieldAudioMode] = 3;
  EXPECT_EQ(WordAt(TranslateEncoderRecord(mono), 44), 0u);
  EXPECT_EQ(PreviewModeOf(0), 1u);
  EXPECT_EQ(PreviewModeOf(1), 1u);
  EXPECT_EQ(PreviewModeOf(2), 2u);
}

TEST(CaptureTimes, DurationsAndWords) {
  EXPECT_EQ(DurationMs(16 << 20, 4224000), 31775);        // 16 MiB at the Normal total rate
  EXPECT_EQ(DurationMs(4000ll << 20, 4224000), 7943757);  // 4000 MiB: no 32-bit overflow
  EXPECT_EQ(DurationMs(1000, 0), 0);
  EXPECT_EQ(DurationMs(-5, 8000), 0);
  EXPECT_EQ(TimeWord(-1), 0u);
  EXPECT_EQ(TimeWord(0x100000000ll), 0xFFFFFFFFu);
  EXPECT_EQ(TimeWord(12345), 12345u);
}

TEST(CaptureTimes, RingSeekFindsTheHeldPositionWithThatRemainder) {
  struct Case {
    int64_t target, write, length, expected;
  };
  const Case cases[] = {
      {4000, 20000, 30000, 4000},        // first lap, behind the newest picture
      {25000, 20000, 30000, 0},          // first lap, nothing recorded there yet: the oldest
      {10000, 70000, 30000, 70000 - 0},  // 70000 mod 30000 = 10000: the newest picture
      {18000, 70000, 30000, 48000},      // in the previous lap
      {5000, 70000, 30000, 65000},       // in this lap
      {-1000, 70000, 30000, 59000},      // a negative target counts from the end
      {35000, 70000, 30000, 65000},      // beyond the length wraps
      {9000, 60000, 30000, 39000},       // exactly at a lap boundary
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RingSeekPosition(c.target, c.write, c.length), c.expected)
        << c.target << " " << c.write;
  }
}

TEST(CaptureTimes, ShiftPositionKeepsStepWithTheRecording) {
  constexpr int64_t kLength = 30000;
  ShiftPosition shift;
  EXPECT_EQ(shift.Position(5000, kLength), 5000) << "live: the newest picture";
  shift.Pause(5000, kLength);
  shift.Pause(6000, kLength);  // a second pause keeps the first picture
  EXPECT_EQ(shift.Position(9000, kLength), 5000);
  shift.Resume(9000, kLength);
  shift.Resume(9500, kLength);
  EXPECT_EQ(shift.Position(12000, kLength), 8000) << "trails by the pause";
  shift.Pause(12000, kLength);
  EXPECT_EQ(shift.Position(50000, kLength), 20000) << "an overwritten picture gives the oldest";
  shift.Seek(50000, kLength, 60000);
  EXPECT_EQ(shift.Position(50000, kLength), 50000) << "never ahead of the newest";
  shift.Resume(50000, kLength);
  shift.Seek(50000, kLength, 30000);
  EXPECT_EQ(shift.Position(51000, kLength), 31000);
}

TEST(PictureYuy2, EvenLinesFromTheFirstFieldOddFromTheSecondInStudioRange) {
  Frame top(4, 2), bottom(4, 2);
  for (uint32_t& p : top.pixels) p = 0xFFFFFF;  // white
  for (uint32_t& p : bottom.pixels) p = 0x000000;
  bottom.pixels[4] = 0xFF0000;  // red, then black, on the odd line
  uint8_t yuy2[4 * 2 * 2] = {};
  InterleaveFieldsToYuy2(top, bottom, yuy2);
  const uint8_t white[] = {235, 128, 235, 128, 235, 128, 235, 128};
  EXPECT_EQ(0, std::memcmp(yuy2, white, sizeof white));
  // Red beside black: the luma of each, the chroma of their average.
  EXPECT_EQ(yuy2[8], 82);
  EXPECT_EQ(yuy2[10], 16);
  EXPECT_EQ(yuy2[9], 109);
  EXPECT_EQ(yuy2[11], 184);
  EXPECT_EQ(yuy2[12], 16);
}

TEST(PictureYuy2, BackToRgbAveragesTheLinesItShrinksAndPicksThePixelOfEachPair) {
  // Two lines of two pixel pairs: white | black-white on top, black below.
  const uint8_t yuy2[] = {235, 128, 235, 128, 16, 128, 235, 128,  //
                          16,  128, 16,  128, 16, 128, 16,  128};
  struct Case {
    int width, height;
    std::vector<uint32_t> expected;
  } cases[] = {
      {4, 2, {0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0, 0, 0, 0}},
      {4, 1, {0x808080, 0x808080, 0x000000, 0x808080}},  // both fields show
      {2, 1, {0x808080, 0x000000}},
  };
  for (const Case& c : cases) {
    Frame out(c.width, c.height);
    Yuy2ToFrame(yuy2, 4, 2, out);
    EXPECT_EQ(out.pixels, c.expected) << c.width << "x" << c.height;
  }
  Frame untouched(2, 1);
  Yuy2ToFrame(yuy2, 3, 2, untouched);  // an odd width is no YUY2 line
  EXPECT_EQ(untouched.pixels, (std::vector<uint32_t>{0, 0}));
}

}  // namespace
}  // namespace virtualboard

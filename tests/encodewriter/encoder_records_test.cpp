// Encoding and open records, the bit-rate table, buffered bytes and the
// output name.

#include <gtest/gtest.h>

#include "encodewriter/encoder_records.h"

namespace encodewriter {
namespace {

ParamRecord Filled(std::int32_t value) {
  ParamRecord params{};
  for (std::size_t offset = 0; offset < kParamRecordBytes; offset += 4) {
    WriteWord(params.data(), offset, value);
  }
  return params;
}

std::int32_t Word(const ParamRecord& record, std::size_t offset) {
  return ReadWord(record.data(), offset);
}

TEST(EncoderRecords, NegativeWordsTakeTheirDefaults) {
  const ParamRecord record = BuildEncodingRecord(Filled(-1), 2);
  const struct {
    std::size_t offset;
    std::int32_t value;
  } cases[] = {
      {0, 12},  {4, 3},      {8, 0},    {12, 4},   {16, 0x200000}, {20, 8},
      {24, 4},  {28, 8},     {32, 2},   {36, 2},   {40, 0},        {44, 1},
      {48, 0},  {52, 44100}, {56, 3},   {60, -1},  {64, 0},        {88, 10000000},
      {92, -1}, {96, 32},    {100, 32}, {104, 16}, {108, 16},      {112, 0},
      {116, 1}, {120, 4},    {124, 0},  {132, 0},  {140, 4},       {216, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Word(record, c.offset), c.value) << c.offset;
}

TEST(EncoderRecords, ZeroFrameRateAndFrameLimitTakeDefaults) {
  const ParamRecord record = BuildEncodingRecord(Filled(0), 1);
  EXPECT_EQ(Word(record, 12), 4);
  EXPECT_EQ(Word(record, 88), 10000000);
  EXPECT_EQ(Word(record, 16), 0);                             // zero is a stored value elsewhere
  EXPECT_EQ(Word(record, 44), 0);                             // mono
  EXPECT_EQ(Word(BuildEncodingRecord(Filled(7), 0), 44), 0);  // no audio: left 0
}

TEST(EncoderRecords, VariableRateWordsFollowTheSubMode) {
  const struct {
    std::int32_t mode, subMode;
    bool w68, w72, w76, w80;
  } cases[] = {
      {1, 5, false, false, false, false}, {2, 1, false, true, true, false},
      {2, 2, false, true, true, false},   {2, 3, true, true, false, false},
      {2, 5, true, true, false, true},
  };
  for (const auto& c : cases) {
    ParamRecord params = Filled(77);
    WriteWord(params.data(), 60, c.mode);
    WriteWord(params.data(), 64, c.subMode);
    const ParamRecord record = BuildEncodingRecord(params, 2);
    const auto copied = [&record](std::size_t offset) { return Word(record, offset) == 77; };
    EXPECT_EQ(Word(record, 64), c.mode == 2 ? c.subMode : 0) << c.mode << c.subMode;
    EXPECT_EQ(copied(68), c.w68) << c.subMode;
    EXPECT_EQ(copied(72), c.w72) << c.subMode;
    EXPECT_EQ(copied(76), c.w76) << c.subMode;
    EXPECT_EQ(copied(80) && copied(84), c.w80) << c.subMode;
  }
  ParamRecord params = Filled(-5);
  WriteWord(params.data(), 60, 2);
  WriteWord(params.data(), 64, 4);
  EXPECT_EQ(Word(BuildEncodingRecord(params, 2), 68), 3);
}

TEST(EncoderRecords, OpenRecordPicksTheCallbackSlotOfTheConnections) {
  const struct {
    bool video, audio;
    std::size_t slot;
  } cases[] = {{true, false, 8}, {false, true, 12}, {true, true, 16}};
  for (const auto& c : cases) {
    OpenRecordInputs in;
    in.bitmapHeader = 0x1000;
    in.audioFormat = 0x2000;
    in.writeCallback = 0x3000;
    in.callbackContext = 0x4000;
    in.tempFileName = 0x5000;
    in.hasVideo = c.video;
    in.hasAudio = c.audio;
    const OpenRecord open = BuildOpenRecord(in);
    for (std::size_t slot : {8u, 12u, 16u}) {
      EXPECT_EQ(ReadWord(open.data(), slot), slot == c.slot ? 0x3000 : 0) << slot;
      EXPECT_EQ(ReadWord(open.data(), slot + 12), slot == c.slot ? 0x4000 : 0) << slot;
    }
    EXPECT_EQ(ReadWord(open.data(), 4), c.audio ? 0x2000 : 0);
    EXPECT_EQ(ReadWord(open.data(), 32), c.video ? 1 : 0);
    EXPECT_EQ(ReadWord(open.data(), 36), c.audio ? 1 : 0);
    EXPECT_EQ(ReadWord(open.data(), 40), 0x5000);
    EXPECT_EQ(ReadWord(open.data(), 44), 1);
    EXPECT_EQ(ReadWord(open.data(), 48), 1);
  }
}

TEST(EncoderRecords, TotalBitRateTable) {
  const struct {
    std::int32_t index;
    std::int64_t audio;
  } cases[] = {{0, 64000},  {1, 96000},  {2, 112000}, {3, 128000}, {4, 160000},  {5, 192000},
               {6, 224000}, {7, 256000}, {8, 320000}, {9, 384000}, {10, 224000}, {-1, 224000}};
  for (const auto& c : cases) {
    ParamRecord params{};
    WriteWord(params.data(), kWordAudioBitRateIndex, c.index);
    WriteWord(params.data(), kWordVideoBitRate, 4000000);
    WriteWord(params.data(), kWordVbrAverageRate, 3000000);
    WriteWord(params.data(), kWordBitRateMode, 1);
    EXPECT_EQ(TotalBitRate(params), c.audio + 4000000) << c.index;
    WriteWord(params.data(), kWordBitRateMode, 2);
    EXPECT_EQ(TotalBitRate(params), c.audio + 3000000) << c.index;
  }
}

TEST(EncoderRecords, BufferedBytesFollowTheWrapPeriod) {
  // 4.224 Mbit/s for 16 s is 8448000 bytes; beyond 32 bits in the product.
  EXPECT_EQ(BufferedBytes(true, true, 4224000, 16000, 8388608), 8448000);
  EXPECT_EQ(BufferedBytes(true, true, 4224000, 20000000, 1), 10560000000LL);
  EXPECT_EQ(BufferedBytes(true, false, 4224000, 16000, 8388608), 8388608);
  EXPECT_EQ(BufferedBytes(false, true, 4224000, 16000, 8388608), 8388608);
}

TEST(EncoderRecords, OutputName) {
  EXPECT_EQ(ResolveOutputName("", true), "kxPVR.mpg");
  EXPECT_EQ(ResolveOutputName("", false), "");
  EXPECT_EQ(ResolveOutputName("C:\\rec.mpg", false), "C:\\rec.mpg");
}

TEST(EncoderRecords, DefaultOptionRecord) {
  const OptionRecord options = DefaultOptionRecord();
  for (std::size_t offset = 0; offset < kOptionRecordBytes; offset += 4) {
    const bool set = offset == 88 || offset == 92 || offset == 96 || offset == 100 ||
                     offset == 108 || offset == 112 || offset == 116;
    EXPECT_EQ(ReadWord(options.data(), offset), set ? 1 : 0) << offset;
  }
}

}  // namespace
}  // namespace encodewriter

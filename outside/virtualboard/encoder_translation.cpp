#include "outside/virtualboard/encoder_translation.h"

namespace virtualboard {
namespace {

struct Placement {
  std::size_t field;
  std::size_t offset;
};

// Where each field of the program's record goes. The closed-group count, the
// reserved word, the resolution (the source sets the picture size) and the
// preview choice (a filter mode of its own) have no word in the record.
constexpr Placement kPlacements[] = {
    {0, 0},    // frames in a group
    {1, 4},    // frames in a sub-group
    {2, 8},    // MPEG type
    {3, 16},   // video bit rate
    {4, 12},   // frame-rate code
    {5, 20},   // motion search effort
    {6, 24},   // pixel aspect ratio
    {7, 28},   // video format
    {8, 32},   // half-D1 mode
    {9, 36},   // audio mode
    {10, 48},  // audio bit-rate index
    {11, 52},  // audio sample rate
    {12, 56},  // profile
    {13, 40},  // level
    {15, 60},  // bit-rate mode
    {16, 64},  // variable-rate mode
    {17, 68},  // quantiser scale
    {18, 72},  // peak bit rate
    {19, 76},  // average bit rate
    {20, 80},  // highest average
    {21, 84},  // lowest average
    {22, 88},  // frame limit
    {23, 92},  // sequence headers
};

constexpr std::size_t kWordChannels = 44;
constexpr uint32_t kAudioModeMono = 3;

void PutWord(WriterParamRecord& record, std::size_t offset, uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

WriterParamRecord TranslateEncoderRecord(const ProgramEncoderRecord& fields) {
  WriterParamRecord record{};
  for (const Placement& p : kPlacements) PutWord(record, p.offset, fields[p.field]);
  // Stereo unless the audio mode asks for one channel.
  PutWord(record, kWordChannels, fields[kFieldAudioMode] == kAudioModeMono ? 0 : 1);
  return record;
}

uint32_t PreviewModeOf(uint32_t capturePreview) {
  return capturePreview == 2 ? 2 : 1;
}

}  // namespace virtualboard

#pragma once
// The program's encoder record (27 words in the order of its settings) as
// the encode-writer's 220-byte parameter record, whose words sit elsewhere.

#include <array>
#include <cstddef>
#include <cstdint>

namespace virtualboard {

constexpr std::size_t kProgramEncoderFields = 27;
constexpr std::size_t kWriterParamBytes = 220;

using ProgramEncoderRecord = std::array<uint32_t, kProgramEncoderFields>;
using WriterParamRecord = std::array<uint8_t, kWriterParamBytes>;

// Field positions in the program's record that the board reads itself.
constexpr std::size_t kFieldMpegType = 2;
constexpr std::size_t kFieldAudioMode = 9;
constexpr std::size_t kFieldAudioFrequency = 11;
constexpr std::size_t kFieldCapturePreview = 26;

// The radio's preset: the sound alone, to an ASF file.
constexpr uint32_t kMpegTypeWma = 170;

WriterParamRecord TranslateEncoderRecord(const ProgramEncoderRecord& fields);

// The encode-writer's preview mode for the record's capture-preview word:
// the built-in presets (0) and an unticked box (1) preview every picture, a
// ticked box (2) the light preview of one picture in ten at half height.
uint32_t PreviewModeOf(uint32_t capturePreview);

}  // namespace virtualboard

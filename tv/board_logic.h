#pragma once
// The board client's decisions, kept apart from the COM calls that carry
// them out: which sources a board offers, where the source button goes next,
// which sound mode to pick, and how the volume steps.

#include <cstdint>

#include "app/vocabulary/sound_modes.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel {

// Bits of the available-source mask.
enum SourceBit : std::uint32_t {
  kAvailTV = 1,
  kAvailVideo0 = 2,
  kAvailVideo1 = 4,
  kAvailSVideo0 = 8,
  kAvailSVideo1 = 16,
  kAvailRadio = 32,
};

// While a recording plays back only the bilingual channels can be chosen.
constexpr std::uint32_t kPlaybackAudioMask = kAudioA | kAudioB | kAudioAB;

// CreateBoard results.
constexpr int kBoardCreated = 0;
constexpr int kBoardClassMissing = 1;
constexpr int kBoardNotOpened = 2;

constexpr int kBoardCapsWords = 7;
constexpr int kMaxVolumeStep = 10;

// Capability words 0 (tuner present), 1 and 2 (inputs of connectors 0 and 1:
// 1 composite, 2 S-Video, 3 both).
std::uint32_t SourceMaskFromCaps(const std::uint32_t caps[kBoardCapsWords]);

struct SourceChoice {
  std::int32_t source;
  std::int32_t connector;
};
// The source button: the next step of the cycle TV, Video 0, Video 1,
// S-Video 0, S-Video 1, Radio whose bit is in the mask, at most six steps
// (after six the last candidate stands).
SourceChoice NextSourceChoice(SourceChoice from, std::uint32_t mask);

// The mode to use after a source switch or a channel change: Stereo when
// received, else the preferred second-audio mode when received, else Mono.
std::int32_t ChooseAudioModeFor(std::uint32_t mask, std::int32_t preferred);
// Keeps the current mode while it is received and is not Mono.
bool KeepAudioMode(std::int32_t current, std::uint32_t mask);
// The audio button: the next mode of 1, 2, 4, 8, 16 in the mask, at most five
// steps.
std::int32_t NextAudioModeFor(std::int32_t current, std::uint32_t mask);

// The volume step after one press, kept within 0..10.
std::int32_t StepVolume(std::int32_t step, bool up);
// The volume step a stored "lVolLevel" starts with, kept within 0..10.
std::int32_t StartVolumeStep(std::int32_t lVolLevel);

// Audio source sent to the board for a source: 0 TV, 1 Video and S-Video,
// 2 radio.
std::int32_t AudioSourceFor(std::int32_t source);
// Video input kind for a source: 1 tuner, 2 composite, 3 S-Video, 0 radio.
std::int32_t VideoInputKindFor(std::int32_t source);

}  // namespace brontel

#include "tv/board_logic.h"

namespace brontel {
namespace {

constexpr std::uint32_t kComposite = 1;
constexpr std::uint32_t kSVideo = 2;
constexpr std::uint32_t kBoth = 3;

bool HasComposite(std::uint32_t word) {
  return word == kComposite || word == kBoth;
}
bool HasSVideo(std::uint32_t word) {
  return word == kSVideo || word == kBoth;
}

// The source button's cycle.
constexpr SourceChoice kCycle[] = {
    {kSourceTv, 0},     {kSourceVideo, 0},  {kSourceVideo, 1},
    {kSourceSVideo, 0}, {kSourceSVideo, 1}, {kSourceRadio, 0},
};
constexpr int kCycleLength = 6;

std::uint32_t BitOf(SourceChoice choice) {
  switch (choice.source) {
    case kSourceTv:
      return kAvailTV;
    case kSourceVideo:
      return choice.connector == 0 ? kAvailVideo0 : kAvailVideo1;
    case kSourceSVideo:
      return choice.connector == 0 ? kAvailSVideo0 : kAvailSVideo1;
    case kSourceRadio:
      return kAvailRadio;
  }
  return 0;
}

int CyclePosition(SourceChoice choice) {
  const bool usesConnector = choice.source == kSourceVideo || choice.source == kSourceSVideo;
  for (int i = 0; i < kCycleLength; ++i) {
    if (kCycle[i].source == choice.source &&
        (!usesConnector || kCycle[i].connector == (choice.connector == 0 ? 0 : 1))) {
      return i;
    }
  }
  return 0;
}

}  // namespace

std::uint32_t SourceMaskFromCaps(const std::uint32_t caps[kBoardCapsWords]) {
  std::uint32_t mask = 0;
  if (caps[0] != 0) mask |= kAvailTV | kAvailRadio;
  if (HasComposite(caps[1])) mask |= kAvailVideo0;
  if (HasSVideo(caps[1])) mask |= kAvailSVideo0;
  if (HasComposite(caps[2])) mask |= kAvailVideo1;
  if (HasSVideo(caps[2])) mask |= kAvailSVideo1;
  return mask;
}

SourceChoice NextSourceChoice(SourceChoice from, std::uint32_t mask) {
  int position = CyclePosition(from);
  SourceChoice candidate = from;
  for (int step = 0; step < kCycleLength; ++step) {
    position = (position + 1) % kCycleLength;
    candidate = kCycle[position];
    if ((mask & BitOf(candidate)) != 0) return candidate;
  }
  return candidate;
}

std::int32_t ChooseAudioModeFor(std::uint32_t mask, std::int32_t preferred) {
  if ((mask & kAudioStereo) != 0) return kAudioStereo;
  if (preferred > 0 && (mask & static_cast<std::uint32_t>(preferred)) != 0) return preferred;
  return kAudioMono;
}

bool KeepAudioMode(std::int32_t current, std::uint32_t mask) {
  return current != kAudioMono && current > 0 && (mask & static_cast<std::uint32_t>(current)) != 0;
}

std::int32_t NextAudioModeFor(std::int32_t current, std::uint32_t mask) {
  std::int32_t mode = current;
  for (int step = 0; step < 5; ++step) {
    mode = (mode >= kAudioAB || mode <= 0) ? kAudioMono : mode * 2;
    if ((mask & static_cast<std::uint32_t>(mode)) != 0) return mode;
  }
  return mode;
}

std::int32_t StepVolume(std::int32_t step, bool up) {
  if (up) return step >= kMaxVolumeStep ? kMaxVolumeStep : step + 1;
  return step <= 0 ? 0 : step - 1;
}

std::int32_t StartVolumeStep(std::int32_t lVolLevel) {
  const std::int32_t step = lVolLevel / 10;
  return step < 0 ? 0 : step > kMaxVolumeStep ? kMaxVolumeStep : step;
}

std::int32_t AudioSourceFor(std::int32_t source) {
  switch (source) {
    case kSourceTv:
      return 0;
    case kSourceRadio:
      return 2;
    default:
      return 1;
  }
}

std::int32_t VideoInputKindFor(std::int32_t source) {
  switch (source) {
    case kSourceTv:
      return 1;
    case kSourceVideo:
      return 2;
    case kSourceSVideo:
      return 3;
    default:
      return 0;
  }
}

}  // namespace brontel

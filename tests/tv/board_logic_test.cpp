#include "tv/board_logic.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace brontel {
namespace {

TEST(BoardLogic, SourceMaskFollowsCapabilities) {
  struct Case {
    std::uint32_t caps[kBoardCapsWords];
    std::uint32_t mask;
  } cases[] = {
      {{1, 3, 0, 0, 0, 0, 1}, kAvailTV | kAvailRadio | kAvailVideo0 | kAvailSVideo0},
      {{1, 3, 3, 0, 0, 0, 1}, 63},
      {{0, 1, 2, 0, 0, 0, 1}, kAvailVideo0 | kAvailSVideo1},
      {{0, 0, 0, 0, 0, 0, 0}, 0},
      {{5, 4, 0, 0, 0, 0, 0}, kAvailTV | kAvailRadio},  // unknown input kinds add nothing
  };
  for (const Case& c : cases) EXPECT_EQ(SourceMaskFromCaps(c.caps), c.mask);
}

std::vector<SourceChoice> Cycle(std::uint32_t mask, SourceChoice from, int presses) {
  std::vector<SourceChoice> seen;
  for (int i = 0; i < presses; ++i) {
    from = NextSourceChoice(from, mask);
    seen.push_back(from);
  }
  return seen;
}

TEST(BoardLogic, SourceButtonVisitsOnlyAvailableSources) {
  const std::uint32_t tunerAndConnector0 = kAvailTV | kAvailRadio | kAvailVideo0 | kAvailSVideo0;
  const auto seen = Cycle(tunerAndConnector0, {kSourceTv, 0}, 4);
  const SourceChoice expected[] = {
      {kSourceVideo, 0}, {kSourceSVideo, 0}, {kSourceRadio, 0}, {kSourceTv, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(seen[i].source, expected[i].source) << i;
    EXPECT_EQ(seen[i].connector, expected[i].connector) << i;
  }
  // Both connectors.
  const auto all = Cycle(63, {kSourceRadio, 0}, 6);
  const SourceChoice full[] = {{kSourceTv, 0},     {kSourceVideo, 0},  {kSourceVideo, 1},
                               {kSourceSVideo, 0}, {kSourceSVideo, 1}, {kSourceRadio, 0}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(all[i].source, full[i].source) << i;
    EXPECT_EQ(all[i].connector, full[i].connector) << i;
  }
}

TEST(BoardLogic, BoardWithoutTunerNeverLandsOnTvOrRadio) {
  const std::uint32_t mask = kAvailVideo1 | kAvailSVideo0;
  for (const SourceChoice& c : Cycle(mask, {kSourceTv, 0}, 12)) {
    EXPECT_NE(c.source, kSourceTv);
    EXPECT_NE(c.source, kSourceRadio);
  }
}

TEST(BoardLogic, EmptyMaskStopsAfterSixSteps) {
  const SourceChoice c = NextSourceChoice({kSourceTv, 0}, 0);
  EXPECT_EQ(c.source, kSourceTv);  // six steps round the cycle end where they began
}

TEST(BoardLogic, AudioModeChoice) {
  struct Case {
    std::uint32_t mask;
    std::int32_t preferred;
    std::int32_t chosen;
  } cases[] = {
      {1, kAudioA, kAudioMono}, {6, kAudioA, kAudioStereo}, {4, kAudioA, kAudioA},
      {0, kAudioA, kAudioMono}, {8, kAudioA, kAudioMono},   {8, kAudioB, kAudioB},
      {28, kAudioAB, kAudioAB}, {3, kAudioA, kAudioStereo},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseAudioModeFor(c.mask, c.preferred), c.chosen) << c.mask << " " << c.preferred;
  }
}

TEST(BoardLogic, MonoIsUpgradedAndReceivedModesAreKept) {
  EXPECT_FALSE(KeepAudioMode(kAudioMono, 1));
  EXPECT_FALSE(KeepAudioMode(kAudioMono, 3));
  EXPECT_TRUE(KeepAudioMode(kAudioStereo, 3));
  EXPECT_FALSE(KeepAudioMode(kAudioStereo, 1));
  EXPECT_TRUE(KeepAudioMode(kAudioB, 28));
}

TEST(BoardLogic, AudioButtonCycle) {
  struct Case {
    std::int32_t current;
    std::uint32_t mask;
    std::int32_t next;
  } cases[] = {
      {kAudioMono, 3, kAudioStereo},           {kAudioStereo, 3, kAudioMono},
      {kAudioA, kPlaybackAudioMask, kAudioB},  {kAudioB, kPlaybackAudioMask, kAudioAB},
      {kAudioAB, kPlaybackAudioMask, kAudioA}, {kAudioMono, kPlaybackAudioMask, kAudioA},
      {kAudioStereo, 0, kAudioStereo},  // nothing received: five steps come back round
  };
  for (const Case& c : cases) EXPECT_EQ(NextAudioModeFor(c.current, c.mask), c.next) << c.current;
}

TEST(BoardLogic, VolumeStaysWithinBounds) {
  EXPECT_EQ(StepVolume(10, true), 10);
  EXPECT_EQ(StepVolume(0, false), 0);
  EXPECT_EQ(StepVolume(9, true), 10);
  EXPECT_EQ(StepVolume(1, false), 0);
  // A stored level starts within the board's range.
  const std::pair<std::int32_t, std::int32_t> starts[] = {
      {150, 10}, {100, 10}, {109, 10}, {55, 5}, {0, 0}, {-5, 0}, {-20, 0}, {-9999, 0}};
  for (const auto& [level, step] : starts) EXPECT_EQ(StartVolumeStep(level), step) << level;
}

}  // namespace
}  // namespace brontel

#include <gtest/gtest.h>

#include <cmath>

#include "app/recording/radio_playback_tick.h"

namespace brontel::recording {
namespace {

TEST(RadioPlaybackTick, ShowsWholeSecondsAndStepsOnlyAtTheEndOfAMultiPartFile) {
  struct Case {
    const char* name;
    RadioTickInput input;
    bool show;
    std::int32_t elapsed;
    std::int32_t remain;
    bool step;
  };
  const Case cases[] = {
      {"same whole second", {12.9, 60.0, 12, false, false}, false, 12, 0, false},
      {"next second", {13.0, 60.7, 12, false, false}, true, 13, 47, false},
      {"a seek back", {2.4, 60.0, 40, false, false}, true, 2, 58, false},
      {"end of a single file", {60.0, 60.0, 59, false, false}, true, 60, 0, false},
      {"end of a part", {60.2, 60.0, 59, true, false}, true, 60, 0, true},
      {"end of the last part", {60.2, 60.0, 59, true, true}, true, 60, 0, false},
      {"position past duration", {75.0, 60.0, 59, false, false}, true, 75, 0, false},
      {"negative position", {-3.0, 60.0, 5, false, false}, true, 0, 60, false},
      {"not a number", {std::nan(""), 60.0, 5, false, false}, true, 0, 60, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RadioTick tick = RadioPlaybackTick(c.input);
    EXPECT_EQ(c.show, tick.show);
    EXPECT_EQ(c.elapsed, tick.lElapsedSec);
    if (c.show) EXPECT_EQ(c.remain, tick.lRemainSec);
    EXPECT_EQ(c.step, tick.stepToNextPart);
  }
}

}  // namespace
}  // namespace brontel::recording

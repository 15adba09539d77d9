#include "settings/channel_scan.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace brontel {
namespace {

TEST(ChannelScanSteps, OneTickPerChannelThenBackToTheLowest) {
  const struct {
    std::int32_t lowest, highest;
    std::set<std::int32_t> stations;
  } cases[] = {
      {13, 62, {13, 20, 62}},  // 50 channels, stations at both ends
      {1, 1, {}},              // a table of one channel
      {1, 62, {1, 3, 4, 6, 8, 10, 12, 14}},
  };
  for (const auto& c : cases) {
    ChannelScan scan;
    scan.Start(c.lowest, c.highest);
    EXPECT_EQ(scan.ProgressRange(), c.highest - c.lowest);
    std::vector<std::int32_t> tuned, found;
    int ticks = 0;
    while (const std::optional<std::int32_t> channel = scan.ChannelToTune()) {
      ++ticks;
      tuned.push_back(*channel);
      const bool signal = c.stations.count(*channel) > 0;
      if (signal) found.push_back(*channel);
      scan.Visited(signal);
      ASSERT_LE(ticks, 200);
    }
    ++ticks;  // the tick that finds the table done
    EXPECT_EQ(ticks, c.highest - c.lowest + 2) << c.lowest;
    EXPECT_EQ(tuned.front(), c.lowest);
    EXPECT_EQ(tuned.back(), c.highest);
    EXPECT_EQ(std::set<std::int32_t>(found.begin(), found.end()), c.stations);
    EXPECT_EQ(scan.Found(), static_cast<std::int32_t>(c.stations.size()));
    EXPECT_EQ(scan.Progress(), c.highest - c.lowest + 1);
    scan.Stop();
    EXPECT_FALSE(scan.Running());
    EXPECT_EQ(scan.Current(), c.lowest);
    EXPECT_FALSE(scan.ChannelToTune());
  }
}

TEST(ChannelScanSteps, StoppedHalfwayTunesNothingMore) {
  ChannelScan scan;
  scan.Start(1, 62);
  scan.Visited(false);
  scan.Visited(true);
  scan.Stop();
  EXPECT_FALSE(scan.ChannelToTune());
  scan.Visited(true);
  EXPECT_EQ(scan.Found(), 1);
  EXPECT_EQ(scan.Current(), 1);
}

// Runs a seek to its end: the channels it tries, in order.
std::vector<std::int32_t> SeekTries(std::int32_t from, bool up,
                                    const std::set<std::int32_t>& stations, ChannelSeek* seek) {
  std::vector<std::int32_t> tried;
  if (!seek->Start(from, up, 1, 12)) return tried;
  do {
    tried.push_back(seek->Current());
  } while (seek->Tried(stations.count(seek->Current()) > 0) && tried.size() < 100);
  return tried;
}

TEST(ChannelSeekSteps, StopsOnTheNextSignalOrAtTheTableEnd) {
  using V = std::vector<std::int32_t>;
  const struct {
    std::int32_t from;
    bool up;
    std::set<std::int32_t> stations;
    V tried;
  } cases[] = {
      {1, true, {4, 6}, {2, 3, 4}},
      {6, false, {4, 6}, {5, 4}},
      {12, true, {4}, {}},          // already at the top: nothing starts
      {1, false, {4}, {}},          // already at the bottom
      {9, true, {}, {10, 11, 12}},  // the last channel is tried, then it stops
      {4, false, {}, {3, 2, 1}},
      {10, true, {12}, {11, 12}},  // a station on the last channel is found
      {11, true, {}, {12}},
  };
  for (const auto& c : cases) {
    ChannelSeek seek;
    EXPECT_EQ(SeekTries(c.from, c.up, c.stations, &seek), c.tried) << c.from << " " << c.up;
    EXPECT_FALSE(seek.Running());
    if (!c.tried.empty()) {
      EXPECT_EQ(seek.Current(), c.tried.back());
    }
  }
}

}  // namespace
}  // namespace brontel

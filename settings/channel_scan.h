#pragma once
// The TV page's two walks over a frequency table: the scan, which visits
// every channel once and collects those with a signal, and the seek, which
// steps to the next channel with a signal. Both are driven by a window
// timer, one channel per tick; these classes decide what each tick does.

#include <cstdint>
#include <optional>

namespace brontel {

// Timer ids and periods of the TV page.
constexpr unsigned kTimerChannelScan = 100;
constexpr unsigned kTimerChannelSeek = 200;
constexpr unsigned kScanTickMs = 1000;
constexpr unsigned kSeekTickMs = 1000;
// How long a tuned channel settles before the signal is asked for.
constexpr unsigned kScanSettleMs = 500;
constexpr unsigned kSeekSettleMs = 300;

class ChannelScan {
 public:
  // Starts over at the table's lowest channel.
  void Start(std::int32_t lowest, std::int32_t highest);
  // Back to idle, the current channel at the lowest again.
  void Stop();
  bool Running() const { return m_running; }

  // The channel this tick tunes, or nothing when the table is done (the
  // caller then stops the scan).
  std::optional<std::int32_t> ChannelToTune() const;
  // After the tick asked for a signal on ChannelToTune(): counts the
  // channel as visited (and found), and moves on to the next one.
  void Visited(bool signal);

  std::int32_t Current() const { return m_current; }
  std::int32_t Progress() const { return m_progress; }
  std::int32_t Found() const { return m_found; }
  // The progress bar's upper end: one step per channel after the first.
  std::int32_t ProgressRange() const { return m_highest - m_lowest; }

 private:
  bool m_running = false;
  std::int32_t m_lowest = 0;
  std::int32_t m_highest = -1;
  std::int32_t m_current = 0;
  std::int32_t m_progress = 0;
  std::int32_t m_found = 0;
};

class ChannelSeek {
 public:
  // Steps one channel from `current` towards `up` and starts seeking there;
  // false (nothing starts) when `current` is already at that end.
  bool Start(std::int32_t current, bool up, std::int32_t lowest, std::int32_t highest);
  void Stop() { m_running = false; }
  bool Running() const { return m_running; }

  // The channel the running seek tunes this tick.
  std::int32_t Current() const { return m_current; }
  // After the tick asked for a signal on Current(): the seek ends on a
  // signal, and also at the table's end, whose last channel has then been
  // tried too; otherwise it moves one channel on. True while it goes on.
  bool Tried(bool signal);

 private:
  bool m_running = false;
  bool m_up = true;
  std::int32_t m_lowest = 0;
  std::int32_t m_highest = 0;
  std::int32_t m_current = 0;
};

}  // namespace brontel

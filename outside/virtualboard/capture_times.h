#pragma once
// The times a capture reports, in milliseconds. Time-shift positions grow
// across the laps of the ring buffer; the program takes them modulo the
// buffer length.

#include <cstdint>

namespace virtualboard {

// How long `bytes` last at `bitsPerSecond`; 0 without a rate.
int64_t DurationMs(int64_t bytes, int64_t bitsPerSecond);

// A 32-bit word of the position block: negative times are 0, long ones stop
// at the largest word.
uint32_t TimeWord(int64_t milliseconds);

// The absolute position of a seek to `targetMs` within a ring buffer of
// `lengthMs` whose newest picture is at `writeMs`: the one position with that
// remainder that the buffer still holds, and never before the oldest.
int64_t RingSeekPosition(int64_t targetMs, int64_t writeMs, int64_t lengthMs);

// Where a player is, told by the changes of its state: it moves with the
// clock while it plays and holds while it is paused.
class PlayClock {
 public:
  void Start(int64_t nowMs, int64_t positionMs);
  void Pause(int64_t nowMs);
  void Resume(int64_t nowMs);
  void Seek(int64_t nowMs, int64_t positionMs);
  int64_t Position(int64_t nowMs) const;
  bool Paused() const { return m_paused; }

 private:
  int64_t m_anchorPosition = 0;
  int64_t m_anchorTime = 0;
  bool m_paused = false;
};

}  // namespace virtualboard

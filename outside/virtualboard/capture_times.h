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

// Where a time-shift viewer is, told against the write position so that it
// keeps step with the recording itself, not with a wall clock: at live it is
// the newest picture, paused it holds, resumed it trails by the pause, and
// it never lies before the oldest picture the buffer holds.
class ShiftPosition {
 public:
  int64_t Position(int64_t writeMs, int64_t lengthMs) const;
  void Pause(int64_t writeMs, int64_t lengthMs);
  void Resume(int64_t writeMs, int64_t lengthMs);
  void Seek(int64_t writeMs, int64_t lengthMs, int64_t positionMs);
  bool Paused() const { return m_paused; }

 private:
  int64_t m_delay = 0;
  int64_t m_held = 0;
  bool m_paused = false;
};

}  // namespace virtualboard

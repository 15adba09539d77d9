#include "outside/virtualboard/capture_times.h"

namespace virtualboard {

int64_t DurationMs(int64_t bytes, int64_t bitsPerSecond) {
  if (bitsPerSecond <= 0 || bytes <= 0) return 0;
  // bytes * 8000 overflows only beyond a petabyte.
  return bytes * 8000 / bitsPerSecond;
}

uint32_t TimeWord(int64_t milliseconds) {
  if (milliseconds <= 0) return 0;
  if (milliseconds > 0xFFFFFFFFll) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(milliseconds);
}

int64_t RingSeekPosition(int64_t targetMs, int64_t writeMs, int64_t lengthMs) {
  if (lengthMs <= 0) return writeMs;
  int64_t target = targetMs % lengthMs;
  if (target < 0) target += lengthMs;
  const int64_t lapStart = writeMs - writeMs % lengthMs;
  int64_t position = lapStart + target;
  // A remainder past the newest picture lies in the previous lap.
  if (position > writeMs) position -= lengthMs;
  const int64_t oldest = writeMs > lengthMs ? writeMs - lengthMs : 0;
  return position < oldest ? oldest : position;
}

namespace {

int64_t Clamp(int64_t position, int64_t writeMs, int64_t lengthMs) {
  const int64_t oldest = lengthMs > 0 && writeMs > lengthMs ? writeMs - lengthMs : 0;
  if (position < oldest) return oldest;
  return position > writeMs ? writeMs : position;
}

}  // namespace

int64_t ShiftPosition::Position(int64_t writeMs, int64_t lengthMs) const {
  return Clamp(m_paused ? m_held : writeMs - m_delay, writeMs, lengthMs);
}

void ShiftPosition::Pause(int64_t writeMs, int64_t lengthMs) {
  if (m_paused) return;
  m_held = Position(writeMs, lengthMs);
  m_paused = true;
}

void ShiftPosition::Resume(int64_t writeMs, int64_t lengthMs) {
  if (!m_paused) return;
  m_delay = writeMs - Position(writeMs, lengthMs);
  m_paused = false;
}

void ShiftPosition::Seek(int64_t writeMs, int64_t lengthMs, int64_t positionMs) {
  const int64_t position = Clamp(positionMs, writeMs, lengthMs);
  if (m_paused) {
    m_held = position;
  } else {
    m_delay = writeMs - position;
  }
}

}  // namespace virtualboard

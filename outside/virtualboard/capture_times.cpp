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

void PlayClock::Start(int64_t nowMs, int64_t positionMs) {
  m_anchorTime = nowMs;
  m_anchorPosition = positionMs;
  m_paused = false;
}

void PlayClock::Pause(int64_t nowMs) {
  if (m_paused) return;
  m_anchorPosition = Position(nowMs);
  m_anchorTime = nowMs;
  m_paused = true;
}

void PlayClock::Resume(int64_t nowMs) {
  if (!m_paused) return;
  m_anchorTime = nowMs;
  m_paused = false;
}

void PlayClock::Seek(int64_t nowMs, int64_t positionMs) {
  m_anchorTime = nowMs;
  m_anchorPosition = positionMs;
}

int64_t PlayClock::Position(int64_t nowMs) const {
  if (m_paused || nowMs < m_anchorTime) return m_anchorPosition;
  return m_anchorPosition + (nowMs - m_anchorTime);
}

}  // namespace virtualboard

#include "outside/virtualboard/timeshift/time_shift_position.h"

#include <algorithm>

namespace timeshift {

std::int64_t WriteTotal::Update(std::int64_t filePosition) {
  if (filePosition < last_) ++laps_;  // the writer went round the end
  last_ = filePosition;
  return Total();
}

std::int64_t BufferLengthMs(std::int64_t fileBytes, const WriterProgress& progress) {
  if (progress.bytesWritten <= 0 || fileBytes <= 0) return 0;
  // 128-bit free: ms x bytes stays far below 2^63 for any real recording.
  return static_cast<std::int64_t>(static_cast<long double>(progress.encodedMs) * fileBytes /
                                   progress.bytesWritten);
}

std::int64_t OldestReadableByte(std::int64_t fileBytes, std::int64_t bytesWritten,
                                std::int64_t margin) {
  if (bytesWritten <= fileBytes) return 0;
  return std::min(bytesWritten, bytesWritten - fileBytes + margin);
}

std::int64_t SeekTargetMs(std::int64_t bufferMs, std::int64_t lengthMs, std::int64_t writeMs) {
  if (lengthMs <= 0) return 0;
  const std::int64_t t = ((bufferMs % lengthMs) + lengthMs) % lengthMs;
  const std::int64_t lap = writeMs / lengthMs;
  const std::int64_t w = writeMs % lengthMs;
  return t <= w ? lap * lengthMs + t : (lap - 1) * lengthMs + t;
}

std::int64_t MsOfByte(std::int64_t byte, const WriterProgress& progress) {
  if (progress.bytesWritten <= 0) return 0;
  return static_cast<std::int64_t>(static_cast<long double>(byte) * progress.encodedMs /
                                   progress.bytesWritten);
}

}  // namespace timeshift

#pragma once

#include <cstdint>

// Positions of a time-shift buffer: bytes of the circular file and
// milliseconds of the recording, both growing across laps of the file.
namespace timeshift {

// What the writer has done so far. Both grow across laps of the file.
struct WriterProgress {
  std::int64_t bytesWritten = 0;  // every byte since the recording started
  std::int64_t encodedMs = 0;     // the encoded time (the write position, R3)
};

// Turns the writer's position inside the circular file into the bytes
// written since the start; call it at least once a lap.
class WriteTotal {
 public:
  explicit WriteTotal(std::int64_t fileBytes) : fileBytes_(fileBytes) {}
  std::int64_t Update(std::int64_t filePosition);
  std::int64_t Total() const { return laps_ * fileBytes_ + last_; }

 private:
  std::int64_t fileBytes_;
  std::int64_t laps_ = 0;
  std::int64_t last_ = 0;
};

// The time a full buffer holds at the rate written so far (0 before any
// byte). Before the first lap this is the capacity; later it is the span
// of the programme the file holds.
std::int64_t BufferLengthMs(std::int64_t fileBytes, const WriterProgress& progress);

// The oldest byte a reader may still read: a margin past the writer's
// position of the previous lap, so that it is not overwritten while read.
std::int64_t OldestReadableByte(std::int64_t fileBytes, std::int64_t bytesWritten,
                                std::int64_t margin);

// The recording time of a position inside the buffer (0 <= bufferMs,
// reduced modulo lengthMs): in the write position's lap when at or before
// it, else in the lap before. Not clamped to what is held.
std::int64_t SeekTargetMs(std::int64_t bufferMs, std::int64_t lengthMs, std::int64_t writeMs);

// The same time where a byte of the buffer sits, at the average rate.
std::int64_t MsOfByte(std::int64_t byte, const WriterProgress& progress);

}  // namespace timeshift

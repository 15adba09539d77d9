#pragma once

#include <cstdint>

// The encoder's bytes go to a plain recording file up to a size limit, or
// round a fixed-size circular time-shift file.
namespace encodewriter {

// The open output file, written in place (no buffering of its own).
class FileSink {
 public:
  // Both return false on failure.
  virtual bool Write(const std::uint8_t* data, std::uint32_t length) = 0;
  virtual bool SeekToStart() = 0;

 protected:
  ~FileSink() = default;
};

class OutputFileWriter {
 public:
  // A new file: position 0, not wrapped, writing enabled.
  void Start(FileSink* sink, std::int64_t sizeLimit, bool linear);
  void Close() { sink_ = nullptr; }

  void Write(const std::uint8_t* data, std::uint32_t length);

  bool IsOpen() const { return sink_ != nullptr; }
  bool Linear() const { return linear_; }
  std::int64_t Position() const { return position_; }
  std::int64_t SizeLimit() const { return sizeLimit_; }
  // True once since the last TakeWrapped.
  bool TakeWrapped();
  bool Wrapped() const { return wrapped_; }

 private:
  FileSink* sink_ = nullptr;
  std::int64_t sizeLimit_ = 0;
  std::int64_t position_ = 0;
  bool linear_ = true;
  bool wrapped_ = false;
  bool enabled_ = true;
};

}  // namespace encodewriter

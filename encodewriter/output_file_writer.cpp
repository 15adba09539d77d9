#include "encodewriter/output_file_writer.h"

namespace encodewriter {

void OutputFileWriter::Start(FileSink* sink, std::int64_t sizeLimit, bool linear) {
  sink_ = sink;
  sizeLimit_ = sizeLimit;
  position_ = 0;
  linear_ = linear;
  wrapped_ = false;
  enabled_ = true;
}

bool OutputFileWriter::TakeWrapped() {
  const bool wrapped = wrapped_;
  wrapped_ = false;
  return wrapped;
}

void OutputFileWriter::Write(const std::uint8_t* data, std::uint32_t length) {
  if (position_ > sizeLimit_) enabled_ = false;
  if (sink_ == nullptr || !enabled_ || length == 0) return;

  if (linear_) {
    if (position_ >= sizeLimit_) return;
    const std::int64_t room = sizeLimit_ - position_;
    const auto part = static_cast<std::uint32_t>(length < room ? length : room);
    if (!sink_->Write(data, part)) return;
    position_ += part;
    return;
  }

  // A block of more than half the file could overwrite the part a reader is
  // still behind; it is refused whole.
  if (2 * static_cast<std::int64_t>(length) > sizeLimit_) return;
  const std::int64_t room = sizeLimit_ - position_;
  if (length < room) {
    if (!sink_->Write(data, length)) return;
    position_ += length;
    return;
  }
  const auto head = static_cast<std::uint32_t>(room);
  if (!sink_->Write(data, head) || !sink_->SeekToStart()) return;
  const std::uint32_t rest = length - head;
  if (rest > 0 && !sink_->Write(data + head, rest)) return;
  position_ = rest;
  wrapped_ = true;
}

}  // namespace encodewriter

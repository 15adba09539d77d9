#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegenc {

// Most-significant-bit-first writer, the bit order of every MPEG syntax.
class BitWriter {
 public:
  void Put(std::uint32_t value, int bits) {
    // Split long fields so that the accumulator never holds more than 32 bits.
    if (bits > 24) {
      Put(value >> 16, bits - 16);
      Put(value & 0xFFFF, 16);
      return;
    }
    acc_ = (acc_ << bits) | (value & ((1u << bits) - 1u));
    count_ += bits;
    while (count_ >= 8) {
      count_ -= 8;
      bytes_.push_back(static_cast<std::uint8_t>(acc_ >> count_));
    }
    acc_ &= (1u << count_) - 1u;
  }
  // Pads with zero bits to the next byte boundary.
  void Align() {
    if (count_ > 0) Put(0, 8 - count_);
  }
  void StartCode(std::uint8_t code) {
    Align();
    Put(0x000001, 24);
    Put(code, 8);
  }
  std::size_t BitCount() const { return bytes_.size() * 8 + static_cast<std::size_t>(count_); }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  void Clear() {
    bytes_.clear();
    acc_ = 0;
    count_ = 0;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

}  // namespace mpegenc

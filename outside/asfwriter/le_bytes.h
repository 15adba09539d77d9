#pragma once
// Little-endian fields, the byte order of every ASF and RIFF structure.

#include <cstdint>
#include <cstdio>
#include <vector>

namespace brontel::asf {

class Bytes {
 public:
  void U8(std::uint32_t v) { b_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(std::uint32_t v) {
    U8(v & 0xFF);
    U8(v >> 8);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void U64(std::uint64_t v) {
    U32(static_cast<std::uint32_t>(v));
    U32(static_cast<std::uint32_t>(v >> 32));
  }
  // A GUID from its text form; the first three groups are stored
  // little-endian, the last two as written.
  void Guid(const char* text) {
    unsigned a = 0, b = 0, c = 0, d[8] = {};
    std::sscanf(text, "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &a, &b, &c, &d[0], &d[1], &d[2],
                &d[3], &d[4], &d[5], &d[6], &d[7]);
    U32(a);
    U16(b);
    U16(c);
    for (unsigned x : d) U8(x);
  }
  void Append(const std::vector<std::uint8_t>& more) {
    b_.insert(b_.end(), more.begin(), more.end());
  }
  std::vector<std::uint8_t>& Get() { return b_; }

 private:
  std::vector<std::uint8_t> b_;
};

}  // namespace brontel::asf

#pragma once
// An Advanced Systems Format file with one audio stream: the header object
// (file properties, the stream's properties with its WAVEFORMATEX, an empty
// header extension), then the data object in packets of one fixed size, each
// carrying as many payloads as fit. Media objects larger than the space left
// go on in the next packet. The sizes, counts and the duration are unknown
// until the end, so the header is written first with the broadcast flag set
// and then patched in place.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brontel::asf {

// Where the file goes: appended bytes, and rewrites of bytes already written.
class AsfSink {
 public:
  virtual ~AsfSink() = default;
  virtual bool Append(const std::uint8_t* data, std::size_t size) = 0;
  virtual bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
};

inline constexpr std::uint32_t kPacketBytes = 3200;

class AsfMuxer {
 public:
  // waveFormat: the stream's WAVEFORMATEX with its extra bytes, as stored.
  // bitRate: the stream's bits a second; creationTime: 100 ns units since
  // 1601 (0 when unknown).
  AsfMuxer(AsfSink* sink, std::vector<std::uint8_t> waveFormat, std::uint32_t bitRate,
           std::uint64_t creationTime = 0);

  // Writes the provisional header and the start of the data object.
  bool Begin();
  // One media object (for audio, one coded frame) presented at timeMs.
  bool AddObject(const std::uint8_t* data, std::size_t size, std::uint32_t timeMs);
  // Writes the last packet and patches sizes, counts and the duration
  // (in 100 ns units) into the header; the file is then complete.
  bool Finish(std::uint64_t duration100ns);

  std::uint64_t Packets() const { return packets_; }
  std::uint64_t BytesWritten() const { return bytes_; }
  bool Failed() const { return failed_; }

 private:
  bool StartPacket(std::uint32_t sendTimeMs);
  bool ClosePacket();
  bool Append(const std::vector<std::uint8_t>& bytes);

  AsfSink* sink_;
  std::vector<std::uint8_t> waveFormat_;
  std::uint32_t bitRate_;
  std::uint64_t creationTime_;
  std::uint64_t headerBytes_ = 0;
  std::uint64_t packets_ = 0;
  std::uint64_t bytes_ = 0;
  std::uint8_t objectNumber_ = 0;
  std::vector<std::uint8_t> packet_;  // the packet being filled, without its header
  int payloads_ = 0;
  std::uint32_t packetSendTime_ = 0;
  bool open_ = false;
  bool failed_ = false;
};

}  // namespace brontel::asf

#include "outside/asfwriter/asf_muxer.h"

#include <algorithm>
#include <cstdio>

#include "outside/asfwriter/le_bytes.h"

namespace brontel::asf {
namespace {

// Object identifiers, in the text form; stored with the first three groups
// little-endian.
constexpr const char* kHeaderObject = "75B22630-668E-11CF-A6D9-00AA0062CE6C";
constexpr const char* kDataObject = "75B22636-668E-11CF-A6D9-00AA0062CE6C";
constexpr const char* kFileProperties = "8CABDCA1-A947-11CF-8EE4-00C00C205365";
constexpr const char* kStreamProperties = "B7DC0791-A9B7-11CF-8EE6-00C00C205365";
constexpr const char* kHeaderExtension = "5FBF03B5-A92E-11CF-8EE3-00C00C205365";
constexpr const char* kHeaderExtensionReserved = "ABD3D211-A9BA-11CF-8EE6-00C00C205365";
constexpr const char* kAudioMedia = "F8699E40-5B4D-11CF-A8FD-00805F5C442B";
// GStreamer's demuxer takes audio only with "audio spread" error
// correction; a span of 1 leaves the data unscrambled.
constexpr const char* kAudioSpread = "BFC3CD50-618F-11CF-8BB2-00AA00B4E220";
constexpr std::uint32_t kSpreadDataBytes = 8;
// Any identifier serves as the file's own; readers only compare the two copies.
constexpr const char* kFileId = "B6A1F1E4-3C52-4E0B-9A7D-6B72726F6E74";

constexpr std::uint32_t kFlagBroadcast = 0x01;
constexpr std::uint32_t kFlagSeekable = 0x02;
constexpr std::uint8_t kStreamNumber = 1;

// Byte positions of the fields patched at the end.
constexpr std::uint64_t kFilePropertiesAt = 30;
constexpr std::uint64_t kFileSizeAt = kFilePropertiesAt + 24 + 16;
constexpr std::uint64_t kPacketCountAt = kFileSizeAt + 16;
constexpr std::uint64_t kPlayDurationAt = kPacketCountAt + 8;
constexpr std::uint64_t kFlagsAt = kPlayDurationAt + 24;
constexpr std::uint64_t kDataHeaderBytes = 50;

// Packet layout: error correction (3 bytes), length flags, property flags,
// padding length (16 bits), send time (32), duration (16), payload flags.
constexpr std::size_t kPacketHeaderBytes = 14;
// Each payload: stream, object number, offset (32 bits), replicated data
// length, replicated data (object size and presentation time), payload length (16 bits).
constexpr std::size_t kPayloadHeaderBytes = 17;
constexpr int kMaxPayloads = 63;

std::vector<std::uint8_t> Le64(std::uint64_t v) {
  Bytes b;
  b.U64(v);
  return b.Get();
}

}  // namespace

AsfMuxer::AsfMuxer(AsfSink* sink, std::vector<std::uint8_t> waveFormat, std::uint32_t bitRate,
                   std::uint64_t creationTime)
    : sink_(sink),
      waveFormat_(std::move(waveFormat)),
      bitRate_(bitRate),
      creationTime_(creationTime) {}

bool AsfMuxer::Append(const std::vector<std::uint8_t>& bytes) {
  if (failed_ || !sink_->Append(bytes.data(), bytes.size())) {
    failed_ = true;
    return false;
  }
  bytes_ += bytes.size();
  return true;
}

bool AsfMuxer::Begin() {
  Bytes file;
  file.Guid(kFileProperties);
  file.U64(104);
  file.Guid(kFileId);
  file.U64(0);  // file size: patched
  file.U64(creationTime_);
  file.U64(0);               // packets: patched
  file.U64(0);               // play duration: patched
  file.U64(0);               // send duration: patched
  file.U64(0);               // no preroll: presentation times start at 0
  file.U32(kFlagBroadcast);  // sizes not valid until the end
  file.U32(kPacketBytes);
  file.U32(kPacketBytes);
  file.U32(bitRate_);

  Bytes stream;
  stream.Guid(kStreamProperties);
  stream.U64(78 + waveFormat_.size() + kSpreadDataBytes);
  stream.Guid(kAudioMedia);
  stream.Guid(kAudioSpread);
  stream.U64(0);  // time offset
  stream.U32(static_cast<std::uint32_t>(waveFormat_.size()));
  stream.U32(kSpreadDataBytes);
  stream.U16(kStreamNumber);
  stream.U32(0);
  stream.Append(waveFormat_);
  stream.U8(1);   // span
  stream.U16(1);  // virtual packet length
  stream.U16(1);  // virtual chunk length
  stream.U16(1);  // silence data length
  stream.U8(0);   // silence data

  Bytes extension;
  extension.Guid(kHeaderExtension);
  extension.U64(46);
  extension.Guid(kHeaderExtensionReserved);
  extension.U16(6);
  extension.U32(0);

  Bytes header;
  header.Guid(kHeaderObject);
  headerBytes_ = 30 + file.Get().size() + stream.Get().size() + extension.Get().size();
  header.U64(headerBytes_);
  header.U32(3);
  header.U8(1);  // reserved values every reader checks for
  header.U8(2);
  header.Append(file.Get());
  header.Append(stream.Get());
  header.Append(extension.Get());

  header.Guid(kDataObject);
  header.U64(0);  // size: patched
  header.Guid(kFileId);
  header.U64(0);  // packets: patched
  header.U16(0x0101);
  open_ = Append(header.Get());
  return open_;
}

bool AsfMuxer::StartPacket(std::uint32_t sendTimeMs) {
  packet_.clear();
  payloads_ = 0;
  packetSendTime_ = sendTimeMs;
  return true;
}

bool AsfMuxer::ClosePacket() {
  if (payloads_ == 0) return true;
  const std::size_t padding = kPacketBytes - kPacketHeaderBytes - packet_.size();
  Bytes out;
  out.U8(0x82);  // error correction data present: two bytes
  out.U8(0);
  out.U8(0);
  out.U8(0x11);  // several payloads, 16-bit padding length, no packet length
  out.U8(0x5D);  // 8-bit replicated length, 32-bit offset, 8-bit object and stream numbers
  out.U16(static_cast<std::uint32_t>(padding));
  out.U32(packetSendTime_);
  out.U16(0);
  out.U8(0x80 | static_cast<std::uint32_t>(payloads_));  // 16-bit payload lengths
  out.Append(packet_);
  out.Get().resize(kPacketBytes, 0);
  payloads_ = 0;
  packet_.clear();
  if (!Append(out.Get())) return false;
  ++packets_;
  return true;
}

bool AsfMuxer::AddObject(const std::uint8_t* data, std::size_t size, std::uint32_t timeMs) {
  if (!open_ || failed_ || size == 0) return !failed_ && open_;
  std::size_t offset = 0;
  while (offset < size) {
    if (payloads_ == 0) StartPacket(timeMs);
    const std::size_t room = kPacketBytes - kPacketHeaderBytes - packet_.size();
    if (room <= kPayloadHeaderBytes || payloads_ == kMaxPayloads) {
      if (!ClosePacket()) return false;
      continue;
    }
    const std::size_t piece = std::min(size - offset, room - kPayloadHeaderBytes);
    Bytes payload;
    payload.U8(0x80 | kStreamNumber);  // every audio frame is a key frame
    payload.U8(objectNumber_);
    payload.U32(static_cast<std::uint32_t>(offset));
    payload.U8(8);
    payload.U32(static_cast<std::uint32_t>(size));
    payload.U32(timeMs);
    payload.U16(static_cast<std::uint32_t>(piece));
    packet_.insert(packet_.end(), payload.Get().begin(), payload.Get().end());
    packet_.insert(packet_.end(), data + offset, data + offset + piece);
    ++payloads_;
    offset += piece;
  }
  ++objectNumber_;
  return true;
}

bool AsfMuxer::Finish(std::uint64_t duration100ns) {
  if (!open_ || failed_) return false;
  if (!ClosePacket()) return false;
  open_ = false;
  const std::uint64_t dataBytes = kDataHeaderBytes + packets_ * kPacketBytes;
  struct Patch {
    std::uint64_t at;
    std::vector<std::uint8_t> bytes;
  } patches[] = {
      {kFileSizeAt, Le64(headerBytes_ + dataBytes)},
      {kPacketCountAt, Le64(packets_)},
      {kPlayDurationAt, Le64(duration100ns)},
      {kPlayDurationAt + 8, Le64(duration100ns)},  // send duration
      {kFlagsAt, {kFlagSeekable, 0, 0, 0}},
      {headerBytes_ + 16, Le64(dataBytes)},
      {headerBytes_ + 40, Le64(packets_)},
  };
  for (const Patch& p : patches)
    if (!sink_->WriteAt(p.at, p.bytes.data(), p.bytes.size())) {
      failed_ = true;
      return false;
    }
  return true;
}

}  // namespace brontel::asf

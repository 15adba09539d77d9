#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace mpegenc {

// MPEG-2 program stream multiplexer: packs of 2048 bytes, each with one PES
// packet of video (stream 0xE0) or audio (0xC0); the first pack carries the
// system header. Data leaves in the order decoders need it: the stream whose
// next byte is due first goes first, and a pack is only written once the
// other stream cannot produce anything due earlier.
class ProgramMux {
 public:
  static constexpr int kPackBytes = 2048;
  using Writer = std::function<void(const std::uint8_t*, std::size_t)>;

  struct Config {
    bool video = true;
    bool audio = true;
    double videoBitRate = 6e6;  // peak
    double audioBitRate = 224000;
  };

  ProgramMux(const Config& config, Writer writer);

  // Timestamps in 90 kHz units. dts equals pts when the picture is not
  // reordered.
  void AddVideo(const std::vector<std::uint8_t>& picture, std::int64_t pts, std::int64_t dts);
  void AddAudio(const std::vector<std::uint8_t>& frame, std::int64_t pts);
  // Writes everything queued and the program end code.
  void Finish();

  std::int64_t BytesWritten() const { return written_; }

 private:
  struct Unit {
    std::int64_t offset;  // stream byte at which the access unit starts
    std::int64_t pts, dts;
  };
  struct Stream {
    bool active = false;
    std::uint8_t id = 0;
    double leadTicks = 0;  // how long before its decoding time data may arrive
    std::deque<std::uint8_t> data;
    std::deque<Unit> units;
    std::int64_t sent = 0;  // bytes of the stream already written
    std::int64_t lastDts = INT64_MIN;
    std::int64_t Pending() const { return static_cast<std::int64_t>(data.size()); }
    std::int64_t NextDue() const;
  };

  void Pump(bool finishing);
  void WritePack(Stream& s, bool finishing);
  int PayloadCapacity(bool withTimestamps, bool both) const;

  Config config_;
  Writer writer_;
  Stream streams_[2];      // video, audio
  std::uint32_t muxRate_;  // units of 50 bytes/s
  std::int64_t scr_ = -1;
  bool systemHeaderWritten_ = false;
  std::int64_t written_ = 0;
  bool finished_ = false;
};

}  // namespace mpegenc

#include "outside/mpegenc/program_mux.h"

#include <algorithm>
#include <cmath>

#include "outside/mpegenc/bit_writer.h"

namespace mpegenc {
namespace {

constexpr int kPackHeaderBytes = 14;
constexpr int kPesHeaderBytes = 9;  // start code, length, two flag bytes, header length
// A stream that never gets its partner's data must not grow without end.
constexpr std::int64_t kMaxPendingBytes = 8 << 20;

// A 33-bit clock value in the 3 + 15 + 15 bit layout with marker bits that
// both the pack header and the PES timestamps use.
void PutClock(BitWriter& bits, std::int64_t t) {
  const std::uint64_t v = static_cast<std::uint64_t>(t) & 0x1FFFFFFFFULL;
  bits.Put(static_cast<std::uint32_t>(v >> 30) & 7, 3);
  bits.Put(1, 1);
  bits.Put(static_cast<std::uint32_t>(v >> 15) & 0x7FFF, 15);
  bits.Put(1, 1);
  bits.Put(static_cast<std::uint32_t>(v) & 0x7FFF, 15);
}

void PutTimestamp(BitWriter& bits, std::uint32_t prefix, std::int64_t t) {
  bits.Put(prefix, 4);
  PutClock(bits, t);
  bits.Put(1, 1);
}

}  // namespace

std::int64_t ProgramMux::Stream::NextDue() const {
  return units.empty() ? lastDts : units.front().dts;
}

ProgramMux::ProgramMux(const Config& config, Writer writer)
    : config_(config), writer_(std::move(writer)) {
  streams_[0].active = config.video;
  streams_[0].id = 0xE0;
  streams_[0].leadTicks = 0.3 * 90000;
  streams_[1].active = config.audio;
  streams_[1].id = 0xC0;
  streams_[1].leadTicks = 0.1 * 90000;
  // Room for the streams' peaks plus the pack and packet headers.
  const double bytesPerSecond =
      ((config.video ? config.videoBitRate : 0) + (config.audio ? config.audioBitRate : 0)) * 1.25 /
          8 +
      20000;
  muxRate_ = static_cast<std::uint32_t>(std::ceil(bytesPerSecond / 50));
}

void ProgramMux::AddVideo(const std::vector<std::uint8_t>& picture, std::int64_t pts,
                          std::int64_t dts) {
  Stream& s = streams_[0];
  if (!s.active || finished_) return;
  s.units.push_back({s.sent + s.Pending(), pts, dts});
  s.data.insert(s.data.end(), picture.begin(), picture.end());
  s.lastDts = dts;
  Pump(false);
}

void ProgramMux::AddAudio(const std::vector<std::uint8_t>& frame, std::int64_t pts) {
  Stream& s = streams_[1];
  if (!s.active || finished_) return;
  s.units.push_back({s.sent + s.Pending(), pts, pts});
  s.data.insert(s.data.end(), frame.begin(), frame.end());
  s.lastDts = pts;
  Pump(false);
}

void ProgramMux::Finish() {
  if (finished_) return;
  Pump(true);
  finished_ = true;
  static const std::uint8_t kEnd[4] = {0, 0, 1, 0xB9};
  writer_(kEnd, 4);
  written_ += 4;
}

int ProgramMux::PayloadCapacity(bool withTimestamps, bool both) const {
  int capacity = kPackBytes - kPackHeaderBytes - kPesHeaderBytes;
  if (!systemHeaderWritten_)
    capacity -= 12 + 3 * ((config_.video ? 1 : 0) + (config_.audio ? 1 : 0));
  if (withTimestamps) capacity -= both ? 10 : 5;
  return capacity;
}

void ProgramMux::Pump(bool finishing) {
  for (;;) {
    Stream* next = nullptr;
    double nextSend = 0;
    for (Stream& s : streams_) {
      if (!s.active || s.Pending() == 0) continue;
      const double send = static_cast<double>(s.NextDue()) - s.leadTicks;
      if (!next || send < nextSend) {
        next = &s;
        nextSend = send;
      }
    }
    if (!next) return;
    Stream& other = streams_[next == &streams_[0] ? 1 : 0];
    if (!finishing && next->Pending() <= kMaxPendingBytes) {
      if (next->Pending() < PayloadCapacity(true, true)) return;
      // The partner has nothing queued: wait until it has caught up.
      if (other.active && other.Pending() == 0 &&
          (other.lastDts == INT64_MIN ||
           static_cast<double>(other.lastDts) - other.leadTicks < nextSend))
        return;
    }
    WritePack(*next, finishing);
  }
}

void ProgramMux::WritePack(Stream& s, bool finishing) {
  // The first access unit that starts inside this packet gets the timestamps.
  const Unit* stamped = nullptr;
  for (const Unit& u : s.units) {
    if (u.offset >= s.sent) {
      stamped = &u;
      break;
    }
  }
  const bool both = stamped && stamped->dts != stamped->pts;
  int capacity = PayloadCapacity(true, both);
  if (!stamped || stamped->offset >= s.sent + capacity) {
    stamped = nullptr;
    capacity = PayloadCapacity(false, false);
  }
  const int payload = static_cast<int>(std::min<std::int64_t>(capacity, s.Pending()));

  // Clock: no earlier than the mux rate allows after the last pack, and not
  // much earlier than the data is needed.
  const std::int64_t due = s.NextDue() - static_cast<std::int64_t>(s.leadTicks);
  const std::int64_t packTicks = static_cast<std::int64_t>(
      std::ceil(static_cast<double>(kPackBytes) * 90000.0 / (muxRate_ * 50.0)));
  std::int64_t scr = scr_ < 0 ? std::max<std::int64_t>(0, due) : std::max(scr_ + packTicks, due);
  scr_ = scr;

  BitWriter bits;
  bits.StartCode(0xBA);
  bits.Put(1, 2);
  PutClock(bits, scr);
  bits.Put(1, 1);
  bits.Put(0, 9);  // SCR extension
  bits.Put(1, 1);
  bits.Put(muxRate_, 22);
  bits.Put(3, 2);
  bits.Put(0x1F, 5);  // reserved
  bits.Put(0, 3);     // no pack stuffing

  if (!systemHeaderWritten_) {
    const int count = (config_.video ? 1 : 0) + (config_.audio ? 1 : 0);
    bits.StartCode(0xBB);
    bits.Put(static_cast<std::uint32_t>(6 + 3 * count), 16);
    bits.Put(1, 1);
    bits.Put(muxRate_, 22);
    bits.Put(1, 1);
    bits.Put(config_.audio ? 1 : 0, 6);  // audio_bound
    bits.Put(0, 1);                      // fixed_flag
    bits.Put(0, 1);                      // CSPS_flag
    bits.Put(1, 1);                      // system_audio_lock_flag
    bits.Put(1, 1);                      // system_video_lock_flag
    bits.Put(1, 1);
    bits.Put(config_.video ? 1 : 0, 5);  // video_bound
    bits.Put(0, 1);                      // packet_rate_restriction_flag
    bits.Put(0x7F, 7);
    if (config_.video) {
      bits.Put(0xE0, 8);
      bits.Put(3, 2);
      bits.Put(1, 1);  // buffer bound in units of 1024 bytes
      bits.Put(232, 13);
    }
    if (config_.audio) {
      bits.Put(0xC0, 8);
      bits.Put(3, 2);
      bits.Put(0, 1);  // units of 128 bytes
      bits.Put(32, 13);
    }
    systemHeaderWritten_ = true;
  }

  const int timestampBytes = stamped ? (both ? 10 : 5) : 0;
  int used = static_cast<int>(bits.BitCount() / 8) + kPesHeaderBytes + timestampBytes + payload;
  int gap = kPackBytes - used;
  int stuffing = 0;
  if (gap > 0 && gap < 6) {
    stuffing = gap;  // too small for a padding packet
    gap = 0;
  }
  const int headerData = timestampBytes + stuffing;
  bits.StartCode(s.id);
  bits.Put(static_cast<std::uint32_t>(3 + headerData + payload), 16);
  bits.Put(2, 2);                                             // '10'
  bits.Put(0, 2);                                             // not scrambled
  bits.Put(0, 1);                                             // priority
  bits.Put(stamped && stamped->offset == s.sent ? 1 : 0, 1);  // data_alignment_indicator
  bits.Put(0, 2);                                             // copyright, original
  bits.Put(stamped ? (both ? 3 : 2) : 0, 2);
  bits.Put(0, 6);  // ESCR, ES rate, trick mode, copy info, CRC, extension
  bits.Put(static_cast<std::uint32_t>(headerData), 8);
  if (stamped) {
    PutTimestamp(bits, both ? 3 : 2, stamped->pts);
    if (both) PutTimestamp(bits, 1, stamped->dts);
  }
  for (int i = 0; i < stuffing; ++i) bits.Put(0xFF, 8);
  std::vector<std::uint8_t>& out = bits.Bytes();
  out.insert(out.end(), s.data.begin(), s.data.begin() + payload);
  s.data.erase(s.data.begin(), s.data.begin() + payload);
  s.sent += payload;
  while (s.units.size() > 1 && s.units[1].offset <= s.sent) s.units.pop_front();
  if (s.units.size() == 1 && s.Pending() == 0) s.units.pop_front();

  if (gap >= 6) {
    out.push_back(0);
    out.push_back(0);
    out.push_back(1);
    out.push_back(0xBE);
    out.push_back(static_cast<std::uint8_t>((gap - 6) >> 8));
    out.push_back(static_cast<std::uint8_t>(gap - 6));
    out.insert(out.end(), static_cast<std::size_t>(gap - 6), 0xFF);
  }
  (void)finishing;
  writer_(out.data(), out.size());
  written_ += static_cast<std::int64_t>(out.size());
}

}  // namespace mpegenc

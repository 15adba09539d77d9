#include "outside/virtualboard/timeshift/program_stream.h"

#include <algorithm>

namespace timeshift {
namespace {

std::int64_t ReadClock(const std::uint8_t* p) {  // the 5-byte PTS layout
  return (static_cast<std::int64_t>((p[0] >> 1) & 7) << 30) |
         (static_cast<std::int64_t>(p[1]) << 22) | (static_cast<std::int64_t>(p[2] >> 1) << 15) |
         (static_cast<std::int64_t>(p[3]) << 7) | (p[4] >> 1);
}

bool IsPackHeader(const std::uint8_t* p, std::size_t size) {
  // MPEG-2 pack header: '01' after the start code, and its marker bits.
  return size >= 14 && p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0xBA &&
         (p[4] & 0xC4) == 0x44 && (p[6] & 4) && (p[8] & 4) && (p[9] & 1) && (p[12] & 3) == 3;
}

}  // namespace

PackParse ParsePack(const std::uint8_t* data, std::size_t size, PackInfo* info) {
  if (size < 14) return PackParse::kIncomplete;
  if (!IsPackHeader(data, size)) return PackParse::kNotAPack;
  info->video.clear();
  const std::uint8_t* p = data + 4;
  info->scr =
      (static_cast<std::int64_t>((p[0] >> 3) & 7) << 30) |
      (static_cast<std::int64_t>(p[0] & 3) << 28) | (static_cast<std::int64_t>(p[1]) << 20) |
      (static_cast<std::int64_t>(p[2] >> 3) << 15) | (static_cast<std::int64_t>(p[2] & 3) << 13) |
      (static_cast<std::int64_t>(p[3]) << 5) | (p[4] >> 3);
  std::size_t pos = 14 + (data[13] & 7);
  for (;;) {
    if (pos == size) break;  // the data ends after a whole packet
    if (pos + 4 > size) return PackParse::kIncomplete;
    if (data[pos] != 0 || data[pos + 1] != 0 || data[pos + 2] != 1) return PackParse::kNotAPack;
    const std::uint8_t id = data[pos + 3];
    if (id == 0xBA || id == 0xB9) break;  // the next pack or the end of the program
    if (id < 0xBB) return PackParse::kNotAPack;
    if (pos + 6 > size) return PackParse::kIncomplete;
    const std::size_t length = 6 + (static_cast<std::size_t>(data[pos + 4]) << 8 | data[pos + 5]);
    if (pos + length > size) return PackParse::kIncomplete;
    if (id >= 0xE0 && id <= 0xEF) {
      if (length < 9 || (data[pos + 6] & 0xC0) != 0x80) return PackParse::kNotAPack;
      const std::size_t header = 9 + data[pos + 8];
      if (header > length) return PackParse::kNotAPack;
      VideoPayload v;
      v.offset = pos + header;
      v.size = length - header;
      if ((data[pos + 7] & 0x80) && header >= 14) {
        v.hasPts = true;
        v.pts = ReadClock(data + pos + 9);
      }
      if (id == 0xE0) info->video.push_back(v);
    }
    pos += length;
  }
  info->length = pos;
  return PackParse::kPack;
}

std::size_t FindPackStart(const std::uint8_t* data, std::size_t size, std::size_t from) {
  for (std::size_t i = from; i + 14 <= size; ++i)
    if (data[i + 2] <= 1 && IsPackHeader(data + i, size - i)) return i;
  return size;
}

bool ReadCircular(ByteSource& source, std::int64_t fileBytes, std::int64_t absolute,
                  std::uint8_t* out, std::size_t size) {
  if (fileBytes <= 0 || absolute < 0 || static_cast<std::int64_t>(size) > fileBytes) return false;
  const std::int64_t offset = absolute % fileBytes;
  const std::size_t first = static_cast<std::size_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(size), fileBytes - offset));
  if (!source.ReadAt(offset, out, first)) return false;
  return first == size || source.ReadAt(0, out + first, size - first);
}

std::int64_t UnwrapClock(std::int64_t raw, std::int64_t near) {
  raw &= kClockModulus - 1;
  std::int64_t v = near - ((near % kClockModulus + kClockModulus) % kClockModulus) + raw;
  if (v - near > kClockModulus / 2) v -= kClockModulus;
  if (near - v > kClockModulus / 2) v += kClockModulus;
  return v;
}

std::int64_t FindPackAtClock(ByteSource& source, std::int64_t fileBytes, std::int64_t oldest,
                             std::int64_t newest, std::int64_t target) {
  std::vector<std::uint8_t> window(2 * kPackBytes + 14);
  // The first pack at or after position, and its clock; false past newest.
  auto packAt = [&](std::int64_t position, std::int64_t* at, std::int64_t* clock) {
    const std::int64_t n =
        std::min<std::int64_t>(static_cast<std::int64_t>(window.size()), newest - position);
    if (n < 14 ||
        !ReadCircular(source, fileBytes, position, window.data(), static_cast<std::size_t>(n)))
      return false;
    const std::size_t start = FindPackStart(window.data(), static_cast<std::size_t>(n), 0);
    if (start + 14 > static_cast<std::size_t>(n)) return false;
    PackInfo info;
    if (ParsePack(window.data() + start, static_cast<std::size_t>(n) - start, &info) ==
        PackParse::kNotAPack)
      return false;
    *at = position + static_cast<std::int64_t>(start);
    *clock = UnwrapClock(info.scr, target);
    return true;
  };
  std::int64_t first, clock;
  if (!packAt(oldest, &first, &clock)) return -1;
  if (clock > target) return first;
  std::int64_t lo = first, hi = newest;  // the answer lies in [lo, hi)
  while (hi - lo > static_cast<std::int64_t>(kPackBytes)) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    std::int64_t at;
    if (packAt(mid, &at, &clock) && at < hi && clock <= target) {
      lo = at;
    } else {
      hi = mid;
    }
  }
  return lo;
}

void PictureAssembler::Add(const std::uint8_t* payload, std::size_t size, bool hasPts,
                           std::int64_t pts) {
  if (hasPts) marks_.push_back({es_.size(), pts});
  es_.insert(es_.end(), payload, payload + size);
  Scan();
}

void PictureAssembler::Scan() {
  while (scan_ + 4 <= es_.size()) {
    if (!(es_[scan_] == 0 && es_[scan_ + 1] == 0 && es_[scan_ + 2] == 1)) {
      ++scan_;
      continue;
    }
    const std::uint8_t code = es_[scan_ + 3];
    const std::size_t at = scan_;
    scan_ += 4;
    if (!started_) {
      if (code != 0xB3) continue;  // decoding starts at a sequence header
      started_ = true;
      unitStart_ = at;
      sawPicture_ = false;
      continue;
    }
    const bool header = code == 0xB3 || code == 0xB8 || code == 0x00 || code == 0xB7;
    if (sawPicture_ && header) {
      Picture picture;
      picture.data.assign(es_.begin() + static_cast<std::ptrdiff_t>(unitStart_),
                          es_.begin() + static_cast<std::ptrdiff_t>(at));
      // The timestamp of the packet in which the picture starts, if that
      // packet's stamp was not used by an earlier picture.
      for (std::size_t i = marks_.size(); i-- > 0;) {
        if (marks_[i].offset <= pictureOffset_) {
          picture.hasPts = true;
          picture.pts = marks_[i].pts;
          marks_.erase(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
          break;
        }
      }
      ready_.push_back(std::move(picture));
      unitStart_ = at;
      sawPicture_ = false;
    }
    if (code == 0x00) {
      sawPicture_ = true;
      pictureOffset_ = at;
    }
  }
  // Drop what no picture needs any more.
  const std::size_t keep = started_ ? unitStart_ : (scan_ > 3 ? scan_ - 3 : 0);
  if (keep > (1u << 16)) {
    es_.erase(es_.begin(), es_.begin() + static_cast<std::ptrdiff_t>(keep));
    scan_ -= keep;
    unitStart_ -= std::min(unitStart_, keep);
    pictureOffset_ -= std::min(pictureOffset_, keep);
    // Of the stamps before the cut only the last can still apply.
    std::vector<Mark> marks;
    for (const Mark& m : marks_) {
      if (m.offset >= keep) {
        marks.push_back({m.offset - keep, m.pts});
      } else {
        marks.assign(1, {0, m.pts});
      }
    }
    marks_.swap(marks);
  }
}

bool PictureAssembler::Next(Picture* out) {
  if (ready_.empty()) return false;
  *out = std::move(ready_.front());
  ready_.erase(ready_.begin());
  return true;
}

void PictureAssembler::Reset() {
  es_.clear();
  marks_.clear();
  ready_.clear();
  scan_ = unitStart_ = pictureOffset_ = 0;
  started_ = sawPicture_ = false;
}

}  // namespace timeshift

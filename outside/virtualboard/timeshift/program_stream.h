#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reading an MPEG-2 program stream as our encoder writes it (2048-byte
// packs, one PES packet each) out of a circular file whose oldest byte sits
// right after the newest one.
namespace timeshift {

constexpr std::size_t kPackBytes = 2048;
constexpr std::int64_t kClockModulus = std::int64_t{1} << 33;  // 90 kHz clocks wrap here

struct VideoPayload {
  std::size_t offset = 0;  // from the start of the pack
  std::size_t size = 0;
  bool hasPts = false;
  std::int64_t pts = 0;  // 33-bit, 90 kHz
};

struct PackInfo {
  std::int64_t scr = 0;  // 33-bit, 90 kHz
  std::size_t length = 0;
  std::vector<VideoPayload> video;  // PES packets of stream 0xE0
};

enum class PackParse { kPack, kIncomplete, kNotAPack };

// Parses the pack that starts at data[0]; the pack ends where the next pack
// starts or the data ends after a whole packet.
PackParse ParsePack(const std::uint8_t* data, std::size_t size, PackInfo* info);

// The first offset at or after from where a pack header starts; size when
// none does.
std::size_t FindPackStart(const std::uint8_t* data, std::size_t size, std::size_t from);

// The file the stream is read from.
class ByteSource {
 public:
  virtual bool ReadAt(std::int64_t offset, std::uint8_t* out, std::size_t size) = 0;

 protected:
  ~ByteSource() = default;
};

// Reads the bytes [absolute, absolute + size) of everything written to a
// circular file of fileBytes, wherever they sit in the file (in two pieces
// across the end).
bool ReadCircular(ByteSource& source, std::int64_t fileBytes, std::int64_t absolute,
                  std::uint8_t* out, std::size_t size);

// The 64-bit clock nearest to near whose low 33 bits are raw.
std::int64_t UnwrapClock(std::int64_t raw, std::int64_t near);

// The absolute byte of the last pack in [oldest, newest) whose clock is at
// or before target (unwrapped near target), by bisection over the packs'
// clocks, which grow from the oldest byte to the newest; oldest's first pack
// when none is that early. -1 when no pack can be read there.
std::int64_t FindPackAtClock(ByteSource& source, std::int64_t fileBytes, std::int64_t oldest,
                             std::int64_t newest, std::int64_t target);

// Splits the video elementary stream into coded pictures, each from its
// first header up to the next picture's first header, starting at a
// sequence header (an I picture) after a start or Reset.
class PictureAssembler {
 public:
  struct Picture {
    std::vector<std::uint8_t> data;
    bool hasPts = false;
    std::int64_t pts = 0;
  };

  void Add(const std::uint8_t* payload, std::size_t size, bool hasPts, std::int64_t pts);
  bool Next(Picture* out);
  void Reset();
  std::size_t Buffered() const { return es_.size(); }

 private:
  struct Mark {
    std::size_t offset;
    std::int64_t pts;
  };
  void Scan();

  std::vector<std::uint8_t> es_;
  std::vector<Mark> marks_;
  std::vector<Picture> ready_;
  std::size_t scan_ = 0;
  std::size_t unitStart_ = 0;
  std::size_t pictureOffset_ = 0;
  bool started_ = false;
  bool sawPicture_ = false;
};

}  // namespace timeshift

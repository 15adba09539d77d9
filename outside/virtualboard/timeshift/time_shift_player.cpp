#include "outside/virtualboard/timeshift/time_shift_player.h"

#include "win32/windows_include.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "outside/virtualboard/timeshift/picture_rgb.h"
#include "outside/virtualboard/timeshift/program_stream.h"
#include "outside/virtualboard/timeshift/video_decoder.h"
#include "win32/handles.h"

namespace timeshift {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kTicksPerMs = 90;
// Data this close behind the writer's previous lap may be overwritten while
// it is read, so the reader keeps off it.
constexpr std::int64_t kOverwriteMargin = 1 << 20;
constexpr std::size_t kReadChunk = 256 * 1024;
// A seek lands this much before the asked time: packs lead their pictures
// and decoding starts at the group's I picture; the pictures in between are
// decoded but not shown.
constexpr std::int64_t kSeekLeadTicks = 54000;
constexpr auto kIdleWait = std::chrono::milliseconds(15);
constexpr auto kProgressInterval = std::chrono::milliseconds(20);
// Behind the schedule by more than this, the player stops catching up and
// plays on from where it is.
constexpr auto kMaxLateness = std::chrono::milliseconds(500);

class FileSource final : public ByteSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {}
  bool ReadAt(std::int64_t offset, std::uint8_t* out, std::size_t size) override {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ReadFile(file_, out, static_cast<DWORD>(size), &read, &at) && read == size;
  }

 private:
  HANDLE file_;
};

}  // namespace

struct TimeShiftPlayer::State {
  std::wstring path;
  std::int64_t fileBytes;
  HWND window;
  ProgressSource progress;

  brontel::UniqueHandle thread;
  std::mutex lock;
  std::condition_variable wake;
  bool stop = false;
  bool paused = false;
  bool seekPending = false;
  std::int64_t seekBufferMs = 0;

  std::atomic<std::int64_t> playMs{0};
  std::atomic<std::int64_t> lengthMs{0};
  std::atomic<std::int64_t> writeMs{0};
  std::atomic<std::int64_t> bytesWritten{0};
  std::atomic<std::int64_t> shown{0};

  // Windows starts threads with a 4-byte aligned stack; the SSE2 kernels
  // keep 16-byte aligned blocks on it.
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI ThreadMain(void* self) {
    static_cast<State*>(self)->Run();
    return 0;
  }
  void Run();
  void Draw(const std::vector<std::uint8_t>& bgrx, int width, int height);
};

void TimeShiftPlayer::State::Draw(const std::vector<std::uint8_t>& bgrx, int width, int height) {
  RECT client;
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return;
  brontel::WindowDc dc(window);
  if (!dc) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc.Get(), COLORONCOLOR);
  StretchDIBits(dc.Get(), 0, 0, client.right, client.bottom, 0, 0, width, height, bgrx.data(),
                &info, DIB_RGB_COLORS, SRCCOPY);
}

void TimeShiftPlayer::State::Run() {
  brontel::UniqueHandle file;
  WriterProgress written;
  Clock::time_point lastProgress{};
  std::int64_t readPos = 0;         // absolute byte read next
  std::vector<std::uint8_t> packs;  // read, not yet parsed
  std::vector<std::uint8_t> chunk;
  PictureAssembler assembler;
  VideoDecoder decoder;
  PictureAssembler::Picture coded;
  PackInfo pack;

  bool haveOrigin = false;
  std::int64_t originTicks = 0, lastTicks = 0;
  std::int64_t firstReadPos = 0;  // where reading began since the last jump
  bool havePending = false;
  std::int64_t pendingMs = 0;
  std::vector<std::uint8_t> pendingBgrx;
  bool anchored = false;
  Clock::time_point anchorWall;
  std::int64_t anchorMs = 0;
  std::int64_t dropBeforeMs = -1;
  bool showOneWhilePaused = false;

  auto jumpTo = [&](std::int64_t position) {
    readPos = firstReadPos = position;
    packs.clear();
    assembler.Reset();
    decoder.Reset();
    havePending = false;
    anchored = false;
  };

  for (;;) {
    bool isPaused, seek;
    std::int64_t seekMs;
    {
      std::unique_lock<std::mutex> guard(lock);
      if (stop) break;
      isPaused = paused;
      seek = seekPending;
      seekMs = seekBufferMs;
      seekPending = false;
    }
    auto idle = [&](Clock::duration d) {
      std::unique_lock<std::mutex> guard(lock);
      wake.wait_for(guard, d, [&] { return stop || seekPending || paused != isPaused; });
    };

    if (!file) {
      // The writer creates the file when its graph starts.
      file.Reset(CreateFileW(path.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file) {
        if (seek) {
          std::lock_guard<std::mutex> guard(lock);
          seekPending = true;  // keep it for when there is something to seek in
        }
        idle(kIdleWait);
        continue;
      }
    }
    FileSource source(file.Get());

    const Clock::time_point now = Clock::now();
    if (now - lastProgress >= kProgressInterval || seek) {
      written = progress();
      lastProgress = now;
      lengthMs = timeshift::BufferLengthMs(fileBytes, written);
      writeMs = written.encodedMs;
      bytesWritten = written.bytesWritten;
    }
    const std::int64_t oldestByte = OldestReadableByte(fileBytes, written.bytesWritten,
                                                       std::min(kOverwriteMargin, fileBytes / 4));

    if (seek && written.bytesWritten > 0) {
      const std::int64_t target = SeekTargetMs(seekMs, lengthMs, written.encodedMs);
      const std::int64_t origin = haveOrigin ? originTicks : 0;
      std::int64_t at = FindPackAtClock(source, fileBytes, oldestByte, written.bytesWritten,
                                        origin + target * kTicksPerMs - kSeekLeadTicks);
      if (at < 0) at = oldestByte;
      jumpTo(at);
      dropBeforeMs = target;
      showOneWhilePaused = isPaused;
    }

    if (isPaused && !showOneWhilePaused) {
      anchored = false;
      idle(kIdleWait);
      continue;
    }

    if (havePending) {
      if (!anchored) {
        anchored = true;
        anchorWall = now;
        anchorMs = pendingMs;
      }
      const Clock::time_point due = anchorWall + std::chrono::milliseconds(pendingMs - anchorMs);
      if (now < due) {
        idle(std::min<Clock::duration>(due - now, kIdleWait));
        continue;
      }
      Draw(pendingBgrx, decoder.Width(), decoder.Height());
      playMs = pendingMs;
      ++shown;
      havePending = false;
      showOneWhilePaused = false;
      if (now - due > kMaxLateness) anchored = false;
      continue;
    }

    if (assembler.Next(&coded)) {
      if (decoder.Decode(coded.data.data(), coded.data.size()) != DecodeResult::kPicture)
        continue;  // the decoder waits for the next I picture by itself
      const std::int64_t frameTicks =
          static_cast<std::int64_t>(90000.0 / std::max(1.0, decoder.FrameRate()));
      const std::int64_t ticks =
          coded.hasPts ? UnwrapClock(coded.pts, lastTicks) : lastTicks + frameTicks;
      lastTicks = ticks;
      if (!haveOrigin) {
        // From the start of the recording the first picture is time 0;
        // joined later, the byte's share of the encoded time places it.
        haveOrigin = true;
        originTicks =
            ticks - (firstReadPos == 0 ? 0 : MsOfByte(firstReadPos, written) * kTicksPerMs);
      }
      const std::int64_t ms = (ticks - originTicks) / kTicksPerMs;
      if (ms < dropBeforeMs) continue;
      dropBeforeMs = -1;
      ToBgrx(decoder.Picture(), decoder.Width(), decoder.Height(), &pendingBgrx);
      pendingMs = ms;
      havePending = true;
      continue;
    }

    if (readPos < oldestByte) jumpTo(oldestByte);  // the writer came round: play on from the oldest
    const std::int64_t available = written.bytesWritten - readPos;
    if (available <= 0) {
      idle(kIdleWait);
      continue;
    }
    const std::size_t n = static_cast<std::size_t>(
        std::min<std::int64_t>({available, static_cast<std::int64_t>(kReadChunk), fileBytes / 4}));
    chunk.resize(n);
    if (!ReadCircular(source, fileBytes, readPos, chunk.data(), n)) {
      idle(kIdleWait);
      continue;
    }
    readPos += static_cast<std::int64_t>(n);
    packs.insert(packs.end(), chunk.begin(), chunk.end());
    std::size_t pos = 0;
    while (pos < packs.size()) {
      const PackParse r = ParsePack(packs.data() + pos, packs.size() - pos, &pack);
      if (r == PackParse::kIncomplete) break;
      if (r == PackParse::kNotAPack) {
        pos = FindPackStart(packs.data(), packs.size(), pos + 1);  // resync
        continue;
      }
      for (const VideoPayload& v : pack.video)
        assembler.Add(packs.data() + pos + v.offset, v.size, v.hasPts, v.pts);
      pos += pack.length;
    }
    packs.erase(packs.begin(), packs.begin() + static_cast<std::ptrdiff_t>(pos));
  }
}

TimeShiftPlayer::TimeShiftPlayer(std::wstring path, std::int64_t fileBytes, HWND__* window,
                                 ProgressSource progress)
    : state_(new State{std::move(path), fileBytes, window, std::move(progress)}) {}

TimeShiftPlayer::~TimeShiftPlayer() {
  Stop();
}

bool TimeShiftPlayer::Start() {
  State& s = *state_;
  if (s.thread || s.fileBytes <= 0 || !s.progress) return false;
  s.stop = s.paused = s.seekPending = false;
  s.playMs = s.lengthMs = s.writeMs = s.bytesWritten = s.shown = 0;
  s.thread.Reset(CreateThread(nullptr, 0, &State::ThreadMain, &s, 0, nullptr));
  return static_cast<bool>(s.thread);
}

void TimeShiftPlayer::Stop() {
  State& s = *state_;
  if (!s.thread) return;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.stop = true;
  }
  s.wake.notify_all();
  WaitForSingleObject(s.thread.Get(), INFINITE);
  s.thread.Reset();
}

void TimeShiftPlayer::Pause() {
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->paused = true;
  }
  state_->wake.notify_all();
}

void TimeShiftPlayer::Resume() {
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->paused = false;
  }
  state_->wake.notify_all();
}

bool TimeShiftPlayer::IsPaused() const {
  std::lock_guard<std::mutex> guard(state_->lock);
  return state_->paused;
}

bool TimeShiftPlayer::SeekMs(std::int64_t bufferMs) {
  State& s = *state_;
  if (!s.thread || s.bytesWritten <= 0 || s.lengthMs <= 0 || bufferMs < 0) return false;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.seekPending = true;
    s.seekBufferMs = bufferMs;
  }
  // Reported at once, so that the next position read sees the move; the
  // first picture played from there refines it.
  const WriterProgress written{s.bytesWritten, s.writeMs};
  const std::int64_t oldestMs =
      MsOfByte(OldestReadableByte(s.fileBytes, written.bytesWritten,
                                  std::min(kOverwriteMargin, s.fileBytes / 4)),
               written);
  s.playMs = std::clamp(SeekTargetMs(bufferMs, s.lengthMs, s.writeMs), oldestMs,
                        std::max(oldestMs, written.encodedMs));
  s.wake.notify_all();
  return true;
}

std::int64_t TimeShiftPlayer::PlayPositionMs() const {
  return state_->playMs;
}

std::int64_t TimeShiftPlayer::BufferLengthMs() const {
  return state_->lengthMs;
}

std::int64_t TimeShiftPlayer::PicturesShown() const {
  return state_->shown;
}

}  // namespace timeshift

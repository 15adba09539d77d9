// gomotion.dll: the encoder library's C entry points over ProgramEncoder.
// Every entry point checks its context against the live ones, so that a
// null, stale or foreign context gives a negative result instead of a crash.
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <set>

#include "outside/mpegenc/encoder_records.h"
#include "outside/mpegenc/program_encoder.h"

namespace {

using WriteCallback = int(__cdecl*)(const void* data, unsigned long bytes, void* context);

// Byte offsets of the open record (84 bytes).
constexpr std::size_t kOpenBitmapHeader = 0;
constexpr std::size_t kOpenWaveFormat = 4;
constexpr std::size_t kOpenCallbackVideo = 8;
constexpr std::size_t kOpenCallbackAudio = 12;
constexpr std::size_t kOpenCallbackBoth = 16;
constexpr std::size_t kOpenContextVideo = 20;
constexpr std::size_t kOpenContextAudio = 24;
constexpr std::size_t kOpenContextBoth = 28;
constexpr std::size_t kOpenHasVideo = 32;
constexpr std::size_t kOpenHasAudio = 36;

struct Context {
  mpegenc::ProgramEncoder encoder;
};

std::mutex& LiveLock() {
  static std::mutex lock;
  return lock;
}
std::set<Context*>& Live() {
  static std::set<Context*> live;
  return live;
}

Context* Find(void* handle) {
  std::lock_guard<std::mutex> guard(LiveLock());
  auto* c = static_cast<Context*>(handle);
  return Live().count(c) ? c : nullptr;
}

void* PointerAt(const std::uint8_t* record, std::size_t offset) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(mpegenc::ReadWord(record, offset)));
}

}  // namespace

extern "C" {

void* __cdecl GoMotionCreateContext() {
  auto* c = new (std::nothrow) Context;
  if (!c) return nullptr;
  try {
    std::lock_guard<std::mutex> guard(LiveLock());
    Live().insert(c);
  } catch (...) {
    delete c;
    return nullptr;
  }
  return c;
}

void __cdecl GoMotionDeleteContext(void* handle) {
  Context* c = nullptr;
  {
    std::lock_guard<std::mutex> guard(LiveLock());
    auto it = Live().find(static_cast<Context*>(handle));
    if (it == Live().end()) return;
    c = *it;
    Live().erase(it);
  }
  try {
    c->encoder.Close();
  } catch (...) {
  }
  delete c;
}

int __cdecl OpenGoMotionEncoderEx(void* handle, const void* openRecord, void* encodingRecord) {
  Context* c = Find(handle);
  if (!c) return mpegenc::kResultNotOpen;
  if (!openRecord || !encodingRecord) return mpegenc::kResultBadArgument;
  const auto* open = static_cast<const std::uint8_t*>(openRecord);
  const bool hasVideo = mpegenc::ReadWord(open, kOpenHasVideo) != 0;
  const bool hasAudio = mpegenc::ReadWord(open, kOpenHasAudio) != 0;
  const auto* bitmap =
      hasVideo ? static_cast<const std::uint8_t*>(PointerAt(open, kOpenBitmapHeader)) : nullptr;
  const auto* wave =
      hasAudio ? static_cast<const std::uint8_t*>(PointerAt(open, kOpenWaveFormat)) : nullptr;
  if ((hasVideo && !bitmap) || (hasAudio && !wave)) return mpegenc::kResultBadArgument;
  std::size_t callbackAt = kOpenCallbackBoth, contextAt = kOpenContextBoth;
  if (hasVideo && !hasAudio) {
    callbackAt = kOpenCallbackVideo;
    contextAt = kOpenContextVideo;
  } else if (hasAudio && !hasVideo) {
    callbackAt = kOpenCallbackAudio;
    contextAt = kOpenContextAudio;
  }
  auto callback = reinterpret_cast<WriteCallback>(PointerAt(open, callbackAt));
  void* callbackContext = PointerAt(open, contextAt);
  if (!callback) return mpegenc::kResultBadArgument;
  try {
    mpegenc::SessionSettings settings;
    const int parsed = mpegenc::SettingsFromRecords(
        static_cast<const std::uint8_t*>(encodingRecord), bitmap, wave, &settings);
    if (parsed != mpegenc::kResultOk) return parsed;
    return c->encoder.Open(settings,
                           [callback, callbackContext](const std::uint8_t* data, std::size_t n) {
                             callback(data, static_cast<unsigned long>(n), callbackContext);
                           });
  } catch (...) {
    return mpegenc::kResultBadArgument;
  }
}

int __cdecl GetGoMotionParamsEx(void* handle, void* encodingRecord) {
  Context* c = Find(handle);
  if (!c || !c->encoder.IsOpen()) return mpegenc::kResultNotOpen;
  return encodingRecord ? mpegenc::kResultOk : mpegenc::kResultBadArgument;
}

int __cdecl CompressVideoFrame(void* handle, const void* frame, int repeat, int* demand) {
  Context* c = Find(handle);
  if (!c) return mpegenc::kResultNotOpen;
  try {
    std::int32_t d = 0;
    const int r = c->encoder.CompressVideo(static_cast<const std::uint8_t*>(frame), repeat, &d);
    if (demand) *demand = d;
    return r;
  } catch (...) {
    return mpegenc::kResultBadArgument;
  }
}

int __cdecl CompressAudioFrame(void* handle, const void* audioRecord, int* demand) {
  Context* c = Find(handle);
  if (!c) return mpegenc::kResultNotOpen;
  if (!audioRecord) return mpegenc::kResultBadArgument;
  const auto* record = static_cast<const std::uint8_t*>(audioRecord);
  const auto* data = static_cast<const std::uint8_t*>(PointerAt(record, 0));
  const std::uint32_t length = mpegenc::ReadWord(record, 8);
  try {
    std::int32_t d = 0;
    const int r = c->encoder.CompressAudio(data, length, &d);
    if (demand) *demand = d;
    return r;
  } catch (...) {
    return mpegenc::kResultBadArgument;
  }
}

int __cdecl CloseGoMotionEncoder(void* handle) {
  Context* c = Find(handle);
  if (!c) return mpegenc::kResultNotOpen;
  try {
    c->encoder.Close();
  } catch (...) {
    return mpegenc::kResultBadArgument;
  }
  return mpegenc::kResultOk;
}

}  // extern "C"

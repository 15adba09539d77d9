#include "deinterlace/deinterlace_step.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "deinterlace/weave_kernels.h"

namespace brontel {

namespace {

constexpr int kBytesPerPixel = 2;

// memcpy must not see null pointers, even for zero bytes.
void CopyBytes(std::uint8_t* to, const std::uint8_t* from, std::size_t length) {
  if (length != 0) {
    std::memcpy(to, from, length);
  }
}

std::int32_t ClampToInt32(std::size_t value) {
  const std::size_t limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(value, limit));
}

WeavePath ResolveWeavePath(WeavePath requested) {
  if ((requested == WeavePath::kAuto || requested == WeavePath::kAvx2) && Avx2WeaveAvailable()) {
    return WeavePath::kAvx2;
  }
  if (requested != WeavePath::kReference && Sse2WeaveAvailable()) {
    return WeavePath::kSse2;
  }
  return WeavePath::kReference;
}

}  // namespace

void LastFrameInfo::Store(const FrameInfo& info) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_info = info;
}

FrameInfo LastFrameInfo::Load() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_info;
}

void GrabState::Request(void* buffer, std::int32_t requestValue) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (requestValue == kRequestGrab) {
    m_done = 0;
  }
  m_buffer = static_cast<std::uint8_t*>(buffer);
  m_request = requestValue;
}

std::int32_t GrabState::Done() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_done;
}

bool GrabState::Serve(const std::uint8_t* source, std::size_t length) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_request != kRequestGrab) {
    return false;
  }
  m_request = 0;
  if (m_buffer == nullptr) {
    return false;
  }
  CopyBytes(m_buffer, source, length);
  m_done = 1;
  return true;
}

Deinterlacer::Deinterlacer() : m_path(ResolveWeavePath(WeavePath::kAuto)) {}

Deinterlacer::~Deinterlacer() = default;

bool Deinterlacer::AcceptInputType(InputFormatKind kind) {
  m_kind = kind;
  if (!m_history) {
    // Zero-filled: the first frame's comparison is arbitrary but defined.
    m_history.reset(new (std::nothrow) std::uint8_t[kHistoryBytes]());
  }
  return m_history != nullptr;
}

void Deinterlacer::SetWeavePath(WeavePath path) {
  m_path = ResolveWeavePath(path);
}

StepResult Deinterlacer::ProcessFrame(const FrameBuffers& frame,
                                      const DeinterlaceSettings& settings, GrabState& grab) {
  FrameInfo info;
  info.width = frame.width;
  info.height = frame.height;
  info.bitsPerPixel = frame.bitsPerPixel;
  info.dataLength = ClampToInt32(frame.dataLength);
  m_lastFrame.Store(info);

  StepResult result;
  if (frame.input == nullptr || frame.output == nullptr) {
    return result;
  }
  // An output buffer smaller than the sample would overflow; write what fits.
  const std::size_t length = std::min(frame.dataLength, frame.outputCapacity);
  result.outputLength = length;

  const std::uint64_t lineBytes =
      frame.width > 0 ? static_cast<std::uint64_t>(frame.width) * kBytesPerPixel : 0;
  const std::uint64_t lines = lineBytes != 0 ? length / lineBytes : 0;
  const bool weaveMode = settings.lMode == kModeTwoFrameWeave || settings.lMode == kModeAdaptive;
  // A frame larger than the history cannot be compared with the previous one.
  const bool canWeave = weaveMode && m_history &&
                        lines >= static_cast<std::uint64_t>(kMinWeaveLines) &&
                        length <= kHistoryBytes;
  if (!canWeave) {
    CopyBytes(frame.output, frame.input, length);
    result.grabServed = grab.Serve(frame.input, length);
    return result;
  }

  if (m_kind == InputFormatKind::kYuy2) {
    WeaveJob job;
    job.input = frame.input;
    job.output = frame.output;
    job.history = m_history.get();
    job.lineBytes = static_cast<std::size_t>(lineBytes);
    job.lines = static_cast<std::size_t>(lines);
    job.adaptive = settings.lMode == kModeAdaptive;
    job.lDelta2 = settings.lDelta2;
    job.lDelta3 = settings.lDelta3;
    switch (m_path) {
      case WeavePath::kAvx2:
        WeaveYuy2Avx2(job);
        break;
      case WeavePath::kSse2:
        WeaveYuy2Sse2(job);
        break;
      default:
        WeaveYuy2Reference(job);
        break;
    }
    // Bytes after the last whole line still belong to the picture buffer.
    const std::size_t woven = static_cast<std::size_t>(lines * lineBytes);
    CopyBytes(frame.output + woven, frame.input + woven, length - woven);
    CopyBytes(m_history.get() + woven, frame.input + woven, length - woven);
    result.woven = true;
  } else {
    CopyBytes(frame.output, frame.input, length);
    CopyBytes(m_history.get(), frame.input, length);
  }
  result.historyUpdated = true;
  result.grabServed = grab.Serve(frame.output, length);
  return result;
}

}  // namespace brontel

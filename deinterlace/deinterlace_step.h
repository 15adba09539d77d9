#pragma once
// The per-frame picture step of the kxDIgrab deinterlacer, and the grab and
// frame-information state that kxDIgrab and kxDISnap share. Portable: no
// Windows headers; the DirectShow filters feed it raw sample buffers.
//
// How a filter uses it
//   Settings     DeinterlaceSettings holds lMode, lFilter, lDelta1, lDelta2,
//                lDelta3 (defaults 1110, 1120, 10, 8, 20). The filter keeps its
//                own copy under its settings lock and passes a snapshot (copy it
//                under the lock; it is five integers) to every ProcessFrame call,
//                so one frame never sees half of a SetSettings. Only lMode,
//                lDelta2 and lDelta3 affect the picture.
//   Format kind  Call Deinterlacer::AcceptInputType(kind) when an input type is
//                accepted: InputFormatKind::kYuy2 (2) or kUyvy (1). The first call
//                allocates the 829440-byte history (zero-filled); it returns false
//                only when that allocation fails, in which case the weave modes
//                degrade to pass-through.
//   Per frame    ProcessFrame(frame, settings, grab):
//                  frame.input / frame.dataLength: the input sample's bytes (L);
//                  frame.output / frame.outputCapacity: the output sample buffer
//                    (input and output must not overlap);
//                  frame.width, height, bitsPerPixel: from the input VIDEOINFO
//                    header. A line is 2 * width bytes; the step derives the line
//                    count from the data length, never from height.
//                It writes the output picture, serves a pending grab, updates the
//                history in the weave modes, records the last frame information
//                and returns the number of bytes written to the output: set the
//                output sample's data length to StepResult::outputLength (it is L
//                unless the output buffer is smaller). Copying sample properties
//                (times, flags, media type) is the filter's job.
//   Modes        1110 ByPass, 1112 WEAVE, 1114 1 frame Weave, 1115 BOB and any
//                unknown value: copy. 1111 2 frame Weave (threshold lDelta2) and
//                1113 Adaptive (threshold max(luma >> 3, lDelta3)): motion-adaptive
//                weave of YUY2 frames of 480 lines or more; UYVY is copied, and
//                the history still takes the input frame. Frames under 480 lines,
//                frames larger than the history and a missing history are copied.
//   Grab         GrabState is the shared grab request/done state. The filter's
//                GrabFrame(buffer, value) calls GrabState::Request, its
//                GetGrabStatus reads GrabState::Done. ProcessFrame serves a
//                pending request (value 1) once: from the output picture when it
//                processed the frame in mode 1111 or 1113, otherwise from the
//                input bytes (the same picture then). kxDISnap, which has no
//                picture step, calls GrabState::Serve(sampleBytes, length) itself.
//                The grab buffer must hold the frame's data length (the filter
//                cannot know its size); a null buffer is never written.
//   Frame info   Deinterlacer::LastFrame() (or a LastFrameInfo of the filter's own,
//                for kxDISnap) gives width, height, bits per pixel and data length
//                of the last frame, all -1 before the first one.
// Threads: ProcessFrame runs on the streaming thread; GrabState and LastFrameInfo
// each keep their own lock, so the control interface may read and write them
// from any thread. The grab copy runs under GrabState's lock: a client that
// replaces its request waits for a copy in progress, so a buffer it frees
// afterwards is never written and the done flag never belongs to an older
// request.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace brontel {

// Mode and filter values are the property page's radio button ids.
constexpr std::int32_t kModeByPass = 1110;
constexpr std::int32_t kModeTwoFrameWeave = 1111;
constexpr std::int32_t kModeWeave = 1112;
constexpr std::int32_t kModeAdaptive = 1113;
constexpr std::int32_t kModeOneFrameWeave = 1114;
constexpr std::int32_t kModeBob = 1115;

constexpr std::int32_t kFilterNone = 1120;
constexpr std::int32_t kFilterSharp = 1121;
constexpr std::int32_t kFilterBlur = 1122;

constexpr std::int32_t kDefaultMode = kModeByPass;
constexpr std::int32_t kDefaultFilter = kFilterNone;
constexpr std::int32_t kDefaultDelta1 = 10;
constexpr std::int32_t kDefaultDelta2 = 8;
constexpr std::int32_t kDefaultDelta3 = 20;

// One 720 x 576 frame at 2 bytes per pixel.
constexpr std::size_t kHistoryBytes = 720 * 576 * 2;
// Smaller pictures are never deinterlaced.
constexpr std::int64_t kMinWeaveLines = 480;

enum class InputFormatKind : std::int32_t { kNone = 0, kUyvy = 1, kYuy2 = 2 };

struct DeinterlaceSettings {
  std::int32_t lMode = kDefaultMode;
  std::int32_t lFilter = kDefaultFilter;
  std::int32_t lDelta1 = kDefaultDelta1;
  std::int32_t lDelta2 = kDefaultDelta2;
  std::int32_t lDelta3 = kDefaultDelta3;
};

struct FrameInfo {
  std::int32_t width = -1;
  std::int32_t height = -1;
  std::int32_t bitsPerPixel = -1;
  std::int32_t dataLength = -1;
};

// Last frame information, written by the streaming thread and read by
// GetFrameInfo from any thread, always as the four values of one frame.
class LastFrameInfo {
 public:
  void Store(const FrameInfo& info);
  FrameInfo Load() const;

 private:
  mutable std::mutex m_mutex;
  FrameInfo m_info;
};

// The grab request flag, the client's buffer and the done flag.
class GrabState {
 public:
  static constexpr std::int32_t kRequestGrab = 1;

  // GrabFrame: stores the buffer and the request value; a request of 1 clears
  // the done flag. Any other value only replaces the two and never copies.
  // Waits for a copy in progress.
  void Request(void* buffer, std::int32_t requestValue);
  // GetGrabStatus: the done flag, 1 once a requested frame has been copied.
  std::int32_t Done() const;
  // Streaming side: when the request flag is 1, clears it, copies length bytes
  // of source into the buffer and sets the done flag. A null buffer clears the
  // request without copying. Returns true when a frame was copied.
  bool Serve(const std::uint8_t* source, std::size_t length);

 private:
  mutable std::mutex m_mutex;
  std::int32_t m_request = 0;
  std::uint8_t* m_buffer = nullptr;
  std::int32_t m_done = 0;
};

struct FrameBuffers {
  const std::uint8_t* input = nullptr;
  std::size_t dataLength = 0;  // the input sample's data length L
  std::uint8_t* output = nullptr;
  std::size_t outputCapacity = 0;
  std::int32_t width = 0;  // pixels
  std::int32_t height = 0;
  std::int32_t bitsPerPixel = 0;
};

struct StepResult {
  std::size_t outputLength = 0;  // bytes written; the output's data length
  bool woven = false;            // the motion-adaptive weave ran
  bool historyUpdated = false;
  bool grabServed = false;
};

// Which weave implementation runs. kAuto (the default) picks the widest vector
// path the CPU runs; the others exist for tests and the benchmark. All give
// the same bytes.
enum class WeavePath { kAuto, kReference, kSse2, kAvx2 };

class Deinterlacer {
 public:
  Deinterlacer();
  ~Deinterlacer();
  Deinterlacer(const Deinterlacer&) = delete;
  Deinterlacer& operator=(const Deinterlacer&) = delete;

  // Records the input format kind and allocates the history on first use.
  // False when the history could not be allocated.
  bool AcceptInputType(InputFormatKind kind);
  InputFormatKind FormatKind() const { return m_kind; }
  bool HasHistory() const { return m_history != nullptr; }
  // The last frame taken into the history (kHistoryBytes); null until the
  // first AcceptInputType.
  const std::uint8_t* History() const { return m_history.get(); }

  StepResult ProcessFrame(const FrameBuffers& frame, const DeinterlaceSettings& settings,
                          GrabState& grab);

  FrameInfo LastFrame() const { return m_lastFrame.Load(); }

  // A path the CPU cannot run falls back to the next narrower one, and in the
  // end to the reference.
  void SetWeavePath(WeavePath path);
  WeavePath ActiveWeavePath() const { return m_path; }

 private:
  std::unique_ptr<std::uint8_t[]> m_history;
  InputFormatKind m_kind = InputFormatKind::kNone;
  LastFrameInfo m_lastFrame;
  WeavePath m_path = WeavePath::kReference;
};

}  // namespace brontel

#pragma once
// The life of one capture opened by command 500: what each requested state
// means from the state the capture is in. Portable: the Windows side applies
// the action to its graph and commits it only when that worked.

#include <cstdint>
#include <string>

namespace virtualboard {

enum class CaptureKind : uint32_t { kRecord = 0, kPlayback = 1, kTimeShift = 2 };

// The states the program asks for.
constexpr uint32_t kCaptureStop = 0;
constexpr uint32_t kCaptureRun = 1;
constexpr uint32_t kCapturePause = 2;
constexpr uint32_t kCaptureContinue = 3;

enum class RunState { kStopped, kRunning, kPaused };

enum class SessionAction {
  kNone,        // already there: nothing to do, success
  kStart,       // build and run the graph from the start of the file
  kStop,        // stop and release the graph, closing the file
  kPause,       // hold the picture (playback, time-shift)
  kResume,      // go on from where it was paused
  kSwitchFile,  // go on, without a gap, in the file set last
  kBadValue,    // a state the protocol does not know
  kNotNow,      // not possible from here: no file, no size, nothing running
};

class CaptureSession {
 public:
  CaptureSession(uint32_t handle, CaptureKind kind);

  uint32_t Handle() const { return m_handle; }
  CaptureKind Kind() const { return m_kind; }
  RunState State() const { return m_state; }
  const std::string& File() const { return m_file; }
  uint64_t BufferBytes() const { return m_bufferBytes; }
  // A file set while the capture runs, waiting for a continue.
  bool FilePending() const { return m_filePending; }

  void SetFile(const std::string& path);
  void SetBufferBytes(uint64_t bytes) { m_bufferBytes = bytes; }

  // What asking for `state` means now; changes nothing.
  SessionAction Plan(uint32_t state) const;
  // Records that the action was carried out.
  void Commit(SessionAction action);

 private:
  uint32_t m_handle;
  CaptureKind m_kind;
  RunState m_state = RunState::kStopped;
  std::string m_file;
  bool m_filePending = false;
  uint64_t m_bufferBytes = 0;
};

}  // namespace virtualboard

#include "outside/virtualboard/capture_session.h"

namespace virtualboard {

CaptureSession::CaptureSession(uint32_t handle, CaptureKind kind)
    : m_handle(handle), m_kind(kind) {}

void CaptureSession::SetFile(const std::string& path) {
  m_file = path;
  // A running capture takes the new file only when told to continue.
  m_filePending = m_state != RunState::kStopped;
}

SessionAction CaptureSession::Plan(uint32_t state) const {
  switch (state) {
    case kCaptureStop:
      return m_state == RunState::kStopped ? SessionAction::kNone : SessionAction::kStop;
    case kCaptureRun:
    case kCaptureContinue:
      if (m_state == RunState::kStopped) {
        if (m_file.empty()) return SessionAction::kNotNow;
        // A recording or a ring buffer without a size would write nothing.
        if (m_kind != CaptureKind::kPlayback && m_bufferBytes == 0) return SessionAction::kNotNow;
        return SessionAction::kStart;
      }
      if (state == kCaptureContinue && m_filePending) return SessionAction::kSwitchFile;
      return m_state == RunState::kPaused ? SessionAction::kResume : SessionAction::kNone;
    case kCapturePause:
      if (m_state == RunState::kPaused) return SessionAction::kNone;
      // A recording cannot hold its picture without a gap in the file.
      if (m_state == RunState::kStopped || m_kind == CaptureKind::kRecord) {
        return SessionAction::kNotNow;
      }
      return SessionAction::kPause;
    default:
      return SessionAction::kBadValue;
  }
}

void CaptureSession::Commit(SessionAction action) {
  switch (action) {
    case SessionAction::kStart:
    case SessionAction::kResume:
      m_state = RunState::kRunning;
      break;
    case SessionAction::kSwitchFile:
      m_state = RunState::kRunning;
      m_filePending = false;
      break;
    case SessionAction::kStop:
      m_state = RunState::kStopped;
      m_filePending = false;
      break;
    case SessionAction::kPause:
      m_state = RunState::kPaused;
      break;
    default:
      break;
  }
}

}  // namespace virtualboard

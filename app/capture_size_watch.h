#pragma once
// The worker thread that watches the size of an AVI recording, for which the
// board applies no limit, and tells the main window when the file reached
// it (message 0x465, sent synchronously).

#include "win32/windows_include.h"

#include <cstdint>
#include <memory>
#include <string>

#include "win32/handles.h"

namespace brontel {

// wParam of the size watch's 0x465, so the window knows the sender.
constexpr WPARAM kStopFromSizeWatch = 1;

class CSizeWatch {
 public:
  CSizeWatch() = default;
  ~CSizeWatch();
  CSizeWatch(const CSizeWatch&) = delete;
  CSizeWatch& operator=(const CSizeWatch&) = delete;

  // Ends a previous watch, then watches `path` (UTF-8) until it holds
  // `limitBytes` bytes. False when the thread cannot start.
  bool Start(HWND window, const std::string& path, std::int64_t limitBytes);
  // Ends the watch. The thread is asked to leave and waited for, the
  // messages it may be sending meanwhile being answered; one that does not
  // end within a few seconds is ended forcibly. With `fromWatch` (called
  // from the watch's own message) it is only let go, since it ends as soon
  // as that message returns.
  void Stop(bool fromWatch);
  bool Running() const { return static_cast<bool>(hSizeWatch); }

 private:
  struct Job;
  static DWORD WINAPI ThreadMain(void* param);

  // The thread's handle, or empty.
  UniqueHandle hSizeWatch;
  std::shared_ptr<Job> m_job;
};

}  // namespace brontel

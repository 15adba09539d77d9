#include "app/capture_size_watch.h"

#include "app/vocabulary/message_ids.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

// The watch polls instead of reading the size back to back.
constexpr DWORD kPollMs = 250;
// How long Stop waits for the thread before it ends it forcibly.
constexpr DWORD kStopWaitMs = 5000;

}  // namespace

struct CSizeWatch::Job {
  HWND window = nullptr;
  std::wstring path;
  std::int64_t limitBytes = 0;
  UniqueHandle stop;
};

CSizeWatch::~CSizeWatch() {
  Stop(false);
}

bool CSizeWatch::Start(HWND window, const std::string& path, std::int64_t limitBytes) {
  Stop(false);
  auto job = std::make_shared<Job>();
  job->window = window;
  job->path = Widen(path);
  job->limitBytes = limitBytes;
  job->stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!job->stop) return false;
  // The thread holds its own reference, so a watch that was let go still
  // has its job.
  auto* threadRef = new std::shared_ptr<Job>(job);
  HANDLE thread = CreateThread(nullptr, 0, ThreadMain, threadRef, 0, nullptr);
  if (thread == nullptr) {
    delete threadRef;
    return false;
  }
  hSizeWatch.Reset(thread);
  m_job = std::move(job);
  return true;
}

void CSizeWatch::Stop(bool fromWatch) {
  if (!hSizeWatch) return;
  SetEvent(m_job->stop.Get());
  if (!fromWatch) {
    HANDLE thread = hSizeWatch.Get();
    const DWORD start = GetTickCount();
    for (;;) {
      const DWORD spent = GetTickCount() - start;
      const DWORD woke =
          spent >= kStopWaitMs
              ? WAIT_TIMEOUT
              : MsgWaitForMultipleObjects(1, &thread, FALSE, kStopWaitMs - spent, QS_SENDMESSAGE);
      if (woke == WAIT_OBJECT_0) break;
      if (woke == WAIT_OBJECT_0 + 1) {
        // The thread may be sending its message right now: peeking answers
        // it, so that the thread can leave.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        continue;
      }
      TerminateThread(thread, 1);
      break;
    }
  }
  hSizeWatch.Reset();
  m_job.reset();
}

DWORD WINAPI CSizeWatch::ThreadMain(void* param) {
  std::unique_ptr<std::shared_ptr<Job>> ref(static_cast<std::shared_ptr<Job>*>(param));
  const Job& job = **ref;
  UniqueHandle file;
  // The board creates the file a moment after the recording starts.
  while (!file) {
    HANDLE opened = CreateFileW(job.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened != INVALID_HANDLE_VALUE) {
      file.Reset(opened);
      break;
    }
    if (WaitForSingleObject(job.stop.Get(), kPollMs) != WAIT_TIMEOUT) return 0;
  }
  for (;;) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart >= job.limitBytes) break;
    if (WaitForSingleObject(job.stop.Get(), kPollMs) != WAIT_TIMEOUT) return 0;
  }
  file.Reset();
  SendMessageW(job.window, kMsgStopMedia, kStopFromSizeWatch, 0);
  return 0;
}

}  // namespace brontel

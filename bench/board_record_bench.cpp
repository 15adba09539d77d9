// CPU cost of a 720x480 recording on the virtual board under Wine: the
// program's Normal preset recorded through the registered manager, with the
// board's picture window drawing alongside, for a given time (default 120 s).
// Records twice, side by side in one run: with neutral colour and with the
// program's own defaults for TV (contrast 53), which the board applies to
// every pixel it draws. Prints, for each, the share of one core used per
// second of recording and the pictures dropped: those the media time called
// for that the source did not send. Run: build/win32/wine-exec.sh build/win32/bin/board_record_bench.exe [seconds]
// from build/win32/bin, after scripts/install-product.sh.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "apimgr/kx_interfaces.h"

namespace {

const uint32_t kNormal[27] = {12,      3,       0,       4000000, 4,        10, 2, 2, 0,
                              1,       6,       48000,   4,       8,        3,  2, 5, 4,
                              6000000, 4000000, 5000000, 4000000, 10000000, 0,  0, 6, 0};
constexpr double kFramesPerSecond = 30000.0 / 1001.0;
constexpr char kJournal[] = "board_bench_journal.txt";
constexpr char kFile[] = "board_bench.mpg";

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

long PicturesSent() {
  std::ifstream journal(kJournal);
  std::string line;
  long pictures = -1;
  const std::string prefix = "board graph stopped pictures=";
  while (std::getline(journal, line)) {
    if (line.rfind(prefix, 0) == 0) pictures = std::atol(line.c_str() + prefix.size());
  }
  return pictures;
}

struct Run {
  const char* name;
  LONG contrast;
};

constexpr LONG kPropertyContrast = 1;

bool RecordOnce(IKXCapture* capture, IKXVideo* video, BoardEntry* entries, HWND host,
                const Run& run, int seconds) {
  // The journal's last "stopped" line is this run's.
  video->SetVideoProperty(entries, kPropertyContrast, run.contrast);
  uint32_t handle = 0;
  uint32_t record[6] = {0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)),   1, 0,
                        0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&handle))};
  if (capture->OpenCapture(entries, record) != S_OK ||
      capture->SetCaptureFile(entries, handle, kFile) != S_OK ||
      capture->SetEncoderParams(entries, handle, 0,
                                static_cast<LONG>(reinterpret_cast<uintptr_t>(kNormal))) != S_OK ||
      capture->SetBufferSize(entries, handle, 4000) != S_OK) {
    std::printf("the capture did not open\n");
    return false;
  }
  const double cpuBefore = CpuSeconds();
  capture->SetCaptureState(entries, handle, 1);
  LONG r1 = 0, r2 = 0, recordedMs = 0, r4 = 0;
  do {
    Pump(500);
    capture->GetCaptureValues(entries, handle, 1, &r1, &r2, &recordedMs, &r4);
  } while (recordedMs < seconds * 1000);
  capture->SetCaptureState(entries, handle, 0);
  const double cpu = CpuSeconds() - cpuBefore;
  capture->CloseCapture(entries, handle);

  const long sent = PicturesSent();
  const long expected = static_cast<long>(recordedMs / 1000.0 * kFramesPerSecond);
  std::printf(
      "%s: recorded %.1f s: CPU %.1f s, %.0f%% of one core; pictures sent %ld of %ld, "
      "dropped %ld\n",
      run.name, recordedMs / 1000.0, cpu, 100.0 * cpu / (recordedMs / 1000.0), sent, expected,
      expected > sent ? expected - sent : 0);
  DeleteFileA(kFile);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 120;
  DeleteFileA(kJournal);
  SetEnvironmentVariableA("KXTVA_JOURNAL", kJournal);
  CoInitialize(nullptr);
  HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 720, 480,
                              nullptr, nullptr, nullptr, nullptr);
  IKXBoard* board = nullptr;
  IKXCapture* capture = nullptr;
  IKXTuner* tuner = nullptr;
  if (FAILED(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                              reinterpret_cast<void**>(&board)))) {
    std::printf("KXApiMgr.dll is not registered\n");
    return 1;
  }
  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries,
                        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entries))};
  board->OpenBoard(7, 0, &list);
  board->QueryInterface(IID_IKXCapture, reinterpret_cast<void**>(&capture));
  board->QueryInterface(IID_IKXTuner, reinterpret_cast<void**>(&tuner));
  board->CreateVideoWindow(entries, host, "bench", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 720, 480);
  tuner->SetChannel(entries, 4);

  IKXVideo* video = nullptr;
  board->QueryInterface(IID_IKXVideo, reinterpret_cast<void**>(&video));
  const Run runs[] = {{"neutral colour", 50}, {"program defaults (contrast 53)", 53}};
  for (const Run& run : runs) {
    if (!RecordOnce(capture, video, entries, host, run, seconds)) return 1;
  }
  video->Release();
  tuner->Release();
  capture->Release();
  board->DestroyVideoWindow(entries);
  board->CloseBoard(entries);
  board->Release();
  DestroyWindow(host);
  CoUninitialize();
  return 0;
}

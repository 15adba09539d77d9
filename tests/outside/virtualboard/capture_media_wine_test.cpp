// The virtual board's captures as the main program drives them: through the
// registered KXApiMgr.dll, IKXCapture and IKXSnapshot. The files written go
// to the working folder, with the board journal board_media_journal.txt;
// check_board_media.sh judges them on the host with ffprobe and ffmpeg.

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "apimgr/kx_interfaces.h"
#include "support/board_journal_win.h"

namespace {

constexpr LONG kRecord = 0;
constexpr LONG kPlayback = 1;
constexpr LONG kTimeShift = 2;
constexpr LONG kStop = 0, kRun = 1, kPause = 2, kContinue = 3;
constexpr uint16_t kStationChannel = 4;  // carries a station on the built-in plan
constexpr uint16_t kNoiseChannel = 5;    // carries none: snow, which fills a file fast

// The program's Normal preset with 48 kHz sound.
const uint32_t kNormal[27] = {12,      3,       0,       4000000, 4,        10, 2, 2, 0,
                              1,       6,       48000,   4,       8,        3,  2, 5, 4,
                              6000000, 4000000, 5000000, 4000000, 10000000, 0,  0, 6, 0};

// A time-shift record at a constant 8 Mbit/s, so that the ring fills soon.
uint32_t kFastShift[27] = {12, 3, 0, 8000000, 4, 10, 2, 2, 0,        1, 6, 48000, 4, 8,
                           3,  1, 0, 0,       0, 0,  0, 0, 10000000, 0, 0, 6,     0};

struct Times {
  LONG play = 0, end = 0, written = 0, capacity = 0;
};

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
};
const ::testing::Environment* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// The journal outlives the tests, for the host's check.
brontel::test_support::BoardJournal& Journal() {
  static const bool fresh = DeleteFileW(L"board_media_journal.txt") || true;
  static brontel::test_support::BoardJournal journal(L"board_media_journal.txt");
  (void)fresh;
  return journal;
}

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

class BoardCapture : public ::testing::Test {
 protected:
  void Tune(uint16_t channel) {
    IKXTuner* tuner = nullptr;
    ASSERT_EQ(board->QueryInterface(IID_IKXTuner, reinterpret_cast<void**>(&tuner)), S_OK);
    EXPECT_EQ(tuner->SetChannel(entries, channel), S_OK);
    tuner->Release();
  }
  void SetUp() override {
    Journal();
    host = CreateWindowExW(0, L"STATIC", L"capture host", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                               reinterpret_cast<void**>(&board)),
              S_OK);
    BoardListInfo list = {sizeof entries,
                          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entries))};
    ASSERT_EQ(board->OpenBoard(7, 0, &list), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXCapture, reinterpret_cast<void**>(&capture)), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXSnapshot, reinterpret_cast<void**>(&snapshot)), S_OK);
    ASSERT_EQ(board->CreateVideoWindow(entries, host, "Brontel Video", WS_CHILD | WS_VISIBLE, 0, 0,
                                       0, 0, 640, 480),
              S_OK);
    Tune(kStationChannel);
  }
  void TearDown() override {
    if (handle) capture->CloseCapture(entries, handle);
    if (snapshot) snapshot->Release();
    if (capture) capture->Release();
    if (board) {
      board->DestroyVideoWindow(entries);
      board->CloseBoard(entries);
      board->Release();
    }
    if (host) DestroyWindow(host);
  }

  // OpenCapture as the program sends it: kind, video window, overlay flag,
  // picture-in-picture window, 0, where the handle goes.
  bool Open(LONG kind, HWND pip = nullptr) {
    handle = 0;
    uint32_t record[6] = {static_cast<uint32_t>(kind),
                          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)),
                          1,
                          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pip)),
                          0,
                          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&handle))};
    return capture->OpenCapture(entries, record) == S_OK && handle != 0;
  }
  bool StartWriting(LONG kind, const char* file, LONG megabytes, const uint32_t* params = kNormal) {
    return Open(kind) && capture->SetCaptureFile(entries, handle, file) == S_OK &&
           capture->SetEncoderParams(entries, handle, 0,
                                     static_cast<LONG>(reinterpret_cast<uintptr_t>(params))) ==
               S_OK &&
           capture->SetBufferSize(entries, handle, megabytes) == S_OK &&
           capture->SetCaptureState(entries, handle, kRun) == S_OK;
  }
  Times Read() {
    Times t;
    EXPECT_EQ(
        capture->GetCaptureValues(entries, handle, 1, &t.play, &t.end, &t.written, &t.capacity),
        S_OK);
    return t;
  }
  // Waits, pumping messages, until `done` holds for the times; the limit
  // is generous because a loaded machine slows the graphs, not the media.
  template <typename Done>
  bool WaitFor(Done done, DWORD limitMs, Times* last = nullptr) {
    const DWORD until = GetTickCount() + limitMs;
    for (;;) {
      const Times t = Read();
      if (last) *last = t;
      if (done(t)) return true;
      if (static_cast<LONG>(until - GetTickCount()) <= 0) return false;
      Pump(100);
    }
  }
  void Close() {
    EXPECT_EQ(capture->SetCaptureState(entries, handle, kStop), S_OK);
    EXPECT_EQ(capture->CloseCapture(entries, handle), S_OK);
    handle = 0;
  }

  HWND host = nullptr;
  IKXBoard* board = nullptr;
  IKXCapture* capture = nullptr;
  IKXSnapshot* snapshot = nullptr;
  BoardEntry entries[10] = {};
  uint32_t handle = 0;
};

TEST_F(BoardCapture, RecordsTenSecondsThenPlaysTheFileBack) {
  DeleteFileA("board_record.mpg");
  ASSERT_TRUE(StartWriting(kRecord, "board_record.mpg", 4000));
  // The recorded time follows the media: about one second a second.
  Times t;
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 2000; }, 30000, &t));
  const DWORD wallStart = GetTickCount();
  const LONG writtenStart = t.written;
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 10000; }, 60000, &t));
  const double rate = (t.written - writtenStart) / static_cast<double>(GetTickCount() - wallStart);
  EXPECT_GT(rate, 0.6) << "recorded milliseconds per wall millisecond";
  EXPECT_LT(rate, 1.4);
  // 4000 MB at the Normal preset's 4.224 Mbit/s.
  EXPECT_NEAR(t.capacity, 7943757, 1000);
  LONG bytes[2] = {};
  EXPECT_EQ(capture->GetCapturePosition(entries, handle, bytes), S_OK);
  const LONG recorded = t.written;
  Close();
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExA("board_record.mpg", GetFileExInfoStandard, &file));
  EXPECT_GT(bytes[0], 100000);
  EXPECT_LE(static_cast<DWORD>(bytes[0]), file.nFileSizeLow) << "the bytes written so far";
  std::printf("recorded %ld ms\n", recorded);

  ASSERT_TRUE(Open(kPlayback));
  ASSERT_EQ(capture->SetCaptureFile(entries, handle, "board_record.mpg"), S_OK);
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kRun), S_OK);
  t = Read();
  EXPECT_NEAR(t.end, recorded, 500) << "the file's end is its duration";
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kPause), S_OK);
  ASSERT_EQ(capture->SetCaptureValue(entries, handle, 1, t.end / 2), S_OK);
  EXPECT_NEAR(Read().play, t.end / 2, 300) << "a seek to the middle, paused";
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kRun), S_OK);
  ASSERT_EQ(capture->SetCaptureValue(entries, handle, 1, t.end - 1500), S_OK);
  EXPECT_TRUE(WaitFor([](const Times& t) { return t.play == t.end; }, 20000, &t))
      << "at the end the position is the end: " << t.play << " of " << t.end;
  Close();
}

TEST_F(BoardCapture, ContinueInANewFileMakesTwoParts) {
  DeleteFileA("board_part_(1).mpg");
  DeleteFileA("board_part_(2).mpg");
  ASSERT_TRUE(StartWriting(kRecord, "board_part_(1).mpg", 4000));
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 4000; }, 40000));
  ASSERT_EQ(capture->SetCaptureFile(entries, handle, "board_part_(2).mpg"), S_OK);
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kContinue), S_OK);
  Times t;
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 3000; }, 40000, &t))
      << "the second part counts its own time: " << t.written;
  Close();
}

// The radio's preset: every field 0 but the MPEG type.
uint32_t kWma[27] = {0, 0, 170};

TEST_F(BoardCapture, RadioRecordsItsSoundToAnAsfFile) {
  DeleteFileA("board_radio.wma");
  IKXTuner* tuner = nullptr;
  ASSERT_EQ(board->QueryInterface(IID_IKXTuner, reinterpret_cast<void**>(&tuner)), S_OK);
  EXPECT_EQ(tuner->SetTunerMode(entries, 1), S_OK);
  EXPECT_EQ(tuner->SetFrequency(entries, 80000000), S_OK);
  tuner->Release();
  ASSERT_TRUE(StartWriting(kRecord, "board_radio.wma", 100, kWma));
  Times t;
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 3000; }, 30000, &t));
  Close();
}

TEST_F(BoardCapture, TimeShiftRingKeepsItsSizeWhileTheViewerTrails) {
  DeleteFileA("board_shift.mpg");
  constexpr LONG kMegabytes = 16;
  Tune(kNoiseChannel);
  ASSERT_TRUE(StartWriting(kTimeShift, "board_shift.mpg", kMegabytes, kFastShift));
  Times t;
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 2000; }, 30000, &t));
  // The viewer shows what the writer has put in the file: live, give or
  // take the packs still on their way.
  EXPECT_NEAR(t.play, t.written, 1500) << "live: the newest picture";
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kPause), S_OK);
  // The picture on its way to the window when the pause came still lands.
  Pump(200);
  const LONG pausedAt = Read().play;
  ASSERT_TRUE(WaitFor([&](const Times& t) { return t.written >= pausedAt + 3000; }, 30000, &t));
  EXPECT_EQ(t.play, pausedAt) << "paused, the picture holds while recording goes on";
  ASSERT_EQ(capture->SetCaptureState(entries, handle, kRun), S_OK);
  t = Read();
  EXPECT_NEAR(t.written - t.play, 3000, 1200) << "resumed, it trails by the pause";

  // Past the first lap the ring still has its size and the times go on.
  WIN32_FILE_ATTRIBUTE_DATA file{};
  const DWORD ringBytes = static_cast<DWORD>(kMegabytes) << 20;
  ASSERT_TRUE(WaitFor(
      [&](const Times& t) {
        return GetFileAttributesExA("board_shift.mpg", GetFileExInfoStandard, &file) &&
               file.nFileSizeLow == ringBytes && t.written > t.capacity + 2000;
      },
      150000, &t))
      << t.written << " of " << t.capacity << ", file " << file.nFileSizeLow;
  // The program's "oldest": the write position plus a margin, within a lap.
  const LONG length = t.capacity;
  const LONG oldest = (t.written % length + 8000) % length;
  ASSERT_EQ(capture->SetCaptureValue(entries, handle, 1, oldest), S_OK);
  const Times after = Read();
  EXPECT_NEAR(after.play, after.written - length + 8000, 1500)
      << "the oldest pictures the ring holds";
  ASSERT_TRUE(GetFileAttributesExA("board_shift.mpg", GetFileExInfoStandard, &file));
  EXPECT_EQ(file.nFileSizeLow, ringBytes) << "the ring never grows";
  EXPECT_TRUE(WaitFor([&](const Times& t) { return t.play > after.play + 1000; }, 20000))
      << "and plays on from there";
  Close();
}

double MeanBmpBrightness(const char* path, LONG* width, LONG* height) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (read < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B') return -1;
  const auto* header = reinterpret_cast<const BITMAPFILEHEADER*>(bytes.data());
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + sizeof *header);
  *width = info->biWidth;
  *height = info->biHeight;
  double sum = 0;
  for (size_t i = header->bfOffBits; i < bytes.size(); ++i) sum += static_cast<uint8_t>(bytes[i]);
  return sum / (bytes.size() - header->bfOffBits);
}

LONG FileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExA(path, GetFileExInfoStandard, &data) ? data.nFileSizeLow : -1;
}

TEST_F(BoardCapture, SnapshotsAreWrittenAtTheSizeAndQualityAsked) {
  auto take = [&](const char* path, LONG width, LONG height, LONG format, LONG quality) {
    DeleteFileA(path);
    return snapshot->TakeSnapshot(entries, static_cast<LONG>(reinterpret_cast<uintptr_t>(path)),
                                  width, height, format, quality);
  };
  ASSERT_EQ(take("board_snap.bmp", 640, 480, 2, 0), S_OK) << "live, without a recording";
  LONG width = 0, height = 0;
  EXPECT_GT(MeanBmpBrightness("board_snap.bmp", &width, &height), 30.0) << "the station, not black";
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  ASSERT_TRUE(StartWriting(kRecord, "board_snap_rec.mpg", 100));
  ASSERT_TRUE(WaitFor([](const Times& t) { return t.written >= 500; }, 30000));
  ASSERT_EQ(take("board_snap_fine.jpg", 320, 240, 1, 95), S_OK) << "from the recording's graph";
  ASSERT_EQ(take("board_snap_coarse.jpg", 320, 240, 1, 10), S_OK);
  Close();
  DeleteFileA("board_snap_rec.mpg");
  EXPECT_LT(FileSize("board_snap_coarse.jpg"), FileSize("board_snap_fine.jpg"))
      << "a lower quality gives a smaller file";
  EXPECT_EQ(take("Z:\\no\\such\\folder\\s.bmp", 640, 480, 2, 0), E_FAIL);
  EXPECT_EQ(GetFileAttributesA("Z:\\no\\such\\folder\\s.bmp"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BoardCapture, ClosedOrUnknownHandlesFailAndNothingRecordsWithoutAFolder) {
  ASSERT_TRUE(Open(kRecord));
  const uint32_t closed = handle;
  Close();
  Times t;
  EXPECT_EQ(capture->SetCaptureState(entries, closed, kRun), E_FAIL);
  EXPECT_EQ(capture->GetCaptureValues(entries, closed, 1, &t.play, &t.end, &t.written, &t.capacity),
            E_FAIL);
  EXPECT_EQ(capture->CloseCapture(entries, closed), E_FAIL);
  EXPECT_FALSE(StartWriting(kRecord, "Z:\\no\\such\\folder\\x.mpg", 100));
  EXPECT_EQ(GetFileAttributesA("Z:\\no\\such\\folder\\x.mpg"), INVALID_FILE_ATTRIBUTES);
}

struct Counts {
  DWORD handles = 0, gdi = 0;
  SIZE_T memory = 0;
  // The value a new handle gets: it climbs when handles leak, also where the
  // handle count itself is not kept (Wine reports 0).
  UINT_PTR nextHandle = 0;
};

Counts Measure() {
  Counts c;
  GetProcessHandleCount(GetCurrentProcess(), &c.handles);
  HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  c.nextHandle = reinterpret_cast<UINT_PTR>(probe);
  CloseHandle(probe);
  c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  c.memory = memory.PagefileUsage;
  return c;
}

TEST_F(BoardCapture, RepeatedRecordingsLeaveTheCountsFlat) {
  constexpr int kWarmUp = 5;
  constexpr int kCycles = 200;
  Counts before;
  for (int cycle = 0; cycle < kWarmUp + kCycles; ++cycle) {
    if (cycle == kWarmUp) before = Measure();
    ASSERT_TRUE(StartWriting(kRecord, "board_cycles.mpg", 16)) << cycle;
    Close();
  }
  const Counts after = Measure();
  std::printf(
      "after %d cycles: handles %lu -> %lu, next handle %#lx -> %#lx, GDI %lu -> %lu, "
      "memory %lu -> %lu\n",
      kCycles, before.handles, after.handles, static_cast<unsigned long>(before.nextHandle),
      static_cast<unsigned long>(after.nextHandle), before.gdi, after.gdi,
      static_cast<unsigned long>(before.memory), static_cast<unsigned long>(after.memory));
  // Wine's threads keep a few handle slots depending on timing; one lost per
  // cycle would be 200.
  EXPECT_LE(after.handles, before.handles + 16);
  EXPECT_LE(after.nextHandle, before.nextHandle + 4 * 64);
  EXPECT_LE(after.gdi, before.gdi + 4);
  EXPECT_LE(after.memory, before.memory + 8 * 1024 * 1024);
  DeleteFileA("board_cycles.mpg");
}

}  // namespace

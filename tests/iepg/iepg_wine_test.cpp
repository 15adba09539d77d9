// BrontelIEPG.exe under Wine with the real registry: the test starts the
// program on an iEPG file, works its dialog and message boxes from outside
// and looks at what the program wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "app/settings/registry_store_win.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

constexpr UINT kIepgReserveMessage = 0x464;
constexpr DWORD kWaitMs = 15000;
constexpr int kMessageBoxTextId = 0xFFFF;

const std::string kScheSet = GroupPath(SettingsGroup::kScheSet);
const std::string kTVSet = GroupPath(SettingsGroup::kTVSet);

// Shift_JIS bytes as a Japanese web site sends them.
const char kSjisNtv[] = "\x82\x6d\x82\x73\x82\x75";                    // ＮＴＶ
const char kSjisTitle[] = "\x83\x6a\x83\x85\x81\x5b\x83\x58\x82\x58";  // ニュース９
const wchar_t kWideNtv[] = L"\xFF2E\xFF34\xFF36";
const wchar_t kWideTitle[] = L"\x30CB\x30E5\x30FC\x30B9\xFF19";

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::wstring OutputDir() {
  const std::wstring dir = ExeDir() + L"\\..\\test-output";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

// A date some days ahead, so that the start has not passed.
LocalTimeParts DaysAhead(int days) {
  return SplitLocalDateTime(static_cast<DateTime>(std::time(nullptr)) + days * 86400LL);
}

// The next Saturday at least a week ahead.
LocalTimeParts SaturdayAhead() {
  LocalTimeParts day = DaysAhead(7);
  return DaysAhead(7 + (6 - day.weekday));
}

std::string IepgFile(const std::string& station, const std::string& title,
                     const LocalTimeParts& day, const char* start, const char* end) {
  char date[96];
  std::snprintf(date, sizeof date, "year: %d\r\nmonth: %d\r\ndate: %d\r\n", day.year, day.month,
                day.day);
  return "Content-type: application/x-tv-program-info; charset=shift_jis\r\n"
         "version: 1\r\n"
         "station: " +
         station + "\r\n" + date + "start: " + start + "\r\nend: " + end +
         "\r\nprogram-title: " + title + "\r\n";
}

struct FoundWindow {
  DWORD pid;
  std::wstring title;
  HWND hwnd;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM lParam) {
  auto* find = reinterpret_cast<FoundWindow*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != find->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  if (!find->title.empty() && find->title != title) return TRUE;
  find->hwnd = hwnd;
  return FALSE;
}

// A visible top-level window of the process, by title (any when empty).
HWND ProcessWindow(DWORD pid, const std::wstring& title) {
  FoundWindow find{pid, title, nullptr};
  EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&find));
  return find.hwnd;
}

std::wstring ItemText(HWND dialog, int id) {
  std::vector<wchar_t> text(4096);
  GetDlgItemTextW(dialog, id, text.data(), static_cast<int>(text.size()));
  return text.data();
}

// Registry fixtures and one run of BrontelIEPG.exe.
class IepgWineTest : public testing::Test {
 protected:
  void SetUp() override {
    DeleteRegistryTree(kScheSet);
    DeleteRegistryTree(kTVSet);
    m_store.onCreateKeyFailed = nullptr;
  }

  void TearDown() override {
    if (m_process.hProcess) {
      if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 1);
      }
      CloseHandle(m_process.hProcess);
      CloseHandle(m_process.hThread);
    }
    if (!m_filePath.empty()) DeleteFileW(m_filePath.c_str());
  }

  StoreKey Create(const std::string& path) {
    StoreKey key;
    EXPECT_EQ(CreateSettingsKey(m_store, path, &key), SettingsStore::kOk) << path;
    return key;
  }

  struct Channel {
    std::int32_t lFreqChn;
    std::string szTVStnName;
    std::string szTVPIStnName;  // UTF-8
  };
  void MakeChannels(const std::vector<Channel>& channels) {
    {
      StoreKey group = Create(kTVSet);
      WriteLong(group, "lTVChnCount", static_cast<std::int32_t>(channels.size()));
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
      StoreKey record = Create(kTVSet + "\\" + ChannelRecordName(static_cast<int>(i)));
      WriteLong(record, "lChn", static_cast<std::int32_t>(i + 1));
      WriteLong(record, "lFreqChn", channels[i].lFreqChn);
      WriteReal(record, "dPresetFreq", 91.25);
      WriteText(record, "szTVStnName", channels[i].szTVStnName);
      WriteText(record, "szTVPIStnName", channels[i].szTVPIStnName);
    }
  }

  // ScheSet with `count` entries in use, each on its own far-off day, and
  // all ten records present as the main program creates them.
  void MakeSchedule(int count) {
    {
      StoreKey group = Create(kScheSet);
      WriteLong(group, "lScheItemCount", count);
    }
    for (int i = 0; i < kScheItemCount; ++i) {
      StoreKey record = Create(kScheSet + "\\" + ScheItemRecordName(i));
      ScheItem item;
      if (i < count) {
        const LocalTimeParts day = DaysAhead(200 + i);
        item.lChn = 1;
        item.szChnName = "NHK";
        item.tStartDateTime = MakeLocalDateTime(day.year, day.month, day.day, 6, 0);
        item.tStopDateTime = item.tStartDateTime + 1800;
      }
      WriteScheItem(record, item, true);
    }
  }

  std::string Value(const std::string& path, const std::string& name) {
    const StoreKey key = OpenSettingsKey(m_store, path);
    if (!key) return "<no key>";
    std::string text;
    if (!m_store.QueryString(key.id(), name, &text)) return "<missing>";
    return text;
  }

  void WriteIepgFile(const std::string& bytes) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    m_filePath =
        std::wstring(dir) + L"brontel_iepg_" + std::to_wstring(GetCurrentProcessId()) + L".tvpi";
    HANDLE file = CreateFileW(m_filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  // Starts the handler with `arguments` after its name. It inherits the
  // test's system code page (Shift_JIS when run by ctest).
  void Start(const std::wstring& arguments) {
    const std::wstring exe = ExeDir() + L"\\BrontelIEPG.exe";
    std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &m_process))
        << GetLastError();
  }
  void StartOnFile() { Start(L" " + m_filePath); }

  HWND WaitForWindow(const std::wstring& title) {
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
      if (HWND hwnd = ProcessWindow(m_process.dwProcessId, title)) return hwnd;
      if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
      Sleep(50);
    }
    return nullptr;
  }
  HWND WaitForDialog() { return WaitForWindow(L"Brontel iEPG"); }

  // The text of the next message box, which is then closed with OK.
  std::wstring AnswerMessageBox(const std::wstring& caption) {
    HWND box = WaitForWindow(caption);
    if (!box) return L"<no message box>";
    const std::wstring text = ItemText(box, kMessageBoxTextId);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
  }

  void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  void Choose(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

  bool WaitForExit() { return WaitForSingleObject(m_process.hProcess, kWaitMs) == WAIT_OBJECT_0; }

  // Saves the window as it is on the screen as a .bmp file.
  void Screenshot(HWND hwnd, const std::wstring& name) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetForegroundWindow(hwnd);
    Sleep(500);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = ((width * 3) + 3) & ~3u;
    std::vector<char> pixels(stride * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    const std::wstring path = OutputDir() + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, &header, sizeof header, &written, nullptr);
    ::WriteFile(file, &info, sizeof info, &written, nullptr);
    ::WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(file);
  }

  RegistryStore m_store;
  PROCESS_INFORMATION m_process{};
  std::wstring m_filePath;
};

std::string DateText(const LocalTimeParts& day, int hour, int minute) {
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d-%d-%d", day.year, day.month, day.day, hour, minute);
  return text;
}

TEST_F(IepgWineTest, OkAppendsTheEntryWhenTheMainProgramIsNotRunning) {
  MakeChannels({{1, "NHK", "NHK"}, {4, "NTV", Narrow(kWideNtv)}});
  MakeSchedule(2);
  {
    StoreKey record = Create(kScheSet + "\\ScheItem03");
    WriteLong(record, "bCompleted", 1);
    WriteLong(record, "bMultipleCapture", 1);
  }
  const LocalTimeParts day = DaysAhead(20);
  WriteIepgFile(IepgFile(kSjisNtv, kSjisTitle, day, "21:00", "22:30"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1006), kWideNtv);
  EXPECT_EQ(ItemText(dialog, 1012), L"4");
  EXPECT_EQ(ItemText(dialog, 1007), kWideTitle);
  Choose(dialog, 1022);  // high quality
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitForExit());
  EXPECT_EQ(ProcessWindow(m_process.dwProcessId, L"\x30A8\x30E9\x30FC"), nullptr);

  const std::string record = kScheSet + "\\ScheItem03";
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "3");
  EXPECT_EQ(Value(record, "msSrcType"), "0");
  EXPECT_EQ(Value(record, "sfType"), "0");
  EXPECT_EQ(Value(record, "lChn"), "4");
  EXPECT_EQ(Value(record, "szChnName"), Narrow(kWideNtv));
  EXPECT_EQ(Value(record, "szScheDesc"), Narrow(kWideTitle));
  EXPECT_EQ(Value(record, "tStartDateTime"), DateText(day, 21, 0));
  EXPECT_EQ(Value(record, "tStopDateTime"), DateText(day, 22, 30));
  EXPECT_EQ(Value(record, "bOvernight"), "0");
  EXPECT_EQ(Value(record, "lCaptMode"), "2");
  EXPECT_EQ(Value(record, "bCompleted"), "1");
  EXPECT_EQ(Value(record, "bMultipleCapture"), "1");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem04", "szChnName"), "");
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "lChn"), "<no key>");
}

TEST_F(IepgWineTest, FullScheduleShowsMessage123AndWritesNothing) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(10);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  EXPECT_EQ(AnswerMessageBox(L"\x30A8\x30E9\x30FC"),
            L"\x4E88\x7D04\x306E\x8FFD\x52A0\x306F\x3067\x304D\x307E\x305B\x3093\x3002");
  ASSERT_TRUE(WaitForExit());
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "10");
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "lChn"), "<no key>");
}

TEST_F(IepgWineTest, StationMatchingOnlyTheDisplayNameIsRefusedWith124) {
  MakeChannels({{6, "TBS", "TBS-1"}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile("TBS", "Drama", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1012), L"\x306A\x3057");  // なし
  Click(dialog, IDOK);
  EXPECT_EQ(AnswerMessageBox(L"\x30A8\x30E9\x30FC"),
            L"\x7121\x52B9\x306A\x30C6\x30EC\x30D3\x756A\x7D44\x306F\x767B\x9332\x3067\x304D"
            L"\x307E\x305B\x3093\x3002");
  ASSERT_TRUE(WaitForExit());
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem01", "szScheDesc"), "");
}

TEST_F(IepgWineTest, MissingChannelListShowsMessage104) {
  MakeSchedule(0);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  EXPECT_EQ(AnswerMessageBox(L"\x30A8\x30E9\x30FC"),
            L"\x30C1\x30E3\x30F3\x30CD\x30EB\x60C5\x5831\x304C\x898B\x3064\x304B\x308A\x307E"
            L"\x305B\x3093\x3002");
  ASSERT_TRUE(WaitForExit());
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
}

TEST_F(IepgWineTest, UnreadableCountIsTreatedAsMissingSchedule) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(0);
  {
    const StoreKey group = OpenSettingsKey(m_store, kScheSet);
    m_store.DeleteValue(group.id(), "lScheItemCount");
  }
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  EXPECT_EQ(AnswerMessageBox(L"\x30A8\x30E9\x30FC"),
            L"\x30B9\x30B1\x30B8\x30E5\x30FC\x30E9\x306E\x60C5\x5831\x304C\x898B\x3064\x304B"
            L"\x308A\x307E\x305B\x3093\x3002");
  ASSERT_TRUE(WaitForExit());
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "<missing>");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem01", "szScheDesc"), "");
}

TEST_F(IepgWineTest, OverlongLineIsWarnedAndTheRestStillParsed) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(0);
  WriteIepgFile("program-title: " + std::string(2032, 'x') + "\r\nstation: NHK\r\n");
  StartOnFile();
  EXPECT_EQ(AnswerMessageBox(L"Warning !"),
            L"m_pBuffer overflow in line 1 (line length over 2048 chars)");
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1007).size(), 2032u);
  EXPECT_EQ(ItemText(dialog, 1012), L"1");
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForExit());
}

TEST_F(IepgWineTest, EmptyCommandLineEndsWithoutAWindow) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(0);
  for (const wchar_t* arguments : {L"", L"   "}) {
    Start(arguments);
    bool sawWindow = false;
    DWORD waited = 0;
    while (WaitForSingleObject(m_process.hProcess, 20) == WAIT_TIMEOUT && waited < kWaitMs) {
      waited += 20;
      sawWindow = sawWindow || ProcessWindow(m_process.dwProcessId, L"") != nullptr;
    }
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(sawWindow);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = PROCESS_INFORMATION{};
  }
}

TEST_F(IepgWineTest, FileOpenForWritingElsewhereGivesEmptyFields) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  HANDLE writer = CreateFileW(m_filePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, 1006), L"");
  EXPECT_EQ(ItemText(dialog, 1012), L"");
  EXPECT_EQ(ItemText(dialog, 1008), L"");
  Click(dialog, IDCANCEL);
  EXPECT_TRUE(WaitForExit());
  CloseHandle(writer);
}

TEST_F(IepgWineTest, SystemMenuCommandOpensTheAboutBox) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(0);
  WriteIepgFile(IepgFile("NHK", "News", DaysAhead(20), "21:00", "22:00"));
  StartOnFile();
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  PostMessageW(dialog, WM_SYSCOMMAND, 16, 0);
  // "PellamyIEPGのﾊﾞｰｼﾞｮﾝ情報"
  HWND about =
      WaitForWindow(L"PellamyIEPG\x306E\xFF8A\xFF9E\xFF70\xFF7C\xFF9E\xFF6E\xFF9D\x60C5\x5831");
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(50);
  EXPECT_FALSE(IsWindow(about));
  Click(dialog, IDCANCEL);
  EXPECT_TRUE(WaitForExit());
}

TEST(IepgProgramFile, VersionRecord) {
  const std::wstring exe = ExeDir() + L"\\BrontelIEPG.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 2814u << 16);
  wchar_t* description = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\FileDescription",
                             reinterpret_cast<void**>(&description), &length));
  EXPECT_EQ(std::wstring(description), L"Brontel iEPG");
}

// Stands in for the main program: a dialog-class window titled "Brontel"
// on a thread of its own, which reads "ScheItemTemp" while it handles the
// hand-over message, as the main program does.
struct HandOverWindow {
  HANDLE ready = nullptr;
  HWND hwnd = nullptr;
  DWORD threadId = 0;
  HANDLE handlerProcess = nullptr;
  std::atomic<int> messages{0};
  WPARAM wParam = 1;
  LPARAM lParam = 1;
  bool senderWaiting = false;
  std::string lChn, szChnName, tStartDateTime, sfType;
};
HandOverWindow* g_handOver = nullptr;

INT_PTR CALLBACK HandOverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kIepgReserveMessage) return message == WM_INITDIALOG;
  HandOverWindow& w = *g_handOver;
  w.wParam = wParam;
  w.lParam = lParam;
  RegistryStore store;
  const StoreKey key = OpenSettingsKey(store, kScheSet + "\\ScheItemTemp");
  if (key) {
    store.QueryString(key.id(), "lChn", &w.lChn);
    store.QueryString(key.id(), "szChnName", &w.szChnName);
    store.QueryString(key.id(), "tStartDateTime", &w.tStartDateTime);
    store.QueryString(key.id(), "sfType", &w.sfType);
  }
  // A synchronous send keeps the handler waiting while we take our time.
  Sleep(300);
  w.senderWaiting = WaitForSingleObject(w.handlerProcess, 0) == WAIT_TIMEOUT;
  ++w.messages;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
  return TRUE;
}

DWORD WINAPI HandOverThread(void*) {
  // A dialog template with no controls: style, counts, position, then an
  // empty menu and class and the title.
  std::vector<WORD> tmpl(64, 0);
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
  dlg->style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dlg->cx = 120;
  dlg->cy = 40;
  WORD* p = reinterpret_cast<WORD*>(dlg + 1);
  *p++ = 0;  // menu
  *p++ = 0;  // class
  for (const wchar_t* c = L"Brontel"; *c; ++c) *p++ = static_cast<WORD>(*c);
  *p++ = 0;
  g_handOver->hwnd =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dlg, nullptr, HandOverProc, 0);
  ShowWindow(g_handOver->hwnd, SW_SHOWNOACTIVATE);
  SetEvent(g_handOver->ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(g_handOver->hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  DestroyWindow(g_handOver->hwnd);
  return 0;
}

TEST_F(IepgWineTest, RunningMainProgramGetsTheEntryThroughScheItemTemp) {
  MakeChannels({{1, "NHK", "NHK"}});
  MakeSchedule(1);
  HandOverWindow window;
  g_handOver = &window;
  window.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, HandOverThread, nullptr, 0, &window.threadId);
  ASSERT_EQ(WaitForSingleObject(window.ready, kWaitMs), WAIT_OBJECT_0);
  ASSERT_EQ(FindWindowW(L"#32770", L"Brontel"), window.hwnd);

  // Unknown station, and a start in the past: the main program checks.
  const LocalTimeParts day = DaysAhead(-3);
  WriteIepgFile(IepgFile("Unknown TV", "Old news", day, "07:00", "07:30"));
  StartOnFile();
  window.handlerProcess = m_process.hProcess;
  HWND dialog = WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, 1002);  // daily
  Click(dialog, IDOK);
  EXPECT_TRUE(WaitForExit());

  PostThreadMessageW(window.threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, kWaitMs);
  CloseHandle(thread);
  CloseHandle(window.ready);
  g_handOver = nullptr;

  EXPECT_EQ(window.messages.load(), 1);
  EXPECT_EQ(window.wParam, 0u);
  EXPECT_EQ(window.lParam, 0);
  EXPECT_TRUE(window.senderWaiting);
  EXPECT_EQ(window.lChn, "4294967295");
  EXPECT_EQ(window.szChnName, "Unknown TV");
  EXPECT_EQ(window.sfType, "2");
  EXPECT_EQ(window.tStartDateTime, DateText(day, 7, 0));
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "szScheDesc"), "Old news");
  // The main program owns the schedule: the handler leaves it alone.
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "1");
  EXPECT_EQ(Value(kScheSet + "\\ScheItem02", "szScheDesc"), "");
}

TEST_F(IepgWineTest, ReservationDialogScreenshots) {
  MakeChannels({{4, "NTV", Narrow(kWideNtv)}});
  MakeSchedule(0);
  {
    WriteIepgFile(IepgFile(kSjisNtv, kSjisTitle, DaysAhead(20), "21:00", "21:54"));
    StartOnFile();
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, 1012), L"4");
    Screenshot(dialog, L"iepg_reserve_once.bmp");
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitForExit());
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = PROCESS_INFORMATION{};
  }
  {
    WriteIepgFile(IepgFile(kSjisNtv, kSjisTitle, SaturdayAhead(), "23:00", "01:00"));
    StartOnFile();
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    Choose(dialog, 1001);                                            // weekly
    EXPECT_EQ(ItemText(dialog, 1008), L"\x6BCE\x571F\x66DC\x65E5");  // 毎土曜日
    EXPECT_EQ(ItemText(dialog, 1010),
              L"\x6BCE\x65E5\x66DC\x65E5 (\x6DF1\x591C)");  // 毎日曜日 (深夜)
    Screenshot(dialog, L"iepg_reserve_weekly_overnight.bmp");
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitForExit());
  }
  // Cancel writes nothing.
  EXPECT_EQ(Value(kScheSet, "lScheItemCount"), "0");
  EXPECT_EQ(Value(kScheSet + "\\ScheItemTemp", "lChn"), "<no key>");
}

}  // namespace
}  // namespace brontel

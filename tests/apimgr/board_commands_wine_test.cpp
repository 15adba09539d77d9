// Every operation of the seven interfaces against the virtual board: the
// journal line it leaves is the command, direction and block the manager
// sent. This table is the reference for the board protocol.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

#include "apimgr/kx_interfaces.h"
#include "apimgr/wine_test_support.h"

namespace {

using apimgr_test::HexValue;
using apimgr_test::JournalFile;

class CountingSink : public IKXEventSink {
 public:
  void OnBoardEvent(LONG code) override {
    lastCode = code;
    ++calls;
  }
  LONG lastCode = 0;
  int calls = 0;
};

class BoardFixture : public ::testing::Test {
 public:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                               reinterpret_cast<void**>(&board)),
              S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXAudio, reinterpret_cast<void**>(&audio)), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXVideo, reinterpret_cast<void**>(&video)), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXSnapshot, reinterpret_cast<void**>(&snapshot)), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXTuner, reinterpret_cast<void**>(&tuner)), S_OK);
    ASSERT_EQ(board->QueryInterface(IID_IKXCapture, reinterpret_cast<void**>(&capture)), S_OK);
    std::memset(entries, 0, sizeof entries);
    list.cbEntries = sizeof entries;
    list.pEntries = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entries));
    ASSERT_EQ(board->OpenBoard(7, 0, &list), S_OK);
    host = apimgr_test::CreateHostWindow(L"Board test", 320, 240);
    ASSERT_NE(host, nullptr);
  }

  void TearDown() override {
    if (capture) capture->Release();
    if (tuner) tuner->Release();
    if (snapshot) snapshot->Release();
    if (video) video->Release();
    if (audio) audio->Release();
    if (board) {
      board->DestroyVideoWindow(entries);
      board->CloseBoard(entries);
      board->Release();
    }
    if (host) DestroyWindow(host);
    CoUninitialize();
  }

  HRESULT CreatePicture() {
    return board->CreateVideoWindow(entries, host, "Pellamy Screen", 0x50000000, 1, 0, 0, 0, 320,
                                    240);
  }

  JournalFile journal;
  IKXBoard* board = nullptr;
  IKXAudio* audio = nullptr;
  IKXVideo* video = nullptr;
  IKXSnapshot* snapshot = nullptr;
  IKXTuner* tuner = nullptr;
  IKXCapture* capture = nullptr;
  BoardEntry entries[10];
  BoardListInfo list = {};
  HWND host = nullptr;
  CountingSink sink;
};

struct CommandCase {
  const char* operation;
  std::function<HRESULT(BoardFixture&)> call;
  HRESULT expectedResult;
  // The journal line; "" when the manager must not call the board.
  std::function<std::string(BoardFixture&)> expectedLine;
};

std::function<std::string(BoardFixture&)> Line(const char* line) {
  return [line](BoardFixture&) { return std::string(line); };
}

// Scratch results of the read operations.
LONG g_words[8];
SHORT g_shorts[2];
unsigned char g_buffer[64];
char g_path[260];
// What the capture and snapshot commands point the board at.
const uint32_t g_record[27] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                               15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};
const char kSnapshotPath[] = "C:\\snap\\a.bmp";

LONG Address(const void* p) {
  return static_cast<LONG>(reinterpret_cast<uintptr_t>(p));
}
AudioDeviceLists g_lists;
uint32_t g_count;

const CommandCase kCases[] = {
    // IKXBoard
    {"GetBoardCaps", [](BoardFixture& f) { return f.board->GetBoardCaps(f.entries, g_words); },
     S_OK, Line("3 R rc=0 {0,0,0,0,0,0,0}")},
    {"GetVideoSizeLimits",
     [](BoardFixture& f) { return f.board->GetVideoSizeLimits(f.entries, g_words); }, S_OK,
     Line("4 R rc=0 {0,0,0,0}")},
    {"BoardCommand5", [](BoardFixture& f) { return f.board->BoardCommand5(f.entries); }, S_OK,
     Line("5 W rc=0 -")},
    {"SetEventSink",
     [](BoardFixture& f) { return f.board->SetEventSink(f.entries, 2048, &f.sink); }, S_OK,
     Line("6 W rc=0 {2048,&}")},
    {"CreateVideoWindow", [](BoardFixture& f) { return f.CreatePicture(); }, S_OK,
     [](BoardFixture& f) {
       return "1 W rc=0 {parent=" +
              HexValue(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(f.host))) +
              " title=\"Pellamy Screen\" style=0x50000000 p1=1 p2=0 result=0 left=0 top=0 "
              "width=320 height=240}";
     }},
    {"Reserved1", [](BoardFixture& f) { return f.board->Reserved1(f.entries); }, E_NOTIMPL,
     Line("")},
    {"Reserved2", [](BoardFixture& f) { return f.board->Reserved2(f.entries); }, E_NOTIMPL,
     Line("")},
    // IKXAudio
    {"SetAudioConnection",
     [](BoardFixture& f) { return f.audio->SetAudioConnection(f.entries, 2, 0x1234); }, S_OK,
     Line("100 W rc=0 {0x1234,2}")},
    {"SetAudioConnection unlisted type",
     [](BoardFixture& f) { return f.audio->SetAudioConnection(f.entries, 4, 0x1234); }, S_OK,
     Line("100 W rc=0 {0x1234,0}")},
    {"StopAudio", [](BoardFixture& f) { return f.audio->StopAudio(f.entries); }, S_OK,
     Line("101 W rc=0 -")},
    {"SetAudioSource", [](BoardFixture& f) { return f.audio->SetAudioSource(f.entries, 1); }, S_OK,
     Line("102 W rc=0 {1}")},
    {"SetAudioSource unlisted",
     [](BoardFixture& f) { return f.audio->SetAudioSource(f.entries, 4); }, S_OK,
     Line("102 W rc=0 {0}")},
    {"SetVolume", [](BoardFixture& f) { return f.audio->SetVolume(f.entries, 70); }, S_OK,
     Line("103 W rc=0 {70}")},
    {"SetVolume above 100", [](BoardFixture& f) { return f.audio->SetVolume(f.entries, 101); },
     E_FAIL, Line("103 W rc=1 {101}")},
    {"SetAudioLevel", [](BoardFixture& f) { return f.audio->SetAudioLevel(f.entries, 50); }, S_OK,
     Line("104 W rc=0 {50}")},
    {"SetAudioValue105", [](BoardFixture& f) { return f.audio->SetAudioValue105(f.entries, 5); },
     S_OK, Line("105 W rc=0 {5}")},
    {"SetAudioValue106", [](BoardFixture& f) { return f.audio->SetAudioValue106(f.entries, 6); },
     S_OK, Line("106 W rc=0 {6}")},
    {"SetAudioValue107", [](BoardFixture& f) { return f.audio->SetAudioValue107(f.entries, 7); },
     S_OK, Line("107 W rc=0 {7}")},
    {"SetAudioValue109", [](BoardFixture& f) { return f.audio->SetAudioValue109(f.entries, 9); },
     S_OK, Line("109 W rc=0 {9}")},
    {"SetAudioPath", [](BoardFixture& f) { return f.audio->SetAudioPath(f.entries, 5); }, S_OK,
     Line("108 W rc=0 {5}")},
    {"SetAudioPath unlisted", [](BoardFixture& f) { return f.audio->SetAudioPath(f.entries, 7); },
     S_OK, Line("108 W rc=0 {0}")},
    {"SetAudioMode mono", [](BoardFixture& f) { return f.audio->SetAudioMode(f.entries, 1); }, S_OK,
     Line("110 W rc=0 {1}")},
    {"SetAudioMode unlisted", [](BoardFixture& f) { return f.audio->SetAudioMode(f.entries, 3); },
     E_FAIL, Line("110 W rc=1 {0}")},
    {"GetAudioModes", [](BoardFixture& f) { return f.audio->GetAudioModes(f.entries, g_buffer); },
     S_OK, Line("111 R rc=0 buffer")},
    {"GetAudioData112",
     [](BoardFixture& f) { return f.audio->GetAudioData112(f.entries, g_buffer); }, S_OK,
     Line("112 R rc=0 buffer")},
    {"GetVolume", [](BoardFixture& f) { return f.audio->GetVolume(f.entries, g_words); }, S_OK,
     Line("103 R rc=0 {0,0,0,0}")},
    {"GetAudioPath", [](BoardFixture& f) { return f.audio->GetAudioPath(f.entries, g_words); },
     S_OK, Line("108 R rc=0 {0,0,0,0}")},
    {"GetAudioDevices",
     [](BoardFixture& f) {
       std::memset(&g_lists, 0, sizeof g_lists);
       g_lists.deviceCount = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&g_count));
       return f.audio->GetAudioDevices(f.entries, &g_lists);
     },
     S_OK, Line("113 R rc=0 {device=\"\" input=\"\" devCount=& inCount=0}")},
    {"GetAudioInputs",
     [](BoardFixture& f) {
       std::memset(&g_lists, 0, sizeof g_lists);
       std::strcpy(g_lists.selectedDevice, "Virtual Sound Card");
       g_lists.inputCount = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&g_count));
       return f.audio->GetAudioInputs(f.entries, &g_lists);
     },
     S_OK, Line("114 R rc=0 {device=\"Virtual Sound Card\" input=\"\" devCount=0 inCount=&}")},
    {"SelectAudioInput",
     [](BoardFixture& f) {
       return f.audio->SelectAudioInput(f.entries, "Virtual Sound Card", "Line In");
     },
     S_OK,
     Line("115 W rc=0 {device=\"Virtual Sound Card\" input=\"Line In\" devCount=0 inCount=0}")},
    {"SelectAudioInput unknown input",
     [](BoardFixture& f) {
       return f.audio->SelectAudioInput(f.entries, "Virtual Sound Card", "X");
     },
     E_FAIL, Line("115 W rc=2 {device=\"Virtual Sound Card\" input=\"X\" devCount=0 inCount=0}")},
    // IKXVideo
    {"SelectVideoInput", [](BoardFixture& f) { return f.video->SelectVideoInput(f.entries, 1, 3); },
     S_OK, Line("206 W rc=0 {1,3}")},
    {"SelectVideoInput radio",
     [](BoardFixture& f) { return f.video->SelectVideoInput(f.entries, 0, 0); }, S_OK,
     Line("206 W rc=0 {0,0}")},
    {"SelectVideoInput unlisted",
     [](BoardFixture& f) { return f.video->SelectVideoInput(f.entries, 0, 4); }, S_OK,
     Line("206 W rc=0 {0,0}")},
    {"Reserved3", [](BoardFixture& f) { return f.video->Reserved3(f.entries); }, E_NOTIMPL,
     Line("")},
    {"SetVideoMode", [](BoardFixture& f) { return f.video->SetVideoMode(f.entries, 19); }, S_OK,
     Line("215 W rc=0 {19}")},
    {"SetVideoMode unlisted", [](BoardFixture& f) { return f.video->SetVideoMode(f.entries, 20); },
     S_OK, Line("215 W rc=0 {0}")},
    {"SetVideoValue207", [](BoardFixture& f) { return f.video->SetVideoValue207(f.entries, 3); },
     S_OK, Line("207 W rc=0 {3}")},
    {"SetVideoRect",
     [](BoardFixture& f) { return f.video->SetVideoRect(f.entries, 10, 20, 330, 260, g_words); },
     S_OK,
     Line("209 W rc=0 {parent=0x0 title=0 style=0x0 p1=0 p2=0 result=0 left=10 top=20 width=320 "
          "height=240}")},
    {"SetVideoRect right left of left",
     [](BoardFixture& f) { return f.video->SetVideoRect(f.entries, 100, 0, 99, 10, g_words); },
     E_FAIL, Line("")},
    {"GetVideoInfo", [](BoardFixture& f) { return f.video->GetVideoInfo(f.entries, g_words); },
     S_OK,
     Line("208 W rc=0 {parent=0x0 title=0 style=0x0 p1=0 p2=0 result=0 left=0 top=0 width=0 "
          "height=0}")},
    {"DisableVideo", [](BoardFixture& f) { return f.video->DisableVideo(f.entries); }, S_OK,
     Line("210 W rc=0 {0}")},
    {"EnableVideo", [](BoardFixture& f) { return f.video->EnableVideo(f.entries); }, S_OK,
     Line("210 W rc=0 {1}")},
    {"SetVideoValues211",
     [](BoardFixture& f) { return f.video->SetVideoValues211(f.entries, 1, 2); }, S_OK,
     Line("211 W rc=0 {1,2}")},
    {"SetVideoValue212", [](BoardFixture& f) { return f.video->SetVideoValue212(f.entries, 9); },
     S_OK, Line("212 W rc=0 {9}")},
    {"SetVideoProperty",
     [](BoardFixture& f) { return f.video->SetVideoProperty(f.entries, 0, 60); }, S_OK,
     Line("205 W rc=0 {kind=0 value=60 result=0}")},
    {"SetVideoProperty kind 7",
     [](BoardFixture& f) { return f.video->SetVideoProperty(f.entries, 7, 40); }, S_OK,
     Line("205 W rc=0 {kind=4 value=40 result=0}")},
    {"GetVideoProperty",
     [](BoardFixture& f) { return f.video->GetVideoProperty(f.entries, 3, g_words); }, S_OK,
     Line("204 R rc=0 {kind=3 value=0 result=&}")},
    {"RestartVideo", [](BoardFixture& f) { return f.video->RestartVideo(f.entries); }, S_OK,
     Line("213 W rc=0 -")},
    {"SetDeinterlaceBypass",
     [](BoardFixture& f) { return f.video->SetDeinterlaceBypass(f.entries, 1); }, S_OK,
     Line("214 W rc=0 {1}")},
    {"GetVideoStatus",
     [](BoardFixture& f) { return f.video->GetVideoStatus(f.entries, 1, g_words); }, S_OK,
     Line("216 R rc=0 {1,&}")},
    // IKXSnapshot: the board grabs a frame, but the folder does not exist.
    {"TakeSnapshot",
     [](BoardFixture& f) {
       return f.snapshot->TakeSnapshot(f.entries, Address(kSnapshotPath), 320, 240, 3, 75);
     },
     E_FAIL, Line("507 W rc=2 {\"C:\\snap\\a.bmp\",320,240,3,75}")},
    // IKXTuner
    {"SetTunerMode radio", [](BoardFixture& f) { return f.tuner->SetTunerMode(f.entries, 5); },
     S_OK, Line("400 W rc=0 {1}")},
    {"SetTunerMode TV", [](BoardFixture& f) { return f.tuner->SetTunerMode(f.entries, 0); }, S_OK,
     Line("400 W rc=0 {0}")},
    {"SetTunerValue401", [](BoardFixture& f) { return f.tuner->SetTunerValue401(f.entries, 7); },
     S_OK, Line("401 W rc=0 {7}")},
    {"SetTunerValue402", [](BoardFixture& f) { return f.tuner->SetTunerValue402(f.entries, 2); },
     S_OK, Line("402 W rc=0 {2}")},
    {"SetTunerValue402 unlisted",
     [](BoardFixture& f) { return f.tuner->SetTunerValue402(f.entries, 3); }, S_OK,
     Line("402 W rc=0 {0}")},
    {"SetTunerValue403", [](BoardFixture& f) { return f.tuner->SetTunerValue403(f.entries, 18); },
     S_OK, Line("403 W rc=0 {18}")},
    {"SetTunerValue403 unlisted",
     [](BoardFixture& f) { return f.tuner->SetTunerValue403(f.entries, 19); }, S_OK,
     Line("403 W rc=0 {0}")},
    {"GetFrequencyRange",
     [](BoardFixture& f) {
       return f.tuner->GetFrequencyRange(f.entries, &g_words[0], &g_words[1]);
     },
     S_OK, Line("407 R rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=0 freq=0}")},
    {"GetChannelRange",
     [](BoardFixture& f) {
       return f.tuner->GetChannelRange(f.entries, &g_shorts[0], &g_shorts[1]);
     },
     S_OK, Line("408 R rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=0 freq=0}")},
    {"GetChannelFrequency",
     [](BoardFixture& f) { return f.tuner->GetChannelFrequency(f.entries, 4, g_words); }, S_OK,
     Line("409 R rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=4 freq=0}")},
    {"SetFrequency", [](BoardFixture& f) { return f.tuner->SetFrequency(f.entries, 171250000); },
     S_OK, Line("404 W rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=0 freq=171250000}")},
    {"SetChannel", [](BoardFixture& f) { return f.tuner->SetChannel(f.entries, 6); }, S_OK,
     Line("405 W rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=6 freq=0}")},
    {"GetSignalLock", [](BoardFixture& f) { return f.tuner->GetSignalLock(f.entries, g_words); },
     S_OK, Line("406 R rc=0 {0}")},
    // IKXCapture: a capture opens; handle 7 is none of the board's.
    {"OpenCapture",
     [](BoardFixture& f) {
       static uint32_t record[6];
       static uint32_t handle;
       record[0] = 0;
       record[1] = 0x10A;
       record[2] = 1;
       record[5] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&handle));
       return f.capture->OpenCapture(f.entries, record);
     },
     S_OK, Line("500 W rc=0 {0,0x10A,1,0x0,0,&}")},
    {"CloseCapture without handle",
     [](BoardFixture& f) { return f.capture->CloseCapture(f.entries, 0); }, E_FAIL, Line("")},
    {"CloseCapture", [](BoardFixture& f) { return f.capture->CloseCapture(f.entries, 7); }, E_FAIL,
     Line("501 W rc=1 {7}")},
    {"SetCaptureState", [](BoardFixture& f) { return f.capture->SetCaptureState(f.entries, 7, 1); },
     E_FAIL, Line("502 W rc=1 {7,1}")},
    {"SetCaptureValue",
     [](BoardFixture& f) { return f.capture->SetCaptureValue(f.entries, 7, 2, 3); }, E_FAIL,
     Line("503 W rc=1 {7,2,3}")},
    {"SetCaptureFile",
     [](BoardFixture& f) { return f.capture->SetCaptureFile(f.entries, 7, "C:\\rec\\a.mpg"); },
     E_FAIL, Line("504 W rc=1 {7,\"C:\\rec\\a.mpg\"}")},
    {"SetBufferSize 4096 MB",
     [](BoardFixture& f) { return f.capture->SetBufferSize(f.entries, 7, 4096); }, E_FAIL,
     Line("505 W rc=1 {7,0,1}")},
    {"SetBufferSize 3 MB",
     [](BoardFixture& f) { return f.capture->SetBufferSize(f.entries, 7, 3); }, E_FAIL,
     Line("505 W rc=1 {7,3145728,0}")},
    {"SetEncoderParams",
     [](BoardFixture& f) {
       return f.capture->SetEncoderParams(f.entries, 7, 0, Address(g_record));
     },
     E_FAIL,
     Line("506 W rc=1 {7,0,{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,"
          "26,27}}")},
    {"SetEncoderParams without a record",
     [](BoardFixture& f) { return f.capture->SetEncoderParams(f.entries, 7, 0, 0); }, E_FAIL,
     Line("506 W rc=1 {7,0,0}")},
    {"GetBufferSize",
     [](BoardFixture& f) { return f.capture->GetBufferSize(f.entries, 7, g_words); }, E_FAIL,
     Line("505 R rc=1 {7,&}")},
    {"GetCaptureFile",
     [](BoardFixture& f) { return f.capture->GetCaptureFile(f.entries, 7, g_path); }, E_FAIL,
     Line("504 R rc=1 {7,&}")},
    {"GetCaptureValues",
     [](BoardFixture& f) {
       return f.capture->GetCaptureValues(f.entries, 7, 3, &g_words[0], &g_words[1], &g_words[2],
                                          &g_words[3]);
     },
     E_FAIL, Line("503 R rc=1 {7,3,0,0,0,0}")},
    {"GetEncoderParams",
     [](BoardFixture& f) { return f.capture->GetEncoderParams(f.entries, 7, 1, g_words, 9); },
     E_FAIL, Line("506 R rc=1 {7,1,&,9}")},
    {"GetCaptureStatus",
     [](BoardFixture& f) { return f.capture->GetCaptureStatus(f.entries, 7, g_buffer); }, S_OK,
     Line("508 R rc=0 buffer")},
    {"SetCaptureAudioMode",
     [](BoardFixture& f) { return f.capture->SetCaptureAudioMode(f.entries, 7, 2); }, S_OK,
     Line("509 W rc=0 {2}")},
    {"GetCapturePosition",
     [](BoardFixture& f) { return f.capture->GetCapturePosition(f.entries, 7, g_words); }, E_FAIL,
     Line("510 R rc=2 {0,0}")},
    // Back to IKXBoard.
    {"DestroyVideoWindow", [](BoardFixture& f) { return f.board->DestroyVideoWindow(f.entries); },
     S_OK, Line("2 W rc=0 -")},
};

TEST_F(BoardFixture, EveryOperationSendsItsCommandDirectionAndBlock) {
  for (const CommandCase& c : kCases) {
    const size_t before = journal.Count();
    EXPECT_EQ(c.call(*this), c.expectedResult) << c.operation;
    EXPECT_EQ(journal.LineAfter(before), c.expectedLine(*this)) << c.operation;
  }
}

TEST_F(BoardFixture, OpenBoardFillsEntryZeroAndKeepsTheTagsUpperBytes) {
  BoardEntry more[10];
  std::memset(more, 0, sizeof more);
  more[0].dwTag = 0xAABBCCDD;
  BoardListInfo moreList = {sizeof more, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(more))};
  ASSERT_EQ(board->OpenBoard(7, 0, &moreList), S_OK);
  EXPECT_EQ(moreList.cbEntries, 8u);
  EXPECT_EQ(moreList.pEntries, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(more)));
  EXPECT_EQ(more[0].dwTag, 0xAABBCC00u);
  EXPECT_NE(more[0].hBoard, 0u);
  EXPECT_EQ(more[1].hBoard, 0u);
  EXPECT_EQ(board->CloseBoard(more), S_OK);

  EXPECT_EQ(list.cbEntries, 8u);
  EXPECT_NE(entries[0].hBoard, 0u);
}

TEST_F(BoardFixture, OpenBoardWithUnsupportedKindTouchesNothing) {
  for (LONG kind : {8L, 9L, 10L, 99L, 101L}) {
    BoardEntry other[10];
    std::memset(other, 0x5A, sizeof other);
    BoardListInfo otherList = {sizeof other,
                               static_cast<uint32_t>(reinterpret_cast<uintptr_t>(other))};
    const size_t before = journal.Count();
    EXPECT_EQ(board->OpenBoard(kind, 0, &otherList), E_NOTIMPL) << kind;
    EXPECT_EQ(otherList.cbEntries, sizeof other);
    EXPECT_EQ(other[0].hBoard, 0x5A5A5A5Au);
    EXPECT_EQ(journal.Count(), before);
  }
}

TEST_F(BoardFixture, OpenBoardRejectsAListWithoutRoomForOneEntry) {
  BoardEntry one[1] = {};
  BoardListInfo tooSmall = {4, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(one))};
  EXPECT_EQ(board->OpenBoard(7, 0, &tooSmall), E_INVALIDARG);
  EXPECT_EQ(board->OpenBoard(7, 0, nullptr), E_POINTER);
}

TEST_F(BoardFixture, NullEntryUsesTheHandleOfTheLastVideoWindow) {
  size_t before = journal.Count();
  EXPECT_EQ(audio->SetVolume(nullptr, 30), E_FAIL);
  EXPECT_EQ(journal.Count(), before) << "no handle yet: the board is not called";

  ASSERT_EQ(CreatePicture(), S_OK);
  before = journal.Count();
  EXPECT_EQ(audio->SetVolume(nullptr, 30), S_OK);
  EXPECT_EQ(journal.LineAfter(before), "103 W rc=0 {30}");
  LONG volume = 0;
  EXPECT_EQ(audio->GetVolume(nullptr, &volume), S_OK);
  EXPECT_EQ(volume, 30) << "the third word of the four-word block";
}

TEST_F(BoardFixture, CloseAndVideoWindowCheckTheHandle) {
  BoardEntry bogus = {0, 0};
  EXPECT_EQ(board->CloseBoard(nullptr), E_HANDLE);
  EXPECT_EQ(board->CloseBoard(&bogus), E_HANDLE);
  EXPECT_EQ(board->CreateVideoWindow(&bogus, host, "x", 0x50000000, 0, 0, 0, 0, 10, 10), E_HANDLE);
  EXPECT_EQ(board->CreateVideoWindow(nullptr, host, "x", 0x50000000, 0, 0, 0, 0, 10, 10), E_HANDLE);
  // A value that is not a board object of the library.
  static struct FakeBoard {
    virtual void First() {}
    virtual void* Identify() { return nullptr; }
  } fake;
  BoardEntry wrong = {0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&fake))};
  EXPECT_EQ(board->CloseBoard(&wrong), E_HANDLE);
}

TEST_F(BoardFixture, ClosedBoardIsNotReachedThroughTheDefaultHandle) {
  ASSERT_EQ(CreatePicture(), S_OK);
  ASSERT_EQ(board->DestroyVideoWindow(entries), S_OK);
  BoardEntry stale = entries[0];
  ASSERT_EQ(board->CloseBoard(entries), S_OK);
  const size_t before = journal.Count();
  EXPECT_EQ(audio->SetVolume(nullptr, 10), E_FAIL);
  EXPECT_EQ(journal.Count(), before);
  EXPECT_EQ(entries[0].hBoard, 0u) << "the closed entry is released";
  EXPECT_EQ(audio->SetVolume(entries, 10), E_FAIL);
  EXPECT_EQ(board->CloseBoard(entries), E_HANDLE);
  EXPECT_EQ(journal.Count(), before);
  // A copy of the old entry reaches the board library, which refuses it.
  EXPECT_EQ(audio->SetVolume(&stale, 10), E_FAIL);
  EXPECT_EQ(journal.LineAfter(before), "103 W rc=1 {10}");
}

TEST_F(BoardFixture, SinkReceivesTheBoardsEventsThroughTheNotifier) {
  ASSERT_EQ(board->SetEventSink(entries, 2048, &sink), S_OK);
  LONG hertz = 0;
  ASSERT_EQ(tuner->GetChannelFrequency(entries, 4, &hertz), S_OK);
  ASSERT_EQ(tuner->SetFrequency(entries, hertz), S_OK);
  EXPECT_EQ(sink.calls, 1);
  EXPECT_EQ(sink.lastCode, 1) << "signal found";
  LONG locked = 0;
  ASSERT_EQ(tuner->GetSignalLock(entries, &locked), S_OK);
  EXPECT_EQ(locked, 1);

  ASSERT_EQ(tuner->SetFrequency(entries, hertz + 3000000), S_OK);
  EXPECT_EQ(sink.calls, 2);
  EXPECT_EQ(sink.lastCode, 2) << "signal lost";
  ASSERT_EQ(tuner->GetSignalLock(entries, &locked), S_OK);
  EXPECT_EQ(locked, 0);
}

TEST_F(BoardFixture, ReadsReturnWhatTheBoardHolds) {
  LONG caps[7] = {};
  ASSERT_EQ(board->GetBoardCaps(entries, caps), S_OK);
  EXPECT_NE(caps[0], 0) << "a tuner";
  EXPECT_EQ(caps[1], 3);
  EXPECT_EQ(caps[2], 3);
  EXPECT_EQ(caps[6], 1);

  ASSERT_EQ(video->SetVideoProperty(entries, 2, 61), S_OK);
  LONG value = 0;
  ASSERT_EQ(video->GetVideoProperty(entries, 2, &value), S_OK);
  EXPECT_EQ(value, 61);

  ASSERT_EQ(audio->SetAudioPath(entries, 3), S_OK);
  ASSERT_EQ(audio->GetAudioPath(entries, &value), S_OK);
  EXPECT_EQ(value, 3) << "the fourth word of the four-word block";
}

TEST_F(BoardFixture, AudioDevicesAndInputsAreCopiedWithTheirCounts) {
  static AudioDeviceLists lists;
  std::memset(&lists, 0x5A, sizeof lists);
  uint32_t deviceCount = 99;
  uint32_t inputCount = 99;
  lists.deviceCount = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&deviceCount));
  lists.inputCount = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&inputCount));
  ASSERT_EQ(audio->GetAudioDevices(entries, &lists), S_OK);
  ASSERT_EQ(deviceCount, 2u);
  EXPECT_STREQ(lists.deviceNames[0], "Virtual 7134 Board Audio");
  EXPECT_STREQ(lists.deviceNames[1], "Virtual Sound Card");
  EXPECT_EQ(static_cast<unsigned char>(lists.deviceNames[2][0]), 0x5A) << "beyond the count";

  std::strcpy(lists.selectedDevice, "Virtual Sound Card");
  ASSERT_EQ(audio->GetAudioInputs(entries, &lists), S_OK);
  ASSERT_EQ(inputCount, 4u);
  EXPECT_STREQ(lists.inputNames[0], "Line In");
  EXPECT_STREQ(lists.inputNames[3], "Stereo Mix");
  EXPECT_EQ(static_cast<unsigned char>(lists.inputNames[4][0]), 0x5A);

  std::strcpy(lists.selectedDevice, "No Such Card");
  inputCount = 99;
  EXPECT_EQ(audio->GetAudioInputs(entries, &lists), E_FAIL);
  EXPECT_EQ(inputCount, 99u) << "nothing is copied on failure";
}

TEST_F(BoardFixture, AudioModesFollowTheTunedStation) {
  struct Case {
    SHORT channel;
    unsigned char mask;
  };
  // Channel 3 is mono, 1 stereo, 4 bilingual; channel 2 has no station.
  const Case cases[] = {{3, 1}, {1, 3}, {4, 1 | 4 | 8 | 16}, {2, 1}};
  ASSERT_EQ(video->SelectVideoInput(entries, 0, 1), S_OK);
  for (const Case& c : cases) {
    ASSERT_EQ(tuner->SetChannel(entries, c.channel), S_OK);
    unsigned char mask = 0;
    ASSERT_EQ(audio->GetAudioModes(entries, &mask), S_OK);
    EXPECT_EQ(mask, c.mask) << c.channel;
  }
  ASSERT_EQ(tuner->SetChannel(entries, 3), S_OK);
  EXPECT_EQ(audio->SetAudioMode(entries, 2), E_FAIL) << "no stereo on a mono station";
  ASSERT_EQ(tuner->SetChannel(entries, 1), S_OK);
  EXPECT_EQ(audio->SetAudioMode(entries, 2), S_OK);
}

DWORD WINAPI CloseCaptionBox(void*) {
  HWND box = apimgr_test::WaitForDialog(L"", 10000);
  if (box == nullptr) return 1;
  const std::wstring text = apimgr_test::StaticTexts(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return text == L"SetClosedCaption" ? 0 : 2;
}

TEST_F(BoardFixture, SetClosedCaptionShowsItsMessageBoxAndNeverReachesTheBoard) {
  const size_t before = journal.Count();
  HANDLE closer = CreateThread(nullptr, 0, &CloseCaptionBox, nullptr, 0, nullptr);
  ASSERT_NE(closer, nullptr);
  EXPECT_EQ(video->SetClosedCaption(1), S_OK);
  WaitForSingleObject(closer, 15000);
  DWORD closerResult = 99;
  GetExitCodeThread(closer, &closerResult);
  CloseHandle(closer);
  EXPECT_EQ(closerResult, 0u) << "1: no message box, 2: wrong text";
  EXPECT_EQ(journal.Count(), before);
}

}  // namespace

// KXTVA.DLL through its three entry points, without the manager.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "apimgr/board_blocks.h"
#include "support/board_journal_win.h"

// The driver's board object as the manager sees it. Outside the anonymous
// namespace, so that the optimiser cannot conclude that nothing implements it.
class TestBoardObjectView {
 public:
  virtual void FirstOperation() = 0;
  virtual void* Identify() = 0;
};

namespace {

using InitBoardClassFn = uint32_t(WINAPI*)(uint32_t, uint32_t);
using FreeFn = int32_t(WINAPI*)(uint32_t);
using DoThisFn = int32_t(WINAPI*)(uint32_t, uint32_t, uint32_t, void*);

class Notifier {
 public:
  virtual void NotifyEvent(LONG value) { events.push_back(value); }
  std::vector<LONG> events;
};

class VirtualBoardLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryW(L"KXTVA.DLL");
    ASSERT_NE(module, nullptr);
    init = reinterpret_cast<InitBoardClassFn>(GetProcAddress(module, "kxTVA_InitBoardClass"));
    free = reinterpret_cast<FreeFn>(GetProcAddress(module, "kxTVA_Free"));
    doThis = reinterpret_cast<DoThisFn>(GetProcAddress(module, "kxTVA_DoThis"));
    ASSERT_TRUE(init && free && doThis);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }

  std::vector<std::string> JournalLines() const { return journal.Texts(); }

  // Set before the library loads, which reads it then.
  brontel::test_support::BoardJournal journal;
  HMODULE module = nullptr;
  InitBoardClassFn init = nullptr;
  FreeFn free = nullptr;
  DoThisFn doThis = nullptr;
};

TEST_F(VirtualBoardLibrary, BoardClassesAndTheHandleCheck) {
  EXPECT_EQ(init(0x21, 0), 0u);
  EXPECT_EQ(init(0, 0), 0u);
  for (uint32_t boardClass : {0x20u, 0xFF0020u}) {
    const uint32_t board = init(boardClass, 0);
    ASSERT_NE(board, 0u);
    auto* object = reinterpret_cast<TestBoardObjectView*>(static_cast<uintptr_t>(board));
    EXPECT_EQ(object->Identify(), object) << "the second virtual operation names the object";
    EXPECT_EQ(free(board), 0);
    EXPECT_EQ(free(board), 1) << "a freed board is no longer a handle";
  }
}

TEST_F(VirtualBoardLibrary, UnknownHandleIsRefusedAndJournalled) {
  uint32_t caps[7] = {};
  EXPECT_EQ(doThis(0x1234, 0, 3, caps), 1);
  const auto lines = JournalLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "3 R rc=1 {0,0,0,0,0,0,0}");
}

TEST_F(VirtualBoardLibrary, CaptureCommandsOnUnknownHandlesFailClearlyAndWriteNothing) {
  const uint32_t board = init(0x20, 0);
  ASSERT_NE(board, 0u);
  struct Case {
    uint32_t command;
    uint32_t write;
    int32_t result;
  };
  // Handle 77 was never opened; nothing writes, so there is no position.
  const Case cases[] = {{501, 1, 1}, {502, 1, 1}, {503, 1, 1}, {503, 0, 1},
                        {504, 1, 1}, {504, 0, 1}, {505, 1, 1}, {505, 0, 1},
                        {506, 1, 1}, {506, 0, 1}, {510, 0, 2}, {500, 1, 1}};
  for (const Case& c : cases) {
    uint32_t captureHandle = 0;
    uint32_t block[8] = {77, 0, 0, 0, 0, 0, 0, 0};
    if (c.command == 500) block[0] = 3;  // no such kind
    block[5] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&captureHandle));
    uint32_t before[8];
    std::memcpy(before, block, sizeof block);
    EXPECT_EQ(doThis(board, c.write, c.command, block), c.result) << c.command;
    EXPECT_EQ(std::memcmp(block, before, sizeof block), 0) << c.command;
    EXPECT_EQ(captureHandle, 0u) << c.command;
  }
  EXPECT_EQ(doThis(board, 1, 501, nullptr), 1) << "no block";
  free(board);
}

TEST_F(VirtualBoardLibrary, UnknownCommandIsJournalledAsRawHex) {
  const uint32_t board = init(0x20, 0);
  unsigned char block[16] = {0x01, 0x02, 0xAB, 0xFF};
  EXPECT_EQ(doThis(board, 1, 999, block), 3);
  EXPECT_EQ(doThis(board, 0, 2, nullptr), 2) << "no picture window to destroy";
  const auto lines = JournalLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "999 W rc=3 hex=0102ABFF000000000000000000000000");
  EXPECT_EQ(lines[2], "2 R rc=2 -");
  free(board);
}

// A test sees the board made and closed, not only the commands between.
TEST_F(VirtualBoardLibrary, EntryPointsHaveLinesOfTheirOwn) {
  const uint32_t board = init(0x20, 0);
  ASSERT_NE(board, 0u);
  EXPECT_EQ(init(0x21, 0), 0u);
  EXPECT_EQ(free(board), 0);
  EXPECT_EQ(free(board), 1);
  EXPECT_EQ(JournalLines(), (std::vector<std::string>{
                                "kxTVA_InitBoardClass rc=& {0x20,0}",
                                "kxTVA_InitBoardClass rc=0 {0x21,0}",
                                "kxTVA_Free rc=0 {&}",
                                "kxTVA_Free rc=1 {&}",
                            }));
}

// The tables installed with the product: Japan 1-62, the United States 2-69.
TEST_F(VirtualBoardLibrary, ChannelTablesAreThoseOfTheProgramsCountry) {
  const wchar_t appSet[] = L"SOFTWARE\\Kestrova\\Pellamy\\App\\AppSet";
  struct Case {
    const wchar_t* countryCode;  // null: the program has not stored one yet
    uint16_t lowest, highest;
  } cases[] = {{nullptr, 1, 62}, {L"81", 1, 62}, {L"1", 2, 69}};
  for (const Case& c : cases) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, appSet, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    if (c.countryCode != nullptr) {
      RegSetValueExW(key, L"lCountryCode", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.countryCode),
                     static_cast<DWORD>(wcslen(c.countryCode) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key, L"lCountryCode");
    }
    const uint32_t board = init(0x20, 0);
    ASSERT_NE(board, 0u);
    TunerBlock tuner = {};
    EXPECT_EQ(doThis(board, 0, 408, &tuner), 0);
    EXPECT_EQ(tuner.lowestChannel, c.lowest) << (c.countryCode ? "country " : "no country");
    EXPECT_EQ(tuner.highestChannel, c.highest);
    free(board);
    RegDeleteValueW(key, L"lCountryCode");
    RegCloseKey(key);
  }
}

TEST_F(VirtualBoardLibrary, NothingIsJournalledWithoutTheVariable) {
  SetEnvironmentVariableW(L"KXTVA_JOURNAL", nullptr);
  const uint32_t board = init(0x20, 0);
  uint32_t volume[1] = {10};
  EXPECT_EQ(doThis(board, 1, 103, volume), 0);
  EXPECT_EQ(GetFileAttributesW(journal.path().c_str()), INVALID_FILE_ATTRIBUTES);
  free(board);
}

TEST_F(VirtualBoardLibrary, TuningReportsLockChangesToTheNotifier) {
  const uint32_t board = init(0x20, 0);
  Notifier notifier;
  uint32_t sink[2] = {2048, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&notifier))};
  ASSERT_EQ(doThis(board, 1, 6, sink), 0);

  TunerBlock tuner = {};
  tuner.channel = 4;
  ASSERT_EQ(doThis(board, 0, 409, &tuner), 0);
  const uint32_t station = tuner.frequency;
  ASSERT_NE(station, 0u);
  std::memset(&tuner, 0, sizeof tuner);
  tuner.frequency = station;
  ASSERT_EQ(doThis(board, 1, 404, &tuner), 0);
  tuner.frequency = station + 250000;  // fine-tuned, same station: no event
  ASSERT_EQ(doThis(board, 1, 404, &tuner), 0);
  tuner.frequency = station + 3000000;
  ASSERT_EQ(doThis(board, 1, 404, &tuner), 0);
  EXPECT_EQ(notifier.events, (std::vector<LONG>{1, 2}));

  tuner.frequency = 0;
  EXPECT_EQ(doThis(board, 1, 404, &tuner), 1) << "0 Hz is no frequency";
  free(board);
}

TEST_F(VirtualBoardLibrary, ChannelLimitsAndRadioBand) {
  const uint32_t board = init(0x20, 0);
  TunerBlock tuner = {};
  ASSERT_EQ(doThis(board, 0, 408, &tuner), 0);
  EXPECT_GE(tuner.lowestChannel, 1);
  EXPECT_GE(tuner.highestChannel, 12);
  tuner.channel = static_cast<uint16_t>(tuner.highestChannel + 1);
  EXPECT_EQ(doThis(board, 0, 409, &tuner), 1) << "beyond the table";
  EXPECT_EQ(doThis(board, 1, 405, &tuner), 1);

  uint32_t radio[1] = {1};
  ASSERT_EQ(doThis(board, 1, 400, radio), 0);
  std::memset(&tuner, 0, sizeof tuner);
  ASSERT_EQ(doThis(board, 0, 407, &tuner), 0);
  EXPECT_EQ(tuner.lowestFrequency, 76000000u);
  EXPECT_EQ(tuner.highestFrequency, 90000000u);
  EXPECT_EQ(doThis(board, 0, 408, &tuner), 2) << "the radio has no channel numbers";
  free(board);
}

}  // namespace

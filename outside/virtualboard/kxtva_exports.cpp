// The three entry points of the board driver library.

#include "win32/windows_include.h"

#include <mutex>
#include <new>
#include <set>

#include "apimgr/board_protocol.h"
#include "outside/virtualboard/board_journal.h"
#include "outside/virtualboard/channel_tables_win.h"
#include "outside/virtualboard/virtual_board.h"

HINSTANCE g_boardInstance = nullptr;

namespace {

// Handles are object addresses; only boards made here and not yet freed are
// accepted, so that a stale handle fails instead of touching freed memory.
std::mutex g_boardsLock;
std::set<VirtualBoard*> g_boards;

VirtualBoard* FindBoard(uint32_t handle) {
  auto* board = reinterpret_cast<VirtualBoard*>(static_cast<uintptr_t>(handle));
  std::lock_guard<std::mutex> guard(g_boardsLock);
  return g_boards.count(board) != 0 ? board : nullptr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_boardInstance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

namespace {

uint32_t InitBoard(uint32_t boardClass) {
  if (boardClass != kBoardClassStandard && boardClass != kBoardClassExtended) {
    return 0;
  }
  const int32_t country = ProgramCountryCode();
  const ChannelTable broadcast = ReadChannelTable(false, country);
  const ChannelTable cable = ReadChannelTable(true, country);
  auto* board = new (std::nothrow) VirtualBoard(
      boardClass, broadcast.hertz.empty() ? BuiltInBroadcastTable() : broadcast, cable);
  if (board == nullptr) {
    return 0;
  }
  std::lock_guard<std::mutex> guard(g_boardsLock);
  g_boards.insert(board);
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(board));
}

int32_t FreeBoard(uint32_t handle) {
  VirtualBoard* board = FindBoard(handle);
  if (board == nullptr) {
    return kBoardBadArgument;
  }
  {
    std::lock_guard<std::mutex> guard(g_boardsLock);
    g_boards.erase(board);
  }
  delete board;
  return kBoardOk;
}

}  // namespace

extern "C" uint32_t WINAPI kxTVA_InitBoardClass(uint32_t boardClass, uint32_t reserved) {
  const uint32_t board = InitBoard(boardClass);
  JournalInitBoardClass(boardClass, reserved, board);
  return board;
}

extern "C" int32_t WINAPI kxTVA_Free(uint32_t handle) {
  const int32_t result = FreeBoard(handle);
  JournalFree(handle, result);
  return result;
}

extern "C" int32_t WINAPI kxTVA_DoThis(uint32_t handle, uint32_t write, uint32_t command,
                                       void* block) {
  const bool isWrite = write != kBoardRead;
  const std::string blockText = DescribeBlock(command, isWrite, block);
  VirtualBoard* board = FindBoard(handle);
  const int32_t result =
      board != nullptr ? board->DoThis(isWrite, command, block) : kBoardBadArgument;
  AppendJournalLine(command, isWrite, result, blockText);
  return result;
}

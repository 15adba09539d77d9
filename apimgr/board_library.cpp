#include "apimgr/board_library.h"

#include "win32/handles.h"

namespace {

using InitBoardClassFn = uint32_t(WINAPI*)(uint32_t boardClass, uint32_t reserved);
using FreeFn = int32_t(WINAPI*)(uint32_t board);
using DoThisFn = int32_t(WINAPI*)(uint32_t board, uint32_t write, uint32_t command, void* block);

constexpr int32_t kNotUsable = -1;

// Objects are created and destroyed on one thread, so the holder needs no
// lock.
struct BoardLibraryHolder {
  HMODULE module = nullptr;
  bool loaded = false;
  InitBoardClassFn initBoardClass = nullptr;
  FreeFn free = nullptr;
  DoThisFn doThis = nullptr;
  LONG users = 0;
};

BoardLibraryHolder g_library;

void LoadBoardLibrary() {
  brontel::UniqueModule module(LoadLibraryW(L"KXTVA.DLL"));
  if (!module) {
    return;
  }
  auto init =
      reinterpret_cast<InitBoardClassFn>(GetProcAddress(module.Get(), "kxTVA_InitBoardClass"));
  auto free = reinterpret_cast<FreeFn>(GetProcAddress(module.Get(), "kxTVA_Free"));
  auto doThis = reinterpret_cast<DoThisFn>(GetProcAddress(module.Get(), "kxTVA_DoThis"));
  if (init == nullptr || free == nullptr || doThis == nullptr) {
    return;
  }
  // The holder is a global: it keeps a plain handle so that no FreeLibrary
  // runs from this library's own unloading.
  g_library.module = module.Release();
  g_library.initBoardClass = init;
  g_library.free = free;
  g_library.doThis = doThis;
  g_library.loaded = true;
}

void UnloadBoardLibrary() {
  if (g_library.module != nullptr) {
    FreeLibrary(g_library.module);
  }
  g_library = BoardLibraryHolder{};
}

}  // namespace

CBoardLibrary::CBoardLibrary() {
  if (g_library.users++ == 0) {
    LoadBoardLibrary();
  }
}

CBoardLibrary::~CBoardLibrary() {
  if (--g_library.users == 0) {
    UnloadBoardLibrary();
  }
}

bool CBoardLibrary::IsUsable() const {
  return g_library.loaded;
}

uint32_t CBoardLibrary::InitBoardClass(uint32_t boardClass) const {
  return IsUsable() ? g_library.initBoardClass(boardClass, 0) : 0;
}

int32_t CBoardLibrary::Free(uint32_t board) const {
  return IsUsable() ? g_library.free(board) : kNotUsable;
}

int32_t CBoardLibrary::DoThis(uint32_t board, uint32_t write, uint32_t command, void* block) const {
  return IsUsable() ? g_library.doThis(board, write, command, block) : kNotUsable;
}

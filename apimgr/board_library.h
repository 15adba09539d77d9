#pragma once
// The board driver library KXTVA.DLL, shared by all manager objects of the
// process: the first user loads it, the last one frees it.

#include "win32/windows_include.h"

#include <cstdint>

class CBoardLibrary {
 public:
  CBoardLibrary();
  ~CBoardLibrary();
  CBoardLibrary(const CBoardLibrary&) = delete;
  CBoardLibrary& operator=(const CBoardLibrary&) = delete;

  // Loaded with all three entry points.
  bool IsUsable() const;

  // 0 when the library is not usable or the board could not be initialised.
  uint32_t InitBoardClass(uint32_t boardClass) const;
  // Nonzero on failure; also when the library is not usable.
  int32_t Free(uint32_t board) const;
  int32_t DoThis(uint32_t board, uint32_t write, uint32_t command, void* block) const;
};

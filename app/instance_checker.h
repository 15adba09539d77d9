#pragma once
// Makes sure only one copy of the program runs. The first copy publishes its
// main window's handle in a small named page-file mapping; a later copy
// finds the mapping, brings that window forward and ends.

#include "win32/windows_include.h"

#include <string>

namespace brontel {

class CInstanceChecker {
 public:
  CInstanceChecker();
  ~CInstanceChecker();
  CInstanceChecker(const CInstanceChecker&) = delete;
  CInstanceChecker& operator=(const CInstanceChecker&) = delete;

  // True when another copy has already registered itself.
  bool PreviousInstanceRunning() const;
  // Registers `window` as the first instance's main window; false when a
  // previous instance is running or the mapping cannot be made.
  bool TrackFirstInstanceRunning(HWND window);
  // Restores the previous instance's window and brings its last active
  // pop-up to the front. Returns the stored handle, or null.
  HWND ActivatePreviousInstance();

  // "CInstanceChecker_MMF_" followed by the executable's name without its
  // extension.
  std::wstring GetMMFFilename() const;
  HWND GetWindowToTrack() const { return m_trackedWindow; }

  // Releases the lock when one is held.
  void ReleaseLock();

 private:
  bool Lock();

  HANDLE m_dataLock = nullptr;       // unnamed; guards the shared block
  HANDLE m_instanceMutex = nullptr;  // "QZ_Instance_Checker_Mutex"
  HANDLE m_heldLock = nullptr;       // the lock currently held, if any
  HWND m_trackedWindow = nullptr;
};

}  // namespace brontel

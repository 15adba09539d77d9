#pragma once
// What the settings pages may ask of the main program while the sheet is
// open: the board for live previews and queries, and a few facts only the
// main program knows. The main dialog implements it; tests may give their own.

#include <cstdint>

#include "win32/windows_include.h"

namespace brontel {

class CBoardClient;
struct ScheItem;

class SettingsSheetHost {
 public:
  virtual ~SettingsSheetHost() = default;
  // The board client; null when no board is open.
  virtual CBoardClient* Board() = 0;
  // The source the board shows now ("msCurrSrc" of the live settings).
  virtual std::int32_t LiveSource() = 0;
  // Whether the deinterlacing filter is there to be switched.
  virtual bool DeinterlacerAvailable() = 0;
  // The owner of message boxes the pages show.
  virtual HWND MainWindow() = 0;
  // The entry the iEPG handler left in "ScheItemTemp"; false when there is
  // none to read. The main program reads it through its settings store, so
  // that no page touches the registry.
  virtual bool ReadTempScheItem(ScheItem* item) = 0;
};

}  // namespace brontel

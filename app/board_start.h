#pragma once
// The board steps of start-up and final clean-up, as seen from the main
// dialog. The board control client provides the full versions.

#include <windows.h>
#include <unknwn.h>

namespace brontel {

// CreateBoard results.
constexpr int kBoardCreated = 0;
constexpr int kBoardClassMissing = 1;  // the API manager could not be created
constexpr int kBoardNotOpened = 2;     // the manager opened no board

// Creates the board API manager object. On kBoardCreated *board holds it.
int CreateBoard(IUnknown** board);

// The board start check; false when the board cannot be used.
bool CheckBoardStart(IUnknown* board);

// Creates the video window and starts the picture of the current source in
// it; false when either fails.
bool StartVideoAndPicture(HWND mainDialog, IUnknown* board);

// Shutdown: unmute the board's audio and stop what is being recorded.
void QuietBoardForShutdown(IUnknown* board);

// Final clean-up: destroy the video window, stop and close the board and
// release the object.
void CloseBoardAtExit(IUnknown** board);

}  // namespace brontel

#pragma once
// Window messages the program's parts send each other, as numbers, so that
// portable code can name them without <windows.h>.

namespace brontel {

constexpr unsigned kMessageUserBase = 0x0400;  // WM_USER
constexpr unsigned kMessageAppBase = 0x8000;   // WM_APP

// Posted to the main window for each board event (wParam: the event code),
// because the board library reports them on a thread of its own.
constexpr unsigned kMsgBoardEvent = kMessageAppBase + 0x40;
// Stops whatever runs: sent by the size watch of an AVI recording when the
// file reached its limit.
constexpr unsigned kMsgStopMedia = kMessageUserBase + 0x65;  // 0x465
// The tray icon's callback message.
constexpr unsigned kTrayCallbackMessage = 0x800A;
// Sent by BrontelIEPG to a running main program after it stored a
// reservation.
constexpr unsigned WM_IEPG_RESERVE = kMessageUserBase + 100;

}  // namespace brontel

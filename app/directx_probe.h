#pragma once
// Finds the installed DirectX level by trying its libraries and interfaces
// in order; the first step that fails decides the level.

namespace brontel {

constexpr unsigned kDirectXLevelNone = 0;
constexpr unsigned kDirectXLevel1 = 0x100;
constexpr unsigned kDirectXLevel2 = 0x200;
constexpr unsigned kDirectXLevel3 = 0x300;
constexpr unsigned kDirectXLevel5 = 0x500;
constexpr unsigned kDirectXLevel6 = 0x600;
constexpr unsigned kDirectXLevel61 = 0x601;
constexpr unsigned kDirectXLevel7 = 0x700;
constexpr unsigned kDirectXLevel8 = 0x800;

// The level the program needs.
constexpr unsigned kRequiredDirectXLevel = kDirectXLevel8;

// Writes the reason of a failing step to the debugger output. Every interface
// and library it obtains is released before it returns.
unsigned ProbeDirectXLevel();

// Creates a DirectDraw object and reads its capabilities. True with
// *hasOverlay when they could be read.
bool ReadDisplayOverlaySupport(bool* hasOverlay);

}  // namespace brontel

#pragma once
// Which pages the settings sheet shows: the caller's mask picks them, in
// one fixed order, and the about page always comes last.

#include <cstdint>
#include <vector>

namespace brontel {

enum class SheetPage {
  kTv,         // 0x01
  kRadio,      // 0x02
  kColour,     // 0x04
  kSnapshot,   // 0x08
  kCapture,    // 0x10
  kScheduler,  // 0x20
  kAbout,      // always
};

constexpr std::uint32_t kPageMaskTv = 0x01;
constexpr std::uint32_t kPageMaskRadio = 0x02;
constexpr std::uint32_t kPageMaskColour = 0x04;
constexpr std::uint32_t kPageMaskSnapshot = 0x08;
constexpr std::uint32_t kPageMaskCapture = 0x10;
constexpr std::uint32_t kPageMaskScheduler = 0x20;

// The pages `mask` selects, in tab order, ending with the about page.
// Pages not in `built` (pages this program does not have yet) are left out.
std::vector<SheetPage> SelectedPages(std::uint32_t mask, std::uint32_t built = 0xFFFFFFFFu);

// The mask the main program opens the sheet with: nothing but the about
// page while a media operation runs, otherwise by the current source.
std::uint32_t SheetMaskFor(bool mediaActive, std::int32_t source);

}  // namespace brontel

#pragma once
// Which family of Windows the program runs on, and whether reservation mode
// (sleeping the PC until the next recording) is offered there.

#include <cstdint>

namespace brontel::power {

// The values of the system's version record, as plain numbers.
constexpr std::uint32_t kPlatformWin9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformNt = 2;     // VER_PLATFORM_WIN32_NT
constexpr std::uint8_t kProductWorkstation = 1;
constexpr std::uint8_t kProductDomainController = 2;
constexpr std::uint8_t kProductServer = 3;

struct OsVersion {
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  // 0 when only the basic version record could be read.
  std::uint8_t productType = 0;
};

// 1 Windows 95/98, 2 Windows Me, 3 NT 4 and older, 4 Windows 2000,
// 5 XP / Server 2003, 6 Vista and every later NT; 0 anything else.
constexpr int kOsClassUnknown = 0;
constexpr int kOsClassNt6 = 6;
int OsClassOf(const OsVersion& version);

// Reservation mode needs the suspend and wake support of Windows 2000 and
// later NT systems.
bool OsClassAllowsReservation(int osClass);

}  // namespace brontel::power

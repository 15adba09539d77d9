#pragma once
// Matching the station of an iEPG file to a channel of the channel list.

#include <cstdint>
#include <functional>
#include <string>

namespace brontel {

struct ChannelEntry;

// Whether a byte starts a double-byte character in the code page the texts
// are in. On Windows this is the system's ANSI code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// Lead bytes of Shift_JIS (code page 932).
bool IsShiftJisLeadByte(unsigned char byte);

// Compares two texts of a multibyte code page: the ASCII letters compare
// equal regardless of case, a double-byte character only to itself.
bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b,
                            const LeadBytePredicate& isLeadByte);

// The "lFreqChn" of the first of the first `count` entries (never more than
// `entryCount`) whose "szTVPIStnName" equals the station, or -1. The names
// must be in the same code page as the station text.
std::int32_t FindChannel(const std::string& station, const ChannelEntry* entries,
                         std::size_t entryCount, std::int32_t count,
                         const LeadBytePredicate& isLeadByte);

}  // namespace brontel

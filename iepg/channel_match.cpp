#include "iepg/channel_match.h"

#include <algorithm>

#include "app/settings/app_settings.h"
#include "iepg/iepg_parser.h"

namespace brontel {
namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b,
                            const LeadBytePredicate& isLeadByte) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
  while (i < a.size()) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    const bool leadA = isLeadByte && isLeadByte(ca) && i + 1 < a.size();
    const bool leadB = isLeadByte && isLeadByte(cb) && i + 1 < b.size();
    if (leadA || leadB) {
      // A trail byte may look like an ASCII letter; it must not be folded.
      if (!leadA || !leadB || ca != cb || a[i + 1] != b[i + 1]) return false;
      i += 2;
      continue;
    }
    if (FoldAscii(ca) != FoldAscii(cb)) return false;
    ++i;
  }
  return true;
}

std::int32_t FindChannel(const std::string& station, const ChannelEntry* entries,
                         std::size_t entryCount, std::int32_t count,
                         const LeadBytePredicate& isLeadByte) {
  if (entries == nullptr || count <= 0) return kNoChannel;
  const std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(count), entryCount);
  for (std::size_t i = 0; i < limit; ++i) {
    if (EqualIgnoringAsciiCase(station, entries[i].szTVPIStnName, isLeadByte)) {
      return entries[i].lFreqChn;
    }
  }
  return kNoChannel;
}

}  // namespace brontel

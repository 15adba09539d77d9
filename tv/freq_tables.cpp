#include "tv/freq_tables.h"

#include <cmath>
#include <limits>

namespace brontel {
namespace {

// Stored reals have three decimals, so a product within this distance of a
// whole number of hertz is that number plus floating-point noise.
constexpr double kHertzSnap = 1e-3;

struct Limits {
  std::int32_t minChn;
  std::int32_t maxChn;
};

Limits ReadLimits(const IniSource& file) {
  return {file.ReadInt(kFreqSection, kFreqMinKey, 0), file.ReadInt(kFreqSection, kFreqMaxKey, 0)};
}

bool LimitsUsable(const Limits& limits) {
  return limits.minChn > 0 && limits.maxChn > 0 && limits.minChn <= limits.maxChn &&
         limits.minChn <= kFreqTableSize;
}

FreqTable ReadTable(const IniSource& file, const Limits& limits) {
  FreqTable table;
  table.minChn = limits.minChn;
  table.maxChn = limits.maxChn < kFreqTableSize ? limits.maxChn : kFreqTableSize;
  for (std::int32_t channel = table.minChn; channel <= table.maxChn; ++channel) {
    const std::string text =
        file.ReadString(kFreqSection, FreqKeyName(channel), std::string(), kIniValueMaxChars);
    table.hertz[channel - 1] = ParseHertz(text);
  }
  return table;
}

}  // namespace

const FreqTable* FreqTables::Table(std::int32_t table) const {
  if (table == static_cast<std::int32_t>(FreqTableKind::kBroadcast)) return &broadcast;
  if (table == static_cast<std::int32_t>(FreqTableKind::kCable)) return &cable;
  return nullptr;
}

std::int32_t ParseHertz(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  std::int64_t value = 0;
  bool anyDigit = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    anyDigit = true;
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return anyDigit ? static_cast<std::int32_t>(value) : 0;
}

std::int32_t MegahertzToHertz(double megahertz) {
  const double hertz = megahertz * 1000000.0;
  if (!std::isfinite(hertz)) return 0;
  const double nearest = std::round(hertz);
  const double whole = std::fabs(hertz - nearest) < kHertzSnap ? nearest : std::trunc(hertz);
  if (whole > std::numeric_limits<std::int32_t>::max() ||
      whole < std::numeric_limits<std::int32_t>::min()) {
    return 0;
  }
  return static_cast<std::int32_t>(whole);
}

bool LoadFreqTables(FreqTables* tables, const IniSource& broadcastFile,
                    const IniSource& cableFile) {
  if (!broadcastFile.Exists() || !cableFile.Exists()) return false;
  const Limits broadcastLimits = ReadLimits(broadcastFile);
  const Limits cableLimits = ReadLimits(cableFile);
  // Rejected limits are not kept either: with old tables they would index
  // channels the tables were never read for.
  if (!LimitsUsable(broadcastLimits) || !LimitsUsable(cableLimits)) return false;

  FreqTables loaded;
  loaded.broadcast = ReadTable(broadcastFile, broadcastLimits);
  loaded.cable = ReadTable(cableFile, cableLimits);
  *tables = loaded;
  return true;
}

std::int32_t ChannelFrequency(const FreqTables& tables, std::int32_t table, std::int32_t channel) {
  const FreqTable* t = tables.Table(table);
  if (!t || channel < t->minChn || channel > t->maxChn) return 0;
  // Limits always lie within the table once loaded; the check guards
  // tables filled by hand.
  if (channel < 1 || channel > kFreqTableSize) return 0;
  return t->hertz[channel - 1];
}

std::optional<std::int32_t> TuneHertz(const FreqTables& tables, std::int32_t table,
                                      std::int32_t channel, std::int32_t offsetHertz) {
  const FreqTable* t = tables.Table(table);
  if (!t || channel < t->minChn || channel > t->maxChn || channel < 1 || channel > kFreqTableSize) {
    return std::nullopt;
  }
  const std::int64_t sum = static_cast<std::int64_t>(t->hertz[channel - 1]) + offsetHertz;
  if (sum > std::numeric_limits<std::int32_t>::max() ||
      sum < std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(sum);
}

}  // namespace brontel

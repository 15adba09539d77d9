#pragma once
// The broadcast and cable frequency tables and how a channel number becomes
// a frequency.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "tv/channel_file_names.h"
#include "tv/ini_source.h"

namespace brontel {

constexpr std::int32_t kFreqTableSize = 181;  // channels 1 to 181
constexpr char kFreqSection[] = "ChnInfo";
constexpr char kFreqMinKey[] = "MinChn";
constexpr char kFreqMaxKey[] = "MaxChn";

struct FreqTable {
  // Channel c is element c - 1; 0 where the file gives no frequency.
  std::array<std::int32_t, kFreqTableSize> hertz{};
  std::int32_t minChn = 0;
  std::int32_t maxChn = 0;
};

struct FreqTables {
  FreqTable broadcast;
  FreqTable cable;

  // Table 0 is broadcast, 1 cable; nullptr for any other number.
  const FreqTable* Table(std::int32_t table) const;
};

// A frequency value as the files hold it: a decimal number of hertz. Text
// that is no number, or a number outside 0 to 2^31-1, gives 0.
std::int32_t ParseHertz(const std::string& text);

// MHz to whole hertz, truncated. Values stored with three decimals that are
// a hair below the exact product are taken as exact, so 80.4 MHz gives
// 80400000 Hz, not 80399999. Values outside the 32-bit range give 0.
std::int32_t MegahertzToHertz(double megahertz);

// Loads both tables. False, with `tables` untouched, when either file is
// missing or a file's limits make no sense: a limit of 0 or below, MinChn
// above MaxChn, or MinChn beyond the table. A MaxChn beyond the table is cut
// to 181, since there is nowhere to keep those channels.
bool LoadFreqTables(FreqTables* tables, const IniSource& broadcastFile, const IniSource& cableFile);

// Frequency of a channel in table 0 (broadcast) or 1 (cable); 0 when the
// channel lies outside that table's limits.
std::int32_t ChannelFrequency(const FreqTables& tables, std::int32_t table, std::int32_t channel);

// What a TV channel is tuned to: its table frequency plus the fine-tune
// offset. Nothing when the channel lies outside the table's limits (no board
// call is made then) or the sum leaves the 32-bit range.
std::optional<std::int32_t> TuneHertz(const FreqTables& tables, std::int32_t table,
                                      std::int32_t channel, std::int32_t offsetHertz);

}  // namespace brontel

#pragma once
// The TV page's channel list: the texts of its rows, the checks on a typed
// channel number, and how the rows become the working copy's channel table.

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "tv/freq_tables.h"

namespace brontel {

// One row of the list, as its four columns show it.
struct ChannelRow {
  std::int32_t number = 0;  // lFreqChn
  std::string frequency;    // MHz, "%.3f", fine-tune offset included
  std::string name;         // szTVStnName
  std::string guideName;    // szTVPIStnName
};

// "001", "042", "105": three digits at least.
std::string ChannelNumberText(std::int32_t number);
// The number of a channel-number text; 0 when it holds none.
std::int32_t ParseChannelNumber(const std::string& text);
// MHz of a frequency text; 0 when it holds none.
double ParseMegahertz(const std::string& text);

// The rows of the channel entries in use (lTVChnCount of them, at most the
// table's size), each frequency from `table` plus the entry's own offset.
std::vector<ChannelRow> RowsFromChannels(const TVSetGroup& tv, const FreqTables& tables,
                                         std::int32_t table);

// A row for a channel found by the scan or added by number: its table
// frequency and the given names.
ChannelRow NewChannelRow(const FreqTables& tables, std::int32_t table, std::int32_t number,
                         std::string name, std::string guideName);

// Whether `number` lies within the limits of table 0 (broadcast) or 1 (cable).
bool WithinTable(const FreqTables& tables, std::int32_t table, std::int32_t number);

enum class NewChannelCheck { kAccepted, kOutsideTable, kAlreadyListed };
// Whether a typed number may be added to the list.
NewChannelCheck CheckNewChannel(const FreqTables& tables, std::int32_t table,
                                const std::vector<ChannelRow>& rows, std::int32_t number);

// Whether any schedule entry in use records from the TV; its channel
// numbers would lose their meaning with a new channel list.
bool HasTvScheduleEntry(const ScheSetGroup& schedule);
// Whether a TV schedule entry in use records channel `number`.
bool TvScheduleUsesChannel(const ScheSetGroup& schedule, std::int32_t number);

// Makes the working copy's channel table from the rows: every entry reset
// first, then one entry per row in list order (at most 181), the offset
// being the shown frequency minus the table's; TV schedule entries take the
// station name of their channel's row; lTVChnCount is the number of rows
// taken over.
void WriteBackChannelRows(const std::vector<ChannelRow>& rows, const FreqTables& tables,
                          std::int32_t table, TVSetGroup* tv, ScheSetGroup* schedule);

// A language's format with one "%d" (strings 198 and 206), filled in
// without handing the text to printf: a translation is data.
std::string FormatNumbered(const std::string& format, std::int32_t number);

}  // namespace brontel

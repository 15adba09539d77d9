#include "settings/channel_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/vocabulary/source_numbers.h"
#include "settings/fine_tune.h"

namespace brontel {
namespace {

std::int32_t TvChannelCount(std::int32_t count) {
  return std::clamp<std::int32_t>(count, 0, kChannelRecordCount);
}

std::int32_t ScheduleCount(const ScheSetGroup& schedule) {
  return std::clamp<std::int32_t>(schedule.lScheItemCount, 0, kScheItemCount);
}

}  // namespace

std::string ChannelNumberText(std::int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03ld", static_cast<long>(number));
  return text;
}

std::int32_t ParseChannelNumber(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value < 0 || value > 999999) return 0;
  return static_cast<std::int32_t>(value);
}

double ParseMegahertz(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

std::vector<ChannelRow> RowsFromChannels(const TVSetGroup& tv, const FreqTables& tables,
                                         std::int32_t table) {
  std::vector<ChannelRow> rows;
  const std::int32_t count = TvChannelCount(tv.lTVChnCount);
  for (std::int32_t i = 0; i < count; ++i) {
    const ChannelEntry& entry = tv.channels[i];
    const double hertz = static_cast<double>(ChannelFrequency(tables, table, entry.lFreqChn)) +
                         MegahertzToHertz(entry.dFreqOffset);
    rows.push_back({entry.lFreqChn, MegahertzText(hertz), entry.szTVStnName, entry.szTVPIStnName});
  }
  return rows;
}

ChannelRow NewChannelRow(const FreqTables& tables, std::int32_t table, std::int32_t number,
                         std::string name, std::string guideName) {
  return {number, MegahertzText(ChannelFrequency(tables, table, number)), std::move(name),
          std::move(guideName)};
}

bool WithinTable(const FreqTables& tables, std::int32_t table, std::int32_t number) {
  const FreqTable* limits = tables.Table(table);
  return limits != nullptr && number >= limits->minChn && number <= limits->maxChn && number >= 1 &&
         number <= kFreqTableSize;
}

NewChannelCheck CheckNewChannel(const FreqTables& tables, std::int32_t table,
                                const std::vector<ChannelRow>& rows, std::int32_t number) {
  if (!WithinTable(tables, table, number)) return NewChannelCheck::kOutsideTable;
  for (const ChannelRow& row : rows) {
    if (row.number == number) return NewChannelCheck::kAlreadyListed;
  }
  return NewChannelCheck::kAccepted;
}

bool HasTvScheduleEntry(const ScheSetGroup& schedule) {
  const std::int32_t count = ScheduleCount(schedule);
  for (std::int32_t i = 0; i < count; ++i) {
    if (schedule.items[i].msSrcType == kSourceTv) return true;
  }
  return false;
}

bool TvScheduleUsesChannel(const ScheSetGroup& schedule, std::int32_t number) {
  const std::int32_t count = ScheduleCount(schedule);
  for (std::int32_t i = 0; i < count; ++i) {
    const ScheItem& item = schedule.items[i];
    if (item.msSrcType == kSourceTv && item.lChn == number) return true;
  }
  return false;
}

void WriteBackChannelRows(const std::vector<ChannelRow>& rows, const FreqTables& tables,
                          std::int32_t table, TVSetGroup* tv, ScheSetGroup* schedule) {
  for (int i = 0; i < kChannelRecordCount; ++i) {
    tv->channels[i] = ChannelEntry{};
    tv->channels[i].lChn = i + 1;
  }
  const std::int32_t count =
      static_cast<std::int32_t>(std::min<std::size_t>(rows.size(), kChannelRecordCount));
  for (std::int32_t i = 0; i < count; ++i) {
    const ChannelRow& row = rows[i];
    ChannelEntry& entry = tv->channels[i];
    entry.lFreqChn = row.number;
    const double tableMegahertz = ChannelFrequency(tables, table, row.number) / 1000000.0;
    // The column shows kilohertz; keeping the difference at that precision
    // stops binary noise (171.400 - 171.25) from reaching the tuner.
    entry.dFreqOffset =
        std::round((ParseMegahertz(row.frequency) - tableMegahertz) * 1000.0) / 1000.0;
    entry.szTVStnName = row.name;
    entry.szTVPIStnName = row.guideName;
  }
  const std::int32_t scheduled = ScheduleCount(*schedule);
  for (std::int32_t s = 0; s < scheduled; ++s) {
    ScheItem& item = schedule->items[s];
    if (item.msSrcType != kSourceTv) continue;
    for (std::int32_t i = 0; i < count; ++i) {
      if (rows[i].number == item.lChn) {
        item.szChnName = rows[i].name;
        break;
      }
    }
  }
  tv->lTVChnCount = count;
  // A shorter list must not leave the panel on an entry past its end.
  if (tv->lCurrChn > count) tv->lCurrChn = count > 0 ? 1 : 0;
}

std::string FormatNumbered(const std::string& format, std::int32_t number) {
  const std::size_t at = format.find("%d");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + std::to_string(number) + format.substr(at + 2);
}

}  // namespace brontel

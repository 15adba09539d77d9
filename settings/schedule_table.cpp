#include "settings/schedule_table.h"

#include <algorithm>
#include <cstdio>

#include "app/scheduler/schedule_overlap.h"
#include "app/scheduler/schedule_validation.h"
#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

constexpr char kNoChannelText[] = "-";

int InUse(std::int32_t count, std::size_t capacity) {
  return std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(capacity));
}

bool IsVideoInput(std::int32_t source) {
  return source == kSourceVideo || source == kSourceSVideo;
}

}  // namespace

int ScheItemsInUse(const ScheSetGroup& schedule) {
  return InUse(schedule.lScheItemCount, schedule.items.size());
}

std::optional<std::string> ScheChannelName(const ScheItem& item, const TVSetGroup& tvSet,
                                           const RdSetGroup& rdSet) {
  if (IsVideoInput(item.msSrcType)) return std::string(kNoChannelText);
  if (item.msSrcType == kSourceRadio) {
    const int count = InUse(rdSet.lRDStnCount, rdSet.stations.size());
    for (int i = 0; i < count; ++i) {
      const StationEntry& station = rdSet.stations[static_cast<std::size_t>(i)];
      if (station.lStn == item.lChn) return station.szRDStnName;
    }
    return std::nullopt;
  }
  const int count = InUse(tvSet.lTVChnCount, tvSet.channels.size());
  for (int i = 0; i < count; ++i) {
    const ChannelEntry& channel = tvSet.channels[static_cast<std::size_t>(i)];
    if (channel.lFreqChn == item.lChn) return channel.szTVStnName;
  }
  return std::nullopt;
}

std::vector<std::int32_t> ChannelChoices(std::int32_t source, const TVSetGroup& tvSet,
                                         const RdSetGroup& rdSet) {
  std::vector<std::int32_t> numbers;
  if (source == kSourceTv) {
    const int count = InUse(tvSet.lTVChnCount, tvSet.channels.size());
    for (int i = 0; i < count; ++i) {
      const std::int32_t number = tvSet.channels[static_cast<std::size_t>(i)].lFreqChn;
      if (number >= 1 && number <= kChannelRecordCount) numbers.push_back(number);
    }
  } else if (source == kSourceRadio) {
    const int count = InUse(rdSet.lRDStnCount, rdSet.stations.size());
    for (int i = 0; i < count; ++i) {
      const std::int32_t number = rdSet.stations[static_cast<std::size_t>(i)].lStn;
      if (number >= 1 && number <= kStationRecordCount) numbers.push_back(number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::int32_t PresetSourceForNewEntry(std::int32_t panelSource, const TVSetGroup& tvSet,
                                     const RdSetGroup& rdSet) {
  if (panelSource == kSourceTv || panelSource == kSourceRadio) {
    return ChannelChoices(panelSource, tvSet, rdSet).empty() ? kSourceVideo : panelSource;
  }
  return panelSource == kSourceSVideo ? kSourceSVideo : kSourceVideo;
}

ScheAddResult AddScheItem(ScheItem item, const TVSetGroup& tvSet, const RdSetGroup& rdSet,
                          ScheSetGroup* schedule) {
  const int count = ScheItemsInUse(*schedule);
  if (count >= static_cast<int>(schedule->items.size())) return ScheAddResult::kTableFull;
  const std::optional<std::string> name = ScheChannelName(item, tvSet, rdSet);
  if (!name) return ScheAddResult::kNoChannel;
  item.szChnName = *name;
  schedule->items[static_cast<std::size_t>(count)] = item;
  schedule->lScheItemCount = count + 1;
  return ScheAddResult::kAdded;
}

bool ReplaceScheItem(int index, ScheItem item, const TVSetGroup& tvSet, const RdSetGroup& rdSet,
                     ScheSetGroup* schedule) {
  if (index < 0 || index >= ScheItemsInUse(*schedule)) return false;
  const std::optional<std::string> name = ScheChannelName(item, tvSet, rdSet);
  if (!name) return false;
  item.szChnName = *name;
  schedule->items[static_cast<std::size_t>(index)] = item;
  return true;
}

void DeleteScheItems(const std::vector<bool>& selected, ScheSetGroup* schedule) {
  const int count = ScheItemsInUse(*schedule);
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const bool remove = static_cast<std::size_t>(i) < selected.size() && selected[i];
    if (remove) continue;
    if (kept != i) schedule->items[kept] = schedule->items[i];
    ++kept;
  }
  for (std::size_t i = static_cast<std::size_t>(kept); i < schedule->items.size(); ++i) {
    schedule->items[i] = ScheItem();
  }
  schedule->lScheItemCount = kept;
}

ScheImport ImportScheItem(ScheItem item, DateTime now, const TVSetGroup& tvSet,
                          const RdSetGroup& rdSet, ScheSetGroup* schedule) {
  ScheImport result;
  result.caption = kCaptionScheAdd;
  result.message = ValidateScheItem(item, now, *schedule, kScheNewEntry);
  if (result.message != 0) return result;
  // The scratch record may hold a flag of an earlier entry; this one has
  // not run.
  item.bCompleted = 0;
  switch (AddScheItem(item, tvSet, rdSet, schedule)) {
    case ScheAddResult::kTableFull:
      result.message = kMsgScheTableFull;
      break;
    case ScheAddResult::kAdded:
      result.added = true;
      result.startsSoon = StartsWithinNotice(item, now);
      break;
    case ScheAddResult::kNoChannel:
      break;
  }
  return result;
}

ScheRowState RowState(const ScheItem& item, DateTime now) {
  if (item.sfType != kScheOnce) return ScheRowState::kWaiting;
  if (item.bCompleted != 0) return ScheRowState::kCompleted;
  return item.tStartDateTime < now ? ScheRowState::kExpired : ScheRowState::kWaiting;
}

std::string EntryNumberText(int index) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", index + 1);
  return text;
}

std::string ChannelNumberText(const ScheItem& item) {
  if (IsVideoInput(item.msSrcType)) return kNoChannelText;
  return std::to_string(item.lChn);
}

int CaptureModeTextId(std::int32_t mode) {
  switch (mode) {
    case 0:
      return kTextCaptureLong;
    case 1:
      return kTextCaptureNormal;
    case 2:
      return kTextCaptureHigh;
    case 3:
      return kTextCaptureCustom;
    default:
      return 0;
  }
}

}  // namespace brontel

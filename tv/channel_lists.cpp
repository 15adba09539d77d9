#include "tv/channel_lists.h"

#include "app/vocabulary/source_numbers.h"

namespace brontel {

// One list seen through its current position and count.
// The count comes from the registry and is kept within the array.
struct ChannelLists::ListRef {
  std::int32_t* current;
  std::int32_t count;
  std::int32_t capacity;
  TVSetGroup* tv;     // set for the TV list
  RdSetGroup* radio;  // set for the radio list

  std::int32_t NumberAt(std::int32_t index) const {
    return tv ? tv->channels[index].lFreqChn : radio->stations[index].lStn;
  }
  std::int32_t CurrentPosition() const { return *current > 0 ? *current : 1; }
  // First position (from 1) of an entry in use with this number, or 0.
  std::int32_t Find(std::int32_t number) const {
    for (std::int32_t i = 0; i < count; ++i) {
      if (NumberAt(i) == number) return i + 1;
    }
    return 0;
  }
};

namespace {

std::int32_t Bounded(std::int32_t count, std::int32_t capacity) {
  if (count < 0) return 0;
  return count > capacity ? capacity : count;
}

}  // namespace

std::optional<ChannelLists::ListRef> ChannelLists::List(std::int32_t source) const {
  if (source == kSourceTv) {
    TVSetGroup& tv = m_settings.tvSet;
    return ListRef{&tv.lCurrChn, Bounded(tv.lTVChnCount, kChannelRecordCount), kChannelRecordCount,
                   &tv, nullptr};
  }
  if (source == kSourceRadio) {
    RdSetGroup& radio = m_settings.rdSet;
    return ListRef{&radio.lCurrStn, Bounded(radio.lRDStnCount, kStationRecordCount),
                   kStationRecordCount, nullptr, &radio};
  }
  return std::nullopt;
}

std::optional<ListEntry> ChannelLists::CurrentEntry(std::int32_t source) const {
  const std::optional<ListRef> list = List(source);
  if (!list) return std::nullopt;
  const std::int32_t position = list->CurrentPosition();
  // A stored position past the array has no entry to show.
  if (position > list->capacity) return std::nullopt;
  const std::int32_t index = position - 1;
  ListEntry entry;
  entry.position = position;
  if (list->tv) {
    const ChannelEntry& c = list->tv->channels[index];
    entry.number = c.lFreqChn;
    entry.dPresetFreq = c.dPresetFreq;
    entry.dFreqOffset = c.dFreqOffset;
    entry.name = c.szTVStnName;
  } else {
    const StationEntry& s = list->radio->stations[index];
    entry.number = s.lStn;
    entry.dPresetFreq = s.dPresetFreq;
    entry.dFreqOffset = s.dFreqOffset;
    entry.name = s.szRDStnName;
  }
  return entry;
}

std::int32_t ChannelLists::StepPosition(std::int32_t source, bool up) {
  const std::optional<ListRef> list = List(source);
  if (!list) return 0;
  const std::int32_t old = list->CurrentPosition();
  // 64-bit: a stored position may be the largest 32-bit value.
  const std::int64_t stepped = static_cast<std::int64_t>(old) + (up ? 1 : -1);
  std::int32_t next;
  if (list->count == 0 || stepped > list->count) {
    next = 1;
  } else if (stepped < 1) {
    next = list->count;
  } else {
    next = static_cast<std::int32_t>(stepped);
  }
  PreviousSlot(source) = old;
  *list->current = next;
  return next;
}

bool ChannelLists::HasNumber(std::int32_t source, std::int32_t number) const {
  const std::optional<ListRef> list = List(source);
  return list && list->Find(number) != 0;
}

std::int32_t ChannelLists::SelectByNumber(std::int32_t source, std::int32_t number) {
  const std::optional<ListRef> list = List(source);
  if (!list) return 0;
  const std::int32_t position = list->Find(number);
  if (position == 0) return list->count;
  PreviousSlot(source) = list->CurrentPosition();
  *list->current = position;
  return position;
}

std::int32_t ChannelLists::OffsetOf(std::int32_t number) const {
  const std::optional<ListRef> list = List(kSourceTv);
  const std::int32_t position = list->Find(number);
  if (position == 0) return 0;
  return MegahertzToHertz(m_settings.tvSet.channels[position - 1].dFreqOffset);
}

std::int32_t ChannelLists::PresetHertz(std::int32_t source) const {
  const std::optional<ListEntry> entry = CurrentEntry(source);
  return entry ? MegahertzToHertz(entry->dPresetFreq) : 0;
}

std::int32_t& ChannelLists::PreviousSlot(std::int32_t source) {
  return source == kSourceRadio ? m_previousStn : m_previousChn;
}

std::int32_t ChannelLists::PreviousPosition(std::int32_t source) const {
  if (source == kSourceTv) return m_previousChn;
  if (source == kSourceRadio) return m_previousStn;
  return 0;
}

std::int32_t ChannelLists::ReturnToPrevious(std::int32_t source) {
  const std::optional<ListRef> list = List(source);
  if (!list) return 0;
  std::int32_t& previous = PreviousSlot(source);
  if (previous < 1 || previous > list->count) return 0;
  const std::int32_t target = previous;
  previous = list->CurrentPosition();
  *list->current = target;
  return target;
}

std::optional<std::int32_t> TuneChannelHertz(const FreqTables& tables, const ChannelLists& lists,
                                             std::int32_t table, std::int32_t channel) {
  return TuneHertz(tables, table, channel, lists.OffsetOf(channel));
}

}  // namespace brontel

#pragma once
// The user's TV channel list and radio station list as the panel and the
// tuner use them: the current entry, stepping, direct selection by number,
// and the frequencies an entry tunes to.

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/app_settings.h"
#include "tv/freq_tables.h"

namespace brontel {

struct ListEntry {
  std::int32_t position = 0;  // counting from 1
  std::int32_t number = 0;    // lFreqChn for TV, lStn for Radio
  double dPresetFreq = 0.0;   // MHz
  double dFreqOffset = 0.0;   // MHz
  std::string name;           // szTVStnName or szRDStnName
};

class ChannelLists {
 public:
  explicit ChannelLists(CAppSettings& settings) : m_settings(settings) {}

  // The entry at lCurrChn (TV) or lCurrStn (Radio), a position of 0 or less
  // counting as 1. Nothing for other sources.
  std::optional<ListEntry> CurrentEntry(std::int32_t source) const;

  // One step up or down the list, wrapping above the count to 1 and below 1
  // to the count. The old position becomes the previous position. Returns
  // the new position, or 0 for sources without a list.
  std::int32_t StepPosition(std::int32_t source, bool up);

  // Whether an entry in use has this number.
  bool HasNumber(std::int32_t source, std::int32_t number) const;

  // Makes the first entry with this number current and returns its
  // position; without one nothing changes and the count is returned.
  std::int32_t SelectByNumber(std::int32_t source, std::int32_t number);

  // Fine-tune offset in hertz of the first TV entry with this lFreqChn;
  // 0 when there is none.
  std::int32_t OffsetOf(std::int32_t number) const;

  // The current entry's dPresetFreq in hertz (the radio is tuned with it);
  // 0 for sources without a list.
  std::int32_t PresetHertz(std::int32_t source) const;

  // The position before the last step or selection; 0 before the first.
  std::int32_t PreviousPosition(std::int32_t source) const;

  // Goes back to the previous position, which in turn remembers the one it
  // replaces, so that repeating it alternates between two entries. Returns
  // the new position, or 0 (nothing changes) when there is no previous
  // position within the list.
  std::int32_t ReturnToPrevious(std::int32_t source);

 private:
  struct ListRef;
  std::optional<ListRef> List(std::int32_t source) const;
  std::int32_t& PreviousSlot(std::int32_t source);

  CAppSettings& m_settings;
  std::int32_t m_previousChn = 0;
  std::int32_t m_previousStn = 0;
};

// What tuning a TV channel sends to the board: the frequency of `channel` in
// table `table` (lTunerSrc: 0 broadcast, 1 cable) plus the fine-tune offset
// of the first list entry with that lFreqChn. Nothing when the channel lies
// outside the table's limits.
std::optional<std::int32_t> TuneChannelHertz(const FreqTables& tables, const ChannelLists& lists,
                                             std::int32_t table, std::int32_t channel);

}  // namespace brontel

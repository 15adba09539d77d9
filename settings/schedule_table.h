#pragma once
// What the scheduler page does to the sheet's schedule table: adding,
// replacing, deleting and importing entries, and what each row shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"

namespace brontel {

// String numbers of the language library.
constexpr int kMsgScheTableFull = 276;
constexpr int kTextCaptureLong = 142;
constexpr int kTextCaptureNormal = 141;
constexpr int kTextCaptureHigh = 143;
constexpr int kTextCaptureCustom = 268;

// The name a TV or radio entry's channel has in the lists (the first channel
// whose "lFreqChn", or station whose "lStn", is the entry's number), "-" for
// the video inputs, nothing when the number names no channel any more.
std::optional<std::string> ScheChannelName(const ScheItem& item, const TVSetGroup& tvSet,
                                           const RdSetGroup& rdSet);

// The channel numbers the editor offers for a source, ascending and without
// repeats: TV 1 to 181, radio 1 to 10, none for the video inputs.
std::vector<std::int32_t> ChannelChoices(std::int32_t source, const TVSetGroup& tvSet,
                                         const RdSetGroup& rdSet);

// The source a new entry starts with: the panel's, or composite video when
// the panel's source has no channels to choose from.
std::int32_t PresetSourceForNewEntry(std::int32_t panelSource, const TVSetGroup& tvSet,
                                     const RdSetGroup& rdSet);

enum class ScheAddResult { kAdded, kTableFull, kNoChannel };
// Appends the entry with its channel name.
ScheAddResult AddScheItem(ScheItem item, const TVSetGroup& tvSet, const RdSetGroup& rdSet,
                          ScheSetGroup* schedule);
// Puts the entry in place of entry `index`; false, and nothing changes,
// when its channel is gone or the index is not in use.
bool ReplaceScheItem(int index, ScheItem item, const TVSetGroup& tvSet, const RdSetGroup& rdSet,
                     ScheSetGroup* schedule);
// Removes the entries whose `selected` flag is set; the others keep their
// order from the first slot on, and the freed slots hold the defaults.
void DeleteScheItems(const std::vector<bool>& selected, ScheSetGroup* schedule);

// The entry handed over by the iEPG handler while the sheet is open.
struct ScheImport {
  int message = 0;  // string to show, 0 for none
  int caption = 0;
  bool added = false;
  bool startsSoon = false;  // added, and starts within three minutes
};
ScheImport ImportScheItem(ScheItem item, DateTime now, const TVSetGroup& tvSet,
                          const RdSetGroup& rdSet, ScheSetGroup* schedule);

// What a row of the list shows.
enum class ScheRowState { kWaiting, kCompleted, kExpired };
ScheRowState RowState(const ScheItem& item, DateTime now);
// The entry number, two digits: "01" for index 0.
std::string EntryNumberText(int index);
// "-" for the video inputs.
std::string ChannelNumberText(const ScheItem& item);
// The string naming a capture mode; 0 for an unknown mode.
int CaptureModeTextId(std::int32_t mode);

// The first entries in use, as many as the table holds at most.
int ScheItemsInUse(const ScheSetGroup& schedule);

}  // namespace brontel

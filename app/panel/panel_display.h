#pragma once
// What the panel shows: indicators, the channel display, the volume meter and
// the time areas. Each function says which elements are shown, hidden or left
// alone and which label texts change; the dialog applies that to the skin.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/panel/panel_actions.h"

namespace brontel::panel {

// What to do with one element's size.
enum class Visibility {
  kLeave,  // keep its current size
  kShow,   // its recorded width and height
  kHide,   // width 0, height 0
};

struct ElementVisibility {
  const char* element;
  Visibility visibility;
};

// Source indicators ("msCurrSrc").
std::vector<ElementVisibility> SourceIndicators(std::int32_t msCurrSrc);
// Sound-mode indicators ("amCurrAudioMode").
std::vector<ElementVisibility> SoundIndicators(std::int32_t amCurrAudioMode);
// Recording-quality indicators ("cmCurrRecMode"; the radio shows WMA and
// leaves the other four as they are).
std::vector<ElementVisibility> QualityIndicators(std::int32_t msCurrSrc,
                                                 std::int32_t cmCurrRecMode);
// The 18 disabled overlays for the given enable flags.
std::vector<ElementVisibility> DisabledOverlays(const ActionStates& states);
// "VolUpBtn-D", "VolDnBtn-D", "AudioOnBtn", "AudioOffBtn" for "bAudioOn".
std::vector<ElementVisibility> SoundButtons(bool bAudioOn);

// Channel display: texts of labels 1013 (number) and 1012 (name).
struct ChannelDisplay {
  std::string numberText;
  std::string nameText;
};
struct ChannelInfo {
  bool exists = false;      // a current channel or station record exists
  std::int32_t number = 0;  // lFreqChn for TV, the station number for the radio
  std::string name;         // szTVStnName or szRDStnName (UTF-8)
};
ChannelDisplay MakeChannelDisplay(std::int32_t lRunMode, std::int32_t msCurrSrc,
                                  const ChannelInfo& channel);

// Panel rectangle in pixels.
struct PanelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PanelRect& other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
  }
};

// Volume meter level that fills the whole region.
constexpr int kVolumeMeterFull = 100;
constexpr int kVolumeMeterBands = 10;

// The rectangle of "VolMeter" for `level` within the region "VolMeterRgn":
// levels 1 to 10 grow from the bottom in bands of height / 10, 100 fills the
// region, 0 (and anything below) hides it. Levels 11 to 99 show ten bands.
PanelRect VolumeMeterRect(const PanelRect& region, int level);

// "%s:%s:%s" of hours, minutes and seconds, each two digits at least.
// Negative seconds show as 0.
std::string FormatShowTime(std::int64_t seconds);

// ShowTime's areas and kinds.
enum TimeArea : int { kAreaRemaining = 0, kAreaElapsed = 1 };
enum TimeKind : int { kKindPlay = 0, kKindDelay = 1, kKindRecord = 2 };

struct LabelText {
  int labelId;
  std::string text;
};

struct TimeDisplay {
  std::vector<LabelText> labels;
  std::vector<ElementVisibility> elements;
};

// What ShowTime(area, visible, kind, seconds) changes. `partNumber` is the
// current part of a split recording, shown only when `showPart` is set (a
// scheduled multiple capture runs, or a split recording is recorded or
// played back).
TimeDisplay PlanShowTime(int area, bool visible, int kind, std::int64_t seconds, bool showPart,
                         std::int32_t partNumber);

}  // namespace brontel::panel

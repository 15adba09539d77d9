#include "app/panel/panel_display.h"

#include <cstdio>

#include "app/panel/panel_elements.h"

namespace brontel::panel {
namespace {

Visibility ShownIf(bool shown) {
  return shown ? Visibility::kShow : Visibility::kHide;
}

std::string TwoDigits(std::int64_t value) {
  char text[32];
  std::snprintf(text, sizeof(text), value > 9 ? "%lld" : "0%lld", static_cast<long long>(value));
  return text;
}

std::string Format(const char* pattern, long value) {
  char text[32];
  std::snprintf(text, sizeof(text), pattern, value);
  return text;
}

}  // namespace

std::vector<ElementVisibility> SourceIndicators(std::int32_t msCurrSrc) {
  std::vector<ElementVisibility> out;
  for (std::size_t i = 0; i < kSourceIndicators.size(); ++i) {
    out.push_back({kSourceIndicators[i], ShownIf(static_cast<std::int32_t>(i) == msCurrSrc)});
  }
  return out;
}

std::vector<ElementVisibility> SoundIndicators(std::int32_t amCurrAudioMode) {
  std::vector<ElementVisibility> out;
  for (const SoundIndicator& indicator : kSoundIndicators) {
    out.push_back({indicator.name, ShownIf(indicator.mode == amCurrAudioMode)});
  }
  return out;
}

std::vector<ElementVisibility> QualityIndicators(std::int32_t msCurrSrc,
                                                 std::int32_t cmCurrRecMode) {
  std::vector<ElementVisibility> out;
  const bool radio = msCurrSrc == kSourceRadio;
  for (std::size_t i = 0; i < kQualityIndicators.size(); ++i) {
    out.push_back(
        {kQualityIndicators[i],
         radio ? Visibility::kLeave : ShownIf(static_cast<std::int32_t>(i) == cmCurrRecMode)});
  }
  out.push_back({kElementQualityWma, ShownIf(radio)});
  return out;
}

std::vector<ElementVisibility> DisabledOverlays(const ActionStates& states) {
  std::vector<ElementVisibility> out;
  for (int i = 0; i < kActionCount; ++i) {
    out.push_back({kDisabledOverlays[i], ShownIf(!states[i])});
  }
  return out;
}

std::vector<ElementVisibility> SoundButtons(bool bAudioOn) {
  return {{kElementVolUpDisabled, ShownIf(!bAudioOn)},
          {kElementVolDownDisabled, ShownIf(!bAudioOn)},
          {kElementAudioOn, ShownIf(bAudioOn)},
          {kElementAudioOff, ShownIf(!bAudioOn)}};
}

ChannelDisplay MakeChannelDisplay(std::int32_t lRunMode, std::int32_t msCurrSrc,
                                  const ChannelInfo& channel) {
  ChannelDisplay display;
  if (lRunMode != kRunLive || !channel.exists) return display;
  if (msCurrSrc == kSourceTv) {
    display.numberText = Format("Ch %ld", channel.number);
    display.nameText = channel.name;
  } else if (msCurrSrc == kSourceRadio) {
    display.numberText = Format("St %ld", channel.number);
    display.nameText = channel.name;
  }
  return display;
}

PanelRect VolumeMeterRect(const PanelRect& region, int level) {
  if (level == kVolumeMeterFull) return region;
  if (level <= 0) return PanelRect{region.left, region.top, 0, 0};
  if (level > kVolumeMeterBands) level = kVolumeMeterBands;
  const int band = region.height / kVolumeMeterBands;
  return PanelRect{region.left, region.top + (kVolumeMeterBands - level) * band, region.width,
                   level * band};
}

std::string FormatShowTime(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const std::int64_t hours = seconds / 3600;
  const std::int64_t minutes = seconds / 60 % 60;
  return TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds % 60);
}

TimeDisplay PlanShowTime(int area, bool visible, int kind, std::int64_t seconds, bool showPart,
                         std::int32_t partNumber) {
  TimeDisplay plan;
  const std::string text = visible ? FormatShowTime(seconds) : std::string();
  if (area == kAreaRemaining) {
    plan.labels.push_back({kLabelRemaining, text});
    plan.elements.push_back({kElementRemainTime, ShownIf(visible)});
    return plan;
  }
  if (area != kAreaElapsed) return plan;
  plan.labels.push_back({kLabelElapsed, text});
  plan.elements.push_back({kElementPlayTime, ShownIf(visible && kind == kKindPlay)});
  plan.elements.push_back({kElementDelayTime, ShownIf(visible && kind == kKindDelay)});
  plan.elements.push_back({kElementRecordTime, ShownIf(visible && kind == kKindRecord)});
  // A stale part number would mislabel the next recording, so every other
  // case empties it.
  const bool partShown = visible && showPart && (kind == kKindPlay || kind == kKindRecord);
  plan.labels.push_back({kLabelPart, partShown ? Format("(%ld)", partNumber) : std::string()});
  return plan;
}

}  // namespace brontel::panel

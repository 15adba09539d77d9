#include "settings/colour_sets.h"

#include <algorithm>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

std::int32_t Sanitized(std::int32_t value) {
  return value < kColourMin || value > kColourMax ? 0 : value;
}

}  // namespace

InputColour SanitizedColour(const InputColour& colour) {
  return InputColour{Sanitized(colour.lBrightness), Sanitized(colour.lContrast),
                     Sanitized(colour.lSaturation), Sanitized(colour.lHue)};
}

ColourSets ColourSetsOf(const VidClrGroup& group) {
  return ColourSets{SanitizedColour(group.tv), SanitizedColour(group.video1),
                    SanitizedColour(group.video2)};
}

void StoreColourSets(const ColourSets& sets, VidClrGroup* group) {
  group->tv = sets[static_cast<int>(ColourInput::kTv)];
  group->video1 = sets[static_cast<int>(ColourInput::kVideo1)];
  group->video2 = sets[static_cast<int>(ColourInput::kVideo2)];
}

std::int32_t ColourValue(const InputColour& colour, ColourProperty property) {
  switch (property) {
    case ColourProperty::kBrightness:
      return colour.lBrightness;
    case ColourProperty::kContrast:
      return colour.lContrast;
    case ColourProperty::kSaturation:
      return colour.lSaturation;
    case ColourProperty::kHue:
      return colour.lHue;
  }
  return 0;
}

void SetColourValue(InputColour* colour, ColourProperty property, std::int32_t value) {
  switch (property) {
    case ColourProperty::kBrightness:
      colour->lBrightness = value;
      break;
    case ColourProperty::kContrast:
      colour->lContrast = value;
      break;
    case ColourProperty::kSaturation:
      colour->lSaturation = value;
      break;
    case ColourProperty::kHue:
      colour->lHue = value;
      break;
  }
}

ColourInput InitialColourInput(bool allSame, std::int32_t liveSource) {
  if (allSame) return ColourInput::kTv;
  switch (liveSource) {
    case kSourceVideo:
      return ColourInput::kVideo1;
    case kSourceSVideo:
      return ColourInput::kVideo2;
    default:
      return ColourInput::kTv;
  }
}

bool ColourPreviewsOnBoard(ColourInput shown, std::int32_t liveSource, bool allSame) {
  // The radio shows no picture, so nothing it could preview.
  if (liveSource < kSourceTv || liveSource > kSourceSVideo) return false;
  return allSame || static_cast<std::int32_t>(shown) == liveSource;
}

void StoreColourChange(ColourSets* sets, ColourInput shown, ColourProperty property,
                       std::int32_t value, bool allSame) {
  value = std::clamp(value, kColourMin, kColourMax);
  if (allSame) {
    for (InputColour& set : *sets) SetColourValue(&set, property, value);
  } else {
    SetColourValue(&(*sets)[static_cast<int>(shown)], property, value);
  }
}

void ShareTvColour(ColourSets* sets) {
  const InputColour tv = (*sets)[static_cast<int>(ColourInput::kTv)];
  (*sets)[static_cast<int>(ColourInput::kVideo1)] = tv;
  (*sets)[static_cast<int>(ColourInput::kVideo2)] = tv;
}

int ColourInputNameId(ColourInput input) {
  return 153 + static_cast<int>(input);
}

}  // namespace brontel

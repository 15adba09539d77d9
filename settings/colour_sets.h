#pragma once
// The colour page's rules: three colour sets, one per input, that the page
// edits, which of them is shown, and when a change goes to the board.

#include <array>
#include <cstdint>

#include "app/settings/app_settings.h"

namespace brontel {

enum class ColourInput { kTv = 0, kVideo1 = 1, kVideo2 = 2 };
constexpr int kColourInputCount = 3;

enum class ColourProperty { kBrightness, kContrast, kSaturation, kHue };
constexpr int kColourPropertyCount = 4;

constexpr std::int32_t kColourMin = 0;
constexpr std::int32_t kColourMax = 100;

// The three sets, indexed by ColourInput.
using ColourSets = std::array<InputColour, kColourInputCount>;

// A stored value outside 0..100 is shown as 0 rather than pinning the slider
// at an end that the user never chose.
InputColour SanitizedColour(const InputColour& colour);
// The group's three sets, sanitised.
ColourSets ColourSetsOf(const VidClrGroup& group);
// Puts the three sets back into the group; its flags stay as they are.
void StoreColourSets(const ColourSets& sets, VidClrGroup* group);

std::int32_t ColourValue(const InputColour& colour, ColourProperty property);
void SetColourValue(InputColour* colour, ColourProperty property, std::int32_t value);

// The input whose set the page opens with: TV when all inputs share one set,
// else the live source's (TV for the radio, which has no picture).
ColourInput InitialColourInput(bool allSame, std::int32_t liveSource);
// Whether a change of the shown set is seen on the board's picture now.
bool ColourPreviewsOnBoard(ColourInput shown, std::int32_t liveSource, bool allSame);
// A slider's value goes into the shown set, or into all three when they
// are shared. The value is kept within 0..100.
void StoreColourChange(ColourSets* sets, ColourInput shown, ColourProperty property,
                       std::int32_t value, bool allSame);
// The TV set copied into both video sets, when the user chooses one set
// for all inputs.
void ShareTvColour(ColourSets* sets);

// The string naming an input on the page: 153 TV, 154 video 1, 155 video 2.
int ColourInputNameId(ColourInput input);

}  // namespace brontel

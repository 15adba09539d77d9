#pragma once
// Registration data shared by both filters: two video pins, merit
// MERIT_UNLIKELY so automatic graph building never picks them.

#include "dshow/filter_registration.h"

namespace brontel {

inline constexpr DWORD kDeinterlaceFilterMerit = 0x200000;

// "Input" (not rendered) and "Output" (rendered), major type video, any subtype.
const dshow::PinSetup* DeinterlaceFilterPins();
inline constexpr UINT kDeinterlaceFilterPinCount = 2;

}  // namespace brontel

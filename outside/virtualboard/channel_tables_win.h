#pragma once
// The channel tables installed in the Windows directory.

#include <cstdint>

#include "outside/virtualboard/station_plan.h"

// Japan, the board's home country, and the program's default.
constexpr int32_t kDefaultCountryCode = 81;

// The country whose channel tables the program uses: its AppSet value
// "lCountryCode" (decimal text), or the default when it has none yet.
int32_t ProgramCountryCode();

// "TVFreqBroad_<country>.ini" or "TVFreqCable_<country>.ini"; an empty table
// when the file is missing or its limits are not positive.
ChannelTable ReadChannelTable(bool cable, int32_t countryCode);

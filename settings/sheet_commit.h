#pragma once
// What the OK button of the settings sheet hands back to the main program.

#include "app/settings/app_settings.h"

namespace brontel {

// Copies the sheet's working copy into the live settings, group by group:
// every channel, encoder, station and schedule record comes along.
//
// AppSet is the main program's own running state (source, volume, recording
// quality, window places); no page edits it, and the scheduler may change it
// while the sheet is open, so the live values stay. The schedule stays live
// too when the sheet had no scheduler page: the main program then takes
// iEPG hand-overs into the live table itself, and the stale copy would drop
// them.
void CommitWorkingCopy(const CAppSettings& working, bool scheduleOnSheet, CAppSettings* live);

}  // namespace brontel

#pragma once
// Powering the PC off at the end of the shutdown sequence.

namespace brontel {

// Frees the power library if it was loaded.
void FreePowerLibrary();

// Asks the system to power off; false when that could not be started.
bool PowerOffPc();

}  // namespace brontel

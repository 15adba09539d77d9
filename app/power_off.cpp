#include "app/power_off.h"

// Power management is not part of this build yet: nothing is loaded, and a
// power-off request reports that it could not be done.

namespace brontel {

void FreePowerLibrary() {}

bool PowerOffPc() {
  return false;
}

}  // namespace brontel

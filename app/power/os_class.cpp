#include "app/power/os_class.h"

namespace brontel::power {

int OsClassOf(const OsVersion& v) {
  if (v.platformId == kPlatformWin9x && v.major == 4) {
    if (v.minor == 0 || v.minor == 10) return 1;
    if (v.minor == 90) return 2;
    return kOsClassUnknown;
  }
  if (v.platformId != kPlatformNt) return kOsClassUnknown;
  if (v.major <= 4) return 3;
  if (v.major == 5) {
    if (v.minor == 0) return 4;
    if (v.minor == 1 && v.productType == kProductWorkstation) return 5;
    const bool server =
        v.productType == kProductServer || v.productType == kProductDomainController;
    if (v.minor == 2 && server) return 5;
    return kOsClassUnknown;
  }
  // Vista, 7, 8, 10 and 11 keep the power interfaces reservation mode uses;
  // without a class of their own every current PC would be refused.
  return kOsClassNt6;
}

bool OsClassAllowsReservation(int osClass) {
  return osClass == 4 || osClass == 5 || osClass == kOsClassNt6;
}

}  // namespace brontel::power

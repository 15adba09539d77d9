#include "deinterlace/filter/filter_setup.h"

#include <uuids.h>

namespace brontel {

const dshow::PinSetup* DeinterlaceFilterPins() {
  static const dshow::PinSetup kPins[kDeinterlaceFilterPinCount] = {
      {L"Input", false, false, false, false, &MEDIATYPE_Video, &GUID_NULL},
      {L"Output", true, true, false, false, &MEDIATYPE_Video, &GUID_NULL},
  };
  return kPins;
}

}  // namespace brontel

#include "deinterlace/filter/deinterlace_library.h"

#include <uuids.h>

#include <iterator>

#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/deinterlace_page.h"
#include "deinterlace/filter/grab_filter.h"
#include "deinterlace/filter/snap_filter.h"

namespace brontel {

namespace {

constexpr DWORD kMeritUnlikely = 0x200000;

const dshow::PinSetup kPins[] = {
    {L"Input", false, false, false, false, &MEDIATYPE_Video, &GUID_NULL},
    {L"Output", true, true, false, false, &MEDIATYPE_Video, &GUID_NULL},
};

}  // namespace

const DeinterlaceLibrary kGrabLibrary = {
    &kClsidDeinterlaceGrabFilter,
    L"kxDIgrab",
    &kClsidDeinterlaceGrabPage,
    L"kxDIgrab Property",
    &kIidDeinterlaceControlGrab,
    true,
    {&kClsidDeinterlaceGrabFilter, L"kxDIgrab", kMeritUnlikely, kPins, std::size(kPins)}};

const DeinterlaceLibrary kSnapLibrary = {
    &kClsidFrameSnapFilter,
    L"kxDISnap",
    &kClsidFrameSnapPage,
    L"kxDISnap Property",
    &kIidDeinterlaceControlSnap,
    false,
    {&kClsidFrameSnapFilter, L"kxDISnap", kMeritUnlikely, kPins, std::size(kPins)}};

LibraryClasses GrabLibraryClasses() {
  static const dshow::FactoryTemplate kClasses[] = {
      {kGrabLibrary.filterName, kGrabLibrary.filter,
       &dshow::CreateFilterInstance<DeinterlaceGrabFilter>, &kGrabLibrary.setup},
      {kGrabLibrary.pageName, kGrabLibrary.page, &DeinterlacePage::CreateGrabPage, nullptr},
  };
  return {kClasses, std::size(kClasses)};
}

LibraryClasses SnapLibraryClasses() {
  static const dshow::FactoryTemplate kClasses[] = {
      {kSnapLibrary.filterName, kSnapLibrary.filter, &dshow::CreateFilterInstance<FrameSnapFilter>,
       &kSnapLibrary.setup},
      {kSnapLibrary.pageName, kSnapLibrary.page, &DeinterlacePage::CreateSnapPage, nullptr},
  };
  return {kClasses, std::size(kClasses)};
}

}  // namespace brontel

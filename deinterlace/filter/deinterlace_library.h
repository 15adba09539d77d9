#pragma once
// The identity of the two filter libraries, kxDIgrab and kxDISnap: class ids,
// names, the id under which each answers IDeinterlaceControl, and the
// registration data of its filter.

#include "win32/windows_include.h"

#include <cstddef>

#include "dshow/class_factory.h"
#include "dshow/filter_registration.h"

namespace brontel {

struct DeinterlaceLibrary {
  const CLSID* filter;
  const wchar_t* filterName;
  const CLSID* page;
  const wchar_t* pageName;
  const IID* control;
  // kxDISnap keeps no settings: its GetSettings and SetSettings do nothing.
  bool keepsSettings;
  // Two video pins, merit MERIT_UNLIKELY so automatic graph building never
  // picks the filter.
  dshow::FilterSetup setup;
};

extern const DeinterlaceLibrary kGrabLibrary;
extern const DeinterlaceLibrary kSnapLibrary;

// A library's class-factory table: its filter and its property page.
struct LibraryClasses {
  const dshow::FactoryTemplate* table;
  std::size_t count;
};
LibraryClasses GrabLibraryClasses();
LibraryClasses SnapLibraryClasses();

}  // namespace brontel

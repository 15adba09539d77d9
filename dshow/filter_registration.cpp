#include "dshow/filter_registration.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <vector>

#include "win32/com_ptr.h"

namespace brontel::dshow {

HRESULT RegisterFilterWithMapper(const FilterSetup& setup, bool reg) {
  ComPtr<IFilterMapper2> mapper;
  HRESULT hr =
      CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                       reinterpret_cast<void**>(mapper.GetAddressOf()));
  if (FAILED(hr)) return hr;

  if (!reg) {
    hr = mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *setup.clsid);
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == VFW_E_NOT_FOUND) return S_OK;
    return hr;
  }

  std::vector<REGPINTYPES> types(setup.pinCount);
  std::vector<REGFILTERPINS> pins(setup.pinCount);
  for (UINT i = 0; i < setup.pinCount; ++i) {
    const PinSetup& pin = setup.pins[i];
    types[i].clsMajorType = pin.majorType;
    types[i].clsMinorType = pin.subType;
    pins[i] = REGFILTERPINS{};
    pins[i].strName = const_cast<LPWSTR>(pin.name);
    pins[i].bRendered = pin.rendered;
    pins[i].bOutput = pin.output;
    pins[i].bZero = pin.zero;
    pins[i].bMany = pin.many;
    pins[i].clsConnectsToFilter = &CLSID_NULL;
    pins[i].strConnectsToPin = nullptr;
    pins[i].nMediaTypes = 1;
    pins[i].lpMediaType = &types[i];
  }
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = setup.merit;
  filter.cPins = setup.pinCount;
  filter.rgPins = pins.data();
  return mapper->RegisterFilter(*setup.clsid, setup.name, nullptr, &CLSID_LegacyAmFilterCategory,
                                nullptr, &filter);
}

}  // namespace brontel::dshow

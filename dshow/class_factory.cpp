#include "dshow/class_factory.h"

#include <string>

#include "dshow/filter_registration.h"

namespace brontel::dshow {

HRESULT GetClassObjectFromTable(const FactoryTemplate* table, size_t count, REFCLSID clsid,
                                REFIID riid, void** ppv) {
  return GetClassObjectFromRows(
      table, count, &FactoryTemplate::clsid, clsid, riid, ppv,
      [](const FactoryTemplate& entry) { return NewClassFactory(entry.create); });
}

HRESULT RegisterServerFromTable(const FactoryTemplate* table, size_t count, bool reg) {
  std::wstring modulePath;
  HRESULT result = GetModulePath(&modulePath);
  if (FAILED(result)) return result;

  if (reg) {
    for (size_t i = 0; i < count && SUCCEEDED(result); ++i) {
      result = WriteInprocClassKey(*table[i].clsid, table[i].name, modulePath, L"Both");
    }
    if (FAILED(result)) return result;
  }

  // regsvr32 initialises COM itself; other callers may not have.
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (size_t i = 0; i < count; ++i) {
    if (!table[i].filterSetup) continue;
    HRESULT hr = RegisterFilterWithMapper(*table[i].filterSetup, reg);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  if (SUCCEEDED(init)) CoUninitialize();

  if (!reg) {
    for (size_t i = 0; i < count; ++i) {
      HRESULT hr = RemoveClassKey(*table[i].clsid);
      if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
  }
  return result;
}

}  // namespace brontel::dshow

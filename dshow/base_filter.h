#pragma once
// The filter half of IBaseFilter: the stopped / paused / running state
// machine, the reference clock, joining the graph, and pin enumeration. A
// derived filter owns its pins and hands them out through PinCount/Pin.

#include "win32/windows_include.h"
#include <strmif.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <new>
#include <string>

#include "dshow/critical_section.h"
#include "win32/module_lock.h"

namespace brontel::dshow {

class BasePin;
struct FilterSetup;

class BaseFilter : public IBaseFilter, public IAMovieSetup {
 public:
  BaseFilter(const CLSID& clsid, const wchar_t* name);
  virtual ~BaseFilter();
  BaseFilter(const BaseFilter&) = delete;
  BaseFilter& operator=(const BaseFilter&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPersist
  STDMETHODIMP GetClassID(CLSID* clsid) override;

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD milliseconds, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** ppPin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* vendorInfo) override;

  // IAMovieSetup: registers or removes this filter with the module's data.
  STDMETHODIMP Register() override;
  STDMETHODIMP Unregister() override;

  virtual int PinCount() = 0;
  virtual BasePin* Pin(int index) = 0;
  // Registration data for IAMovieSetup; null when the filter has none.
  virtual const FilterSetup* SetupData() { return nullptr; }

  CriticalSection& FilterLock() { return m_filterLock; }
  // Read without the lock by the streaming side; only the control thread writes it.
  FILTER_STATE State() const { return m_state; }
  bool IsStopped() const { return m_state == State_Stopped; }
  REFERENCE_TIME StreamStart() const { return m_start; }
  IFilterGraph* Graph() const { return m_graph; }
  // Sends an event to the graph's event sink; E_NOTIMPL when not in a graph.
  HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

 protected:
  // Extra interfaces of a derived filter; E_NOINTERFACE when not answered.
  virtual HRESULT QueryFilterInterface(REFIID riid, void** ppv);

  CriticalSection m_filterLock;
  volatile FILTER_STATE m_state = State_Stopped;

 private:
  LONG m_refCount = 1;
  CLSID m_clsid;
  std::wstring m_name;
  IReferenceClock* m_clock = nullptr;  // AddRef'd
  REFERENCE_TIME m_start = 0;
  IFilterGraph* m_graph = nullptr;         // not AddRef'd: the graph owns us
  IMediaEventSink* m_eventSink = nullptr;  // not AddRef'd, for the same reason
  ModuleObjectLock m_moduleLock;
};

// new (std::nothrow) T, with a constructor's bad_alloc turned into
// E_OUTOFMEMORY, as a class factory's creation function.
template <typename T>
HRESULT CreateFilterInstance(IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  try {
    T* filter = new (std::nothrow) T();
    if (!filter) return E_OUTOFMEMORY;
    *object = static_cast<IBaseFilter*>(filter);
    return S_OK;
  } catch (...) {
    // A name or table the constructor could not allocate.
    return E_OUTOFMEMORY;
  }
}

}  // namespace brontel::dshow

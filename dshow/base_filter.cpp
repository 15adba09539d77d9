#include "dshow/base_filter.h"

#include <cstring>
#include <new>

#include "dshow/base_pin.h"
#include "dshow/enumerators.h"
#include "dshow/filter_registration.h"

namespace brontel::dshow {

BaseFilter::BaseFilter(const CLSID& clsid, const wchar_t* name) : m_clsid(clsid), m_name(name) {}

BaseFilter::~BaseFilter() {
  if (m_clock) m_clock->Release();
}

STDMETHODIMP BaseFilter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IBaseFilter || riid == IID_IMediaFilter ||
      riid == IID_IPersist) {
    *ppv = static_cast<IBaseFilter*>(this);
  } else if (riid == IID_IAMovieSetup) {
    *ppv = static_cast<IAMovieSetup*>(this);
  } else {
    return QueryFilterInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

HRESULT BaseFilter::QueryFilterInterface(REFIID, void** ppv) {
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BaseFilter::AddRef() {
  return InterlockedIncrement(&m_refCount);
}

STDMETHODIMP_(ULONG) BaseFilter::Release() {
  LONG count = InterlockedDecrement(&m_refCount);
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP BaseFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = m_clsid;
  return S_OK;
}

STDMETHODIMP BaseFilter::Stop() {
  AutoLock lock(m_filterLock);
  HRESULT result = S_OK;
  if (m_state != State_Stopped) {
    for (int i = 0; i < PinCount(); ++i) {
      BasePin* pin = Pin(i);
      if (pin && pin->IsConnected()) {
        HRESULT hr = pin->Inactive();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
      }
    }
  }
  m_state = State_Stopped;
  return result;
}

STDMETHODIMP BaseFilter::Pause() {
  AutoLock lock(m_filterLock);
  if (m_state == State_Stopped) {
    for (int i = 0; i < PinCount(); ++i) {
      BasePin* pin = Pin(i);
      if (pin && pin->IsConnected()) {
        HRESULT hr = pin->Active();
        if (FAILED(hr)) return hr;
      }
    }
  }
  m_state = State_Paused;
  return S_OK;
}

STDMETHODIMP BaseFilter::Run(REFERENCE_TIME start) {
  AutoLock lock(m_filterLock);
  m_start = start;
  if (m_state == State_Stopped) {
    HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  m_state = State_Running;
  return S_OK;
}

STDMETHODIMP BaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = m_state;
  return S_OK;
}

STDMETHODIMP BaseFilter::SetSyncSource(IReferenceClock* clock) {
  AutoLock lock(m_filterLock);
  if (clock) clock->AddRef();
  if (m_clock) m_clock->Release();
  m_clock = clock;
  return S_OK;
}

STDMETHODIMP BaseFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  AutoLock lock(m_filterLock);
  *clock = m_clock;
  if (m_clock) m_clock->AddRef();
  return S_OK;
}

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** ppEnum) {
  return CreatePinEnumerator(this, ppEnum);
}

STDMETHODIMP BaseFilter::FindPin(LPCWSTR id, IPin** ppPin) {
  if (!ppPin) return E_POINTER;
  *ppPin = nullptr;
  if (!id) return E_POINTER;
  AutoLock lock(m_filterLock);
  for (int i = 0; i < PinCount(); ++i) {
    BasePin* pin = Pin(i);
    if (pin && pin->Name() == id) {
      *ppPin = pin;
      pin->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP BaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  AutoLock lock(m_filterLock);
  size_t count = m_name.size();
  if (count >= MAX_FILTER_NAME) count = MAX_FILTER_NAME - 1;
  std::memcpy(info->achName, m_name.c_str(), count * sizeof(WCHAR));
  info->achName[count] = L'\0';
  info->pGraph = m_graph;
  if (m_graph) m_graph->AddRef();
  return S_OK;
}

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  AutoLock lock(m_filterLock);
  m_graph = graph;
  m_eventSink = nullptr;
  if (graph) {
    // Borrowed: holding a reference on the graph would keep it alive forever.
    IMediaEventSink* sink = nullptr;
    if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
      m_eventSink = sink;
      sink->Release();
    }
    if (name) m_name = name;
  }
  return S_OK;
}

STDMETHODIMP BaseFilter::QueryVendorInfo(LPWSTR* vendorInfo) {
  if (!vendorInfo) return E_POINTER;
  *vendorInfo = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BaseFilter::Register() {
  const FilterSetup* setup = SetupData();
  if (!setup) return E_NOTIMPL;
  return RegisterFilterWithMapper(*setup, true);
}

STDMETHODIMP BaseFilter::Unregister() {
  const FilterSetup* setup = SetupData();
  if (!setup) return E_NOTIMPL;
  return RegisterFilterWithMapper(*setup, false);
}

HRESULT BaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = m_eventSink;
  if (!sink) return E_NOTIMPL;
  return sink->Notify(code, param1, param2);
}

}  // namespace brontel::dshow

#include "dshow/base_pin.h"

#include <cstring>

#include "dshow/base_filter.h"
#include "win32/com_ptr.h"
#include "dshow/enumerators.h"

namespace brontel::dshow {

HRESULT MapTypeRefusal(HRESULT checkResult) {
  if (SUCCEEDED(checkResult) || checkResult == E_FAIL || checkResult == E_INVALIDARG) {
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return checkResult;
}

BasePin::BasePin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name,
                 PIN_DIRECTION direction)
    : m_filter(filter), m_lock(lock), m_name(name), m_direction(direction) {}

BasePin::~BasePin() {
  if (m_connected) m_connected->Release();
}

STDMETHODIMP BasePin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPin) {
    *ppv = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BasePin::AddRef() {
  return m_filter->AddRef();
}
STDMETHODIMP_(ULONG) BasePin::Release() {
  return m_filter->Release();
}

HRESULT BasePin::GetMediaType(int position, MediaType*) {
  return position < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT BasePin::CheckConnect(IPin* pin) {
  PIN_DIRECTION other;
  HRESULT hr = pin->QueryDirection(&other);
  if (FAILED(hr)) return hr;
  return other == m_direction ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT BasePin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  return m_mt.Assign(mt);
}

STDMETHODIMP BasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) {
  if (!receivePin) return E_POINTER;
  AutoLock lock(m_lock);
  if (m_connected) return VFW_E_ALREADY_CONNECTED;
  if (!m_filter->IsStopped()) return VFW_E_NOT_STOPPED;
  return AgreeMediaType(receivePin, mt);
}

HRESULT BasePin::AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* mt) {
  if (mt && !IsPartiallySpecified(*mt)) return AttemptConnection(receivePin, *mt);

  // Try the receiver's types first, then ours; remember the most useful failure.
  HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
  ComPtr<IEnumMediaTypes> theirs;
  if (SUCCEEDED(receivePin->EnumMediaTypes(theirs.GetAddressOf())) && theirs) {
    HRESULT hr = TryMediaTypes(receivePin, mt, theirs.Get());
    if (SUCCEEDED(hr)) return hr;
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES) failure = hr;
  }
  ComPtr<IEnumMediaTypes> ours;
  if (SUCCEEDED(EnumMediaTypes(ours.GetAddressOf()))) {
    HRESULT hr = TryMediaTypes(receivePin, mt, ours.Get());
    if (SUCCEEDED(hr)) return hr;
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES) failure = hr;
  }
  return failure;
}

HRESULT BasePin::TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* pattern,
                               IEnumMediaTypes* types) {
  HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
  types->Reset();
  for (;;) {
    AM_MEDIA_TYPE* candidate = nullptr;
    ULONG fetched = 0;
    if (types->Next(1, &candidate, &fetched) != S_OK || fetched != 1 || !candidate) break;
    HRESULT hr = S_FALSE;
    if (!pattern || MatchesPartial(*candidate, *pattern)) {
      hr = AttemptConnection(receivePin, *candidate);
    }
    DeleteMediaType(candidate);
    if (SUCCEEDED(hr)) return hr;
    // A refused type says nothing new; a different error (no allocator, for
    // example) explains the failure better.
    if (FAILED(hr) && hr != VFW_E_TYPE_NOT_ACCEPTED) failure = hr;
  }
  return failure;
}

HRESULT BasePin::AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE& mt) {
  HRESULT hr = CheckConnect(receivePin);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckMediaType(mt);
  if (hr != S_OK) {
    BreakConnect();
    return MapTypeRefusal(hr);
  }
  m_connected = receivePin;
  m_connected->AddRef();
  hr = SetMediaType(mt);
  if (SUCCEEDED(hr)) {
    hr = receivePin->ReceiveConnection(this, &mt);
    if (SUCCEEDED(hr)) {
      hr = CompleteConnect(receivePin);
      if (SUCCEEDED(hr)) return S_OK;
      receivePin->Disconnect();
    }
  }
  BreakConnect();
  m_connected->Release();
  m_connected = nullptr;
  m_mt.Clear();
  return hr;
}

STDMETHODIMP BasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  if (!connector || !mt) return E_POINTER;
  AutoLock lock(m_lock);
  if (m_connected) return VFW_E_ALREADY_CONNECTED;
  if (!m_filter->IsStopped()) return VFW_E_NOT_STOPPED;
  HRESULT hr = CheckConnect(connector);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckMediaType(*mt);
  if (hr != S_OK) {
    BreakConnect();
    return MapTypeRefusal(hr);
  }
  m_connected = connector;
  m_connected->AddRef();
  hr = SetMediaType(*mt);
  if (SUCCEEDED(hr)) {
    hr = CompleteConnect(connector);
    if (SUCCEEDED(hr)) return S_OK;
  }
  BreakConnect();
  m_connected->Release();
  m_connected = nullptr;
  m_mt.Clear();
  return hr;
}

STDMETHODIMP BasePin::Disconnect() {
  AutoLock lock(m_lock);
  if (!m_filter->IsStopped()) return VFW_E_NOT_STOPPED;
  if (!m_connected) return S_FALSE;
  HRESULT hr = BreakConnect();
  if (FAILED(hr)) return hr;
  m_connected->Release();
  m_connected = nullptr;
  m_mt.Clear();
  return S_OK;
}

STDMETHODIMP BasePin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  AutoLock lock(m_lock);
  *pin = m_connected;
  if (!m_connected) return VFW_E_NOT_CONNECTED;
  m_connected->AddRef();
  return S_OK;
}

STDMETHODIMP BasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  AutoLock lock(m_lock);
  if (!m_connected) {
    *mt = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(mt, m_mt.Get());
}

STDMETHODIMP BasePin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = m_filter;
  m_filter->AddRef();
  info->dir = m_direction;
  size_t count = m_name.size();
  if (count >= MAX_PIN_NAME) count = MAX_PIN_NAME - 1;
  std::memcpy(info->achName, m_name.c_str(), count * sizeof(WCHAR));
  info->achName[count] = L'\0';
  return S_OK;
}

STDMETHODIMP BasePin::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = m_direction;
  return S_OK;
}

STDMETHODIMP BasePin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  size_t bytes = (m_name.size() + 1) * sizeof(WCHAR);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, m_name.c_str(), bytes);
  return S_OK;
}

STDMETHODIMP BasePin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  // The contract allows only S_OK or S_FALSE here.
  return CheckMediaType(*mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP BasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  return CreateMediaTypeEnumerator(this, ppEnum);
}

STDMETHODIMP BasePin::QueryInternalConnections(IPin** pins, ULONG* count) {
  return E_NOTIMPL;
}

STDMETHODIMP BasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  m_segmentStart = start;
  m_segmentStop = stop;
  m_segmentRate = rate;
  return S_OK;
}

}  // namespace brontel::dshow

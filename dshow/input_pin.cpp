#include "dshow/input_pin.h"

#include <evcode.h>

#include "dshow/base_filter.h"

namespace brontel::dshow {

InputPin::InputPin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name)
    : BasePin(filter, lock, name, PINDIR_INPUT) {}

InputPin::~InputPin() {
  if (m_allocator) m_allocator->Release();
}

STDMETHODIMP InputPin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IMemInputPin) {
    *ppv = static_cast<IMemInputPin*>(this);
    AddRef();
    return S_OK;
  }
  return BasePin::QueryInterface(riid, ppv);
}

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  if (!m_allocator) {
    HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IMemAllocator, reinterpret_cast<void**>(&m_allocator));
    if (FAILED(hr)) {
      m_allocator = nullptr;
      *allocator = nullptr;
      return hr;
    }
  }
  *allocator = m_allocator;
  m_allocator->AddRef();
  return S_OK;
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  allocator->AddRef();
  if (m_allocator) m_allocator->Release();
  m_allocator = allocator;
  m_readOnly = readOnly != FALSE;
  return S_OK;
}

STDMETHODIMP InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) {
  return E_NOTIMPL;
}

HRESULT InputPin::CheckStreaming() {
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (m_filter->IsStopped()) return VFW_E_WRONG_STATE;
  if (m_flushing) return S_FALSE;
  if (m_streamError) return VFW_E_RUNTIME_ERROR;
  return S_OK;
}

HRESULT InputPin::AcceptSampleType(const AM_MEDIA_TYPE& mt) {
  if (CheckMediaType(mt) != S_OK) return VFW_E_INVALIDMEDIATYPE;
  if (MediaTypesEqual(mt, CurrentMediaType().Get())) return S_OK;
  // The control thread reads the connection type under this lock.
  AutoLock lock(m_lock);
  HRESULT hr = SetMediaType(mt);
  return FAILED(hr) ? VFW_E_INVALIDMEDIATYPE : S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  AM_MEDIA_TYPE* attached = nullptr;
  if (sample->GetMediaType(&attached) == S_OK && attached) {
    hr = AcceptSampleType(*attached);
    DeleteMediaType(attached);
    if (FAILED(hr)) {
      // The rest of the stream would be read with the wrong format: end it
      // and tell the application why it stopped.
      m_streamError = true;
      EndStreamAfterError();
      m_filter->NotifyEvent(EC_ERRORABORT, hr, 0);
      return hr;
    }
  }
  return OnReceive(sample);
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  if (!samples || !processed) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

STDMETHODIMP InputPin::ReceiveCanBlock() {
  return S_OK;
}

STDMETHODIMP InputPin::EndOfStream() {
  return CheckStreaming();
}

STDMETHODIMP InputPin::BeginFlush() {
  AutoLock lock(m_lock);
  m_flushing = true;
  return S_OK;
}

STDMETHODIMP InputPin::EndFlush() {
  AutoLock lock(m_lock);
  m_flushing = false;
  m_streamError = false;  // a flush starts a new stream
  return S_OK;
}

HRESULT InputPin::Inactive() {
  m_flushing = false;
  m_streamError = false;
  if (!m_allocator) return VFW_E_NO_ALLOCATOR;
  // Wakes an upstream thread blocked in GetBuffer.
  return m_allocator->Decommit();
}

HRESULT InputPin::BreakConnect() {
  if (m_allocator) {
    m_allocator->Decommit();
    m_allocator->Release();
    m_allocator = nullptr;
  }
  m_readOnly = false;
  return S_OK;
}

}  // namespace brontel::dshow

#include "dshow/input_pin.h"

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
  return S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
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
  return S_OK;
}

HRESULT InputPin::Inactive() {
  m_flushing = false;
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

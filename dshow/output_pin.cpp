#include "dshow/output_pin.h"

#include "dshow/base_filter.h"
#include "win32/com_ptr.h"

namespace brontel::dshow {

OutputPin::OutputPin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name)
    : BasePin(filter, lock, name, PINDIR_OUTPUT) {}

OutputPin::~OutputPin() {
  BreakConnect();
}

HRESULT OutputPin::CheckConnect(IPin* pin) {
  HRESULT hr = BasePin::CheckConnect(pin);
  if (FAILED(hr)) return hr;
  IMemInputPin* input = nullptr;
  hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
  if (FAILED(hr)) return E_NOINTERFACE;
  if (m_inputPin) m_inputPin->Release();
  m_inputPin = input;
  return S_OK;
}

HRESULT OutputPin::CompleteConnect(IPin*) {
  IMemAllocator* allocator = nullptr;
  HRESULT hr = DecideAllocator(m_inputPin, &allocator);
  if (FAILED(hr)) return hr;
  if (m_allocator) m_allocator->Release();
  m_allocator = allocator;
  return S_OK;
}

HRESULT OutputPin::BreakConnect() {
  if (m_allocator) {
    m_allocator->Decommit();
    m_allocator->Release();
    m_allocator = nullptr;
  }
  if (m_inputPin) {
    m_inputPin->Release();
    m_inputPin = nullptr;
  }
  return S_OK;
}

HRESULT OutputPin::CreateMemoryAllocator(IMemAllocator** allocator) {
  return CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          reinterpret_cast<void**>(allocator));
}

HRESULT OutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
  *allocator = nullptr;
  ALLOCATOR_PROPERTIES wanted{};
  pin->GetAllocatorRequirements(&wanted);  // optional; zero means no wish
  if (wanted.cbAlign == 0) wanted.cbAlign = 1;

  ComPtr<IMemAllocator> candidate;
  HRESULT hr = pin->GetAllocator(candidate.GetAddressOf());
  if (SUCCEEDED(hr) && candidate) {
    ALLOCATOR_PROPERTIES request = wanted;
    hr = DecideBufferSize(candidate.Get(), &request);
    if (SUCCEEDED(hr)) {
      hr = pin->NotifyAllocator(candidate.Get(), FALSE);
      if (SUCCEEDED(hr)) {
        *allocator = candidate.Detach();
        return S_OK;
      }
    }
    // Downstream's allocator could not grant the buffers; ours may.
  }

  hr = CreateMemoryAllocator(candidate.GetAddressOf());
  if (FAILED(hr)) return hr;
  ALLOCATOR_PROPERTIES request = wanted;
  hr = DecideBufferSize(candidate.Get(), &request);
  if (FAILED(hr)) return hr;
  hr = pin->NotifyAllocator(candidate.Get(), FALSE);
  if (FAILED(hr)) return hr;
  *allocator = candidate.Detach();
  return S_OK;
}

HRESULT OutputPin::Active() {
  if (!m_allocator) return VFW_E_NO_ALLOCATOR;
  return m_allocator->Commit();
}

HRESULT OutputPin::Inactive() {
  if (!m_allocator) return VFW_E_NO_ALLOCATOR;
  return m_allocator->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                     REFERENCE_TIME* stop, DWORD flags) {
  if (!sample) return E_POINTER;
  *sample = nullptr;
  if (!m_allocator) return VFW_E_NO_ALLOCATOR;
  return m_allocator->GetBuffer(sample, start, stop, flags);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) {
  if (!m_inputPin) return VFW_E_NOT_CONNECTED;
  return m_inputPin->Receive(sample);
}

HRESULT OutputPin::DeliverEndOfStream() {
  IPin* pin = ConnectedPin();
  return pin ? pin->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverBeginFlush() {
  IPin* pin = ConnectedPin();
  return pin ? pin->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndFlush() {
  IPin* pin = ConnectedPin();
  return pin ? pin->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  NewSegment(start, stop, rate);
  IPin* pin = ConnectedPin();
  return pin ? pin->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

}  // namespace brontel::dshow

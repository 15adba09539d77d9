#include "dshow/transform_filter.h"

#include "win32/com_ptr.h"
#include "dshow/enumerators.h"

namespace brontel::dshow {

// ---- input pin

TransformInputPin::TransformInputPin(TransformFilter* filter, const wchar_t* name)
    : InputPin(filter, filter->FilterLock(), name), m_transform(filter) {}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return m_transform->CheckInputType(mt);
}

HRESULT TransformInputPin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = InputPin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  return m_transform->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT TransformInputPin::CompleteConnect(IPin* receivePin) {
  return m_transform->CompleteConnect(PINDIR_INPUT, receivePin);
}

HRESULT TransformInputPin::BreakConnect() {
  InputPin::BreakConnect();
  return m_transform->BreakConnect(PINDIR_INPUT);
}

HRESULT TransformInputPin::OnReceive(IMediaSample* sample) {
  if (!m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  return m_transform->Receive(sample);
}

STDMETHODIMP TransformInputPin::EndOfStream() {
  AutoLock lock(m_transform->ReceiveLock());
  HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  return m_transform->EndOfStream();
}

STDMETHODIMP TransformInputPin::BeginFlush() {
  AutoLock lock(m_lock);
  if (!IsConnected() || !m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  InputPin::BeginFlush();
  // Downstream releases its samples, which unblocks a Receive waiting for a buffer.
  return m_transform->BeginFlush();
}

STDMETHODIMP TransformInputPin::EndFlush() {
  AutoLock lock(m_lock);
  if (!IsConnected() || !m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  HRESULT hr = m_transform->EndFlush();
  InputPin::EndFlush();
  return hr;
}

STDMETHODIMP TransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  InputPin::NewSegment(start, stop, rate);
  return m_transform->NewSegment(start, stop, rate);
}

// ---- output pin

TransformOutputPin::TransformOutputPin(TransformFilter* filter, const wchar_t* name)
    : OutputPin(filter, filter->FilterLock(), name), m_transform(filter) {}

HRESULT TransformOutputPin::CheckConnect(IPin* pin) {
  // The output type is derived from the input type.
  if (!m_transform->InputPinRef().IsConnected()) return E_UNEXPECTED;
  return OutputPin::CheckConnect(pin);
}

HRESULT TransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  TransformInputPin& input = m_transform->InputPinRef();
  if (!input.IsConnected()) return E_UNEXPECTED;
  return m_transform->CheckTransform(input.CurrentMediaType().Get(), mt);
}

HRESULT TransformOutputPin::GetMediaType(int position, MediaType* mt) {
  return m_transform->GetMediaType(position, mt);
}

STDMETHODIMP TransformOutputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (!m_transform->InputPinRef().IsConnected()) {
    *ppEnum = nullptr;
    return VFW_E_NOT_CONNECTED;
  }
  return OutputPin::EnumMediaTypes(ppEnum);
}

HRESULT TransformOutputPin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = OutputPin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  return m_transform->SetMediaType(PINDIR_OUTPUT, mt);
}

HRESULT TransformOutputPin::CompleteConnect(IPin* receivePin) {
  HRESULT hr = OutputPin::CompleteConnect(receivePin);
  if (FAILED(hr)) return hr;
  return m_transform->CompleteConnect(PINDIR_OUTPUT, receivePin);
}

HRESULT TransformOutputPin::BreakConnect() {
  OutputPin::BreakConnect();
  return m_transform->BreakConnect(PINDIR_OUTPUT);
}

HRESULT TransformOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                             ALLOCATOR_PROPERTIES* request) {
  return m_transform->DecideBufferSize(allocator, request);
}

// ---- filter

TransformFilter::TransformFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                                 const wchar_t* outputName)
    : BaseFilter(clsid, name), m_input(this, inputName), m_output(this, outputName) {}

BasePin* TransformFilter::Pin(int index) {
  if (index == 0) return &m_input;
  if (index == 1) return &m_output;
  return nullptr;
}

STDMETHODIMP TransformFilter::Stop() {
  AutoLock lock(m_filterLock);
  if (m_state == State_Stopped) return S_OK;
  // Decommit both allocators first: a thread waiting in GetBuffer (upstream's,
  // or ours inside Receive) then returns, and the sample in progress can end.
  if (m_input.IsConnected()) m_input.Inactive();
  if (m_output.IsConnected()) m_output.Inactive();
  HRESULT hr = S_OK;
  {
    AutoLock receive(m_receiveLock);
    if (m_input.IsConnected() && m_output.IsConnected()) hr = StopStreaming();
  }
  m_state = State_Stopped;
  return hr;
}

STDMETHODIMP TransformFilter::Pause() {
  AutoLock lock(m_filterLock);
  bool starting = m_state == State_Stopped;
  if (starting && m_input.IsConnected() && m_output.IsConnected()) {
    HRESULT hr = StartStreaming();
    if (FAILED(hr)) return hr;
  }
  HRESULT hr = BaseFilter::Pause();
  if (FAILED(hr)) return hr;
  // Without an input nothing will ever come; say so rather than let
  // downstream wait forever.
  if (starting && !m_input.IsConnected() && m_output.IsConnected()) m_output.DeliverEndOfStream();
  return S_OK;
}

HRESULT TransformFilter::Receive(IMediaSample* sample) {
  AutoLock lock(m_receiveLock);
  ComPtr<IMediaSample> output;
  HRESULT hr = m_output.GetDeliveryBuffer(output.GetAddressOf(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  hr = Transform(sample, output.Get());
  if (hr == S_FALSE) return S_OK;  // dropped on purpose
  if (FAILED(hr)) return hr;
  return m_output.Deliver(output.Get());
}

HRESULT TransformFilter::EndOfStream() {
  return m_output.DeliverEndOfStream();
}
HRESULT TransformFilter::BeginFlush() {
  return m_output.DeliverBeginFlush();
}
HRESULT TransformFilter::EndFlush() {
  return m_output.DeliverEndFlush();
}

HRESULT TransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  if (!m_output.IsConnected()) return S_OK;
  return m_output.DeliverNewSegment(start, stop, rate);
}

}  // namespace brontel::dshow

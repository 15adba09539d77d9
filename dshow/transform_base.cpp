#include "dshow/transform_base.h"

#include "dshow/enumerators.h"

namespace brontel::dshow {

// ---- input pin

TransformInputPin::TransformInputPin(TransformBase* filter, const wchar_t* name)
    : InputPin(filter, filter->FilterLock(), name), m_transform(filter) {}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = m_transform->CheckInputType(mt);
  if (hr != S_OK) return hr;
  // Output buffers and the output type were chosen for the connected input
  // type; a new one that does not fit them would be cut or mislabelled.
  TransformOutputPin& output = m_transform->OutputPinRef();
  if (!output.IsConnected()) return S_OK;
  return m_transform->CheckTypePair(mt, output.CurrentMediaType().Get());
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

HRESULT TransformInputPin::EndStreamAfterError() {
  if (!m_transform->OutputPinRef().IsConnected()) return S_OK;
  return m_transform->EndOfStream();
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

TransformOutputPin::TransformOutputPin(TransformBase* filter, TransformInputPin* input,
                                       const wchar_t* name)
    : OutputPin(filter, filter->FilterLock(), name),
      m_transform(filter),
      m_input(input),
      m_position(static_cast<IPin*>(this), input) {}

STDMETHODIMP TransformOutputPin::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (m_position.Answer(riid, ppv)) return S_OK;
  return OutputPin::QueryInterface(riid, ppv);
}

HRESULT TransformOutputPin::CheckConnect(IPin* pin) {
  // The output type is derived from the input type: connecting first is a
  // call out of order, as the platform's base classes report it.
  if (!m_input->IsConnected()) return E_UNEXPECTED;
  return OutputPin::CheckConnect(pin);
}

HRESULT TransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  // Nothing to check against yet, as EnumMediaTypes says too.
  if (!m_input->IsConnected()) return VFW_E_NOT_CONNECTED;
  return m_transform->CheckTypePair(m_input->CurrentMediaType().Get(), mt);
}

HRESULT TransformOutputPin::GetMediaType(int position, MediaType* mt) {
  return m_transform->GetMediaType(position, mt);
}

STDMETHODIMP TransformOutputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (!m_input->IsConnected()) {
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

TransformBase::TransformBase(const CLSID& clsid, const wchar_t* name) : BaseFilter(clsid, name) {}

BasePin* TransformBase::Pin(int index) {
  if (index == 0) return &InputPinRef();
  if (index == 1) return &OutputPinRef();
  return nullptr;
}

STDMETHODIMP TransformBase::Stop() {
  AutoLock lock(m_filterLock);
  if (m_state == State_Stopped) return S_OK;
  TransformInputPin& input = InputPinRef();
  TransformOutputPin& output = OutputPinRef();
  // Decommit both allocators first: a thread waiting in GetBuffer (upstream's,
  // or ours inside Receive) then returns, and the sample in progress can end.
  if (input.IsConnected()) input.Inactive();
  if (output.IsConnected()) output.Inactive();
  HRESULT hr = S_OK;
  {
    AutoLock receive(m_receiveLock);
    if (input.IsConnected() && output.IsConnected()) hr = StopStreaming();
  }
  m_state = State_Stopped;
  return hr;
}

STDMETHODIMP TransformBase::Pause() {
  AutoLock lock(m_filterLock);
  TransformInputPin& input = InputPinRef();
  TransformOutputPin& output = OutputPinRef();
  bool starting = m_state == State_Stopped;
  if (starting && input.IsConnected() && output.IsConnected()) {
    HRESULT hr = StartStreaming();
    if (FAILED(hr)) return hr;
  }
  HRESULT hr = BaseFilter::Pause();
  if (FAILED(hr)) return hr;
  // Without an input nothing will ever come; say so rather than let
  // downstream wait forever.
  if (starting && !input.IsConnected() && output.IsConnected()) output.DeliverEndOfStream();
  return S_OK;
}

HRESULT TransformBase::EndOfStream() {
  return OutputPinRef().DeliverEndOfStream();
}
HRESULT TransformBase::BeginFlush() {
  return OutputPinRef().DeliverBeginFlush();
}
HRESULT TransformBase::EndFlush() {
  return OutputPinRef().DeliverEndFlush();
}

HRESULT TransformBase::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  TransformOutputPin& output = OutputPinRef();
  if (!output.IsConnected()) return S_OK;
  return output.DeliverNewSegment(start, stop, rate);
}

}  // namespace brontel::dshow

#include "dshow/transform_in_place_filter.h"

#include <amvideo.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>

#include "win32/com_ptr.h"

namespace brontel::dshow {

namespace {

// Bytes of one sample of the type; 0 when the type does not say.
long SampleSizeOf(const AM_MEDIA_TYPE& mt) {
  if (mt.lSampleSize > 0) return static_cast<long>(mt.lSampleSize);
  if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat && mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    return static_cast<long>(vih->bmiHeader.biSizeImage);
  }
  return 0;
}

}  // namespace

HRESULT CopySample(IMediaSample* source, IMediaSample* destination) {
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  HRESULT hr = source->GetPointer(&from);
  if (FAILED(hr)) return hr;
  hr = destination->GetPointer(&to);
  if (FAILED(hr)) return hr;
  long length = source->GetActualDataLength();
  if (length < 0 || length > destination->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  std::memcpy(to, from, static_cast<size_t>(length));
  destination->SetActualDataLength(length);

  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  if (SUCCEEDED(source->GetTime(&start, &stop))) {
    destination->SetTime(&start, &stop);
  } else {
    destination->SetTime(nullptr, nullptr);
  }
  if (source->GetMediaTime(&start, &stop) == S_OK) {
    destination->SetMediaTime(&start, &stop);
  } else {
    destination->SetMediaTime(nullptr, nullptr);
  }
  destination->SetSyncPoint(source->IsSyncPoint() == S_OK);
  destination->SetPreroll(source->IsPreroll() == S_OK);
  destination->SetDiscontinuity(source->IsDiscontinuity() == S_OK);
  AM_MEDIA_TYPE* mt = nullptr;
  if (source->GetMediaType(&mt) == S_OK && mt) {
    destination->SetMediaType(mt);
    DeleteMediaType(mt);
  }
  return S_OK;
}

// ---- input pin

InPlaceInputPin::InPlaceInputPin(TransformInPlaceFilter* filter, const wchar_t* name)
    : InputPin(filter, filter->FilterLock(), name), m_transform(filter) {}

HRESULT InPlaceInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = m_transform->CheckInputType(mt);
  if (hr != S_OK) return hr;
  // The type goes through unchanged, so downstream must take it as well.
  IPin* downstream = m_transform->OutputPinRef().ConnectedPin();
  if (downstream && downstream->QueryAccept(&mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  return S_OK;
}

STDMETHODIMP InPlaceInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  // Upstream should fill downstream's buffers directly.
  IMemInputPin* downstream = m_transform->OutputPinRef().ConnectedInputPin();
  if (downstream) return downstream->GetAllocator(allocator);
  return InputPin::GetAllocator(allocator);
}

STDMETHODIMP InPlaceInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  HRESULT hr = InputPin::NotifyAllocator(allocator, readOnly);
  if (FAILED(hr)) return hr;
  InPlaceOutputPin& output = m_transform->OutputPinRef();
  if (output.IsConnected() && output.Allocator() != allocator) {
    // Refusal is fine: each frame is then copied.
    output.AdoptAllocator(allocator, readOnly != FALSE);
  }
  return S_OK;
}

HRESULT InPlaceInputPin::BreakConnect() {
  return InputPin::BreakConnect();
}

HRESULT InPlaceInputPin::OnReceive(IMediaSample* sample) {
  if (!m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  return m_transform->Receive(sample);
}

STDMETHODIMP InPlaceInputPin::EndOfStream() {
  AutoLock lock(m_transform->ReceiveLock());
  HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  return m_transform->EndOfStream();
}

STDMETHODIMP InPlaceInputPin::BeginFlush() {
  AutoLock lock(m_lock);
  if (!IsConnected() || !m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  InputPin::BeginFlush();
  return m_transform->BeginFlush();
}

STDMETHODIMP InPlaceInputPin::EndFlush() {
  AutoLock lock(m_lock);
  if (!IsConnected() || !m_transform->OutputPinRef().IsConnected()) return VFW_E_NOT_CONNECTED;
  HRESULT hr = m_transform->EndFlush();
  InputPin::EndFlush();
  return hr;
}

STDMETHODIMP InPlaceInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  InputPin::NewSegment(start, stop, rate);
  return m_transform->NewSegment(start, stop, rate);
}

// ---- output pin

InPlaceOutputPin::InPlaceOutputPin(TransformInPlaceFilter* filter, const wchar_t* name)
    : OutputPin(filter, filter->FilterLock(), name), m_transform(filter) {}

HRESULT InPlaceOutputPin::CheckConnect(IPin* pin) {
  if (!m_transform->InputPinRef().IsConnected()) return E_UNEXPECTED;
  return OutputPin::CheckConnect(pin);
}

HRESULT InPlaceOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  InPlaceInputPin& input = m_transform->InputPinRef();
  if (!input.IsConnected()) return VFW_E_NOT_CONNECTED;
  HRESULT hr = m_transform->CheckInputType(mt);
  if (hr != S_OK) return hr;
  // Samples pass unchanged: another type would mislabel them.
  if (!MediaTypesEqual(input.CurrentMediaType().Get(), mt)) return VFW_E_TYPE_NOT_ACCEPTED;
  return m_transform->CheckTransform(input.CurrentMediaType().Get(), mt);
}

HRESULT InPlaceOutputPin::GetMediaType(int position, MediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  InPlaceInputPin& input = m_transform->InputPinRef();
  if (!input.IsConnected()) return E_UNEXPECTED;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  return mt->Assign(input.CurrentMediaType().Get());
}

STDMETHODIMP InPlaceOutputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (!m_transform->InputPinRef().IsConnected()) {
    *ppEnum = nullptr;
    return VFW_E_NOT_CONNECTED;
  }
  return OutputPin::EnumMediaTypes(ppEnum);
}

bool InPlaceOutputPin::AdoptAllocator(IMemAllocator* allocator, bool readOnly) {
  if (!m_inputPin) return false;
  if (readOnly && m_transform->ModifiesData()) return false;
  if (FAILED(m_inputPin->NotifyAllocator(allocator, readOnly ? TRUE : FALSE))) return false;
  allocator->AddRef();
  if (m_allocator) {
    m_allocator->Decommit();
    m_allocator->Release();
  }
  m_allocator = allocator;
  return true;
}

bool InPlaceOutputPin::SharesInputAllocator() const {
  return m_allocator && m_allocator == m_transform->InputPinRef().Allocator();
}

HRESULT InPlaceOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
  *allocator = nullptr;
  InPlaceInputPin& input = m_transform->InputPinRef();
  IMemAllocator* upstream = input.Allocator();
  bool readOnly = input.IsReadOnly();
  if (upstream && !(readOnly && m_transform->ModifiesData())) {
    if (SUCCEEDED(pin->NotifyAllocator(upstream, readOnly ? TRUE : FALSE))) {
      upstream->AddRef();
      *allocator = upstream;
      return S_OK;
    }
  }
  return OutputPin::DecideAllocator(pin, allocator);
}

HRESULT InPlaceOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                           ALLOCATOR_PROPERTIES* request) {
  InPlaceInputPin& input = m_transform->InputPinRef();
  if (!input.IsConnected()) return E_UNEXPECTED;
  ALLOCATOR_PROPERTIES wanted = *request;
  ALLOCATOR_PROPERTIES upstream{};
  IMemAllocator* upstreamAllocator = input.Allocator();
  if (upstreamAllocator && SUCCEEDED(upstreamAllocator->GetProperties(&upstream)) &&
      upstream.cbBuffer > 0) {
    wanted.cBuffers = std::max(wanted.cBuffers, upstream.cBuffers);
    wanted.cbBuffer = std::max(wanted.cbBuffer, upstream.cbBuffer);
  } else {
    wanted.cbBuffer = std::max(wanted.cbBuffer, SampleSizeOf(input.CurrentMediaType().Get()));
  }
  wanted.cBuffers = std::max(wanted.cBuffers, 1L);
  wanted.cbAlign = std::max(wanted.cbAlign, 1L);
  if (wanted.cbBuffer <= 0) return VFW_E_SIZENOTSET;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  if (actual.cBuffers < wanted.cBuffers || actual.cbBuffer < wanted.cbBuffer) return E_FAIL;
  return S_OK;
}

// ---- filter

TransformInPlaceFilter::TransformInPlaceFilter(const CLSID& clsid, const wchar_t* name,
                                               const wchar_t* inputName, const wchar_t* outputName)
    : BaseFilter(clsid, name), m_input(this, inputName), m_output(this, outputName) {}

BasePin* TransformInPlaceFilter::Pin(int index) {
  if (index == 0) return &m_input;
  if (index == 1) return &m_output;
  return nullptr;
}

STDMETHODIMP TransformInPlaceFilter::Stop() {
  AutoLock lock(m_filterLock);
  if (m_state == State_Stopped) return S_OK;
  // Decommit first so no thread stays in GetBuffer, then wait for the sample
  // in progress.
  if (m_input.IsConnected()) m_input.Inactive();
  if (m_output.IsConnected()) m_output.Inactive();
  { AutoLock receive(m_receiveLock); }
  m_state = State_Stopped;
  return S_OK;
}

STDMETHODIMP TransformInPlaceFilter::Pause() {
  AutoLock lock(m_filterLock);
  bool starting = m_state == State_Stopped;
  HRESULT hr = BaseFilter::Pause();
  if (FAILED(hr)) return hr;
  if (starting && !m_input.IsConnected() && m_output.IsConnected()) m_output.DeliverEndOfStream();
  return S_OK;
}

HRESULT TransformInPlaceFilter::Receive(IMediaSample* sample) {
  AutoLock lock(m_receiveLock);
  bool inPlace = m_output.SharesInputAllocator() && !(m_input.IsReadOnly() && ModifiesData());
  if (inPlace) {
    HRESULT hr = Transform(sample);
    if (hr == S_FALSE) return S_OK;
    if (FAILED(hr)) return hr;
    return m_output.Deliver(sample);
  }
  ComPtr<IMediaSample> output;
  HRESULT hr = m_output.GetDeliveryBuffer(output.GetAddressOf(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  hr = CopySample(sample, output.Get());
  if (FAILED(hr)) return hr;
  hr = Transform(output.Get());
  if (hr == S_FALSE) return S_OK;
  if (FAILED(hr)) return hr;
  return m_output.Deliver(output.Get());
}

HRESULT TransformInPlaceFilter::EndOfStream() {
  return m_output.DeliverEndOfStream();
}
HRESULT TransformInPlaceFilter::BeginFlush() {
  return m_output.DeliverBeginFlush();
}
HRESULT TransformInPlaceFilter::EndFlush() {
  return m_output.DeliverEndFlush();
}

HRESULT TransformInPlaceFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  if (!m_output.IsConnected()) return S_OK;
  return m_output.DeliverNewSegment(start, stop, rate);
}

}  // namespace brontel::dshow

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
    : TransformInputPin(filter, name), m_inPlace(filter) {}

STDMETHODIMP InPlaceInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  // Upstream should fill downstream's buffers directly.
  IMemInputPin* downstream = m_inPlace->InPlaceOutput().ConnectedInputPin();
  if (downstream) return downstream->GetAllocator(allocator);
  return InputPin::GetAllocator(allocator);
}

STDMETHODIMP InPlaceInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  AutoLock lock(m_lock);
  HRESULT hr = InputPin::NotifyAllocator(allocator, readOnly);
  if (FAILED(hr)) return hr;
  InPlaceOutputPin& output = m_inPlace->InPlaceOutput();
  if (output.IsConnected() && output.Allocator() != allocator) {
    // Refusal is fine: each frame is then copied.
    output.AdoptAllocator(allocator, readOnly != FALSE);
  }
  return S_OK;
}

// ---- output pin

InPlaceOutputPin::InPlaceOutputPin(TransformInPlaceFilter* filter, InPlaceInputPin* input,
                                   const wchar_t* name)
    : TransformOutputPin(filter, input, name), m_inPlace(filter) {}

bool InPlaceOutputPin::AdoptAllocator(IMemAllocator* allocator, bool readOnly) {
  if (!m_inputPin) return false;
  if (readOnly && m_inPlace->ModifiesData()) return false;
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
  return m_allocator && m_allocator == m_input->Allocator();
}

HRESULT InPlaceOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
  *allocator = nullptr;
  IMemAllocator* upstream = m_input->Allocator();
  bool readOnly = m_input->IsReadOnly();
  if (upstream && !(readOnly && m_inPlace->ModifiesData())) {
    if (SUCCEEDED(pin->NotifyAllocator(upstream, readOnly ? TRUE : FALSE))) {
      upstream->AddRef();
      *allocator = upstream;
      return S_OK;
    }
  }
  return OutputPin::DecideAllocator(pin, allocator);
}

// ---- filter

TransformInPlaceFilter::TransformInPlaceFilter(const CLSID& clsid, const wchar_t* name,
                                               const wchar_t* inputName, const wchar_t* outputName)
    : TransformBase(clsid, name), m_input(this, inputName), m_output(this, &m_input, outputName) {}

HRESULT TransformInPlaceFilter::CheckTypePair(const AM_MEDIA_TYPE& input,
                                              const AM_MEDIA_TYPE& output) {
  HRESULT hr = CheckInputType(output);
  if (hr != S_OK) return hr;
  if (!MediaTypesEqual(input, output)) return VFW_E_TYPE_NOT_ACCEPTED;
  return CheckTransform(input, output);
}

HRESULT TransformInPlaceFilter::GetMediaType(int position, MediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (!m_input.IsConnected()) return E_UNEXPECTED;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  return mt->Assign(m_input.CurrentMediaType().Get());
}

HRESULT TransformInPlaceFilter::DecideBufferSize(IMemAllocator* allocator,
                                                 ALLOCATOR_PROPERTIES* request) {
  if (!m_input.IsConnected()) return E_UNEXPECTED;
  ALLOCATOR_PROPERTIES wanted = *request;
  ALLOCATOR_PROPERTIES upstream{};
  IMemAllocator* upstreamAllocator = m_input.Allocator();
  if (upstreamAllocator && SUCCEEDED(upstreamAllocator->GetProperties(&upstream)) &&
      upstream.cbBuffer > 0) {
    wanted.cBuffers = std::max(wanted.cBuffers, upstream.cBuffers);
    wanted.cbBuffer = std::max(wanted.cbBuffer, upstream.cbBuffer);
  } else {
    wanted.cbBuffer = std::max(wanted.cbBuffer, SampleSizeOf(m_input.CurrentMediaType().Get()));
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

}  // namespace brontel::dshow

#include "dshow/transform_filter.h"

#include "win32/com_ptr.h"

namespace brontel::dshow {

TransformFilter::TransformFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                                 const wchar_t* outputName)
    : TransformBase(clsid, name), m_input(this, inputName), m_output(this, &m_input, outputName) {}

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

}  // namespace brontel::dshow

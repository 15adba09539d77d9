#include "deinterlace/filter/snap_filter.h"

#include <amvideo.h>

#include "deinterlace/filter/input_type_check.h"

namespace brontel {

FrameSnapFilter::FrameSnapFilter()
    : TransformInPlaceFilter(kClsidFrameSnapFilter, L"kxDISnap", L"Input", L"Output"),
      DeinterlaceControlImpl(kSnapLibrary) {}

HRESULT FrameSnapFilter::QueryFilterInterface(REFIID riid, void** ppv) {
  if (!AnswerControl(riid, ppv)) return TransformInPlaceFilter::QueryFilterInterface(riid, ppv);
  AddRef();
  return S_OK;
}

HRESULT FrameSnapFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  return CheckDeinterlaceInputType(mt);
}

HRESULT FrameSnapFilter::Transform(IMediaSample* sample) {
  BYTE* data = nullptr;
  HRESULT hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  long length = sample->GetActualDataLength();
  if (length < 0) return E_UNEXPECTED;
  const auto* vih =
      reinterpret_cast<const VIDEOINFOHEADER*>(m_input.CurrentMediaType().Get().pbFormat);
  FrameInfo info;
  info.width = vih->bmiHeader.biWidth;
  info.height = vih->bmiHeader.biHeight;
  info.bitsPerPixel = vih->bmiHeader.biBitCount;
  info.dataLength = length;
  m_lastFrame.Store(info);
  Grab().Serve(data, static_cast<size_t>(length));
  return S_OK;
}

}  // namespace brontel

#include "deinterlace/filter/snap_filter.h"

#include <amvideo.h>

#include <new>

#include "deinterlace/filter/filter_setup.h"
#include "deinterlace/filter/input_type_check.h"

namespace brontel {

FrameSnapFilter::FrameSnapFilter()
    : TransformInPlaceFilter(kClsidFrameSnapFilter, L"kxDISnap", L"Input", L"Output") {}

HRESULT FrameSnapFilter::CreateInstance(IUnknown** object) {
  if (!object) return E_POINTER;
  auto* filter = new (std::nothrow) FrameSnapFilter();
  *object = filter ? static_cast<IBaseFilter*>(filter) : nullptr;
  return filter ? S_OK : E_OUTOFMEMORY;
}

const dshow::FilterSetup& FrameSnapFilter::Setup() {
  static const dshow::FilterSetup kSetup = {&kClsidFrameSnapFilter, L"kxDISnap",
                                            kDeinterlaceFilterMerit, DeinterlaceFilterPins(),
                                            kDeinterlaceFilterPinCount};
  return kSetup;
}

HRESULT FrameSnapFilter::QueryFilterInterface(REFIID riid, void** ppv) {
  if (riid == kIidDeinterlaceControlSnap) {
    *ppv = static_cast<IDeinterlaceControl*>(this);
  } else if (riid == IID_ISpecifyPropertyPages) {
    *ppv = static_cast<ISpecifyPropertyPages*>(this);
  } else {
    return TransformInPlaceFilter::QueryFilterInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP FrameSnapFilter::GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2,
                                          LONG* delta3) {
  return m_control.GetSettings(mode, filter, delta1, delta2, delta3);
}

STDMETHODIMP FrameSnapFilter::SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2,
                                          LONG delta3) {
  return m_control.SetSettings(mode, filter, delta1, delta2, delta3);
}

STDMETHODIMP FrameSnapFilter::GetGrabStatus(LONG* status) {
  return m_control.GetGrabStatus(status);
}

STDMETHODIMP FrameSnapFilter::GrabFrame(BYTE* buffer, LONG request) {
  return m_control.GrabFrame(buffer, request);
}

STDMETHODIMP FrameSnapFilter::GetFrameInfo(LONG* width, LONG* height, LONG* bitsPerPixel,
                                           LONG* dataLength) {
  return m_control.GetFrameInfo(m_lastFrame.Load(), width, height, bitsPerPixel, dataLength);
}

STDMETHODIMP FrameSnapFilter::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  pages->cElems = 1;
  pages->pElems[0] = kClsidFrameSnapPage;
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
  m_control.Grab().Serve(data, static_cast<size_t>(length));
  return S_OK;
}

}  // namespace brontel

#include "outside/virtualboard/picture_renderer_win.h"

#include <amvideo.h>
#include <uuids.h>

namespace {

// {5C1B7E52-3A8D-4F61-9E27-B04D6A1C8F35}
constexpr CLSID kClsidPictureRenderer = {
    0x5c1b7e52, 0x3a8d, 0x4f61, {0x9e, 0x27, 0xb0, 0x4d, 0x6a, 0x1c, 0x8f, 0x35}};

const VIDEOINFOHEADER* VideoInfo(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype != FORMAT_VideoInfo || mt.cbFormat < sizeof(VIDEOINFOHEADER) ||
      mt.pbFormat == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
}

}  // namespace

PictureRendererPin::PictureRendererPin(PictureRendererFilter* filter)
    : InputPin(filter, filter->FilterLock(), L"Input"), m_renderer(filter) {}

HRESULT PictureRendererPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  const VIDEOINFOHEADER* info = VideoInfo(mt);
  if (mt.majortype != MEDIATYPE_Video || mt.subtype != MEDIASUBTYPE_YUY2 || info == nullptr ||
      info->bmiHeader.biWidth <= 0 || (info->bmiHeader.biWidth & 1) != 0 ||
      info->bmiHeader.biHeight == 0) {
    return S_FALSE;
  }
  return S_OK;
}

HRESULT PictureRendererPin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  const HRESULT hr = InputPin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  const VIDEOINFOHEADER* info = VideoInfo(mt);
  m_width = info->bmiHeader.biWidth;
  // YUY2 is top-down whatever the sign says.
  m_height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  return S_OK;
}

STDMETHODIMP PictureRendererPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  *allocator = nullptr;
  return VFW_E_NO_ALLOCATOR;
}

HRESULT PictureRendererPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || data == nullptr) return S_OK;
  const long length = sample->GetActualDataLength();
  // The light preview sends half pictures: show the lines that came.
  const int lines = m_width > 0 ? static_cast<int>(length / (m_width * 2)) : 0;
  const int height = lines < m_height ? lines : m_height;
  if (height > 0) m_renderer->Sink()->ShowYuy2(data, m_width, height);
  return S_OK;
}

PictureRendererFilter::PictureRendererFilter(PictureSink* sink)
    : BaseFilter(kClsidPictureRenderer, L"Picture window renderer"), m_sink(sink), m_pin(this) {}

PictureRendererFilter::~PictureRendererFilter() = default;

brontel::dshow::BasePin* PictureRendererFilter::Pin(int index) {
  return index == 0 ? &m_pin : nullptr;
}

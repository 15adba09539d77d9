#include "deinterlace/filter/grab_filter.h"

#include <amvideo.h>

#include <cstdlib>

#include "deinterlace/filter/input_type_check.h"
#include "deinterlace/filter/sample_properties.h"

namespace brontel {

DeinterlaceGrabFilter::DeinterlaceGrabFilter()
    : TransformFilter(kClsidDeinterlaceGrabFilter, L"kxDIgrab", L"XForm In", L"XForm Out"),
      DeinterlaceControlImpl(kGrabLibrary) {}

HRESULT DeinterlaceGrabFilter::QueryFilterInterface(REFIID riid, void** ppv) {
  if (!AnswerControl(riid, ppv)) return TransformFilter::QueryFilterInterface(riid, ppv);
  AddRef();
  return S_OK;
}

HRESULT DeinterlaceGrabFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  return CheckDeinterlaceInputType(mt);
}

HRESULT DeinterlaceGrabFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& mt) {
  if (direction == PINDIR_INPUT) {
    // Without the history the weave modes pass frames through; the
    // connection itself still works.
    m_deinterlacer.AcceptInputType(FormatKindOf(mt));
  }
  return S_OK;
}

HRESULT DeinterlaceGrabFilter::CheckTransform(const AM_MEDIA_TYPE& input,
                                              const AM_MEDIA_TYPE& output) {
  if (CheckInputType(input) != S_OK) return E_FAIL;
  return dshow::MediaTypesEqual(input, output) ? S_OK : E_FAIL;
}

HRESULT DeinterlaceGrabFilter::GetMediaType(int position, dshow::MediaType* mt) {
  if (!m_input.IsConnected()) return E_UNEXPECTED;
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  return mt->Assign(m_input.CurrentMediaType().Get());
}

HRESULT DeinterlaceGrabFilter::DecideBufferSize(IMemAllocator* allocator,
                                                ALLOCATOR_PROPERTIES* request) {
  if (!m_input.IsConnected()) return E_UNEXPECTED;
  const AM_MEDIA_TYPE& input = m_input.CurrentMediaType().Get();
  long sampleSize = static_cast<long>(input.lSampleSize);
  if (sampleSize <= 0) {
    // A type without a fixed sample size: fall back to the picture size,
    // rather than buffers too small for any frame.
    const BITMAPINFOHEADER& bmi =
        reinterpret_cast<const VIDEOINFOHEADER*>(input.pbFormat)->bmiHeader;
    sampleSize = static_cast<long>(bmi.biSizeImage);
    if (sampleSize <= 0) {
      sampleSize = std::labs(bmi.biWidth) * std::labs(bmi.biHeight) * (bmi.biBitCount / 8);
    }
  }
  ALLOCATOR_PROPERTIES wanted = *request;
  wanted.cBuffers = 1;
  wanted.cbBuffer = sampleSize;
  if (wanted.cbAlign < 1) wanted.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  if (actual.cBuffers < wanted.cBuffers || actual.cbBuffer < wanted.cbBuffer) return E_FAIL;
  return S_OK;
}

HRESULT DeinterlaceGrabFilter::Transform(IMediaSample* input, IMediaSample* output) {
  BYTE* source = nullptr;
  BYTE* destination = nullptr;
  HRESULT hr = input->GetPointer(&source);
  if (FAILED(hr)) return hr;
  hr = output->GetPointer(&destination);
  if (FAILED(hr)) return hr;
  long length = input->GetActualDataLength();
  long capacity = output->GetSize();
  if (length < 0 || capacity < 0) return E_UNEXPECTED;

  // Checked on connection: the format block holds a whole VIDEOINFOHEADER.
  const auto* vih =
      reinterpret_cast<const VIDEOINFOHEADER*>(m_input.CurrentMediaType().Get().pbFormat);
  FrameBuffers frame;
  frame.input = source;
  frame.dataLength = static_cast<size_t>(length);
  frame.output = destination;
  frame.outputCapacity = static_cast<size_t>(capacity);
  frame.width = vih->bmiHeader.biWidth;
  frame.height = vih->bmiHeader.biHeight;
  frame.bitsPerPixel = vih->bmiHeader.biBitCount;

  StepResult result = m_deinterlacer.ProcessFrame(frame, SettingsForFrame(), Grab());
  return CopySampleProperties(input, output, static_cast<long>(result.outputLength));
}

}  // namespace brontel

#pragma once
// kxDIgrab: deinterlaces each frame into a separate output buffer and copies
// one frame into a client's buffer on request.

#include <ocidl.h>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/deinterlace_control_state.h"
#include "dshow/filter_registration.h"
#include "dshow/transform_filter.h"

namespace brontel {

class DeinterlaceGrabFilter : public dshow::TransformFilter,
                              public IDeinterlaceControl,
                              public ISpecifyPropertyPages {
 public:
  DeinterlaceGrabFilter();
  static HRESULT CreateInstance(IUnknown** object);
  static const dshow::FilterSetup& Setup();

  BRONTEL_FORWARD_IUNKNOWN(dshow::TransformFilter)

  // IDeinterlaceControl
  STDMETHODIMP GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2,
                           LONG* delta3) override;
  STDMETHODIMP SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2, LONG delta3) override;
  STDMETHODIMP GetGrabStatus(LONG* status) override;
  STDMETHODIMP GrabFrame(BYTE* buffer, LONG request) override;
  STDMETHODIMP GetFrameInfo(LONG* width, LONG* height, LONG* bitsPerPixel,
                            LONG* dataLength) override;

  // ISpecifyPropertyPages
  STDMETHODIMP GetPages(CAUUID* pages) override;

  // TransformFilter
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& mt) override;
  const dshow::FilterSetup* SetupData() override { return &Setup(); }

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;

 private:
  DeinterlaceControlState m_control{true};
  Deinterlacer m_deinterlacer;
};

}  // namespace brontel

#pragma once
// kxDIgrab: deinterlaces each frame into a separate output buffer and copies
// one frame into a client's buffer on request.

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control_impl.h"
#include "dshow/transform_filter.h"

namespace brontel {

class DeinterlaceGrabFilter : public dshow::TransformFilter, public DeinterlaceControlImpl {
 public:
  DeinterlaceGrabFilter();

  BRONTEL_FORWARD_IUNKNOWN(dshow::TransformFilter)

  // TransformFilter
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& mt) override;
  const dshow::FilterSetup* SetupData() override { return &kGrabLibrary.setup; }

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;
  FrameInfo LastFrame() override { return m_deinterlacer.LastFrame(); }

 private:
  Deinterlacer m_deinterlacer;
};

}  // namespace brontel

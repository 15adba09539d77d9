#pragma once
// kxDISnap: passes every frame on unchanged, in place, and copies one frame
// into a client's buffer on request. It keeps no deinterlace settings.

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control_impl.h"
#include "dshow/transform_in_place_filter.h"

namespace brontel {

class FrameSnapFilter : public dshow::TransformInPlaceFilter, public DeinterlaceControlImpl {
 public:
  FrameSnapFilter();

  BRONTEL_FORWARD_IUNKNOWN(dshow::TransformInPlaceFilter)

  // TransformInPlaceFilter
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT Transform(IMediaSample* sample) override;
  bool ModifiesData() const override { return false; }
  const dshow::FilterSetup* SetupData() override { return &kSnapLibrary.setup; }

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;
  FrameInfo LastFrame() override { return m_lastFrame.Load(); }

 private:
  LastFrameInfo m_lastFrame;
};

}  // namespace brontel

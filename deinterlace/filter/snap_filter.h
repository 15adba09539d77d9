#pragma once
// kxDISnap: passes every frame on unchanged, in place, and copies one frame
// into a client's buffer on request. It keeps no deinterlace settings.

#include <ocidl.h>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/deinterlace_control_state.h"
#include "dshow/filter_registration.h"
#include "dshow/transform_in_place_filter.h"

namespace brontel {

class FrameSnapFilter : public dshow::TransformInPlaceFilter,
                        public IDeinterlaceControl,
                        public ISpecifyPropertyPages {
 public:
  FrameSnapFilter();
  static HRESULT CreateInstance(IUnknown** object);
  static const dshow::FilterSetup& Setup();

  BRONTEL_FORWARD_IUNKNOWN(dshow::TransformInPlaceFilter)

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

  // TransformInPlaceFilter
  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT Transform(IMediaSample* sample) override;
  bool ModifiesData() const override { return false; }
  const dshow::FilterSetup* SetupData() override { return &Setup(); }

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;

 private:
  DeinterlaceControlState m_control{false};
  LastFrameInfo m_lastFrame;
};

}  // namespace brontel

#pragma once
// IDeinterlaceControl and ISpecifyPropertyPages as both filters answer them:
// the settings under the settings lock, the grab request, the frame
// information and the argument checks. A filter derives from it beside its
// DirectShow base, resolves IUnknown to the base and reports its frames.

#include "win32/windows_include.h"
#include <ocidl.h>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "deinterlace/filter/deinterlace_library.h"
#include "dshow/critical_section.h"

namespace brontel {

class DeinterlaceControlImpl : public IDeinterlaceControl, public ISpecifyPropertyPages {
 public:
  explicit DeinterlaceControlImpl(const DeinterlaceLibrary& library) : m_library(library) {}
  DeinterlaceControlImpl(const DeinterlaceControlImpl&) = delete;
  DeinterlaceControlImpl& operator=(const DeinterlaceControlImpl&) = delete;

  // IDeinterlaceControl
  STDMETHODIMP GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2,
                           LONG* delta3) override;
  STDMETHODIMP SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2, LONG delta3) override;
  STDMETHODIMP GetGrabStatus(LONG* status) override;
  STDMETHODIMP GrabFrame(BYTE* buffer, LONG request) override;
  STDMETHODIMP GetFrameInfo(LONG* width, LONG* height, LONG* bitsPerPixel,
                            LONG* dataLength) override;

  // ISpecifyPropertyPages: the library's own page.
  STDMETHODIMP GetPages(CAUUID* pages) override;

 protected:
  // The library's control id and ISpecifyPropertyPages, not AddRef'd; false
  // for any other interface.
  bool AnswerControl(REFIID riid, void** ppv);
  // A consistent copy for one frame.
  DeinterlaceSettings SettingsForFrame();
  GrabState& Grab() { return m_grab; }
  // Width, height, bits per pixel and data length of the last frame.
  virtual FrameInfo LastFrame() = 0;

 private:
  const DeinterlaceLibrary& m_library;
  dshow::CriticalSection m_lock;  // the settings lock
  DeinterlaceSettings m_settings;
  GrabState m_grab;
};

}  // namespace brontel

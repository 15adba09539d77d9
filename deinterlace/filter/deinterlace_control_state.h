#pragma once
// What both filters' IDeinterlaceControl share: the settings under the
// settings lock, the grab request and the argument checks.

#include "win32/windows_include.h"

#include "deinterlace/deinterlace_step.h"
#include "dshow/critical_section.h"

namespace brontel {

class DeinterlaceControlState {
 public:
  // kxDISnap keeps no settings: its GetSettings and SetSettings do nothing.
  explicit DeinterlaceControlState(bool keepsSettings) : m_keepsSettings(keepsSettings) {}

  HRESULT GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2, LONG* delta3);
  HRESULT SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2, LONG delta3);
  HRESULT GetGrabStatus(LONG* status);
  HRESULT GrabFrame(BYTE* buffer, LONG request);
  HRESULT GetFrameInfo(const FrameInfo& info, LONG* width, LONG* height, LONG* bitsPerPixel,
                       LONG* dataLength);

  // A consistent copy for one frame.
  DeinterlaceSettings Snapshot();
  GrabState& Grab() { return m_grab; }

 private:
  dshow::CriticalSection m_lock;
  const bool m_keepsSettings;
  DeinterlaceSettings m_settings;
  GrabState m_grab;
};

}  // namespace brontel

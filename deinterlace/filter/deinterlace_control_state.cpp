#include "deinterlace/filter/deinterlace_control_state.h"

namespace brontel {

using dshow::AutoLock;

HRESULT DeinterlaceControlState::GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2,
                                             LONG* delta3) {
  AutoLock lock(m_lock);
  if (!m_keepsSettings) return S_OK;
  if (!mode || !filter || !delta1 || !delta2 || !delta3) return E_POINTER;
  *mode = m_settings.lMode;
  *filter = m_settings.lFilter;
  *delta1 = m_settings.lDelta1;
  *delta2 = m_settings.lDelta2;
  *delta3 = m_settings.lDelta3;
  return S_OK;
}

HRESULT DeinterlaceControlState::SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2,
                                             LONG delta3) {
  AutoLock lock(m_lock);
  if (!m_keepsSettings) return S_OK;
  m_settings.lMode = mode;
  m_settings.lFilter = filter;
  m_settings.lDelta1 = delta1;
  m_settings.lDelta2 = delta2;
  m_settings.lDelta3 = delta3;
  return S_OK;
}

HRESULT DeinterlaceControlState::GetGrabStatus(LONG* status) {
  AutoLock lock(m_lock);
  if (!status) return E_POINTER;
  *status = m_grab.Done();
  return S_OK;
}

HRESULT DeinterlaceControlState::GrabFrame(BYTE* buffer, LONG request) {
  AutoLock lock(m_lock);
  m_grab.Request(buffer, request);
  return S_OK;
}

HRESULT DeinterlaceControlState::GetFrameInfo(const FrameInfo& info, LONG* width, LONG* height,
                                              LONG* bitsPerPixel, LONG* dataLength) {
  AutoLock lock(m_lock);
  if (!width || !height || !bitsPerPixel || !dataLength) return E_POINTER;
  *width = info.width;
  *height = info.height;
  *bitsPerPixel = info.bitsPerPixel;
  *dataLength = info.dataLength;
  return S_OK;
}

DeinterlaceSettings DeinterlaceControlState::Snapshot() {
  AutoLock lock(m_lock);
  return m_settings;
}

}  // namespace brontel

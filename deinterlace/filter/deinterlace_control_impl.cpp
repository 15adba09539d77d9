#include "deinterlace/filter/deinterlace_control_impl.h"

namespace brontel {

using dshow::AutoLock;

HRESULT DeinterlaceControlImpl::GetSettings(LONG* mode, LONG* filter, LONG* delta1, LONG* delta2,
                                            LONG* delta3) {
  AutoLock lock(m_lock);
  if (!m_library.keepsSettings) return S_OK;
  if (!mode || !filter || !delta1 || !delta2 || !delta3) return E_POINTER;
  *mode = m_settings.lMode;
  *filter = m_settings.lFilter;
  *delta1 = m_settings.lDelta1;
  *delta2 = m_settings.lDelta2;
  *delta3 = m_settings.lDelta3;
  return S_OK;
}

HRESULT DeinterlaceControlImpl::SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2,
                                            LONG delta3) {
  AutoLock lock(m_lock);
  if (!m_library.keepsSettings) return S_OK;
  m_settings.lMode = mode;
  m_settings.lFilter = filter;
  m_settings.lDelta1 = delta1;
  m_settings.lDelta2 = delta2;
  m_settings.lDelta3 = delta3;
  return S_OK;
}

HRESULT DeinterlaceControlImpl::GetGrabStatus(LONG* status) {
  AutoLock lock(m_lock);
  if (!status) return E_POINTER;
  *status = m_grab.Done();
  return S_OK;
}

HRESULT DeinterlaceControlImpl::GrabFrame(BYTE* buffer, LONG request) {
  AutoLock lock(m_lock);
  // Waits for a copy into the previous buffer to finish.
  m_grab.Request(buffer, request);
  return S_OK;
}

HRESULT DeinterlaceControlImpl::GetFrameInfo(LONG* width, LONG* height, LONG* bitsPerPixel,
                                             LONG* dataLength) {
  AutoLock lock(m_lock);
  if (!width || !height || !bitsPerPixel || !dataLength) return E_POINTER;
  const FrameInfo info = LastFrame();
  *width = info.width;
  *height = info.height;
  *bitsPerPixel = info.bitsPerPixel;
  *dataLength = info.dataLength;
  return S_OK;
}

HRESULT DeinterlaceControlImpl::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  pages->cElems = 1;
  pages->pElems[0] = *m_library.page;
  return S_OK;
}

bool DeinterlaceControlImpl::AnswerControl(REFIID riid, void** ppv) {
  if (riid == *m_library.control) {
    *ppv = static_cast<IDeinterlaceControl*>(this);
  } else if (riid == IID_ISpecifyPropertyPages) {
    *ppv = static_cast<ISpecifyPropertyPages*>(this);
  } else {
    return false;
  }
  return true;
}

DeinterlaceSettings DeinterlaceControlImpl::SettingsForFrame() {
  AutoLock lock(m_lock);
  return m_settings;
}

}  // namespace brontel

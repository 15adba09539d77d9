#include "dshow/position_pass_through.h"

#include <dshow.h>  // OATRUE, OAFALSE

#include <cmath>

#include "win32/com_ptr.h"

namespace brontel::dshow {

namespace {

constexpr double kUnitsPerSecond = 10000000.0;  // REFERENCE_TIME is in 100 ns

LONGLONG ToReferenceTime(REFTIME seconds) {
  return static_cast<LONGLONG>(std::llround(seconds * kUnitsPerSecond));
}

REFTIME ToSeconds(LONGLONG units) {
  return static_cast<REFTIME>(units) / kUnitsPerSecond;
}

}  // namespace

PositionPassThrough::PositionPassThrough(IUnknown* owner, IPin* input)
    : m_owner(owner), m_input(input) {}

bool PositionPassThrough::Answer(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeeking) {
    *ppv = static_cast<IMediaSeeking*>(this);
  } else if (riid == IID_IMediaPosition) {
    *ppv = static_cast<IMediaPosition*>(this);
  } else {
    return false;
  }
  m_owner->AddRef();
  return true;
}

STDMETHODIMP PositionPassThrough::QueryInterface(REFIID riid, void** ppv) {
  return m_owner->QueryInterface(riid, ppv);
}
STDMETHODIMP_(ULONG) PositionPassThrough::AddRef() {
  return m_owner->AddRef();
}
STDMETHODIMP_(ULONG) PositionPassThrough::Release() {
  return m_owner->Release();
}

HRESULT PositionPassThrough::Peer(IMediaSeeking** seeking) {
  *seeking = nullptr;
  ComPtr<IPin> upstream;
  if (FAILED(m_input->ConnectedTo(upstream.GetAddressOf())) || !upstream) {
    return VFW_E_NOT_CONNECTED;
  }
  if (FAILED(upstream->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking)))) {
    *seeking = nullptr;
    return E_NOTIMPL;
  }
  return S_OK;
}

STDMETHODIMP PositionPassThrough::GetCapabilities(DWORD* capabilities) {
  return PassUp(&IMediaSeeking::GetCapabilities, capabilities);
}
STDMETHODIMP PositionPassThrough::CheckCapabilities(DWORD* capabilities) {
  return PassUp(&IMediaSeeking::CheckCapabilities, capabilities);
}
STDMETHODIMP PositionPassThrough::IsFormatSupported(const GUID* format) {
  return PassUp(&IMediaSeeking::IsFormatSupported, format);
}
STDMETHODIMP PositionPassThrough::QueryPreferredFormat(GUID* format) {
  return PassUp(&IMediaSeeking::QueryPreferredFormat, format);
}
STDMETHODIMP PositionPassThrough::GetTimeFormat(GUID* format) {
  return PassUp(&IMediaSeeking::GetTimeFormat, format);
}
STDMETHODIMP PositionPassThrough::IsUsingTimeFormat(const GUID* format) {
  return PassUp(&IMediaSeeking::IsUsingTimeFormat, format);
}
STDMETHODIMP PositionPassThrough::SetTimeFormat(const GUID* format) {
  return PassUp(&IMediaSeeking::SetTimeFormat, format);
}
STDMETHODIMP PositionPassThrough::GetDuration(LONGLONG* duration) {
  return PassUp(&IMediaSeeking::GetDuration, duration);
}
STDMETHODIMP PositionPassThrough::GetStopPosition(LONGLONG* stop) {
  return PassUp(&IMediaSeeking::GetStopPosition, stop);
}
STDMETHODIMP PositionPassThrough::GetCurrentPosition(LONGLONG* current) {
  return PassUp(&IMediaSeeking::GetCurrentPosition, current);
}
STDMETHODIMP PositionPassThrough::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat,
                                                    LONGLONG source, const GUID* sourceFormat) {
  return PassUp(&IMediaSeeking::ConvertTimeFormat, target, targetFormat, source, sourceFormat);
}
STDMETHODIMP PositionPassThrough::SetPositions(LONGLONG* current, DWORD currentFlags,
                                               LONGLONG* stop, DWORD stopFlags) {
  return PassUp(&IMediaSeeking::SetPositions, current, currentFlags, stop, stopFlags);
}
STDMETHODIMP PositionPassThrough::GetPositions(LONGLONG* current, LONGLONG* stop) {
  return PassUp(&IMediaSeeking::GetPositions, current, stop);
}
STDMETHODIMP PositionPassThrough::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  return PassUp(&IMediaSeeking::GetAvailable, earliest, latest);
}
STDMETHODIMP PositionPassThrough::SetRate(double rate) {
  return PassUp(&IMediaSeeking::SetRate, rate);
}
STDMETHODIMP PositionPassThrough::GetRate(double* rate) {
  return PassUp(&IMediaSeeking::GetRate, rate);
}
STDMETHODIMP PositionPassThrough::GetPreroll(LONGLONG* preroll) {
  return PassUp(&IMediaSeeking::GetPreroll, preroll);
}

STDMETHODIMP PositionPassThrough::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP PositionPassThrough::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP PositionPassThrough::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
STDMETHODIMP PositionPassThrough::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                         EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT PositionPassThrough::GetSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*get)(LONGLONG*),
                                        REFTIME* time) {
  if (!time) return E_POINTER;
  ComPtr<IMediaSeeking> peer;
  HRESULT hr = Peer(peer.GetAddressOf());
  if (FAILED(hr)) return hr;
  LONGLONG units = 0;
  hr = (peer.Get()->*get)(&units);
  if (SUCCEEDED(hr)) *time = ToSeconds(units);
  return hr;
}

HRESULT PositionPassThrough::CanSeek(DWORD capability, LONG* canSeek) {
  if (!canSeek) return E_POINTER;
  ComPtr<IMediaSeeking> peer;
  HRESULT hr = Peer(peer.GetAddressOf());
  if (FAILED(hr)) return hr;
  DWORD capabilities = 0;
  hr = peer->GetCapabilities(&capabilities);
  if (FAILED(hr)) return hr;
  *canSeek = (capabilities & capability) ? OATRUE : OAFALSE;
  return S_OK;
}

STDMETHODIMP PositionPassThrough::get_Duration(REFTIME* length) {
  return GetSeconds(&IMediaSeeking::GetDuration, length);
}
STDMETHODIMP PositionPassThrough::get_CurrentPosition(REFTIME* time) {
  return GetSeconds(&IMediaSeeking::GetCurrentPosition, time);
}
STDMETHODIMP PositionPassThrough::get_StopTime(REFTIME* time) {
  return GetSeconds(&IMediaSeeking::GetStopPosition, time);
}
STDMETHODIMP PositionPassThrough::get_PrerollTime(REFTIME* time) {
  return GetSeconds(&IMediaSeeking::GetPreroll, time);
}

STDMETHODIMP PositionPassThrough::put_CurrentPosition(REFTIME time) {
  LONGLONG current = ToReferenceTime(time);
  return SetPositions(&current, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}
STDMETHODIMP PositionPassThrough::put_StopTime(REFTIME time) {
  LONGLONG stop = ToReferenceTime(time);
  return SetPositions(nullptr, AM_SEEKING_NoPositioning, &stop, AM_SEEKING_AbsolutePositioning);
}
STDMETHODIMP PositionPassThrough::put_PrerollTime(REFTIME) {
  // IMediaSeeking has no way to set the preroll.
  return E_NOTIMPL;
}
STDMETHODIMP PositionPassThrough::put_Rate(double rate) {
  return SetRate(rate);
}
STDMETHODIMP PositionPassThrough::get_Rate(double* rate) {
  return GetRate(rate);
}
STDMETHODIMP PositionPassThrough::CanSeekForward(LONG* canSeek) {
  return CanSeek(AM_SEEKING_CanSeekForwards, canSeek);
}
STDMETHODIMP PositionPassThrough::CanSeekBackward(LONG* canSeek) {
  return CanSeek(AM_SEEKING_CanSeekBackwards, canSeek);
}

}  // namespace brontel::dshow

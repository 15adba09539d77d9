#pragma once
// IMediaSeeking and IMediaPosition for a pin or filter that does not seek by
// itself: every call goes upstream, to the output pin that is connected to
// one of our input pins, and that pin's answer comes back unchanged.
//
// The object has no COM identity of its own. It lives inside its owner (a
// member, or created once on first request) and sends IUnknown to the owner,
// so QueryInterface through it reaches the owner's interfaces and asking the
// owner twice hands out the same interface.

#include "win32/windows_include.h"
#include <control.h>
#include <strmif.h>

namespace brontel::dshow {

class PositionPassThrough : public IMediaSeeking, public IMediaPosition {
 public:
  // owner: the pin or filter that answers IMediaSeeking and IMediaPosition
  // with this object; it outlives the object and is not AddRef'd.
  // input: the input pin of ours whose upstream peer does the seeking; the
  // peer is looked up on every call, so reconnections need no rebinding.
  PositionPassThrough(IUnknown* owner, IPin* input);
  PositionPassThrough(const PositionPassThrough&) = delete;
  PositionPassThrough& operator=(const PositionPassThrough&) = delete;

  // Answers IMediaSeeking and IMediaPosition (AddRef'd through the owner);
  // false for every other interface.
  bool Answer(REFIID riid, void** ppv);

  // IUnknown: the owner's.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
  STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
  STDMETHODIMP IsFormatSupported(const GUID* format) override;
  STDMETHODIMP QueryPreferredFormat(GUID* format) override;
  STDMETHODIMP GetTimeFormat(GUID* format) override;
  STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
  STDMETHODIMP SetTimeFormat(const GUID* format) override;
  STDMETHODIMP GetDuration(LONGLONG* duration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                 const GUID* sourceFormat) override;
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                            DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  STDMETHODIMP SetRate(double rate) override;
  STDMETHODIMP GetRate(double* rate) override;
  STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

  // IDispatch: no type information; IMediaPosition is for C++ callers here.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // IMediaPosition, in seconds, carried out with the peer's IMediaSeeking in
  // reference time (the peer need not implement IMediaPosition itself).
  STDMETHODIMP get_Duration(REFTIME* length) override;
  STDMETHODIMP put_CurrentPosition(REFTIME time) override;
  STDMETHODIMP get_CurrentPosition(REFTIME* time) override;
  STDMETHODIMP get_StopTime(REFTIME* time) override;
  STDMETHODIMP put_StopTime(REFTIME time) override;
  STDMETHODIMP get_PrerollTime(REFTIME* time) override;
  STDMETHODIMP put_PrerollTime(REFTIME time) override;
  STDMETHODIMP put_Rate(double rate) override;
  STDMETHODIMP get_Rate(double* rate) override;
  STDMETHODIMP CanSeekForward(LONG* canSeek) override;
  STDMETHODIMP CanSeekBackward(LONG* canSeek) override;

 private:
  // The upstream pin's IMediaSeeking (AddRef'd): VFW_E_NOT_CONNECTED when our
  // input has no peer, E_NOTIMPL when the peer does not seek.
  HRESULT Peer(IMediaSeeking** seeking);
  // Asks the peer the same question.
  template <typename... Params, typename... Args>
  HRESULT PassUp(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*method)(Params...), Args... args) {
    IMediaSeeking* peer = nullptr;
    HRESULT hr = Peer(&peer);
    if (FAILED(hr)) return hr;
    hr = (peer->*method)(args...);
    peer->Release();
    return hr;
  }
  HRESULT GetSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*get)(LONGLONG*), REFTIME* time);
  HRESULT CanSeek(DWORD capability, LONG* canSeek);

  IUnknown* m_owner;  // not AddRef'd: the owner holds this object
  IPin* m_input;      // not AddRef'd: a pin of the same filter
};

}  // namespace brontel::dshow

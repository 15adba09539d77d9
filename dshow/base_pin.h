#pragma once
// What input and output pins share: the connection handshake, the connection
// media type, media-type enumeration, pin information and the new-segment
// values. Pins live inside their filter and share its reference count.

#include "win32/windows_include.h"
#include <strmif.h>

#include <string>

#include "dshow/critical_section.h"
#include "dshow/media_type.h"

namespace brontel::dshow {

class BaseFilter;

class BasePin : public IPin {
 public:
  BasePin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name, PIN_DIRECTION direction);
  virtual ~BasePin();
  BasePin(const BasePin&) = delete;
  BasePin& operator=(const BasePin&) = delete;

  // IUnknown: the count is the filter's.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // S_OK when the pin takes the type; S_FALSE or an error otherwise.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) = 0;
  // The preferred type at position (0-based): S_OK, VFW_S_NO_MORE_ITEMS past
  // the end, E_INVALIDARG below 0. The default proposes none.
  virtual HRESULT GetMediaType(int position, MediaType* mt);
  // Called while stopped, before the graph goes to paused and back.
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }

  bool IsConnected() const { return m_connected != nullptr; }
  IPin* ConnectedPin() const { return m_connected; }
  const MediaType& CurrentMediaType() const { return m_mt; }
  const std::wstring& Name() const { return m_name; }
  PIN_DIRECTION Direction() const { return m_direction; }
  BaseFilter* Filter() const { return m_filter; }
  REFERENCE_TIME SegmentStart() const { return m_segmentStart; }
  REFERENCE_TIME SegmentStop() const { return m_segmentStop; }
  double SegmentRate() const { return m_segmentRate; }

 protected:
  // Connection steps, in order; each may refuse.
  virtual HRESULT CheckConnect(IPin* pin);
  virtual HRESULT SetMediaType(const AM_MEDIA_TYPE& mt);
  virtual HRESULT CompleteConnect(IPin* receivePin) { return S_OK; }
  // Undoes CheckConnect and CompleteConnect; called on failure and on disconnect.
  virtual HRESULT BreakConnect() { return S_OK; }

  BaseFilter* m_filter;     // not AddRef'd: the filter owns the pin
  CriticalSection& m_lock;  // the filter's lock

 private:
  HRESULT AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* mt);
  HRESULT TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* pattern, IEnumMediaTypes* types);
  HRESULT AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE& mt);

  std::wstring m_name;
  PIN_DIRECTION m_direction;
  IPin* m_connected = nullptr;  // AddRef'd
  MediaType m_mt;
  REFERENCE_TIME m_segmentStart = 0;
  REFERENCE_TIME m_segmentStop = MAXLONGLONG;
  double m_segmentRate = 1.0;
};

// A refused type is reported as VFW_E_TYPE_NOT_ACCEPTED unless the check gave
// a more specific DirectShow error.
HRESULT MapTypeRefusal(HRESULT checkResult);

}  // namespace brontel::dshow

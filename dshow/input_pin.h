#pragma once
// An input pin with IMemInputPin: allocator handshake, the streaming checks
// (connected, not stopped, not flushing, no stream error) and the flushing
// state. A sample that carries a media type changes the pin's type when the
// pin takes it; otherwise the stream ends with an error.

#include "dshow/base_pin.h"

namespace brontel::dshow {

class InputPin : public BasePin, public IMemInputPin {
 public:
  InputPin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name);
  ~InputPin() override;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return BasePin::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return BasePin::Release(); }

  // IPin streaming calls; derived pins pass them on after calling these.
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

  // IMemInputPin
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
  STDMETHODIMP ReceiveCanBlock() override;

  HRESULT Inactive() override;

  // S_OK when a sample may be taken now; S_FALSE while flushing; an error
  // when the pin is not connected, the filter is stopped or the stream
  // ended on an error (until the next stop or flush).
  HRESULT CheckStreaming();
  bool IsFlushing() const { return m_flushing; }
  bool IsReadOnly() const { return m_readOnly; }
  IMemAllocator* Allocator() const { return m_allocator; }

 protected:
  HRESULT BreakConnect() override;
  // Per-sample work; called by Receive after the streaming checks.
  virtual HRESULT OnReceive(IMediaSample* sample) { return S_OK; }
  // Ends the stream downstream after a sample was refused for its type.
  virtual HRESULT EndStreamAfterError() { return S_OK; }

 private:
  IMemAllocator* m_allocator = nullptr;  // AddRef'd
  // Takes a type that a sample carries, or refuses it.
  HRESULT AcceptSampleType(const AM_MEDIA_TYPE& mt);

  bool m_readOnly = false;
  volatile bool m_flushing = false;
  volatile bool m_streamError = false;
};

}  // namespace brontel::dshow

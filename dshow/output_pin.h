#pragma once
// An output pin that delivers through the connected pin's IMemInputPin and
// negotiates the allocator: the downstream pin's allocator first, and our own
// memory allocator when downstream has none or it cannot grant the buffers
// DecideBufferSize asks for.

#include "dshow/base_pin.h"

namespace brontel::dshow {

class OutputPin : public BasePin {
 public:
  OutputPin(BaseFilter* filter, CriticalSection& lock, const wchar_t* name);
  ~OutputPin() override;

  // IPin: an output pin takes no stream calls from upstream.
  STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
  STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

  HRESULT Active() override;
  HRESULT Inactive() override;

  HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                            DWORD flags);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  IMemAllocator* Allocator() const { return m_allocator; }
  IMemInputPin* ConnectedInputPin() const { return m_inputPin; }

 protected:
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;

  // Sets the allocator's properties (SetProperties) for this connection.
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
  // Chooses the allocator and tells the input pin; the result is AddRef'd.
  virtual HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator);
  HRESULT CreateMemoryAllocator(IMemAllocator** allocator);

  IMemAllocator* m_allocator = nullptr;  // AddRef'd
  IMemInputPin* m_inputPin = nullptr;    // AddRef'd, the connected pin's
};

}  // namespace brontel::dshow

#pragma once
// What the transform and the in-place transform filters share: one input and
// one output pin, the input pin that forwards the stream calls to the filter,
// the output pin whose types and buffers come from the filter and which
// passes seeking upstream, and the stop / pause handling around the sample
// in progress.

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"
#include "dshow/output_pin.h"
#include "dshow/position_pass_through.h"

namespace brontel::dshow {

class TransformBase;

class TransformInputPin : public InputPin {
 public:
  TransformInputPin(TransformBase* filter, const wchar_t* name);

  // The filter's input check and, with the output connected, the pair with
  // the output type: a new input type must still fit what goes out.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT EndStreamAfterError() override;

  TransformBase* m_transform;
};

class TransformOutputPin : public OutputPin {
 public:
  // input: the filter's input pin, upstream of which seeking goes.
  TransformOutputPin(TransformBase* filter, TransformInputPin* input, const wchar_t* name);

  // IUnknown: adds IMediaSeeking and IMediaPosition.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, MediaType* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;

 protected:
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

  TransformBase* m_transform;
  TransformInputPin* m_input;

 private:
  PositionPassThrough m_position;
};

class TransformBase : public BaseFilter {
 public:
  TransformBase(const CLSID& clsid, const wchar_t* name);

  int PinCount() override { return 2; }
  BasePin* Pin(int index) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  virtual TransformInputPin& InputPinRef() = 0;
  virtual TransformOutputPin& OutputPinRef() = 0;

  // S_OK when the input type can be taken.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  // S_OK when output can be produced from input.
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) = 0;
  // The pair check both pins use, for a new output type against the input's
  // and for a new input type against the output's.
  virtual HRESULT CheckTypePair(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) {
    return CheckTransform(input, output);
  }
  // The output type proposed at position; see BasePin::GetMediaType.
  virtual HRESULT GetMediaType(int position, MediaType* mt) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& mt) { return S_OK; }
  virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) { return S_OK; }
  virtual HRESULT BreakConnect(PIN_DIRECTION direction) { return S_OK; }
  virtual HRESULT StartStreaming() { return S_OK; }
  virtual HRESULT StopStreaming() { return S_OK; }

  // Stream calls from the input pin, passed downstream.
  virtual HRESULT Receive(IMediaSample* sample) = 0;
  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  CriticalSection& ReceiveLock() { return m_receiveLock; }

 protected:
  // Held for each sample; Stop takes it to wait for the sample in progress.
  CriticalSection m_receiveLock;
};

}  // namespace brontel::dshow

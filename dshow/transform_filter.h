#pragma once
// A one-in, one-out filter that writes each frame into a separate output
// buffer. The derived filter checks types, proposes the output type, sizes the
// output buffers and transforms one sample into another.

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"
#include "dshow/output_pin.h"

namespace brontel::dshow {

class TransformFilter;

class TransformInputPin : public InputPin {
 public:
  TransformInputPin(TransformFilter* filter, const wchar_t* name);

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

 private:
  TransformFilter* m_transform;
};

class TransformOutputPin : public OutputPin {
 public:
  TransformOutputPin(TransformFilter* filter, const wchar_t* name);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, MediaType* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;

 protected:
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

 private:
  TransformFilter* m_transform;
};

class TransformFilter : public BaseFilter {
 public:
  TransformFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                  const wchar_t* outputName);

  int PinCount() override { return 2; }
  BasePin* Pin(int index) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  // S_OK when the input type can be taken.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  // S_OK when output can be produced from input.
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) = 0;
  // The output type proposed at position; see BasePin::GetMediaType.
  virtual HRESULT GetMediaType(int position, MediaType* mt) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
  // S_OK delivers the output sample, S_FALSE drops it, an error is returned upstream.
  virtual HRESULT Transform(IMediaSample* input, IMediaSample* output) = 0;

  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& mt) { return S_OK; }
  virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) { return S_OK; }
  virtual HRESULT BreakConnect(PIN_DIRECTION direction) { return S_OK; }
  virtual HRESULT StartStreaming() { return S_OK; }
  virtual HRESULT StopStreaming() { return S_OK; }

  // Stream calls from the input pin, passed downstream.
  virtual HRESULT Receive(IMediaSample* sample);
  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  TransformInputPin& InputPinRef() { return m_input; }
  TransformOutputPin& OutputPinRef() { return m_output; }
  CriticalSection& ReceiveLock() { return m_receiveLock; }

 protected:
  // Held for each sample; Stop takes it to wait for the sample in progress.
  CriticalSection m_receiveLock;
  TransformInputPin m_input;
  TransformOutputPin m_output;
};

}  // namespace brontel::dshow

#pragma once
// A one-in, one-out filter that works on the sample it receives and passes
// that same sample on. Upstream, this filter and downstream share one
// allocator where they can; otherwise each frame is copied into an output
// buffer first. The output type is the input type.

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"
#include "dshow/output_pin.h"

namespace brontel::dshow {

class TransformInPlaceFilter;

class InPlaceInputPin : public InputPin {
 public:
  InPlaceInputPin(TransformInPlaceFilter* filter, const wchar_t* name);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT BreakConnect() override;
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  TransformInPlaceFilter* m_transform;
};

class InPlaceOutputPin : public OutputPin {
 public:
  InPlaceOutputPin(TransformInPlaceFilter* filter, const wchar_t* name);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, MediaType* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;

  // Offers an upstream allocator to the downstream pin; true when taken.
  bool AdoptAllocator(IMemAllocator* allocator, bool readOnly);
  bool SharesInputAllocator() const;

 protected:
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

 private:
  TransformInPlaceFilter* m_transform;
};

class TransformInPlaceFilter : public BaseFilter {
 public:
  TransformInPlaceFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                         const wchar_t* outputName);

  int PinCount() override { return 2; }
  BasePin* Pin(int index) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  // The output type is the input type; a derived filter may refuse more.
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) {
    return S_OK;
  }
  // Works on the sample in place. S_OK delivers it, S_FALSE drops it.
  virtual HRESULT Transform(IMediaSample* sample) = 0;
  // A filter that only reads the picture can share a read-only allocator.
  virtual bool ModifiesData() const { return true; }

  virtual HRESULT Receive(IMediaSample* sample);
  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  InPlaceInputPin& InputPinRef() { return m_input; }
  InPlaceOutputPin& OutputPinRef() { return m_output; }
  CriticalSection& ReceiveLock() { return m_receiveLock; }

 protected:
  CriticalSection m_receiveLock;
  InPlaceInputPin m_input;
  InPlaceOutputPin m_output;
};

// Copies the data and every sample property from one sample to another.
HRESULT CopySample(IMediaSample* source, IMediaSample* destination);

}  // namespace brontel::dshow

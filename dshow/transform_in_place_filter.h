#pragma once
// A one-in, one-out filter that works on the sample it receives and passes
// that same sample on. Upstream, this filter and downstream share one
// allocator where they can; otherwise each frame is copied into an output
// buffer first. The output type is the input type.

#include "dshow/transform_base.h"

namespace brontel::dshow {

class TransformInPlaceFilter;

class InPlaceInputPin : public TransformInputPin {
 public:
  InPlaceInputPin(TransformInPlaceFilter* filter, const wchar_t* name);

  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;

 private:
  TransformInPlaceFilter* m_inPlace;
};

class InPlaceOutputPin : public TransformOutputPin {
 public:
  InPlaceOutputPin(TransformInPlaceFilter* filter, InPlaceInputPin* input, const wchar_t* name);

  // Offers an upstream allocator to the downstream pin; true when taken.
  bool AdoptAllocator(IMemAllocator* allocator, bool readOnly);
  bool SharesInputAllocator() const;

 protected:
  HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;

 private:
  TransformInPlaceFilter* m_inPlace;
};

class TransformInPlaceFilter : public TransformBase {
 public:
  TransformInPlaceFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                         const wchar_t* outputName);

  TransformInputPin& InputPinRef() override { return m_input; }
  TransformOutputPin& OutputPinRef() override { return m_output; }

  // The output type is the input type; a derived filter may refuse more.
  HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override {
    return S_OK;
  }
  // Samples pass unchanged: any other output type would mislabel them.
  HRESULT CheckTypePair(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override;
  // Proposes the input type, and only that.
  HRESULT GetMediaType(int position, MediaType* mt) override;
  // At least upstream's buffers, or one of the input type's sample size.
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  // Works on the sample in place. S_OK delivers it, S_FALSE drops it.
  virtual HRESULT Transform(IMediaSample* sample) = 0;
  // A filter that only reads the picture can share a read-only allocator.
  virtual bool ModifiesData() const { return true; }

  HRESULT Receive(IMediaSample* sample) override;

  InPlaceInputPin& InPlaceInput() { return m_input; }
  InPlaceOutputPin& InPlaceOutput() { return m_output; }

 protected:
  InPlaceInputPin m_input;
  InPlaceOutputPin m_output;
};

// Copies the data and every sample property from one sample to another.
HRESULT CopySample(IMediaSample* source, IMediaSample* destination);

}  // namespace brontel::dshow

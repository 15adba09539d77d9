#pragma once
// A one-in, one-out filter that writes each frame into a separate output
// buffer. The derived filter checks types, proposes the output type, sizes the
// output buffers and transforms one sample into another.

#include "dshow/transform_base.h"

namespace brontel::dshow {

class TransformFilter : public TransformBase {
 public:
  TransformFilter(const CLSID& clsid, const wchar_t* name, const wchar_t* inputName,
                  const wchar_t* outputName);

  TransformInputPin& InputPinRef() override { return m_input; }
  TransformOutputPin& OutputPinRef() override { return m_output; }

  // S_OK delivers the output sample, S_FALSE drops it, an error is returned upstream.
  virtual HRESULT Transform(IMediaSample* input, IMediaSample* output) = 0;

  HRESULT Receive(IMediaSample* sample) override;

 protected:
  TransformInputPin m_input;
  TransformOutputPin m_output;
};

}  // namespace brontel::dshow

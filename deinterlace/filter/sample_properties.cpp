#include "deinterlace/filter/sample_properties.h"

#include <vfwmsgs.h>

#include "dshow/media_type.h"

namespace brontel {

namespace {

// S_OK / S_FALSE become TRUE / FALSE; anything else is not a flag at all.
HRESULT ReadFlag(HRESULT answer, BOOL* flag) {
  if (answer == S_OK) {
    *flag = TRUE;
    return S_OK;
  }
  if (answer == S_FALSE) {
    *flag = FALSE;
    return S_OK;
  }
  return E_UNEXPECTED;
}

}  // namespace

HRESULT CopySampleProperties(IMediaSample* input, IMediaSample* output, long dataLength) {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  HRESULT hr = input->GetTime(&start, &stop);
  if (hr == S_OK) {
    output->SetTime(&start, &stop);
  } else if (hr == VFW_S_NO_STOP_TIME) {
    output->SetTime(&start, nullptr);
  } else {
    // A recycled output sample must not keep an earlier frame's times.
    output->SetTime(nullptr, nullptr);
  }
  if (input->GetMediaTime(&start, &stop) == S_OK) {
    output->SetMediaTime(&start, &stop);
  } else {
    output->SetMediaTime(nullptr, nullptr);
  }

  BOOL flag = FALSE;
  if (FAILED(ReadFlag(input->IsSyncPoint(), &flag))) return E_UNEXPECTED;
  output->SetSyncPoint(flag);

  AM_MEDIA_TYPE* mt = nullptr;
  if (input->GetMediaType(&mt) == S_OK && mt) {
    output->SetMediaType(mt);
    dshow::DeleteMediaType(mt);
  }

  if (FAILED(ReadFlag(input->IsPreroll(), &flag))) return E_UNEXPECTED;
  output->SetPreroll(flag);
  if (FAILED(ReadFlag(input->IsDiscontinuity(), &flag))) return E_UNEXPECTED;
  output->SetDiscontinuity(flag);

  output->SetActualDataLength(dataLength);
  return S_OK;
}

}  // namespace brontel

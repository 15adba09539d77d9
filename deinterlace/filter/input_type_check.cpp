#include "deinterlace/filter/input_type_check.h"

#include <amvideo.h>
#include <uuids.h>

namespace brontel {

namespace {
constexpr WORD kRequiredBitsPerPixel = 16;
}

HRESULT CheckDeinterlaceInputType(const AM_MEDIA_TYPE& mt) {
  if (mt.formattype != FORMAT_VideoInfo) return E_INVALIDARG;
  if (mt.majortype != MEDIATYPE_Video) return E_FAIL;
  if (mt.subtype != MEDIASUBTYPE_YUY2 && mt.subtype != MEDIASUBTYPE_UYVY) return E_FAIL;
  // The header is read on every frame; a short block would be read past its end.
  if (!mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER)) return E_FAIL;
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  if (vih->bmiHeader.biBitCount != kRequiredBitsPerPixel) return E_FAIL;
  return S_OK;
}

InputFormatKind FormatKindOf(const AM_MEDIA_TYPE& mt) {
  if (mt.subtype == MEDIASUBTYPE_YUY2) return InputFormatKind::kYuy2;
  if (mt.subtype == MEDIASUBTYPE_UYVY) return InputFormatKind::kUyvy;
  return InputFormatKind::kNone;
}

}  // namespace brontel

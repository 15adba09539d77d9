#include "dshow/media_type.h"

#include <cstring>

namespace brontel::dshow {

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat != 0 || mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  mt.cbFormat = 0;
  mt.pbFormat = nullptr;
  if (mt.pUnk) {
    mt.pUnk->Release();
    mt.pUnk = nullptr;
  }
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaType(*mt);
  CoTaskMemFree(mt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE& src) {
  *dst = src;
  dst->pbFormat = nullptr;
  dst->cbFormat = 0;
  if (src.cbFormat != 0 && src.pbFormat) {
    dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src.cbFormat));
    if (!dst->pbFormat) {
      *dst = AM_MEDIA_TYPE{};
      return E_OUTOFMEMORY;
    }
    std::memcpy(dst->pbFormat, src.pbFormat, src.cbFormat);
    dst->cbFormat = src.cbFormat;
  }
  if (dst->pUnk) dst->pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE& src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (FAILED(CopyMediaType(mt, src))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

bool MediaTypesEqual(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
  if (a.majortype != b.majortype || a.subtype != b.subtype || a.formattype != b.formattype) {
    return false;
  }
  if (a.cbFormat != b.cbFormat) return false;
  if (a.cbFormat == 0) return true;
  if (!a.pbFormat || !b.pbFormat) return a.pbFormat == b.pbFormat;
  return std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == GUID_NULL || mt.subtype == GUID_NULL || mt.formattype == GUID_NULL;
}

bool MatchesPartial(const AM_MEDIA_TYPE& mt, const AM_MEDIA_TYPE& pattern) {
  if (pattern.majortype != GUID_NULL && pattern.majortype != mt.majortype) return false;
  if (pattern.subtype != GUID_NULL && pattern.subtype != mt.subtype) return false;
  if (pattern.formattype != GUID_NULL) {
    if (pattern.formattype != mt.formattype) return false;
    if (pattern.cbFormat != 0) {
      if (pattern.cbFormat != mt.cbFormat || !pattern.pbFormat || !mt.pbFormat) return false;
      if (std::memcmp(pattern.pbFormat, mt.pbFormat, mt.cbFormat) != 0) return false;
    }
  }
  return true;
}

MediaType::MediaType() : m_mt{} {}

MediaType::~MediaType() {
  FreeMediaType(m_mt);
}

MediaType::MediaType(MediaType&& other) noexcept : m_mt(other.m_mt) {
  other.m_mt = AM_MEDIA_TYPE{};
}

MediaType& MediaType::operator=(MediaType&& other) noexcept {
  if (this != &other) {
    FreeMediaType(m_mt);
    m_mt = other.m_mt;
    other.m_mt = AM_MEDIA_TYPE{};
  }
  return *this;
}

HRESULT MediaType::Assign(const AM_MEDIA_TYPE& src) {
  if (&src == &m_mt) return S_OK;
  AM_MEDIA_TYPE copy;
  HRESULT hr = CopyMediaType(&copy, src);
  if (FAILED(hr)) return hr;
  FreeMediaType(m_mt);
  m_mt = copy;
  return S_OK;
}

void MediaType::Clear() {
  FreeMediaType(m_mt);
  m_mt = AM_MEDIA_TYPE{};
}

HRESULT MediaType::AllocFormat(ULONG size) {
  BYTE* block = nullptr;
  if (size != 0) {
    block = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!block) return E_OUTOFMEMORY;
    std::memset(block, 0, size);
  }
  CoTaskMemFree(m_mt.pbFormat);
  m_mt.pbFormat = block;
  m_mt.cbFormat = size;
  return S_OK;
}

}  // namespace brontel::dshow

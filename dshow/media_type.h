#pragma once
// AM_MEDIA_TYPE as a value: MediaType owns its format block (CoTaskMem) and
// its pUnk reference. Move-only; copies go through Assign, which can fail.

#include "win32/windows_include.h"
#include <strmif.h>
#include <uuids.h>
#include <vfwmsgs.h>

namespace brontel::dshow {

// Frees the format block and the pUnk of a media type (not the struct itself).
void FreeMediaType(AM_MEDIA_TYPE& mt);
// FreeMediaType, then CoTaskMemFree of the struct (for types from enumerators).
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// Deep copy into dst, which must not own anything. E_OUTOFMEMORY leaves dst empty.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE& src);
// A CoTaskMem copy for handing out through IEnumMediaTypes; null when out of memory.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE& src);

// Major type, subtype, format type and format bytes are equal.
bool MediaTypesEqual(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b);
// A GUID_NULL major type, subtype or format type leaves that part open.
bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt);
// mt satisfies the parts that pattern specifies.
bool MatchesPartial(const AM_MEDIA_TYPE& mt, const AM_MEDIA_TYPE& pattern);

class MediaType {
 public:
  MediaType();
  ~MediaType();
  MediaType(MediaType&& other) noexcept;
  MediaType& operator=(MediaType&& other) noexcept;
  MediaType(const MediaType&) = delete;
  MediaType& operator=(const MediaType&) = delete;

  HRESULT Assign(const AM_MEDIA_TYPE& src);
  void Clear();
  // Allocates a zeroed format block of the given size; E_OUTOFMEMORY on failure.
  HRESULT AllocFormat(ULONG size);

  const AM_MEDIA_TYPE& Get() const { return m_mt; }
  AM_MEDIA_TYPE& Get() { return m_mt; }
  const AM_MEDIA_TYPE* operator->() const { return &m_mt; }
  AM_MEDIA_TYPE* operator->() { return &m_mt; }
  bool IsEmpty() const { return m_mt.majortype == GUID_NULL; }

 private:
  AM_MEDIA_TYPE m_mt;
};

}  // namespace brontel::dshow

#pragma once
// The identity of "Ligos GoMotion Filter (Kestrova)" and the two control
// interfaces its client drives. The operations stand in their vtable order.

#include "win32/windows_include.h"

#include <unknwn.h>

namespace brontel {

// {D9BD2743-3122-425B-9C0A-F3CC0FE525B9}
inline constexpr CLSID kClsidEncodeWriter = {
    0xD9BD2743, 0x3122, 0x425B, {0x9C, 0x0A, 0xF3, 0xCC, 0x0F, 0xE5, 0x25, 0xB9}};
// {FF12DF30-9702-4438-9B45-F64D191DCE69}
inline constexpr IID kIidEncodeWriterParams = {
    0xFF12DF30, 0x9702, 0x4438, {0x9B, 0x45, 0xF6, 0x4D, 0x19, 0x1D, 0xCE, 0x69}};
// {027AAC61-D62A-4799-B3C3-3E7A37073466}
inline constexpr IID kIidEncodeWriterControl = {
    0x027AAC61, 0xD62A, 0x4799, {0xB3, 0xC3, 0x3E, 0x7A, 0x37, 0x07, 0x34, 0x66}};

inline constexpr wchar_t kEncodeWriterName[] = L"Ligos GoMotion Filter (Kestrova)";

// Encoder parameters: the 220-byte parameter record, the 288-byte option
// record and the two client words of the 92-byte record.
struct IEncodeWriterParams : public IUnknown {
  // Null video record: fresh parameters from the encoder's property library;
  // null option record: zeros; a null word address stores 0.
  virtual HRESULT STDMETHODCALLTYPE SetEncodeParams(const void* videoRecord,
                                                    const void* optionRecord, const DWORD* wordA,
                                                    const DWORD* wordB) = 0;
  // Copies out what is asked for; null addresses are skipped.
  virtual HRESULT STDMETHODCALLTYPE GetEncodeParams(void* videoRecord, void* optionRecord,
                                                    DWORD* wordA, DWORD* wordB) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;  // E_NOTIMPL
  virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;  // E_NOTIMPL
  virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;  // E_NOTIMPL
  virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;  // E_NOTIMPL
  virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;  // E_NOTIMPL
  // The audio pin's format while it is connected, else null. The pointer is
  // the filter's; the caller does not free it.
  virtual HRESULT STDMETHODCALLTYPE GetAudioFormat(const void** waveFormat) = 0;
};

// Output file, modes and progress of the recording.
struct IEncodeWriterControl : public IUnknown {
  // E_FAIL while nothing has been written.
  virtual HRESULT STDMETHODCALLTYPE GetWritePosition(LONGLONG* position) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEncodedTime(LONGLONG* milliseconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOutputFile(LPCWSTR name) = 0;
  // The buffer needs room for 260 characters.
  virtual HRESULT STDMETHODCALLTYPE GetOutputFile(LPWSTR name) = 0;
  // Applies from the next encoder start.
  virtual HRESULT STDMETHODCALLTYPE SetFileSizeLimit(DWORD low, DWORD high) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBufferedBytes(LONGLONG* bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetNotifyTarget(void* target) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLinearMode(BYTE* linear) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLinearMode(DWORD linear) = 0;
  virtual HRESULT STDMETHODCALLTYPE StopEncoder() = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableWriting(DWORD enable) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTotalBitRate(LONGLONG* bitsPerSecond) = 0;
  // E_FAIL while the graph runs.
  virtual HRESULT STDMETHODCALLTYPE SetPreviewMode(DWORD mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPreviewMode(BYTE* mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDuplicatedFrames(DWORD* frames) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved16() = 0;  // S_OK
  virtual HRESULT STDMETHODCALLTYPE Reserved17() = 0;  // S_OK
  virtual HRESULT STDMETHODCALLTYPE Reserved18() = 0;  // S_OK
};

}  // namespace brontel

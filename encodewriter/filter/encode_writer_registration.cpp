#include "encodewriter/filter/encode_writer_registration.h"

#include <strmif.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <string>

#include "encodewriter/filter/encode_writer_filter.h"
#include "win32/class_factory.h"
#include "win32/com_ptr.h"

namespace brontel {
namespace {

// {33D9A760-90C8-11D0-BD43-00A0C911CE86}
constexpr CLSID kVideoCompressorCategory = {
    0x33D9A760, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

const REGPINTYPES kVideoInTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},
                                     {&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV}};
const REGPINTYPES kAudioInTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM},
                                     {&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV}};
const REGPINTYPES kVideoOutTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},
                                      {&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV}};

REGFILTERPINS SetupPin(const wchar_t* name, bool output, const REGPINTYPES* types) {
  REGFILTERPINS pin{};
  pin.strName = const_cast<LPWSTR>(name);
  pin.bOutput = output;
  pin.clsConnectsToFilter = &CLSID_NULL;
  pin.nMediaTypes = 2;
  pin.lpMediaType = types;
  return pin;
}

HRESULT CreateMapper(ComPtr<IFilterMapper2>* mapper) {
  return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                          reinterpret_cast<void**>(mapper->GetAddressOf()));
}

bool NotThere(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == VFW_E_NOT_FOUND;
}

}  // namespace

HRESULT RegisterEncodeWriter() {
  std::wstring modulePath;
  HRESULT hr = GetModulePath(&modulePath);
  if (FAILED(hr)) return hr;
  hr = WriteInprocClassKey(kClsidEncodeWriter, kEncodeWriterName, modulePath, L"Both");
  if (FAILED(hr)) return hr;

  ComPtr<IFilterMapper2> mapper;
  hr = CreateMapper(&mapper);
  if (FAILED(hr)) return hr;
  const REGFILTERPINS pins[] = {
      SetupPin(L"Video In", false, kVideoInTypes),
      SetupPin(L"PCM Audio In", false, kAudioInTypes),
      SetupPin(L"VideoOut", true, kVideoOutTypes),
  };
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = kEncodeWriterMerit;
  filter.cPins = 3;
  filter.rgPins = pins;
  hr = mapper->RegisterFilter(kClsidEncodeWriter, kEncodeWriterName, nullptr,
                              &CLSID_LegacyAmFilterCategory, nullptr, &filter);
  if (FAILED(hr)) return hr;

  REGFILTER2 compressor{};
  compressor.dwVersion = 1;
  compressor.dwMerit = kEncodeWriterMerit;
  compressor.cPins = 0;
  return mapper->RegisterFilter(kClsidEncodeWriter, kEncodeWriterName, nullptr,
                                &kVideoCompressorCategory, kEncodeWriterName, &compressor);
}

HRESULT UnregisterEncodeWriter() {
  ComPtr<IFilterMapper2> mapper;
  HRESULT hr = CreateMapper(&mapper);
  if (FAILED(hr)) return hr;
  hr = mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, kClsidEncodeWriter);
  if (FAILED(hr) && !NotThere(hr)) return hr;
  hr = mapper->UnregisterFilter(&kVideoCompressorCategory, kEncodeWriterName, kClsidEncodeWriter);
  if (FAILED(hr) && !NotThere(hr)) return hr;
  return RemoveClassKey(kClsidEncodeWriter);
}

}  // namespace brontel

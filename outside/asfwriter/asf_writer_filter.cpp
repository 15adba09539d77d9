#include "outside/asfwriter/asf_writer_filter.h"

#include <evcode.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstring>

#include "win32/handles.h"

namespace brontel {
namespace {

// The writer's own class id; it is never registered, only reported.
constexpr CLSID kClsidAsfAudioWriter = {
    0x5e3b1c2a, 0x7d41, 0x4f0e, {0x9b, 0x6c, 0x41, 0x53, 0x46, 0x57, 0x52, 0x31}};

const WAVEFORMATEX* PcmFormat(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Audio || mt.subtype != MEDIASUBTYPE_PCM ||
      mt.formattype != FORMAT_WaveFormatEx || !mt.pbFormat || mt.cbFormat < sizeof(PCMWAVEFORMAT))
    return nullptr;
  return reinterpret_cast<const WAVEFORMATEX*>(mt.pbFormat);
}

}  // namespace

// Writes to the file handle; rewrites go back to the end afterwards.
class AsfWriterFilter::FileSink final : public asf::AsfSink {
 public:
  explicit FileSink(HANDLE file) : m_file(file) {}
  HANDLE Handle() const { return m_file.Get(); }

  bool Append(const std::uint8_t* data, std::size_t size) override {
    DWORD written = 0;
    return WriteFile(m_file.Get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
  }
  bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    LARGE_INTEGER zero{};
    const bool ok = SetFilePointerEx(m_file.Get(), at, nullptr, FILE_BEGIN) && Append(data, size);
    return SetFilePointerEx(m_file.Get(), zero, nullptr, FILE_END) && ok;
  }

 private:
  UniqueHandle m_file;
};

HRESULT CreateAsfAudioWriter(IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  IUnknown* object = nullptr;
  HRESULT hr = dshow::CreateFilterInstance<AsfWriterFilter>(&object);
  *filter = static_cast<IBaseFilter*>(object);
  return hr;
}

// ---------------------------------------------------------------- pin

AsfAudioInputPin::AsfAudioInputPin(AsfWriterFilter* filter)
    : dshow::InputPin(filter, filter->FilterLock(), L"Audio In"), m_owner(filter) {}

HRESULT AsfAudioInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  const WAVEFORMATEX* wf = PcmFormat(mt);
  if (!wf || wf->wFormatTag != WAVE_FORMAT_PCM || wf->wBitsPerSample != 16 ||
      !asf::AsfAudioWriter::FormatAllowed(static_cast<int>(wf->nSamplesPerSec), wf->nChannels) ||
      wf->nBlockAlign != wf->nChannels * 2)
    return S_FALSE;
  return S_OK;
}

HRESULT AsfAudioInputPin::GetMediaType(int position, dshow::MediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  HRESULT hr = mt->AllocFormat(sizeof(WAVEFORMATEX));
  if (FAILED(hr)) return hr;
  AM_MEDIA_TYPE& t = mt->Get();
  t.majortype = MEDIATYPE_Audio;
  t.subtype = MEDIASUBTYPE_PCM;
  t.formattype = FORMAT_WaveFormatEx;
  t.bFixedSizeSamples = TRUE;
  t.lSampleSize = 4;
  auto* wf = reinterpret_cast<WAVEFORMATEX*>(t.pbFormat);
  wf->wFormatTag = WAVE_FORMAT_PCM;
  wf->nChannels = 2;
  wf->nSamplesPerSec = 48000;
  wf->wBitsPerSample = 16;
  wf->nBlockAlign = 4;
  wf->nAvgBytesPerSec = 48000 * 4;
  return S_OK;
}

HRESULT AsfAudioInputPin::Active() {
  const WAVEFORMATEX* wf = PcmFormat(CurrentMediaType().Get());
  if (!wf) return VFW_E_NOT_CONNECTED;
  return m_owner->OpenFile(static_cast<int>(wf->nSamplesPerSec), wf->nChannels);
}

HRESULT AsfAudioInputPin::Inactive() {
  HRESULT hr = dshow::InputPin::Inactive();
  HRESULT closed = m_owner->CloseFile();
  return FAILED(closed) ? closed : hr;
}

HRESULT AsfAudioInputPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  HRESULT hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  hr = m_owner->Write(data, sample->GetActualDataLength());
  if (FAILED(hr)) m_owner->NotifyEvent(EC_ERRORABORT, hr, 0);
  return hr;
}

STDMETHODIMP AsfAudioInputPin::EndOfStream() {
  HRESULT hr = dshow::InputPin::EndOfStream();
  if (hr != S_OK) return hr;
  m_owner->EndOfStreamReached();
  return S_OK;
}

// ---------------------------------------------------------------- filter

AsfWriterFilter::AsfWriterFilter()
    : dshow::BaseFilter(kClsidAsfAudioWriter, L"ASF Audio Writer"), m_input(this) {}

AsfWriterFilter::~AsfWriterFilter() {
  CloseFile();
}

HRESULT AsfWriterFilter::QueryFilterInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) {
    *ppv = static_cast<IFileSinkFilter*>(this);
  } else if (riid == IID_IAMFilterMiscFlags) {
    *ppv = static_cast<IAMFilterMiscFlags*>(this);
  } else {
    return dshow::BaseFilter::QueryFilterInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP AsfWriterFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) {
  if (!name) return E_POINTER;
  if (!*name) return E_INVALIDARG;
  dshow::AutoLock lock(m_filterLock);
  // The open file keeps its name until the graph stops.
  if (!IsStopped()) return VFW_E_WRONG_STATE;
  m_fileName = name;
  return S_OK;
}

STDMETHODIMP AsfWriterFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) {
  if (!name) return E_POINTER;
  *name = nullptr;
  if (mt) std::memset(mt, 0, sizeof(*mt));
  dshow::AutoLock lock(m_filterLock);
  if (m_fileName.empty()) return E_FAIL;
  const std::size_t bytes = (m_fileName.size() + 1) * sizeof(wchar_t);
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*name) return E_OUTOFMEMORY;
  std::memcpy(*name, m_fileName.c_str(), bytes);
  if (mt) {
    mt->majortype = MEDIATYPE_Stream;
    mt->subtype = MEDIASUBTYPE_Asf;
  }
  return S_OK;
}

HRESULT AsfWriterFilter::OpenFile(int sampleRate, int channels) {
  // Called from Pause with the filter lock held.
  if (m_fileName.empty()) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
  dshow::AutoLock lock(m_streamLock);
  m_writer.reset();
  m_sink.reset();
  HANDLE file = CreateFileW(m_fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  try {
    m_sink = std::make_unique<FileSink>(file);
    m_writer = std::make_unique<asf::AsfAudioWriter>(
        m_sink.get(), sampleRate, channels,
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  } catch (...) {
    if (!m_sink) CloseHandle(file);
    m_sink.reset();
    return E_OUTOFMEMORY;
  }
  m_channels = channels;
  if (!m_writer->Begin()) {
    const DWORD error = GetLastError();
    m_writer.reset();
    m_sink.reset();
    DeleteFileW(m_fileName.c_str());
    return HRESULT_FROM_WIN32(error ? error : ERROR_WRITE_FAULT);
  }
  return S_OK;
}

HRESULT AsfWriterFilter::Write(const BYTE* data, long bytes) {
  dshow::AutoLock lock(m_streamLock);
  // After the end of the stream or a failure nothing more goes in.
  if (!m_writer) return VFW_E_WRONG_STATE;
  if (bytes <= 0) return S_OK;
  const std::size_t frames = static_cast<std::size_t>(bytes) / (2u * m_channels);
  if (!m_writer->AddSamples(reinterpret_cast<const std::int16_t*>(data), frames)) {
    // Keep what was written readable as far as it goes.
    m_writer->Finish();
    m_writer.reset();
    m_sink.reset();
    return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  }
  return S_OK;
}

HRESULT AsfWriterFilter::CloseFile() {
  dshow::AutoLock lock(m_streamLock);
  if (!m_writer) return S_OK;
  const bool ok = m_writer->Finish() && FlushFileBuffers(m_sink->Handle());
  m_writer.reset();
  m_sink.reset();
  return ok ? S_OK : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
}

void AsfWriterFilter::EndOfStreamReached() {
  const HRESULT hr = CloseFile();
  if (FAILED(hr)) NotifyEvent(EC_ERRORABORT, hr, 0);
  NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
}

}  // namespace brontel

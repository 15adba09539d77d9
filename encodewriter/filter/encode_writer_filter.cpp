// The filter object: identity, state, the file-sink and control interfaces.

#include "encodewriter/filter/encode_writer_filter.h"

#include <control.h>
#include <evcode.h>
#include <uuids.h>

#include <cstring>

#include "encodewriter/filter/gomotion_api.h"

namespace brontel {
namespace {

constexpr std::size_t kNameBytes = MAX_PATH;

}  // namespace

const dshow::FilterSetup& EncodeWriterFilter::Setup() {
  // What IAMovieSetup registers; DllRegisterServer writes the full entry.
  static const dshow::PinSetup kPins[] = {
      {L"Video In", false, false, false, false, &MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},
      {L"PCM Audio In", false, false, false, false, &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM},
      {L"VideoOut", false, true, false, false, &MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},
  };
  static const dshow::FilterSetup kSetup = {&kClsidEncodeWriter, kEncodeWriterName,
                                            kEncodeWriterMerit, kPins, 3};
  return kSetup;
}

EncodeWriterFilter::EncodeWriterFilter()
    : dshow::BaseFilter(kClsidEncodeWriter, kEncodeWriterName),
      m_video(this),
      m_audio(this),
      m_output(this),
      m_options(encodewriter::DefaultOptionRecord()) {
  m_context = GoMotionCreateContext();
  FetchParams();
}

EncodeWriterFilter::~EncodeWriterFilter() {
  CloseEncoder();
  m_audioQueue.Clear();
  m_position.reset();
  if (m_context) GoMotionDeleteContext(m_context);
}

HRESULT EncodeWriterFilter::CreateInstance(IUnknown** object) {
  return dshow::CreateFilterInstance<EncodeWriterFilter>(object);
}

void EncodeWriterFilter::FetchParams() {
  GoMotionOptionRecord options;
  std::memcpy(options.bytes, m_options.data(), sizeof(options.bytes));
  GetParams(m_params.data(), m_extra, options);
}

dshow::BasePin* EncodeWriterFilter::Pin(int index) {
  switch (index) {
    case 0:
      return &m_video;
    case 1:
      return &m_audio;
    case 2:
      return &m_output;
    default:
      return nullptr;
  }
}

HRESULT EncodeWriterFilter::QueryFilterInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFileSinkFilter) {
    *ppv = static_cast<IFileSinkFilter*>(this);
  } else if (riid == kIidEncodeWriterParams) {
    *ppv = static_cast<IEncodeWriterParams*>(this);
  } else if (riid == kIidEncodeWriterControl) {
    *ppv = static_cast<IEncodeWriterControl*>(this);
  } else if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition) {
    dshow::AutoLock lock(m_filterLock);
    if (!m_position) {
      m_position.reset(new (std::nothrow)
                           dshow::PositionPassThrough(static_cast<IBaseFilter*>(this), &m_video));
      if (!m_position) return E_OUTOFMEMORY;
    }
    return m_position->Answer(riid, ppv) ? S_OK : E_NOINTERFACE;
  } else {
    return dshow::BaseFilter::QueryFilterInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP EncodeWriterFilter::Run(REFERENCE_TIME start) {
  m_running = true;
  return dshow::BaseFilter::Run(start);
}

STDMETHODIMP EncodeWriterFilter::Stop() {
  m_running = false;
  if (m_videoEnded && m_audioEnded) {
    m_videoEnded = false;
    m_audioEnded = false;
  } else {
    m_output.DeliverQueuedEndOfStream();
  }
  return dshow::BaseFilter::Stop();
}

void EncodeWriterFilter::SetVideoEnded() {
  m_videoEnded = true;
  // Queued audio waits for pictures that will not come now.
  EndAudio();
  CheckBothEnded();
}

void EncodeWriterFilter::SetAudioEnded() {
  m_audioEnded = true;
  // Without video, only later audio could have made room for the queue.
  if (!m_video.IsConnected()) EndAudio();
  CheckBothEnded();
}

void EncodeWriterFilter::CheckBothEnded() {
  const bool videoDone = m_videoEnded || !m_video.IsConnected();
  const bool audioDone = m_audioEnded || !m_audio.IsConnected();
  if (!videoDone || !audioDone) return;
  m_videoEnded = false;
  m_audioEnded = false;
  // The graph would wait for every renderer; the recording is complete
  // when this filter has both streams, so it says so itself.
  IFilterGraph* graph = Graph();
  if (!graph) return;
  IMediaEvent* events = nullptr;
  if (SUCCEEDED(graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events)))) {
    events->CancelDefaultHandling(EC_COMPLETE);
    events->Release();
  }
  NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
}

// ---------------------------------------------------------------- IFileSinkFilter

HRESULT EncodeWriterFilter::SetName(LPCWSTR name) {
  if (!name) return E_POINTER;
  char narrow[kNameBytes];
  const int bytes =
      WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof(narrow), nullptr, nullptr);
  // A name cut short would record somewhere else than asked.
  if (bytes == 0) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  dshow::AutoLock lock(m_filterLock);
  m_outputName = narrow;
  return S_OK;
}

STDMETHODIMP EncodeWriterFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) {
  return SetName(name);
}

STDMETHODIMP EncodeWriterFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) {
  if (!name) return E_POINTER;
  // The type is not used; leave the caller nothing to free.
  if (mt) std::memset(mt, 0, sizeof(*mt));
  dshow::AutoLock lock(m_filterLock);
  wchar_t wide[kNameBytes] = L"";
  MultiByteToWideChar(CP_ACP, 0, m_outputName.c_str(), -1, wide, kNameBytes);
  m_outputNameWide = wide;
  // The client reads the filter's copy and does not free it.
  *name = const_cast<LPOLESTR>(m_outputNameWide.c_str());
  return S_OK;
}

// ---------------------------------------------------------------- IEncodeWriterParams

HRESULT EncodeWriterFilter::SetEncodeParams(const void* videoRecord, const void* optionRecord,
                                            const DWORD* wordA, const DWORD* wordB) {
  dshow::AutoLock lock(m_filterLock);
  if (optionRecord) {
    std::memcpy(m_options.data(), optionRecord, m_options.size());
  } else {
    m_options.fill(0);
  }
  if (videoRecord) {
    std::memcpy(m_params.data(), videoRecord, m_params.size());
  } else {
    FetchParams();
  }
  encodewriter::WriteWord(m_extra, 4, static_cast<std::int32_t>(wordA ? *wordA : 0));
  encodewriter::WriteWord(m_extra, 0, static_cast<std::int32_t>(wordB ? *wordB : 0));
  return S_OK;
}

HRESULT EncodeWriterFilter::GetEncodeParams(void* videoRecord, void* optionRecord, DWORD* wordA,
                                            DWORD* wordB) {
  dshow::AutoLock lock(m_filterLock);
  if (videoRecord) std::memcpy(videoRecord, m_params.data(), m_params.size());
  if (optionRecord) std::memcpy(optionRecord, m_options.data(), m_options.size());
  if (wordA) *wordA = static_cast<DWORD>(encodewriter::ReadWord(m_extra, 4));
  if (wordB) *wordB = static_cast<DWORD>(encodewriter::ReadWord(m_extra, 0));
  return S_OK;
}

HRESULT EncodeWriterFilter::GetAudioFormat(const void** waveFormat) {
  if (!waveFormat) return E_POINTER;
  *waveFormat = m_audio.IsConnected() ? &m_audio.Format() : nullptr;
  return S_OK;
}

// ---------------------------------------------------------------- IEncodeWriterControl

HRESULT EncodeWriterFilter::GetWritePosition(LONGLONG* position) {
  if (!position) return E_POINTER;
  dshow::AutoLock lock(m_encodeLock);
  *position = m_writer.Position();
  return *position == 0 ? E_FAIL : S_OK;
}

HRESULT EncodeWriterFilter::GetEncodedTime(LONGLONG* milliseconds) {
  if (!milliseconds) return E_POINTER;
  dshow::AutoLock lock(m_encodeLock);
  *milliseconds = m_encodedTimeMs;
  return S_OK;
}

HRESULT EncodeWriterFilter::SetOutputFile(LPCWSTR name) {
  const HRESULT hr = SetName(name);
  if (SUCCEEDED(hr) && m_running) {
    // A recording in parts goes on in the new file at the next picture, so
    // that no picture falls between the two.
    dshow::AutoLock lock(m_encodeLock);
    m_switchPending = true;
  }
  return hr;
}

HRESULT EncodeWriterFilter::GetOutputFile(LPWSTR name) {
  if (!name) return E_POINTER;
  dshow::AutoLock lock(m_filterLock);
  name[0] = L'\0';
  MultiByteToWideChar(CP_ACP, 0, m_outputName.c_str(), -1, name, kNameBytes);
  return S_OK;
}

HRESULT EncodeWriterFilter::SetFileSizeLimit(DWORD low, DWORD high) {
  dshow::AutoLock lock(m_filterLock);
  m_sizeLimit = static_cast<LONGLONG>((static_cast<ULONGLONG>(high) << 32) | low);
  return S_OK;
}

HRESULT EncodeWriterFilter::GetBufferedBytes(LONGLONG* bytes) {
  if (!bytes) return E_POINTER;
  dshow::AutoLock lock(m_encodeLock);
  *bytes = encodewriter::BufferedBytes(m_linear == 0, m_wrappedOnce,
                                       encodewriter::TotalBitRate(m_params), m_wrapPeriodMs,
                                       m_sizeLimit);
  return S_OK;
}

HRESULT EncodeWriterFilter::SetNotifyTarget(void* target) {
  if (!target) return E_POINTER;
  m_notifyTarget = target;
  return S_OK;
}

HRESULT EncodeWriterFilter::GetLinearMode(BYTE* linear) {
  if (!linear) return E_POINTER;
  *linear = m_linear;
  return S_OK;
}

HRESULT EncodeWriterFilter::SetLinearMode(DWORD linear) {
  m_linear = static_cast<BYTE>(linear & 0xFF);
  return S_OK;
}

HRESULT EncodeWriterFilter::StopEncoder() {
  CloseEncoder();
  return S_OK;
}

HRESULT EncodeWriterFilter::EnableWriting(DWORD enable) {
  dshow::AutoLock lock(m_encodeLock);
  m_writingEnabled = enable != 0;
  return S_OK;
}

HRESULT EncodeWriterFilter::GetTotalBitRate(LONGLONG* bitsPerSecond) {
  if (!bitsPerSecond) return E_POINTER;
  *bitsPerSecond = encodewriter::TotalBitRate(m_params);
  return S_OK;
}

HRESULT EncodeWriterFilter::SetPreviewMode(DWORD mode) {
  if (m_running) return E_FAIL;
  m_previewMode = static_cast<BYTE>(mode & 0xFF);
  return S_OK;
}

HRESULT EncodeWriterFilter::GetPreviewMode(BYTE* mode) {
  if (!mode) return E_POINTER;
  *mode = m_previewMode;
  return S_OK;
}

HRESULT EncodeWriterFilter::GetDuplicatedFrames(DWORD* frames) {
  if (!frames) return E_POINTER;
  dshow::AutoLock lock(m_encodeLock);
  *frames = m_pacer.Doubled();
  return S_OK;
}

}  // namespace brontel

// The three pins: "MPEG Video In", "MPEG Audio In" and "Video Out".

#include "encodewriter/filter/encode_writer_filter.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "win32/com_ptr.h"

namespace brontel {
namespace {

constexpr GUID FourccSubtype(char a, char b, char c, char d) {
  return {static_cast<unsigned long>(
              static_cast<unsigned char>(a) | static_cast<unsigned char>(b) << 8 |
              static_cast<unsigned char>(c) << 16 |
              static_cast<unsigned long>(static_cast<unsigned char>(d)) << 24),
          0x0000,
          0x0010,
          {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

constexpr DWORD kYuy2Fourcc = MAKEFOURCC('Y', 'U', 'Y', '2');

const GUID kVideoSubtypes[] = {
    FourccSubtype('I', 'Y', 'U', 'V'), FourccSubtype('I', '4', '2', '0'),
    FourccSubtype('Y', 'V', '1', '2'), FourccSubtype('Y', 'U', 'Y', '2'),
    FourccSubtype('Y', '4', '1', '1'), FourccSubtype('Y', 'V', 'Y', 'U'),
    FourccSubtype('U', 'Y', 'V', 'Y'), FourccSubtype('Y', 'V', 'U', '9'),
    FourccSubtype('V', 'Y', 'U', 'Y'), FourccSubtype('c', 'y', 'u', 'v'),
    FourccSubtype('d', 'v', 's', 'd'), MEDIASUBTYPE_RGB24,
};

// Where a VIDEOINFOHEADER2-style block carries its bitmap header: 24 bytes
// after the VIDEOINFOHEADER place.
constexpr ULONG kPlainHeaderAt = offsetof(VIDEOINFOHEADER, bmiHeader);
constexpr ULONG kHeader2At = kPlainHeaderAt + 24;

// Two channels of one 1152-sample frame of 16-bit PCM, or one channel.
constexpr long kAudioBuffers = 64;
constexpr long kStereoFrameBytes = 4608;
constexpr long kMonoFrameBytes = 2304;

DWORD ReadDword(const BYTE* at) {
  DWORD value;
  std::memcpy(&value, at, sizeof(value));
  return value;
}

}  // namespace

// ---------------------------------------------------------------- video in

VideoInputPin::VideoInputPin(EncodeWriterFilter* filter)
    : dshow::InputPin(filter, pinLock, L"MPEG Video In"), m_owner(filter) {}

VideoInputPin::~VideoInputPin() {
  if (m_rememberedAllocator) m_rememberedAllocator->Release();
}

HRESULT VideoInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video) return S_FALSE;
  bool known = false;
  for (const GUID& subtype : kVideoSubtypes) known = known || mt.subtype == subtype;
  if (!known) return S_FALSE;
  // The format itself is read later; a block too short to hold a bitmap
  // header in either place would be read past its end.
  if (!mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER)) return S_FALSE;
  if (ReadDword(mt.pbFormat + kPlainHeaderAt) != sizeof(BITMAPINFOHEADER)) {
    if (mt.cbFormat < kHeader2At + sizeof(BITMAPINFOHEADER)) return S_FALSE;
    const DWORD size = ReadDword(mt.pbFormat + kHeader2At);
    if (size < sizeof(BITMAPINFOHEADER) || size > mt.cbFormat - kHeader2At) return S_FALSE;
  }
  return S_OK;
}

HRESULT VideoInputPin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = dshow::InputPin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[mt.cbFormat]);
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy.get(), mt.pbFormat, mt.cbFormat);
  if (ReadDword(copy.get() + kPlainHeaderAt) != sizeof(BITMAPINFOHEADER)) {
    // Later steps read a plain video-info layout only.
    const DWORD size = ReadDword(copy.get() + kHeader2At);
    std::memmove(copy.get() + kPlainHeaderAt, copy.get() + kHeader2At, size);
  }
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(copy.get());
  info->bmiHeader.biHeight = std::abs(info->bmiHeader.biHeight);
  m_format = std::move(copy);
  m_formatBytes = mt.cbFormat;
  return S_OK;
}

HRESULT VideoInputPin::BreakConnect() {
  m_format.reset();
  m_formatBytes = 0;
  if (m_rememberedAllocator) {
    m_rememberedAllocator->Release();
    m_rememberedAllocator = nullptr;
  }
  return dshow::InputPin::BreakConnect();
}

const VIDEOINFOHEADER* VideoInputPin::Format() const {
  return IsConnected() ? reinterpret_cast<const VIDEOINFOHEADER*>(m_format.get()) : nullptr;
}

STDMETHODIMP VideoInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  if (!allocator) return E_POINTER;
  {
    dshow::AutoLock lock(pinLock);
    // The preview output delivers the input samples themselves.
    allocator->AddRef();
    if (m_rememberedAllocator) m_rememberedAllocator->Release();
    m_rememberedAllocator = allocator;
  }
  return dshow::InputPin::NotifyAllocator(allocator, readOnly);
}

HRESULT VideoInputPin::Active() {
  // A start that fails leaves the encoder closed; the steps then pass the
  // samples by, and the stream still runs.
  m_owner->StartEncoder();
  return S_OK;
}

HRESULT VideoInputPin::Inactive() {
  {
    dshow::AutoLock lock(pinLock);
    m_owner->CloseEncoder();
  }
  return dshow::InputPin::Inactive();
}

HRESULT VideoInputPin::OnReceive(IMediaSample* sample) {
  dshow::AutoLock lock(pinLock);
  HRESULT hr = m_owner->VideoStep(sample);
  if (FAILED(hr)) return hr;
  m_owner->PreviewDelivery(sample);
  return S_OK;
}

STDMETHODIMP VideoInputPin::EndOfStream() {
  HRESULT hr = dshow::InputPin::EndOfStream();
  if (hr != S_OK) return hr;
  m_owner->SetVideoEnded();
  return S_OK;
}

// ---------------------------------------------------------------- audio in

AudioInputPin::AudioInputPin(EncodeWriterFilter* filter)
    : dshow::InputPin(filter, pinLock, L"MPEG Audio In"), m_owner(filter) {}

HRESULT AudioInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Audio || mt.subtype != MEDIASUBTYPE_PCM) return S_FALSE;
  if (!mt.pbFormat || mt.cbFormat < sizeof(PCMWAVEFORMAT)) return S_FALSE;
  const auto* wave = reinterpret_cast<const WAVEFORMAT*>(mt.pbFormat);
  const WORD bits = reinterpret_cast<const PCMWAVEFORMAT*>(mt.pbFormat)->wBitsPerSample;
  if (bits != 8 && bits != 16) return S_FALSE;
  // The buffer sizes and the encoder's audio modes know mono and stereo only.
  if (wave->nChannels != 1 && wave->nChannels != 2) return S_FALSE;
  const DWORD rate = wave->nSamplesPerSec;
  if (rate != 44100 && rate != 48000) return S_FALSE;
  if (static_cast<std::int32_t>(rate) != m_owner->RequiredSampleRate()) return S_FALSE;
  return S_OK;
}

HRESULT AudioInputPin::SetMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = dshow::InputPin::SetMediaType(mt);
  if (FAILED(hr)) return hr;
  const auto* pcm = reinterpret_cast<const PCMWAVEFORMAT*>(mt.pbFormat);
  WAVEFORMATEX format{};
  // An extensible block with the PCM subtype is plain PCM to the encoder.
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = pcm->wf.nChannels;
  format.nSamplesPerSec = pcm->wf.nSamplesPerSec;
  format.wBitsPerSample = pcm->wBitsPerSample;
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  m_format = format;
  return S_OK;
}

STDMETHODIMP AudioInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  HRESULT hr = dshow::InputPin::NotifyAllocator(allocator, readOnly);
  if (FAILED(hr)) return hr;
  ALLOCATOR_PROPERTIES wanted{};
  if (SUCCEEDED(allocator->GetProperties(&wanted))) {
    wanted.cBuffers = kAudioBuffers;
    wanted.cbBuffer = m_format.nChannels == 2 ? kStereoFrameBytes : kMonoFrameBytes;
    ALLOCATOR_PROPERTIES actual{};
    allocator->SetProperties(&wanted, &actual);
  }
  return hr;
}

HRESULT AudioInputPin::Active() {
  if (!m_owner->VideoConnected()) m_owner->StartEncoder();
  return S_OK;
}

HRESULT AudioInputPin::Inactive() {
  if (!m_owner->VideoConnected()) {
    dshow::AutoLock lock(pinLock);
    m_owner->CloseEncoder();
  }
  return dshow::InputPin::Inactive();
}

HRESULT AudioInputPin::OnReceive(IMediaSample* sample) {
  dshow::AutoLock lock(pinLock);
  return m_owner->AudioStep(sample);
}

STDMETHODIMP AudioInputPin::EndOfStream() {
  HRESULT hr = dshow::InputPin::EndOfStream();
  if (hr != S_OK) return hr;
  m_owner->SetAudioEnded();
  return S_OK;
}

// ---------------------------------------------------------------- video out

PreviewOutputPin::PreviewOutputPin(EncodeWriterFilter* filter)
    : dshow::OutputPin(filter, pinLock, L"Video Out"), m_owner(filter) {}

HRESULT PreviewOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video || mt.subtype != MEDIASUBTYPE_YUY2) {
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT PreviewOutputPin::GetMediaType(int position, dshow::MediaType* mt) {
  const VIDEOINFOHEADER* input = m_owner->Video().Format();
  if (!input) return VFW_E_NOT_CONNECTED;
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;

  HRESULT hr = mt->AllocFormat(sizeof(VIDEOINFOHEADER));
  if (FAILED(hr)) return hr;
  AM_MEDIA_TYPE& type = mt->Get();
  type.majortype = MEDIATYPE_Video;
  type.subtype = MEDIASUBTYPE_YUY2;
  type.formattype = FORMAT_VideoInfo;
  type.bFixedSizeSamples = TRUE;
  type.bTemporalCompression = FALSE;
  auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
  info->AvgTimePerFrame = input->AvgTimePerFrame;
  BITMAPINFOHEADER& header = info->bmiHeader;
  const LONG height = input->bmiHeader.biHeight;
  const LONG shown = m_owner->PreviewMode() == 2 ? height / 2 : height;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = input->bmiHeader.biWidth;
  header.biHeight = -shown;  // top-down
  header.biPlanes = 1;
  header.biBitCount = input->bmiHeader.biBitCount;
  header.biCompression = kYuy2Fourcc;
  header.biSizeImage = shown * (header.biBitCount / 8) * header.biWidth;
  type.lSampleSize = header.biSizeImage;
  return S_OK;
}

HRESULT PreviewOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                           ALLOCATOR_PROPERTIES* request) {
  ALLOCATOR_PROPERTIES wanted{};
  wanted.cBuffers = 1;
  wanted.cbBuffer = static_cast<long>(CurrentMediaType()->lSampleSize);
  wanted.cbAlign = 1;
  wanted.cbPrefix = 0;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  if (actual.cbBuffer < wanted.cbBuffer) return E_INVALIDARG;
  *request = actual;
  return S_OK;
}

HRESULT PreviewOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
  *allocator = nullptr;
  ComPtr<IMemAllocator> shared(m_owner->Video().RememberedAllocator());
  if (shared && SUCCEEDED(pin->NotifyAllocator(shared.Get(), FALSE))) {
    *allocator = shared.Detach();
    return S_OK;
  }
  return dshow::OutputPin::DecideAllocator(pin, allocator);
}

HRESULT PreviewOutputPin::Active() {
  HRESULT hr = dshow::OutputPin::Active();
  if (FAILED(hr)) return hr;
  dshow::AutoLock lock(pinLock);
  m_queue.reset(new (std::nothrow) OutputQueue(ConnectedPin(), ConnectedInputPin()));
  return m_queue ? S_OK : E_OUTOFMEMORY;
}

HRESULT PreviewOutputPin::Inactive() {
  {
    dshow::AutoLock lock(pinLock);
    m_queue.reset();
  }
  return dshow::OutputPin::Inactive();
}

HRESULT PreviewOutputPin::DeliverQueued(IMediaSample* sample) {
  dshow::AutoLock lock(pinLock);
  return m_queue ? m_queue->Receive(sample) : S_OK;
}

HRESULT PreviewOutputPin::DeliverQueuedEndOfStream() {
  dshow::AutoLock lock(pinLock);
  return m_queue ? m_queue->EndOfStream() : S_OK;
}

}  // namespace brontel

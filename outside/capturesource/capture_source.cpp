#include "outside/capturesource/capture_source.h"

#include <amvideo.h>
#include <mmreg.h>
#include <uuids.h>

#include <cmath>
#include <cstring>

#include "win32/com_ptr.h"

namespace brontel {
namespace {

// {6B0E4C2A-5F7D-4E3B-A1C9-2D8F0B7E4A10}
constexpr CLSID kClsidCaptureSource = {
    0x6b0e4c2a, 0x5f7d, 0x4e3b, {0xa1, 0xc9, 0x2d, 0x8f, 0x0b, 0x7e, 0x4a, 0x10}};

constexpr REFERENCE_TIME kUnitsPerSecond = 10000000;
// One MPEG audio frame of samples per buffer.
constexpr int kAudioFrameSamples = 1152;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kToneAmplitude = 8000.0;

std::int64_t AudioSamplesFor(const CaptureSourceConfig& config) {
  return config.frames * config.frameTime * config.sampleRate / kUnitsPerSecond;
}

// A YUY2 picture: a luminance ramp that moves with the frame, colour bands,
// and a bar whose position differs between the two fields of the picture.
void FillPicture(BYTE* data, int width, int height, long index) {
  const int lineBytes = width * 2;
  for (int y = 0; y < height; ++y) {
    BYTE* line = data + y * lineBytes;
    const int field = y & 1;
    for (int x = 0; x < width; x += 2) {
      const int luma = 16 + ((x + index * 4) % width) * 219 / width;
      const bool bar = ((x / 16 + field) % 8 == (index % 8)) && y > height / 2;
      BYTE* pair = line + x * 2;
      pair[0] = static_cast<BYTE>(bar ? 235 : luma);
      pair[1] = static_cast<BYTE>(64 + (y * 128) / height);
      pair[2] = static_cast<BYTE>(bar ? 235 : luma);
      pair[3] = static_cast<BYTE>(192 - (x * 128) / width);
    }
  }
}

}  // namespace

CaptureStreamPin::CaptureStreamPin(CaptureSourceFilter* filter, const wchar_t* name, bool video)
    : dshow::OutputPin(filter, filter->FilterLock(), name), m_source(filter), m_video(video) {}

CaptureStreamPin::~CaptureStreamPin() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

HRESULT CaptureStreamPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  dshow::MediaType offered;
  HRESULT hr = GetMediaType(0, &offered);
  if (FAILED(hr)) return hr;
  return dshow::MediaTypesEqual(mt, offered.Get()) ? S_OK : S_FALSE;
}

HRESULT CaptureStreamPin::GetMediaType(int position, dshow::MediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  const CaptureSourceConfig& config = m_source->Config();
  AM_MEDIA_TYPE& type = mt->Get();
  if (m_video) {
    HRESULT hr = mt->AllocFormat(sizeof(VIDEOINFOHEADER));
    if (FAILED(hr)) return hr;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    type.formattype = FORMAT_VideoInfo;
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    info->AvgTimePerFrame = config.frameTime;
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = config.width;
    header.biHeight = config.height;
    header.biPlanes = 1;
    header.biBitCount = 16;
    header.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
    header.biSizeImage = config.width * config.height * 2;
    type.lSampleSize = header.biSizeImage;
  } else {
    HRESULT hr = mt->AllocFormat(sizeof(WAVEFORMATEX));
    if (FAILED(hr)) return hr;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_PCM;
    type.formattype = FORMAT_WaveFormatEx;
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.pbFormat);
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = static_cast<WORD>(config.channels);
    wave->nSamplesPerSec = config.sampleRate;
    wave->wBitsPerSample = 16;
    wave->nBlockAlign = static_cast<WORD>(config.channels * 2);
    wave->nAvgBytesPerSec = config.sampleRate * wave->nBlockAlign;
    type.lSampleSize = wave->nBlockAlign;
  }
  type.bFixedSizeSamples = TRUE;
  return S_OK;
}

HRESULT CaptureStreamPin::DecideBufferSize(IMemAllocator* allocator,
                                           ALLOCATOR_PROPERTIES* request) {
  const CaptureSourceConfig& config = m_source->Config();
  ALLOCATOR_PROPERTIES wanted = *request;
  if (wanted.cBuffers < 4) wanted.cBuffers = 4;
  const long bytes =
      m_video ? config.width * config.height * 2 : kAudioFrameSamples * config.channels * 2;
  if (wanted.cbBuffer < bytes) wanted.cbBuffer = bytes;
  if (wanted.cbAlign == 0) wanted.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= bytes ? S_OK : E_FAIL;
}

HRESULT CaptureStreamPin::Active() {
  HRESULT hr = dshow::OutputPin::Active();
  if (FAILED(hr)) return hr;
  m_stop = false;
  m_delivered = 0;
  // Taken here, on the control thread: the streaming thread must not wait
  // for the filter lock, which Stop holds while it joins the thread.
  m_clock.Reset();
  m_source->GetSyncSource(m_clock.GetAddressOf());
  m_thread = std::thread([this] { Stream(); });
  return S_OK;
}

HRESULT CaptureStreamPin::Inactive() {
  m_stop = true;
  // Decommitting wakes a thread waiting for a buffer.
  HRESULT hr = dshow::OutputPin::Inactive();
  if (m_thread.joinable()) m_thread.join();
  return hr;
}

bool CaptureStreamPin::WaitFor(REFERENCE_TIME due) {
  for (;;) {
    if (m_stop) return false;
    const REFERENCE_TIME now = m_source->StreamTime(m_clock.Get());
    if (now >= 0 && (!m_source->Config().realTime || now >= due)) return true;
    Sleep(now < 0 ? 5 : 1);
  }
}

HRESULT CaptureStreamPin::SendPicture(long index) {
  const CaptureSourceConfig& config = m_source->Config();
  ComPtr<IMediaSample> sample;
  REFERENCE_TIME start = index * config.frameTime;
  REFERENCE_TIME stop = start + config.frameTime;
  HRESULT hr = GetDeliveryBuffer(sample.GetAddressOf(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const long bytes = config.width * config.height * 2;
  if (config.drawPicture) {
    config.drawPicture(data, config.width, config.height, index);
  } else {
    FillPicture(data, config.width, config.height, index);
  }
  sample->SetActualDataLength(bytes);
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  return Deliver(sample.Get());
}

HRESULT CaptureStreamPin::SendAudio(std::int64_t firstSample, std::int64_t* sent) {
  const CaptureSourceConfig& config = m_source->Config();
  ComPtr<IMediaSample> sample;
  HRESULT hr = GetDeliveryBuffer(sample.GetAddressOf(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const int frameBytes = config.channels * 2;
  std::int64_t count = sample->GetSize() / frameBytes;
  if (count > kAudioFrameSamples) count = kAudioFrameSamples;
  if (config.frames > 0) {
    const std::int64_t left = AudioSamplesFor(config) - firstSample;
    if (count > left) count = left;
  }
  auto* pcm = reinterpret_cast<std::int16_t*>(data);
  const double tones[2] = {config.toneHz[0],
                           config.toneHz[1] > 0 ? config.toneHz[1] : config.toneHz[0]};
  for (std::int64_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(firstSample + i) / config.sampleRate;
    for (int c = 0; c < config.channels; ++c) {
      pcm[i * config.channels + c] =
          static_cast<std::int16_t>(kToneAmplitude * std::sin(kTwoPi * tones[c & 1] * t));
    }
  }
  REFERENCE_TIME start = firstSample * kUnitsPerSecond / config.sampleRate;
  REFERENCE_TIME stop = (firstSample + count) * kUnitsPerSecond / config.sampleRate;
  sample->SetActualDataLength(static_cast<long>(count * frameBytes));
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  *sent = count;
  return Deliver(sample.Get());
}

void CaptureStreamPin::Stream() {
  const CaptureSourceConfig& config = m_source->Config();
  long index = 0;
  std::int64_t samples = 0;
  const std::int64_t totalSamples = AudioSamplesFor(config);
  for (;;) {
    if (m_video) {
      if (config.frames > 0 && index >= config.frames) break;
      if (!WaitFor(index * config.frameTime)) return;
      if (FAILED(SendPicture(index))) return;
      ++index;
    } else {
      if (config.frames > 0 && samples >= totalSamples) break;
      // Each buffer goes out once its last sample has been "captured".
      const REFERENCE_TIME due =
          (samples + kAudioFrameSamples) * kUnitsPerSecond / config.sampleRate;
      if (!WaitFor(due)) return;
      std::int64_t sent = 0;
      if (FAILED(SendAudio(samples, &sent))) return;
      samples += sent;
    }
    ++m_delivered;
  }
  DeliverEndOfStream();
}

CaptureSourceFilter::CaptureSourceFilter(const CaptureSourceConfig& config)
    : dshow::BaseFilter(kClsidCaptureSource, L"Synthetic capture source"),
      m_config(config),
      m_videoPin(this, L"Video", true),
      m_audioPin(this, L"Audio", false) {}

dshow::BasePin* CaptureSourceFilter::Pin(int index) {
  if (index == 0) return &m_videoPin;
  if (index == 1) return &m_audioPin;
  return nullptr;
}

REFERENCE_TIME CaptureSourceFilter::StreamTime(IReferenceClock* clock) {
  if (State() != State_Running) return -1;
  if (!clock) {
    // Without a clock there is no pace to keep: every time is due.
    return MAXLONGLONG;
  }
  REFERENCE_TIME now = 0;
  clock->GetTime(&now);
  return now - StreamStart();
}

}  // namespace brontel

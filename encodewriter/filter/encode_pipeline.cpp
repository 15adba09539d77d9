// What happens to the samples: encoder start and close, the audio and video
// steps under the encode lock, and the write callback.

#include <cstring>

#include "encodewriter/audio_step.h"
#include "encodewriter/encoding_error_text.h"
#include "encodewriter/filter/encode_writer_filter.h"
#include "encodewriter/filter/gomotion_api.h"

namespace brontel {
namespace {

// The encoder library keeps one demand word and one audio clock per process:
// above 0 it wants audio before more video, below 0 video before audio.
int g_demand = 0;
std::uint64_t g_totalAudioBytes = 0;

constexpr int kEncoderFinished = 1;

// What CompressAudioFrame reads.
struct AudioRecord {
  const BYTE* data;
  DWORD unused;
  DWORD length;
};

void ShowEncodingError(int code, encodewriter::EncodedStream stream) {
  MessageBoxA(nullptr, encodewriter::EncodingErrorText(code, stream).c_str(),
              encodewriter::kEncodingErrorTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

class EncodeWriterFilter::AudioHooks final : public encodewriter::AudioStepHooks<IMediaSample> {
 public:
  explicit AudioHooks(EncodeWriterFilter& filter) : m_filter(filter) {}

  int Compress(IMediaSample* sample) override {
    AudioRecord record{};
    sample->GetPointer(const_cast<BYTE**>(&record.data));
    record.length = static_cast<DWORD>(sample->GetActualDataLength());
    return CompressAudioFrame(m_filter.m_context, &record, &g_demand);
  }
  bool HasData(IMediaSample* sample) override {
    BYTE* data = nullptr;
    return SUCCEEDED(sample->GetPointer(&data)) && data != nullptr;
  }
  std::uint32_t DataLength(IMediaSample* sample) override {
    const long length = sample->GetActualDataLength();
    return length > 0 ? static_cast<std::uint32_t>(length) : 0;
  }
  bool WantsVideo() override {
    return m_filter.m_video.IsConnected() && !m_filter.m_videoEnded && g_demand < 0;
  }
  bool Ending() override { return m_filter.m_audioEnding; }
  void ReportQueueFull(int pushResult) override {
    ShowEncodingError(pushResult, encodewriter::EncodedStream::kAudio);
  }

 private:
  EncodeWriterFilter& m_filter;
};

HRESULT EncodeWriterFilter::StartEncoder() {
  dshow::AutoLock lock(m_encodeLock);
  m_switchPending = false;
  if (m_encoderOpen) CloseEncoder();
  m_pacer.Reset(encodewriter::FrameRateOfCode(encodewriter::FrameRateCode(m_params)));
  m_encodedTimeMs = 0;
  m_wrapPeriodMs = 0;
  m_lastWrapMs = 0;
  m_wrappedOnce = false;
  m_audioEnding = false;

  const std::string name = encodewriter::ResolveOutputName(m_outputName, m_writingEnabled);
  if (name.empty()) return E_FAIL;

  const VIDEOINFOHEADER* video = m_video.Format();
  const bool hasAudio = m_audio.IsConnected();
  m_encodingRecord =
      encodewriter::BuildEncodingRecord(m_params, hasAudio ? m_audio.Format().nChannels : 0);
  encodewriter::OpenRecordInputs inputs;
  inputs.hasVideo = video != nullptr;
  inputs.hasAudio = hasAudio;
  // The filter and the encoder are 32-bit code: addresses fit the words.
  inputs.bitmapHeader =
      video ? static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(&video->bmiHeader)) : 0;
  inputs.audioFormat = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(&m_audio.Format()));
  inputs.writeCallback = static_cast<std::uint32_t>(
      reinterpret_cast<UINT_PTR>(static_cast<GoMotionWriteCallback>(&WriteCallback)));
  inputs.callbackContext = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(this));
  inputs.tempFileName = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(m_tempName));
  m_openRecord = encodewriter::BuildOpenRecord(inputs);

  m_file.Create(name);
  m_writer.Start(&m_file, m_sizeLimit, m_linear != 0);
  if (!m_file.IsOpen() || m_sizeLimit == 0) {
    m_file.Close();
    m_writer.Close();
    return E_FAIL;
  }
  if (!m_context ||
      OpenGoMotionEncoderEx(m_context, m_openRecord.data(), m_encodingRecord.data()) != 0) {
    // Refused: no encoder to close, so no stream; an empty file says so.
    m_file.Close();
    m_writer.Close();
    return E_FAIL;
  }
  GetGoMotionParamsEx(m_context, m_encodingRecord.data());
  m_encoderOpen = true;
  return S_OK;
}

void EncodeWriterFilter::CloseEncoder() {
  dshow::AutoLock lock(m_encodeLock);
  if (!m_encoderOpen) return;
  m_encoderOpen = false;
  // Still writes the last packs through the callback.
  CloseGoMotionEncoder(m_context);
  m_audioQueue.Clear();
  m_writer.Close();
  m_file.Close();
}

HRESULT EncodeWriterFilter::AudioStep(IMediaSample* sample) {
  dshow::AutoLock lock(m_encodeLock);
  if (!m_encoderOpen) return S_OK;
  AudioHooks hooks(*this);
  g_totalAudioBytes += encodewriter::RunAudioStep(m_audioQueue, sample, hooks);
  return S_OK;
}

HRESULT EncodeWriterFilter::VideoStep(IMediaSample* sample) {
  dshow::AutoLock lock(m_encodeLock);
  if (m_switchPending && !m_videoEnded) {
    // Closes the current file with its last packs and starts the next one
    // with this picture.
    m_switchPending = false;
    StartEncoder();
  }
  if (m_videoEnded || !m_encoderOpen) return S_OK;

  const bool haveAudio = m_audio.IsConnected();
  const WAVEFORMATEX& wave = m_audio.Format();
  const std::int64_t audioMs = encodewriter::AudioTimeMs(g_totalAudioBytes, wave.wBitsPerSample,
                                                         wave.nChannels, wave.nSamplesPerSec);
  const encodewriter::PacingStep step = m_pacer.Next(audioMs, haveAudio);

  int result = 0;
  if (step.action != encodewriter::FrameAction::kSkip && g_demand <= 0) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const VIDEOINFOHEADER* format = m_video.Format();
    const DWORD needed = format ? format->bmiHeader.biSizeImage : 0;
    // The encoder reads a whole picture; a short sample would be read past
    // its end.
    if (data && static_cast<DWORD>(sample->GetActualDataLength()) >= needed) {
      const int repeat = step.action == encodewriter::FrameAction::kEncodeTwice ? 1 : 0;
      result = CompressVideoFrame(m_context, data, repeat, &g_demand);
      if (result < 0) ShowEncodingError(result, encodewriter::EncodedStream::kVideo);
    }
  }
  m_pacer.Account(step.action);

  // A skipped picture leaves the demand word as it was; if the audio queue
  // is what holds the audio clock back (a source that delivers its audio
  // ahead has all its buffers queued), only a drain here lets the clock and
  // with it the pictures move on again.
  const bool skipped = step.action == encodewriter::FrameAction::kSkip;
  if (haveAudio && (g_demand > 0 || skipped) && result != kEncoderFinished) {
    AudioHooks hooks(*this);
    g_totalAudioBytes += encodewriter::RunAudioStep<IMediaSample>(m_audioQueue, nullptr, hooks);
  }
  m_encodedTimeMs = step.elapsedMs;
  if (m_writer.TakeWrapped()) {
    m_wrapPeriodMs = step.elapsedMs - m_lastWrapMs;
    m_lastWrapMs += m_wrapPeriodMs;
    m_wrappedOnce = true;
  }
  if (result == kEncoderFinished) {
    m_videoEnded = true;
    m_audioEnded = true;
    EndAudio();
  }
  return S_OK;
}

void EncodeWriterFilter::EndAudio() {
  dshow::AutoLock lock(m_encodeLock);
  m_audioEnding = true;
  if (!m_encoderOpen) return;
  // What the encoder still takes is encoded; the rest is let go, so that
  // the source gets its buffers back and can deliver its end of stream.
  AudioHooks hooks(*this);
  g_totalAudioBytes += encodewriter::RunAudioStep<IMediaSample>(m_audioQueue, nullptr, hooks);
}

void EncodeWriterFilter::PreviewDelivery(IMediaSample* sample) {
  if (m_linear != 1 || m_previewMode == 0 || !m_output.IsConnected()) return;
  if (m_previewMode != 2) {
    m_output.DeliverQueued(sample);
    return;
  }
  // One picture in ten, at half height: the even lines moved up in place.
  if (m_previewCount++ % 10 != 0) return;
  const VIDEOINFOHEADER* format = m_video.Format();
  BYTE* data = nullptr;
  if (!format || FAILED(sample->GetPointer(&data)) || !data) return;
  const LONG width = format->bmiHeader.biWidth;
  const LONG half = format->bmiHeader.biHeight / 2;
  const LONG lineBytes = width * (format->bmiHeader.biBitCount / 8);
  if (sample->GetActualDataLength() < lineBytes * half * 2) return;
  for (LONG line = 1; line < half; ++line) {
    std::memcpy(data + line * lineBytes, data + 2 * line * lineBytes, lineBytes);
  }
  sample->SetActualDataLength(lineBytes * half);
  m_output.DeliverQueued(sample);
}

int __cdecl EncodeWriterFilter::WriteCallback(const void* data, unsigned long bytes,
                                              void* context) {
  auto* filter = static_cast<EncodeWriterFilter*>(context);
  if (filter->m_writingEnabled) {
    filter->m_writer.Write(static_cast<const std::uint8_t*>(data),
                           static_cast<std::uint32_t>(bytes));
  }
  return 0;
}

}  // namespace brontel

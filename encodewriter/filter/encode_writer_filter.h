#pragma once
// "Ligos GoMotion Filter (Kestrova)": video and PCM audio in, encoded by the
// GoMotion library and written to a plain or circular file; the video is
// passed on for preview.

#include "win32/windows_include.h"
#include <strmif.h>
#include <amvideo.h>
#include <mmreg.h>

#include <memory>
#include <string>

#include "dshow/base_filter.h"
#include "dshow/filter_registration.h"
#include "dshow/input_pin.h"
#include "dshow/output_pin.h"
#include "dshow/position_pass_through.h"
#include "encodewriter/audio_queue.h"
#include "encodewriter/encoder_records.h"
#include "encodewriter/filter/encode_writer_interfaces.h"
#include "encodewriter/filter/output_file.h"
#include "encodewriter/filter/output_queue.h"
#include "encodewriter/frame_pacing.h"
#include "encodewriter/output_file_writer.h"

namespace brontel {

inline constexpr DWORD kEncodeWriterMerit = 0x200000;

class EncodeWriterFilter;

// Each pin serialises its own streaming calls with a lock of its own; it is
// a base so that it exists before the pin base that keeps a reference to it.
struct PinLock {
  dshow::CriticalSection pinLock;
};

class VideoInputPin final : private PinLock, public dshow::InputPin {
 public:
  explicit VideoInputPin(EncodeWriterFilter* filter);
  ~VideoInputPin() override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT Active() override;
  HRESULT Inactive() override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP EndOfStream() override;

  // The accepted format with a positive height and the bitmap header in its
  // VIDEOINFOHEADER place; null while not connected.
  const VIDEOINFOHEADER* Format() const;
  IMemAllocator* RememberedAllocator() const { return m_rememberedAllocator; }

 protected:
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT BreakConnect() override;
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  EncodeWriterFilter* m_owner;
  std::unique_ptr<BYTE[]> m_format;
  ULONG m_formatBytes = 0;
  IMemAllocator* m_rememberedAllocator = nullptr;  // AddRef'd
};

class AudioInputPin final : private PinLock, public dshow::InputPin {
 public:
  explicit AudioInputPin(EncodeWriterFilter* filter);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT Active() override;
  HRESULT Inactive() override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP EndOfStream() override;

  const WAVEFORMATEX& Format() const { return m_format; }

 protected:
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  EncodeWriterFilter* m_owner;
  WAVEFORMATEX m_format{};
};

class PreviewOutputPin final : private PinLock, public dshow::OutputPin {
 public:
  explicit PreviewOutputPin(EncodeWriterFilter* filter);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Through the output queue; nothing without one.
  HRESULT DeliverQueued(IMediaSample* sample);
  HRESULT DeliverQueuedEndOfStream();

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;

 private:
  EncodeWriterFilter* m_owner;
  std::unique_ptr<OutputQueue> m_queue;
};

class EncodeWriterFilter final : public dshow::BaseFilter,
                                 public IFileSinkFilter,
                                 public IEncodeWriterParams,
                                 public IEncodeWriterControl {
 public:
  EncodeWriterFilter();
  ~EncodeWriterFilter() override;

  static HRESULT CreateInstance(IUnknown** object);
  static const dshow::FilterSetup& Setup();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return BaseFilter::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;

  // IEncodeWriterParams
  HRESULT STDMETHODCALLTYPE SetEncodeParams(const void* videoRecord, const void* optionRecord,
                                            const DWORD* wordA, const DWORD* wordB) override;
  HRESULT STDMETHODCALLTYPE GetEncodeParams(void* videoRecord, void* optionRecord, DWORD* wordA,
                                            DWORD* wordB) override;
  HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAudioFormat(const void** waveFormat) override;

  // IEncodeWriterControl
  HRESULT STDMETHODCALLTYPE GetWritePosition(LONGLONG* position) override;
  HRESULT STDMETHODCALLTYPE GetEncodedTime(LONGLONG* milliseconds) override;
  HRESULT STDMETHODCALLTYPE SetOutputFile(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE GetOutputFile(LPWSTR name) override;
  HRESULT STDMETHODCALLTYPE SetFileSizeLimit(DWORD low, DWORD high) override;
  HRESULT STDMETHODCALLTYPE GetBufferedBytes(LONGLONG* bytes) override;
  HRESULT STDMETHODCALLTYPE SetNotifyTarget(void* target) override;
  HRESULT STDMETHODCALLTYPE GetLinearMode(BYTE* linear) override;
  HRESULT STDMETHODCALLTYPE SetLinearMode(DWORD linear) override;
  HRESULT STDMETHODCALLTYPE StopEncoder() override;
  HRESULT STDMETHODCALLTYPE EnableWriting(DWORD enable) override;
  HRESULT STDMETHODCALLTYPE GetTotalBitRate(LONGLONG* bitsPerSecond) override;
  HRESULT STDMETHODCALLTYPE SetPreviewMode(DWORD mode) override;
  HRESULT STDMETHODCALLTYPE GetPreviewMode(BYTE* mode) override;
  HRESULT STDMETHODCALLTYPE GetDuplicatedFrames(DWORD* frames) override;
  HRESULT STDMETHODCALLTYPE Reserved16() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved17() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved18() override { return S_OK; }

  // BaseFilter
  int PinCount() override { return 3; }
  dshow::BasePin* Pin(int index) override;
  const dshow::FilterSetup* SetupData() override { return &Setup(); }

  // What the pins call.
  std::int32_t RequiredSampleRate() const { return encodewriter::SampleRate(m_params); }
  HRESULT StartEncoder();
  void CloseEncoder();
  HRESULT VideoStep(IMediaSample* sample);
  HRESULT AudioStep(IMediaSample* sample);
  void PreviewDelivery(IMediaSample* sample);
  void SetVideoEnded();
  void SetAudioEnded();
  bool VideoConnected() const { return m_video.IsConnected(); }
  VideoInputPin& Video() { return m_video; }
  BYTE PreviewMode() const { return m_previewMode; }

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;

 private:
  class AudioHooks;
  static int __cdecl WriteCallback(const void* data, unsigned long bytes, void* context);
  void FetchParams();
  void CheckBothEnded();
  // The stream is ending: queued and later refused audio is let go.
  void EndAudio();
  HRESULT SetName(LPCWSTR name);

  VideoInputPin m_video;
  AudioInputPin m_audio;
  PreviewOutputPin m_output;

  std::string m_outputName = encodewriter::kDefaultOutputName;  // system code page
  std::wstring m_outputNameWide;
  char m_tempName[MAX_PATH] = "kxTemp.mpg";
  LONGLONG m_sizeLimit = 0;
  BYTE m_linear = 1;
  bool m_writingEnabled = false;
  BYTE m_previewMode = 1;
  std::uint32_t m_previewCount = 0;  // streaming thread only
  void* m_notifyTarget = nullptr;

  encodewriter::ParamRecord m_params{};
  std::uint8_t m_extra[encodewriter::kExtraRecordBytes] = {};
  encodewriter::OptionRecord m_options{};
  encodewriter::ParamRecord m_encodingRecord{};
  encodewriter::OpenRecord m_openRecord{};

  void* m_context = nullptr;
  bool m_encoderOpen = false;
  dshow::CriticalSection m_encodeLock;  // re-entrant for its owner
  encodewriter::AudioQueue<IMediaSample> m_audioQueue;
  encodewriter::FramePacer m_pacer;
  OutputFile m_file;
  encodewriter::OutputFileWriter m_writer;
  LONGLONG m_encodedTimeMs = 0;
  LONGLONG m_wrapPeriodMs = 0;
  LONGLONG m_lastWrapMs = 0;
  bool m_wrappedOnce = false;
  bool m_audioEnding = false;  // under the encode lock

  volatile bool m_videoEnded = false;
  volatile bool m_audioEnded = false;
  volatile bool m_running = false;
  // A new output file named while running: the next picture starts it.
  bool m_switchPending = false;

  std::unique_ptr<dshow::PositionPassThrough> m_position;
};

}  // namespace brontel

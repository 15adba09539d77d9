#pragma once
// A DirectShow file writer for the radio's recordings: one PCM input pin
// ("Audio In": 16-bit, 44100 or 48000 Hz, mono or stereo), coded as Layer II
// into an ASF file named through IFileSinkFilter. The file is created when
// the graph leaves the stopped state and completed at the end of the stream
// or at Stop, whichever comes first. It is a renderer: the graph's
// completion waits for it. Not registered; the board creates it with
// CreateAsfAudioWriter.

#include "win32/windows_include.h"
#include <strmif.h>

#include <memory>
#include <string>

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"
#include "outside/asfwriter/asf_audio_writer.h"

namespace brontel {

HRESULT CreateAsfAudioWriter(IBaseFilter** filter);

class AsfWriterFilter;

class AsfAudioInputPin final : public dshow::InputPin {
 public:
  explicit AsfAudioInputPin(AsfWriterFilter* filter);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  HRESULT Active() override;
  HRESULT Inactive() override;
  STDMETHODIMP EndOfStream() override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  AsfWriterFilter* m_owner;
};

class AsfWriterFilter final : public dshow::BaseFilter,
                              public IFileSinkFilter,
                              public IAMFilterMiscFlags {
 public:
  AsfWriterFilter();
  ~AsfWriterFilter() override;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return BaseFilter::QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return BaseFilter::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return BaseFilter::Release(); }

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;

  // IAMFilterMiscFlags
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

  int PinCount() override { return 1; }
  dshow::BasePin* Pin(int index) override { return index == 0 ? &m_input : nullptr; }

  // What the pin calls.
  HRESULT OpenFile(int sampleRate, int channels);
  HRESULT Write(const BYTE* data, long bytes);
  // Completes and closes the file; S_OK when nothing was open.
  HRESULT CloseFile();
  void EndOfStreamReached();

 protected:
  HRESULT QueryFilterInterface(REFIID riid, void** ppv) override;

 private:
  class FileSink;

  AsfAudioInputPin m_input;
  std::wstring m_fileName;              // under the filter lock
  dshow::CriticalSection m_streamLock;  // the file and the writer
  std::unique_ptr<FileSink> m_sink;
  std::unique_ptr<asf::AsfAudioWriter> m_writer;
  int m_channels = 0;
};

}  // namespace brontel

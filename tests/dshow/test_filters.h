#pragma once
// A push source and a collecting sink for driving filters in a real graph,
// built on the same DirectShow base as the product's filters. The test
// thread (or a helper thread) pushes each frame explicitly.

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"
#include "dshow/output_pin.h"

namespace brontel::test {

// Timing and flags of one sample, as sent or as received.
struct SampleProps {
  bool hasTime = false;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  bool hasMediaTime = false;
  LONGLONG mediaStart = 0;
  LONGLONG mediaStop = 0;
  bool syncPoint = false;
  bool preroll = false;
  bool discontinuity = false;
  bool hasMediaType = false;
  // Sent: the attached type when hasMediaType (null: the offered type).
  const AM_MEDIA_TYPE* mediaType = nullptr;
  const void* identity = nullptr;  // the IMediaSample that carried the frame
};

// IMediaSeeking of the test source's pin: a fixed duration, and the
// positions and rate last set, so a test can see calls arrive upstream.
class TestSeeking final : public IMediaSeeking {
 public:
  static constexpr LONGLONG kDuration = 123456789;
  explicit TestSeeking(IPin* owner) : m_owner(owner) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return m_owner->QueryInterface(riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }
  STDMETHODIMP GetCapabilities(DWORD* caps) override;
  STDMETHODIMP CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP IsFormatSupported(const GUID* format) override;
  STDMETHODIMP QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTimeFormat(GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP SetTimeFormat(const GUID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetDuration(LONGLONG* duration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
  STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                            DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetRate(double rate) override;
  STDMETHODIMP GetRate(double* rate) override;
  STDMETHODIMP GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

  LONGLONG current = 0;
  LONGLONG stop = kDuration;
  double rate = 1.0;

 private:
  IPin* m_owner;
};

class TestSourceFilter;

class TestSourcePin : public dshow::OutputPin {
 public:
  TestSourcePin(TestSourceFilter* filter);
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  TestSeeking& Seeking() { return m_seeking; }

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

 private:
  TestSourceFilter* m_source;
  TestSeeking m_seeking;
};

class TestSourceFilter : public dshow::BaseFilter {
 public:
  // Offers exactly this type; the buffers hold bufferBytes each.
  TestSourceFilter(const AM_MEDIA_TYPE& mt, long bufferBytes);
  int PinCount() override { return 1; }
  dshow::BasePin* Pin(int index) override { return index == 0 ? &m_pin : nullptr; }
  IPin* OutPin() { return &m_pin; }
  TestSourcePin& SourcePin() { return m_pin; }

  // Fills a buffer with the bytes and properties and delivers it.
  HRESULT Push(const std::vector<std::uint8_t>& frame, const SampleProps& props);
  HRESULT PushEndOfStream() { return m_pin.DeliverEndOfStream(); }

  const AM_MEDIA_TYPE& OfferedType() const { return m_offered.Get(); }
  long BufferBytes() const { return m_bufferBytes; }
  // The sample object of the last Push (compared, never dereferenced).
  const void* LastSent() const { return m_lastSent; }

 private:
  const void* m_lastSent = nullptr;
  dshow::MediaType m_offered;
  long m_bufferBytes;
  TestSourcePin m_pin;
};

struct ReceivedSample {
  std::vector<std::uint8_t> bytes;
  SampleProps props;
};

class TestSinkFilter;

class TestSinkPin : public dshow::InputPin {
 public:
  TestSinkPin(TestSinkFilter* filter);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  TestSinkFilter* m_sink;
};

class TestSinkFilter : public dshow::BaseFilter {
 public:
  TestSinkFilter();
  int PinCount() override { return 1; }
  dshow::BasePin* Pin(int index) override { return index == 0 ? &m_pin : nullptr; }
  IPin* InPin() { return &m_pin; }

  // Off: only count samples (for long loops).
  void SetKeepSamples(bool keep) { m_keepSamples = keep; }
  // On: the allocator offered upstream grants one byte less than asked.
  void SetShortAllocator(bool shortBuffers) { m_shortAllocator = shortBuffers; }

  std::vector<ReceivedSample> Samples();
  int SampleCount();
  int EndOfStreamCount();
  int FlushCount();

 private:
  friend class TestSinkPin;
  std::mutex m_mutex;
  std::vector<ReceivedSample> m_samples;
  int m_sampleCount = 0;
  int m_endOfStreamCount = 0;
  int m_flushCount = 0;
  bool m_keepSamples = true;
  bool m_shortAllocator = false;
  TestSinkPin m_pin;
};

}  // namespace brontel::test

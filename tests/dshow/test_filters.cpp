#include "test_filters.h"

#include <cstring>
#include <new>

#include "win32/com_ptr.h"

namespace brontel::test {

namespace {

// {5A1C0D6E-3C52-4B7B-9E43-7D0A2F6B1C01}, {5A1C0D6E-3C52-4B7B-9E43-7D0A2F6B1C02}
constexpr CLSID kClsidTestSource = {
    0x5a1c0d6e, 0x3c52, 0x4b7b, {0x9e, 0x43, 0x7d, 0x0a, 0x2f, 0x6b, 0x1c, 0x01}};
constexpr CLSID kClsidTestSink = {
    0x5a1c0d6e, 0x3c52, 0x4b7b, {0x9e, 0x43, 0x7d, 0x0a, 0x2f, 0x6b, 0x1c, 0x02}};

// Forwards to a real allocator but reports one byte less than asked, as a
// downstream allocator that cannot provide the size would.
class ShortAllocator final : public IMemAllocator {
 public:
  explicit ShortAllocator(IMemAllocator* inner) : m_inner(inner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IMemAllocator) {
      *ppv = static_cast<IMemAllocator*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refCount); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return count;
  }
  STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override {
    ALLOCATOR_PROPERTIES smaller = *request;
    if (smaller.cbBuffer > 1) smaller.cbBuffer -= 1;
    return m_inner->SetProperties(&smaller, actual);
  }
  STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override {
    return m_inner->GetProperties(props);
  }
  STDMETHODIMP Commit() override { return m_inner->Commit(); }
  STDMETHODIMP Decommit() override { return m_inner->Decommit(); }
  STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                         DWORD flags) override {
    return m_inner->GetBuffer(sample, start, stop, flags);
  }
  STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override {
    return m_inner->ReleaseBuffer(sample);
  }

 private:
  LONG m_refCount = 1;
  brontel::ComPtr<IMemAllocator> m_inner;
};

}  // namespace

// ---- source

STDMETHODIMP TestSeeking::GetCapabilities(DWORD* caps) {
  *caps = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanGetDuration;
  return S_OK;
}
STDMETHODIMP TestSeeking::IsFormatSupported(const GUID* format) {
  return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}
STDMETHODIMP TestSeeking::GetDuration(LONGLONG* duration) {
  *duration = kDuration;
  return S_OK;
}
STDMETHODIMP TestSeeking::GetStopPosition(LONGLONG* value) {
  *value = stop;
  return S_OK;
}
STDMETHODIMP TestSeeking::GetCurrentPosition(LONGLONG* value) {
  *value = current;
  return S_OK;
}
STDMETHODIMP TestSeeking::SetPositions(LONGLONG* newCurrent, DWORD currentFlags, LONGLONG* newStop,
                                       DWORD stopFlags) {
  if ((currentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning) {
    current = *newCurrent;
  }
  if ((stopFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning) {
    stop = *newStop;
  }
  return S_OK;
}
STDMETHODIMP TestSeeking::SetRate(double value) {
  rate = value;
  return S_OK;
}
STDMETHODIMP TestSeeking::GetRate(double* value) {
  *value = rate;
  return S_OK;
}

TestSourcePin::TestSourcePin(TestSourceFilter* filter)
    : OutputPin(filter, filter->FilterLock(), L"Out"), m_source(filter), m_seeking(this) {}

STDMETHODIMP TestSourcePin::QueryInterface(REFIID riid, void** ppv) {
  if (ppv && riid == IID_IMediaSeeking) {
    *ppv = static_cast<IMediaSeeking*>(&m_seeking);
    AddRef();
    return S_OK;
  }
  return OutputPin::QueryInterface(riid, ppv);
}

HRESULT TestSourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return dshow::MediaTypesEqual(mt, m_source->OfferedType()) ? S_OK : S_FALSE;
}

HRESULT TestSourcePin::GetMediaType(int position, dshow::MediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  return mt->Assign(m_source->OfferedType());
}

HRESULT TestSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
  ALLOCATOR_PROPERTIES wanted = *request;
  wanted.cBuffers = 2;
  wanted.cbBuffer = m_source->BufferBytes();
  wanted.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual{};
  HRESULT hr = allocator->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= wanted.cbBuffer ? S_OK : E_FAIL;
}

TestSourceFilter::TestSourceFilter(const AM_MEDIA_TYPE& mt, long bufferBytes)
    : BaseFilter(kClsidTestSource, L"Test source"), m_bufferBytes(bufferBytes), m_pin(this) {
  m_offered.Assign(mt);
}

HRESULT TestSourceFilter::Push(const std::vector<std::uint8_t>& frame, const SampleProps& props) {
  brontel::ComPtr<IMediaSample> sample;
  HRESULT hr = m_pin.GetDeliveryBuffer(sample.GetAddressOf(), nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  if (static_cast<long>(frame.size()) > sample->GetSize()) return E_UNEXPECTED;
  std::memcpy(data, frame.data(), frame.size());
  sample->SetActualDataLength(static_cast<long>(frame.size()));
  REFERENCE_TIME start = props.start;
  REFERENCE_TIME stop = props.stop;
  sample->SetTime(props.hasTime ? &start : nullptr, props.hasTime ? &stop : nullptr);
  LONGLONG mediaStart = props.mediaStart;
  LONGLONG mediaStop = props.mediaStop;
  sample->SetMediaTime(props.hasMediaTime ? &mediaStart : nullptr,
                       props.hasMediaTime ? &mediaStop : nullptr);
  sample->SetSyncPoint(props.syncPoint);
  sample->SetPreroll(props.preroll);
  sample->SetDiscontinuity(props.discontinuity);
  const AM_MEDIA_TYPE* attached = props.mediaType ? props.mediaType : &OfferedType();
  sample->SetMediaType(props.hasMediaType ? const_cast<AM_MEDIA_TYPE*>(attached) : nullptr);
  m_lastSent = sample.Get();
  return m_pin.Deliver(sample.Get());
}

// ---- sink

TestSinkPin::TestSinkPin(TestSinkFilter* filter)
    : InputPin(filter, filter->FilterLock(), L"In"), m_sink(filter) {}

HRESULT TestSinkPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Video ? S_OK : S_FALSE;
}

STDMETHODIMP TestSinkPin::GetAllocator(IMemAllocator** allocator) {
  if (!m_sink->m_shortAllocator) return InputPin::GetAllocator(allocator);
  if (!allocator) return E_POINTER;
  brontel::ComPtr<IMemAllocator> inner;
  HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IMemAllocator, reinterpret_cast<void**>(inner.GetAddressOf()));
  if (FAILED(hr)) return hr;
  *allocator = new (std::nothrow) ShortAllocator(inner.Get());
  return *allocator ? S_OK : E_OUTOFMEMORY;
}

HRESULT TestSinkPin::OnReceive(IMediaSample* sample) {
  ReceivedSample received;
  SampleProps& p = received.props;
  p.identity = sample;
  p.hasTime = SUCCEEDED(sample->GetTime(&p.start, &p.stop));
  p.hasMediaTime = sample->GetMediaTime(&p.mediaStart, &p.mediaStop) == S_OK;
  p.syncPoint = sample->IsSyncPoint() == S_OK;
  p.preroll = sample->IsPreroll() == S_OK;
  p.discontinuity = sample->IsDiscontinuity() == S_OK;
  AM_MEDIA_TYPE* mt = nullptr;
  if (sample->GetMediaType(&mt) == S_OK && mt) {
    p.hasMediaType = true;
    dshow::DeleteMediaType(mt);
  }
  std::lock_guard<std::mutex> lock(m_sink->m_mutex);
  ++m_sink->m_sampleCount;
  if (m_sink->m_keepSamples) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    received.bytes.assign(data, data + sample->GetActualDataLength());
    m_sink->m_samples.push_back(std::move(received));
  }
  return S_OK;
}

STDMETHODIMP TestSinkPin::EndOfStream() {
  HRESULT hr = InputPin::EndOfStream();
  std::lock_guard<std::mutex> lock(m_sink->m_mutex);
  ++m_sink->m_endOfStreamCount;
  return hr;
}

STDMETHODIMP TestSinkPin::BeginFlush() {
  std::lock_guard<std::mutex> lock(m_sink->m_mutex);
  ++m_sink->m_flushCount;
  return InputPin::BeginFlush();
}

STDMETHODIMP TestSinkPin::EndFlush() {
  return InputPin::EndFlush();
}

TestSinkFilter::TestSinkFilter() : BaseFilter(kClsidTestSink, L"Test sink"), m_pin(this) {}

std::vector<ReceivedSample> TestSinkFilter::Samples() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_samples;
}

int TestSinkFilter::SampleCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_sampleCount;
}

int TestSinkFilter::EndOfStreamCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_endOfStreamCount;
}

int TestSinkFilter::FlushCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_flushCount;
}

}  // namespace brontel::test

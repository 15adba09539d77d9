#include "test_support.h"

#include <gtest/gtest.h>

namespace brontel::test {

namespace {

// COM for every test on the main thread.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

const ::testing::Environment* const g_comEnvironment =
    ::testing::AddGlobalTestEnvironment(new ComEnvironment);

}  // namespace

dshow::MediaType MakeVideoType(const GUID& subtype, int width, int height, int bitsPerPixel,
                               const GUID& formatType) {
  dshow::MediaType mt;
  AM_MEDIA_TYPE& m = mt.Get();
  m.majortype = MEDIATYPE_Video;
  m.subtype = subtype;
  m.formattype = formatType;
  m.bFixedSizeSamples = TRUE;
  m.lSampleSize = static_cast<ULONG>(width * height * bitsPerPixel / 8);
  mt.AllocFormat(sizeof(VIDEOINFOHEADER));
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(m.pbFormat);
  vih->AvgTimePerFrame = 400000;
  vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vih->bmiHeader.biWidth = width;
  vih->bmiHeader.biHeight = height;
  vih->bmiHeader.biPlanes = 1;
  vih->bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  vih->bmiHeader.biCompression = subtype.Data1;
  vih->bmiHeader.biSizeImage = m.lSampleSize;
  return mt;
}

std::vector<std::uint8_t> MakeFrame(int width, int height, int index) {
  std::vector<std::uint8_t> frame(static_cast<size_t>(width) * height * 2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int motion = x >= width / 2 ? index * 29 : 0;
      unsigned value = static_cast<unsigned>((x * 7 + y * 13 + motion) ^ (x * y + motion * 3));
      size_t at = (static_cast<size_t>(y) * width + x) * 2;
      frame[at] = static_cast<std::uint8_t>(value);              // luma
      frame[at + 1] = static_cast<std::uint8_t>(value * 5 + y);  // chroma
    }
  }
  return frame;
}

HRESULT TestGraph::Build(const CLSID& filterClsid, const AM_MEDIA_TYPE& sourceType,
                         long bufferBytes, TestSinkFilter* sink) {
  m_sink = sink ? sink : new TestSinkFilter();
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(m_graph.GetAddressOf()));
  if (FAILED(hr)) return hr;
  hr = m_graph.As(&m_control);
  if (FAILED(hr)) return hr;
  hr = CoCreateInstance(filterClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                        reinterpret_cast<void**>(m_filter.GetAddressOf()));
  if (FAILED(hr)) return hr;
  m_source = new TestSourceFilter(sourceType, bufferBytes);
  if (FAILED(hr = m_graph->AddFilter(m_source, L"source"))) return hr;
  if (FAILED(hr = m_graph->AddFilter(m_filter.Get(), L"under test"))) return hr;
  if (FAILED(hr = m_graph->AddFilter(m_sink, L"sink"))) return hr;
  hr = m_graph->ConnectDirect(m_source->OutPin(), FilterPin(0), &sourceType);
  if (FAILED(hr)) return hr;
  return m_graph->ConnectDirect(FilterPin(1), m_sink->InPin(), nullptr);
}

IPin* TestGraph::FilterPin(int index) {
  brontel::ComPtr<IEnumPins> pins;
  if (!m_filter || FAILED(m_filter->EnumPins(pins.GetAddressOf()))) return nullptr;
  IPin* pin = nullptr;
  if (index > 0) pins->Skip(index);
  if (pins->Next(1, &pin, nullptr) != S_OK) return nullptr;
  pin->Release();  // the filter keeps it alive
  return pin;
}

TestGraph::~TestGraph() {
  if (m_control) m_control->Stop();
  if (m_graph) {
    // Removing the filters breaks the connections and the graph's references.
    if (m_source) m_graph->RemoveFilter(m_source);
    if (m_filter) m_graph->RemoveFilter(m_filter.Get());
    if (m_sink) m_graph->RemoveFilter(m_sink);
  }
  m_control.Reset();
  m_graph.Reset();
  if (m_source) m_source->Release();
  if (m_sink) m_sink->Release();
}

}  // namespace brontel::test

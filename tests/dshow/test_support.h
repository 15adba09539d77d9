#pragma once
// Shared pieces of the DirectShow Wine tests: media types, synthetic frames,
// and a graph of test source -> filter under test -> test sink.

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <vector>

#include "win32/com_ptr.h"
#include "dshow/media_type.h"
#include "test_filters.h"

// GoogleTest names parameters with this instead of raw bytes.
inline void PrintTo(const GUID& guid, std::ostream* os) {
  char text[40];
  std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  *os << text;
}

namespace brontel::test {

constexpr int kPalWidth = 720;
constexpr int kPalHeight = 576;
constexpr long kPalFrameBytes = kPalWidth * kPalHeight * 2;

// A FORMAT_VideoInfo type; lSampleSize and biSizeImage follow from the geometry.
dshow::MediaType MakeVideoType(const GUID& subtype, int width, int height, int bitsPerPixel,
                               const GUID& formatType = FORMAT_VideoInfo);

// A YUY2 picture whose left half stays still from frame to frame and whose
// right half moves, so a motion-adaptive weave meets both cases.
std::vector<std::uint8_t> MakeFrame(int width, int height, int index);

template <typename T>
brontel::ComPtr<T> CreateComObject(const CLSID& clsid, const IID& iid) {
  brontel::ComPtr<T> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                   reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

// The Filter Graph Manager with the test source, the filter under test and
// the test sink, connected in that order.
class TestGraph {
 public:
  // Returns the first failure of building and connecting. The graph takes
  // over sink when one is given, else makes its own.
  HRESULT Build(const CLSID& filterClsid, const AM_MEDIA_TYPE& sourceType, long bufferBytes,
                TestSinkFilter* sink = nullptr);
  ~TestGraph();

  IGraphBuilder* Graph() { return m_graph.Get(); }
  IMediaControl* Control() { return m_control.Get(); }
  IBaseFilter* Filter() { return m_filter.Get(); }
  TestSourceFilter* Source() { return m_source; }
  TestSinkFilter* Sink() { return m_sink; }
  IPin* FilterPin(int index);

 private:
  brontel::ComPtr<IGraphBuilder> m_graph;
  brontel::ComPtr<IMediaControl> m_control;
  brontel::ComPtr<IBaseFilter> m_filter;
  TestSourceFilter* m_source = nullptr;  // AddRef'd
  TestSinkFilter* m_sink = nullptr;      // AddRef'd
};

}  // namespace brontel::test

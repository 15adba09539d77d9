#pragma once
// The board's own renderer: YUY2 pictures from kxDIgrab (or the writer's
// "Video Out") handed to the picture window. The platform's classic renderer
// takes only RGB and has no converter in front of it, and the others draw
// black in a child window.

#include "win32/windows_include.h"

#include <cstdint>

#include "dshow/base_filter.h"
#include "dshow/input_pin.h"

// Where the pictures go; called on the graph's streaming thread.
class PictureSink {
 public:
  virtual void ShowYuy2(const uint8_t* data, int width, int height) = 0;
};

class PictureRendererFilter;

class PictureRendererPin final : public brontel::dshow::InputPin {
 public:
  explicit PictureRendererPin(PictureRendererFilter* filter);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& mt) override;
  // The upstream pin brings the allocator; the renderer only reads.
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  // A picture is copied and the call returns: no queue thread is needed.
  STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  PictureRendererFilter* m_renderer;
  int m_width = 0;
  int m_height = 0;
};

class PictureRendererFilter final : public brontel::dshow::BaseFilter {
 public:
  explicit PictureRendererFilter(PictureSink* sink);
  ~PictureRendererFilter() override;
  int PinCount() override { return 1; }
  brontel::dshow::BasePin* Pin(int index) override;
  PictureSink* Sink() const { return m_sink; }

 private:
  PictureSink* m_sink;
  PictureRendererPin m_pin;
};

#pragma once
// A live source as a capture board presents one: "Video" (YUY2, 720x480 at
// 29.97 frames a second by default, two fields per picture that differ as
// they would from an interlaced camera) and "Audio" (16-bit PCM, a 1 kHz
// tone). Each pin runs its own thread while the graph runs and stamps every
// sample with its stream time; in real time it waits for the graph clock.

#include "win32/windows_include.h"
#include <strmif.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "dshow/base_filter.h"
#include "dshow/output_pin.h"
#include "win32/com_ptr.h"

namespace brontel {

struct CaptureSourceConfig {
  int width = 720;
  int height = 480;
  REFERENCE_TIME frameTime = 333667;  // 29.97 frames a second
  int sampleRate = 48000;
  int channels = 2;
  // Pictures to send before the end of stream; 0: until stopped. The audio
  // covers the same time.
  int frames = 0;
  // Wait for the graph clock (a live source) or deliver as fast as taken.
  bool realTime = true;
  // Draws picture `index` as YUY2 (width * 2 bytes a line, top line first);
  // empty: the built-in ramp and moving bar.
  std::function<void(BYTE* yuy2, int width, int height, long index)> drawPicture;
  // The tone of each channel; a second channel takes the first one's when 0.
  double toneHz[2] = {1000.0, 0.0};
};

class CaptureSourceFilter;

class CaptureStreamPin : public dshow::OutputPin {
 public:
  CaptureStreamPin(CaptureSourceFilter* filter, const wchar_t* name, bool video);
  ~CaptureStreamPin() override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType* mt) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Samples delivered in the last run.
  long Delivered() const { return m_delivered; }

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

 private:
  void Stream();
  // Waits until the stream time reaches `due`; false when stopped first.
  bool WaitFor(REFERENCE_TIME due);
  HRESULT SendPicture(long index);
  HRESULT SendAudio(std::int64_t firstSample, std::int64_t* sent);

  CaptureSourceFilter* m_source;
  bool m_video;
  std::atomic<bool> m_stop{false};
  std::atomic<long> m_delivered{0};
  std::thread m_thread;
  ComPtr<IReferenceClock> m_clock;
};

class CaptureSourceFilter final : public dshow::BaseFilter {
 public:
  explicit CaptureSourceFilter(const CaptureSourceConfig& config);

  int PinCount() override { return 2; }
  dshow::BasePin* Pin(int index) override;
  const CaptureSourceConfig& Config() const { return m_config; }
  CaptureStreamPin& VideoPin() { return m_videoPin; }
  CaptureStreamPin& AudioPin() { return m_audioPin; }

  // The graph clock's stream time; -1 while not running, MAXLONGLONG when
  // the graph has no clock.
  REFERENCE_TIME StreamTime(IReferenceClock* clock);

 private:
  CaptureSourceConfig m_config;
  CaptureStreamPin m_videoPin;
  CaptureStreamPin m_audioPin;
};

}  // namespace brontel

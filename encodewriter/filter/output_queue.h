#pragma once
// Delivery of the preview samples to the downstream pin: on the caller's
// thread when that pin never blocks, otherwise from a thread of its own with
// at most a fixed number of samples waiting, so that a slow preview cannot
// hold up the encoding.

#include "win32/windows_include.h"
#include <strmif.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace brontel {

class OutputQueue {
 public:
  static constexpr std::size_t kMaxSamples = 10;

  // pin: the connected downstream pin; input: its IMemInputPin. Neither is
  // AddRef'd: the output pin holds them while the queue lives.
  OutputQueue(IPin* pin, IMemInputPin* input);
  ~OutputQueue();
  OutputQueue(const OutputQueue&) = delete;
  OutputQueue& operator=(const OutputQueue&) = delete;

  bool Threaded() const { return m_thread.joinable(); }

  HRESULT Receive(IMediaSample* sample);
  HRESULT EndOfStream();
  HRESULT BeginFlush();
  HRESULT EndFlush();
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 private:
  // One queued item: a sample, or (sample null) the end of the stream.
  struct Item {
    IMediaSample* sample;
  };
  void Run();
  void DropQueued();

  IPin* m_pin;
  IMemInputPin* m_input;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Item> m_items;
  bool m_stop = false;
  bool m_flushing = false;
  HRESULT m_lastResult = S_OK;
  std::thread m_thread;
};

}  // namespace brontel

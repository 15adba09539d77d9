#include "encodewriter/filter/output_queue.h"

namespace brontel {

OutputQueue::OutputQueue(IPin* pin, IMemInputPin* input) : m_pin(pin), m_input(input) {
  if (m_input->ReceiveCanBlock() == S_OK) m_thread = std::thread([this] { Run(); });
}

OutputQueue::~OutputQueue() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
  DropQueued();
}

void OutputQueue::DropQueued() {
  for (Item& item : m_items) {
    if (item.sample) item.sample->Release();
  }
  m_items.clear();
}

HRESULT OutputQueue::Receive(IMediaSample* sample) {
  if (!Threaded()) return m_input->Receive(sample);
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_stop || m_flushing || m_items.size() < kMaxSamples; });
  if (m_stop || m_flushing) return S_FALSE;
  sample->AddRef();
  m_items.push_back({sample});
  m_changed.notify_all();
  return m_lastResult;
}

HRESULT OutputQueue::EndOfStream() {
  if (!Threaded()) return m_pin->EndOfStream();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_items.push_back({nullptr});
  m_changed.notify_all();
  return S_OK;
}

HRESULT OutputQueue::BeginFlush() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_flushing = true;
    DropQueued();
  }
  m_changed.notify_all();
  return m_pin->BeginFlush();
}

HRESULT OutputQueue::EndFlush() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_flushing = false;
    m_lastResult = S_OK;
  }
  return m_pin->EndFlush();
}

HRESULT OutputQueue::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return m_pin->NewSegment(start, stop, rate);
}

void OutputQueue::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_stop || !m_items.empty(); });
    if (m_stop) return;
    Item item = m_items.front();
    m_items.pop_front();
    m_changed.notify_all();
    lock.unlock();
    HRESULT hr = item.sample ? m_input->Receive(item.sample) : m_pin->EndOfStream();
    if (item.sample) item.sample->Release();
    lock.lock();
    if (FAILED(hr)) m_lastResult = hr;
  }
}

}  // namespace brontel

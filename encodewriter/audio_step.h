#pragma once

#include <cstdint>

#include "encodewriter/audio_queue.h"

// One audio step: the new sample (or, with none, the queue) is offered to the
// encoder until it refuses more or wants video first.
namespace encodewriter {

constexpr int kAudioNotNow = -702;

template <typename Sample>
struct AudioStepHooks {
  // Offers the sample's data to the encoder; returns its result. Not called
  // for a sample without data.
  virtual int Compress(Sample* sample) = 0;
  virtual bool HasData(Sample* sample) = 0;
  virtual std::uint32_t DataLength(Sample* sample) = 0;
  // True when the video pin is connected, not ended and the encoder asks for
  // video before more audio.
  virtual bool WantsVideo() = 0;
  // True once no picture will follow that could make room for refused audio
  // (the stream is ending). A refused sample is then let go: held, it would
  // keep one of the source's buffers, and with all of them held the source
  // could never deliver its end of stream.
  virtual bool Ending() = 0;
  // A refused sample that could not be queued.
  virtual void ReportQueueFull(int pushResult) = 0;

 protected:
  ~AudioStepHooks() = default;
};

// Returns the audio bytes the encoder took (to add to the audio clock).
// While the stream is ending, a call with no new sample offers every queued
// sample once and leaves the queue empty.
template <typename Sample, std::size_t Capacity>
std::uint64_t RunAudioStep(AudioQueue<Sample, Capacity>& queue, Sample* newSample,
                           AudioStepHooks<Sample>& hooks) {
  std::uint64_t taken = 0;
  Sample* current = queue.Peek();
  bool fromQueue = current != nullptr;
  if (fromQueue) {
    // Keep the order: the new sample waits behind the queued ones; when the
    // queue is full it is dropped.
    if (newSample != nullptr) queue.Push(newSample);
  } else {
    current = newSample;
  }
  while (current != nullptr) {
    if (hooks.HasData(current)) {
      const int result = hooks.Compress(current);
      if (result != kAudioNotNow) {
        taken += hooks.DataLength(current);
        // Refused with another code it is counted and let go: kept at the
        // head, it would be offered and counted again at every step while
        // the samples behind it pile up.
        if (fromQueue) queue.Pop();
      } else if (hooks.Ending()) {
        if (fromQueue) queue.Pop();
      } else {
        if (!fromQueue) {
          const int pushed = queue.Push(current);
          if (pushed != 0) hooks.ReportQueueFull(pushed);
        }
        return taken;
      }
    } else if (fromQueue) {
      // Nothing for the encoder in it; left at the head it would hold back
      // every sample behind it.
      queue.Pop();
    }
    if (hooks.WantsVideo()) return taken;
    current = queue.Peek();
    fromQueue = true;
  }
  return taken;
}

}  // namespace encodewriter

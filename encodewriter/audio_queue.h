#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Audio samples waiting for the encoder, held by reference rather than
// copied. `Sample` is any reference-counted type with AddRef and Release
// (the media samples of the audio pin).
namespace encodewriter {

template <typename Sample, std::size_t Capacity = 1024>
class AudioQueue {
 public:
  static constexpr int kPushFull = -1;

  AudioQueue() = default;
  AudioQueue(const AudioQueue&) = delete;
  AudioQueue& operator=(const AudioQueue&) = delete;
  ~AudioQueue() { Clear(); }

  // Adds a reference and stores the sample; kPushFull when the slot at the
  // write index is still taken.
  int Push(Sample* sample) {
    Entry& entry = entries_[write_];
    if (entry.used) return kPushFull;
    sample->AddRef();
    entry.sample = sample;
    entry.used = true;
    write_ = (write_ + 1) % Capacity;
    ++pushes_;
    return 0;
  }

  Sample* Peek() const {
    const Entry& entry = entries_[read_];
    return entry.used ? entry.sample : nullptr;
  }

  // Releases the head sample; does nothing when the queue is empty.
  void Pop() {
    Entry& entry = entries_[read_];
    if (!entry.used) return;
    Sample* sample = entry.sample;
    entry = Entry();
    read_ = (read_ + 1) % Capacity;
    ++pops_;
    sample->Release();
  }

  void Clear() {
    while (Peek() != nullptr) Pop();
  }

  std::uint64_t Pushes() const { return pushes_; }
  std::uint64_t Pops() const { return pops_; }

 private:
  struct Entry {
    bool used = false;
    Sample* sample = nullptr;
  };
  std::array<Entry, Capacity> entries_{};
  std::size_t write_ = 0;
  std::size_t read_ = 0;
  std::uint64_t pushes_ = 0;
  std::uint64_t pops_ = 0;
};

}  // namespace encodewriter

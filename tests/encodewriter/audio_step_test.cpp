// The audio queue and the audio step with the encoder's back-pressure.

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "encodewriter/audio_step.h"

namespace encodewriter {
namespace {

struct FakeSample {
  void AddRef() { ++refs; }
  void Release() { --refs; }
  int refs = 1;
  std::uint32_t length = 4608;
  bool hasData = true;
};

// An encoder that answers from a script (0 once the script runs out).
struct ScriptedEncoder final : AudioStepHooks<FakeSample> {
  int Compress(FakeSample* sample) override {
    offered.push_back(sample);
    if (answers.empty()) return 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool HasData(FakeSample* sample) override { return sample->hasData; }
  std::uint32_t DataLength(FakeSample* sample) override { return sample->length; }
  bool WantsVideo() override { return wantsVideo; }
  void ReportQueueFull(int pushResult) override { reports.push_back(pushResult); }

  std::deque<int> answers;
  std::vector<FakeSample*> offered;
  std::vector<int> reports;
  bool wantsVideo = false;
};

TEST(AudioQueue, HoldsReferencesAndRefusesWhenFull) {
  std::vector<FakeSample> samples(5);
  {
    AudioQueue<FakeSample, 4> queue;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(queue.Push(&samples[i]), 0);
    EXPECT_EQ(queue.Push(&samples[4]), (AudioQueue<FakeSample, 4>::kPushFull));
    EXPECT_EQ(samples[0].refs, 2);
    EXPECT_EQ(samples[4].refs, 1);
    EXPECT_EQ(queue.Peek(), &samples[0]);
    queue.Pop();
    EXPECT_EQ(samples[0].refs, 1);
    // The freed slot is taken again after the write index wraps.
    EXPECT_EQ(queue.Push(&samples[4]), 0);
    EXPECT_EQ(queue.Peek(), &samples[1]);
  }
  for (const FakeSample& s : samples) EXPECT_EQ(s.refs, 1);  // released at the end
}

TEST(AudioStep, RefusedSampleIsQueuedAndOfferedAgainLater) {
  AudioQueue<FakeSample> queue;
  ScriptedEncoder encoder;
  FakeSample sample;
  encoder.answers = {kAudioNotNow};
  EXPECT_EQ(RunAudioStep(queue, &sample, encoder), 0u);
  EXPECT_EQ(queue.Peek(), &sample);
  EXPECT_EQ(sample.refs, 2);
  // After the next video frame the drain offers it again.
  EXPECT_EQ(RunAudioStep<FakeSample>(queue, nullptr, encoder), 4608u);
  EXPECT_EQ(encoder.offered, (std::vector<FakeSample*>{&sample, &sample}));
  EXPECT_EQ(queue.Peek(), nullptr);
  EXPECT_EQ(sample.refs, 1);
}

TEST(AudioStep, NewSampleWaitsBehindTheQueue) {
  AudioQueue<FakeSample> queue;
  ScriptedEncoder encoder;
  FakeSample first, second;
  queue.Push(&first);
  encoder.answers = {kAudioNotNow};
  RunAudioStep(queue, &second, encoder);
  // The queued one was offered and refused; the new one waits behind it.
  EXPECT_EQ(encoder.offered, (std::vector<FakeSample*>{&first}));
  EXPECT_EQ(queue.Peek(), &first);
  RunAudioStep<FakeSample>(queue, nullptr, encoder);
  EXPECT_EQ(encoder.offered, (std::vector<FakeSample*>{&first, &first, &second}));
  EXPECT_EQ(queue.Pops(), 2u);
}

TEST(AudioStep, StopsWhenTheEncoderWantsVideo) {
  AudioQueue<FakeSample> queue;
  ScriptedEncoder encoder;
  FakeSample a, b;
  queue.Push(&a);
  queue.Push(&b);
  encoder.wantsVideo = true;
  EXPECT_EQ(RunAudioStep<FakeSample>(queue, nullptr, encoder), 4608u);
  EXPECT_EQ(queue.Peek(), &b);
}

TEST(AudioStep, NewSampleIsDroppedWhenTheQueueIsFull) {
  AudioQueue<FakeSample, 1> queue;
  ScriptedEncoder encoder;
  FakeSample held, late;
  queue.Push(&held);
  encoder.answers = {kAudioNotNow};
  RunAudioStep(queue, &late, encoder);
  EXPECT_EQ(late.refs, 1);
  EXPECT_EQ(queue.Peek(), &held);
  EXPECT_TRUE(encoder.reports.empty());
}

TEST(AudioStep, OtherRefusalsCountButAreNotQueued) {
  AudioQueue<FakeSample> queue;
  ScriptedEncoder encoder;
  FakeSample sample, empty;
  encoder.answers = {-5};
  EXPECT_EQ(RunAudioStep(queue, &sample, encoder), 4608u);
  EXPECT_EQ(queue.Peek(), nullptr);
  // A sample without data is not offered and not counted.
  empty.hasData = false;
  EXPECT_EQ(RunAudioStep(queue, &empty, encoder), 0u);
  EXPECT_EQ(encoder.offered.size(), 1u);
}

}  // namespace
}  // namespace encodewriter

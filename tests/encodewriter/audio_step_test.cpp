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
    if (answers.empty()) return refuseAll ? kAudioNotNow : 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool HasData(FakeSample* sample) override { return sample->hasData; }
  std::uint32_t DataLength(FakeSample* sample) override { return sample->length; }
  bool WantsVideo() override { return wantsVideo; }
  bool Ending() override { return ending; }
  void ReportQueueFull(int pushResult) override { reports.push_back(pushResult); }

  std::deque<int> answers;
  std::vector<FakeSample*> offered;
  std::vector<int> reports;
  bool wantsVideo = false;
  bool ending = false;
  bool refuseAll = false;  // answers -702 to everything once the script ends
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
  FakeSample sample, empty, queued, behind;
  encoder.answers = {-5};
  EXPECT_EQ(RunAudioStep(queue, &sample, encoder), 4608u);
  EXPECT_EQ(queue.Peek(), nullptr);
  // From the queue too: kept at the head it would be counted at every step
  // while the samples behind it pile up.
  queue.Push(&queued);
  queue.Push(&behind);
  encoder.answers = {-5, 0};
  EXPECT_EQ(RunAudioStep<FakeSample>(queue, nullptr, encoder), 2 * 4608u);
  EXPECT_EQ(queue.Peek(), nullptr);
  EXPECT_EQ(queued.refs, 1);
  // A sample without data is not offered and not counted.
  empty.hasData = false;
  EXPECT_EQ(RunAudioStep(queue, &empty, encoder), 0u);
  EXPECT_EQ(encoder.offered.size(), 3u);
}

// A finite recording whose video ends while the encoder still refuses the
// audio: the source has 64 buffers, and it can only deliver its end of
// stream if every buffer comes back.
TEST(AudioStep, SourceGetsEveryBufferBackOnceTheVideoHasEnded) {
  std::vector<FakeSample> pool(64);
  AudioQueue<FakeSample> queue;
  ScriptedEncoder encoder;
  encoder.refuseAll = true;
  auto freeBuffer = [&pool]() -> FakeSample* {
    for (FakeSample& s : pool) {
      if (s.refs == 1) return &s;
    }
    return nullptr;
  };
  for (int i = 0; i < 40; ++i) RunAudioStep(queue, freeBuffer(), encoder);
  EXPECT_EQ(queue.Pushes(), 40u);

  // The video's end of stream: what is queued is offered once more.
  encoder.ending = true;
  const std::size_t offeredBefore = encoder.offered.size();
  EXPECT_EQ(RunAudioStep<FakeSample>(queue, nullptr, encoder), 0u);
  EXPECT_EQ(encoder.offered.size(), offeredBefore + 40);
  for (int i = 0; i < 200; ++i) {
    FakeSample* buffer = freeBuffer();
    ASSERT_NE(buffer, nullptr) << "the source stalls at buffer " << i;
    RunAudioStep(queue, buffer, encoder);
  }
  EXPECT_EQ(queue.Peek(), nullptr);
  for (const FakeSample& s : pool) EXPECT_EQ(s.refs, 1);
  EXPECT_TRUE(encoder.reports.empty());
}

}  // namespace
}  // namespace encodewriter

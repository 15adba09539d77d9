// The per-frame step: modes, frame sizes, history, grab and frame information.
// Every picture case runs on the reference and on the fast path.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "deinterlace/deinterlace_step.h"
#include "deinterlace/weave_kernels.h"

namespace brontel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kPalWidth = 720;
constexpr int kPalLines = 576;
constexpr std::size_t kLineBytes = kPalWidth * 2;

Bytes RandomPicture(std::size_t length, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes bytes(length);
  for (std::uint8_t& b : bytes) {
    b = static_cast<std::uint8_t>(rng());
  }
  return bytes;
}

DeinterlaceSettings Settings(std::int32_t mode, std::int32_t delta2 = kDefaultDelta2,
                             std::int32_t delta3 = kDefaultDelta3) {
  DeinterlaceSettings settings;
  settings.lMode = mode;
  settings.lDelta2 = delta2;
  settings.lDelta3 = delta3;
  return settings;
}

StepResult RunStep(Deinterlacer& step, const Bytes& input, Bytes& output, int width,
                   const DeinterlaceSettings& settings, GrabState& grab) {
  output.assign(input.size(), 0xEE);
  FrameBuffers frame;
  frame.input = input.data();
  frame.dataLength = input.size();
  frame.output = output.data();
  frame.outputCapacity = output.size();
  frame.width = width;
  frame.height = width > 0 ? static_cast<int>(input.size() / (2 * width)) : 0;
  frame.bitsPerPixel = 16;
  return step.ProcessFrame(frame, settings, grab);
}

Bytes HistoryPrefix(const Deinterlacer& step, std::size_t length) {
  return Bytes(step.History(), step.History() + length);
}

std::uint8_t LumaAt(const Bytes& picture, int line, int unit) {
  return picture[line * kLineBytes + 2 * unit];
}
std::uint8_t ChromaAt(const Bytes& picture, int line, int unit) {
  return picture[line * kLineBytes + 2 * unit + 1];
}

class DeinterlaceStepTest : public ::testing::TestWithParam<WeavePath> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(step.AcceptInputType(InputFormatKind::kYuy2));
    step.SetWeavePath(GetParam());
  }

  Deinterlacer step;
  GrabState grab;
  Bytes output;
};

TEST_P(DeinterlaceStepTest, PassThroughModesCopyTheFrameAndKeepTheHistory) {
  const Bytes first = RandomPicture(kHistoryBytes, 1);
  const Bytes second = RandomPicture(kHistoryBytes, 2);
  RunStep(step, first, output, kPalWidth, Settings(kModeTwoFrameWeave), grab);

  for (std::int32_t mode :
       {kModeByPass, kModeWeave, kModeOneFrameWeave, kModeBob, 1109, 1116, 0, -1}) {
    const StepResult result = RunStep(step, second, output, kPalWidth, Settings(mode, 0, 0), grab);
    EXPECT_EQ(output, second) << "mode " << mode;
    EXPECT_EQ(result.outputLength, second.size());
    EXPECT_FALSE(result.woven);
    EXPECT_FALSE(result.historyUpdated);
    EXPECT_EQ(HistoryPrefix(step, first.size()), first) << "mode " << mode;
  }
}

TEST_P(DeinterlaceStepTest, OnlyFramesOf480LinesOrMoreThatFitTheHistoryAreWoven) {
  struct Case {
    int width;
    int lines;
    bool woven;
  };
  const Case cases[] = {
      {640, 240, false}, {720, 240, false}, {720, 479, false}, {720, 480, true},
      {720, 481, true},  {720, 576, true},  {720, 577, false},  // one line over the history
      {640, 648, true},  {16, 480, true},   {1, 480, true},
  };
  for (const Case& c : cases) {
    for (std::int32_t mode : {kModeTwoFrameWeave, kModeAdaptive}) {
      const Bytes input = RandomPicture(static_cast<std::size_t>(c.width) * 2 * c.lines, c.lines);
      // Thresholds that no difference can pass: every unit moves.
      const StepResult result =
          RunStep(step, input, output, c.width, Settings(mode, INT_MIN, INT_MIN), grab);
      EXPECT_EQ(result.woven, c.woven) << c.width << "x" << c.lines << " mode " << mode;
      EXPECT_EQ(output != input, c.woven) << c.width << "x" << c.lines << " mode " << mode;
      EXPECT_EQ(result.historyUpdated, c.woven);
      EXPECT_EQ(result.outputLength, input.size());
    }
  }
}

TEST_P(DeinterlaceStepTest, IdenticalFramesComeOutUnchanged) {
  const Bytes input = RandomPicture(kHistoryBytes, 11);
  for (std::int32_t mode : {kModeTwoFrameWeave, kModeAdaptive}) {
    RunStep(step, input, output, kPalWidth, Settings(mode), grab);
    const StepResult result = RunStep(step, input, output, kPalWidth, Settings(mode), grab);
    EXPECT_TRUE(result.woven);
    EXPECT_EQ(output, input) << "mode " << mode;
  }
}

// Lines 0, 4, 8, ... have luma 101 and lines 2, 6, 10, ... luma 50, so pair k
// sees a0 = 101, a2 = 50 when k is even and the reverse when k is odd.
Bytes AlternatingPicture() {
  Bytes picture(kHistoryBytes);
  for (int line = 0; line < kPalLines; ++line) {
    const std::uint8_t luma = line % 2 != 0 ? 7 : (line % 4 == 0 ? 101 : 50);
    for (int unit = 0; unit < kPalWidth; ++unit) {
      picture[line * kLineBytes + 2 * unit] = luma;
      picture[line * kLineBytes + 2 * unit + 1] = static_cast<std::uint8_t>(line * 3 + unit);
    }
  }
  return picture;
}

TEST_P(DeinterlaceStepTest, DeltaTwoZeroInterpolatesEveryOddLineAndSoftensEveryEvenLine) {
  const Bytes input = AlternatingPicture();
  RunStep(step, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);
  // The same frame again: only a zero threshold makes these units move.
  RunStep(step, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);

  for (int k = 0; k < (kPalLines - 1) / 2; ++k) {
    const bool downward = k % 2 == 0;  // a0 = 101, a2 = 50
    for (int unit : {0, 1, 7, 8, 359, 718, 719}) {
      SCOPED_TRACE(testing::Message() << "pair " << k << " unit " << unit);
      ASSERT_EQ(LumaAt(output, 2 * k + 1, unit), 75);
      ASSERT_EQ(LumaAt(output, 2 * k, unit), downward ? 88 : 62);
      ASSERT_EQ(ChromaAt(output, 2 * k, unit), ChromaAt(input, 2 * k, unit));
      ASSERT_EQ(ChromaAt(output, 2 * k + 1, unit),
                ChromaAt(input, downward ? 2 * k + 2 : 2 * k, unit));
    }
  }
}

TEST_P(DeinterlaceStepTest, LastTwoLinesOfAnEvenFrameAreCopies) {
  const Bytes input = AlternatingPicture();
  RunStep(step, input, output, kPalWidth, Settings(kModeAdaptive, 0, 0), grab);
  RunStep(step, input, output, kPalWidth, Settings(kModeAdaptive, 0, 0), grab);
  const auto line = [](const Bytes& picture, int n) {
    return Bytes(picture.begin() + n * kLineBytes, picture.begin() + (n + 1) * kLineBytes);
  };
  EXPECT_EQ(line(output, 574), line(input, 574));
  EXPECT_EQ(line(output, 575), line(input, 575));
  EXPECT_NE(line(output, 573), line(input, 573));
  EXPECT_NE(line(output, 572), line(input, 572));
}

TEST_P(DeinterlaceStepTest, LastLineOfAnOddFrameIsACopy) {
  const int width = 640;
  const int lines = 647;
  const std::size_t lineBytes = width * 2;
  Bytes input(lineBytes * lines, 0);
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i] = static_cast<std::uint8_t>((i / lineBytes) % 2 == 0 ? 200 : 9);
  }
  RunStep(step, input, output, width, Settings(kModeTwoFrameWeave, 0), grab);
  const Bytes lastIn(input.end() - lineBytes, input.end());
  const Bytes lastOut(output.end() - lineBytes, output.end());
  EXPECT_EQ(lastOut, lastIn);
  // The line before is the last interpolated one.
  EXPECT_EQ(output[(lines - 2) * lineBytes], 200);
  EXPECT_NE(output[(lines - 2) * lineBytes], input[(lines - 2) * lineBytes]);
}

// Even lines luma 60 in both frames; odd lines luma a1 now and p1 before, so
// the outer lines never differ and the decision rests on |p1 - a1| < T.
TEST_P(DeinterlaceStepTest, ThresholdIsStrictAndFollowsTheMode) {
  struct Case {
    std::int32_t mode;
    std::int32_t delta2;
    std::int32_t delta3;
    std::uint8_t a1;
    std::uint8_t p1;
    bool still;
  };
  const Case cases[] = {
      {kModeTwoFrameWeave, 8, 20, 100, 93, true},
      {kModeTwoFrameWeave, 8, 20, 100, 92, false},
      {kModeTwoFrameWeave, 8, 20, 100, 108, false},
      {kModeTwoFrameWeave, 0, 20, 100, 100, false},
      {kModeTwoFrameWeave, -5, 20, 100, 100, false},
      {kModeTwoFrameWeave, 256, 20, 255, 0, true},
      {kModeTwoFrameWeave, 255, 20, 255, 0, false},
      {kModeTwoFrameWeave, INT_MAX, 20, 0, 255, true},
      {kModeAdaptive, 8, 20, 200, 176, true},   // T = 200 >> 3 = 25
      {kModeAdaptive, 8, 20, 200, 175, false},  // |d| = 25
      {kModeAdaptive, 8, 20, 100, 81, true},    // T = lDelta3 = 20
      {kModeAdaptive, 8, 20, 100, 80, false},
      {kModeAdaptive, 8, 0, 7, 7, false},       // T = 0
      {kModeAdaptive, 8, INT_MIN, 8, 8, true},  // T = 1
      {kModeAdaptive, 8, INT_MIN, 8, 9, false},
      {kModeAdaptive, 8, 300, 0, 255, true},
  };
  for (const Case& c : cases) {
    Bytes before(kHistoryBytes);
    Bytes now(kHistoryBytes);
    for (std::size_t i = 0; i < now.size(); i += 2) {
      const bool odd = (i / kLineBytes) % 2 != 0;
      before[i] = odd ? c.p1 : 60;
      now[i] = odd ? c.a1 : 60;
      before[i + 1] = now[i + 1] = 0x80;
    }
    Deinterlacer fresh;
    ASSERT_TRUE(fresh.AcceptInputType(InputFormatKind::kYuy2));
    fresh.SetWeavePath(GetParam());
    RunStep(fresh, before, output, kPalWidth, Settings(c.mode, 8, 20), grab);
    RunStep(fresh, now, output, kPalWidth, Settings(c.mode, c.delta2, c.delta3), grab);
    const std::uint8_t expected = c.still ? c.a1 : 60;
    EXPECT_EQ(LumaAt(output, 1, 0), expected)
        << "mode " << c.mode << " delta2 " << c.delta2 << " delta3 " << c.delta3 << " a1 "
        << int(c.a1) << " p1 " << int(c.p1);
    EXPECT_EQ(LumaAt(output, 573, 719), expected);
  }
}

// Pair 0's decision when lines 0 and 2 changed by d0 and d2 and line 1 by d1.
TEST_P(DeinterlaceStepTest, StillNeedsOneQuietOuterLineAndAQuietMiddleLine) {
  struct Case {
    int d0;
    int d2;
    int d1;
    bool still;
  };
  const Case cases[] = {
      {0, 0, 0, true},  {0, 20, 0, true}, {20, 0, 0, true},  {7, 7, 7, true},
      {8, 8, 0, false}, {0, 0, 8, false}, {20, 0, 8, false}, {8, 7, 0, true},
  };
  for (const Case& c : cases) {
    Bytes before(kHistoryBytes, 0x80);
    Bytes now(kHistoryBytes, 0x80);
    for (int unit = 0; unit < kPalWidth; ++unit) {
      const std::size_t luma = 2 * unit;
      now[luma] = 40;  // line 0
      before[luma] = static_cast<std::uint8_t>(40 + c.d0);
      now[kLineBytes + luma] = 100;  // line 1
      before[kLineBytes + luma] = static_cast<std::uint8_t>(100 - c.d1);
      now[2 * kLineBytes + luma] = 90;  // line 2
      before[2 * kLineBytes + luma] = static_cast<std::uint8_t>(90 - c.d2);
    }
    Deinterlacer fresh;
    ASSERT_TRUE(fresh.AcceptInputType(InputFormatKind::kYuy2));
    fresh.SetWeavePath(GetParam());
    RunStep(fresh, before, output, kPalWidth, Settings(kModeTwoFrameWeave), grab);
    RunStep(fresh, now, output, kPalWidth, Settings(kModeTwoFrameWeave), grab);
    for (int unit : {0, 9, 719}) {
      EXPECT_EQ(LumaAt(output, 1, unit), c.still ? 100 : 65)
          << "d0 " << c.d0 << " d2 " << c.d2 << " d1 " << c.d1;
      EXPECT_EQ(LumaAt(output, 0, unit), c.still ? 40 : 52);
    }
  }
}

TEST_P(DeinterlaceStepTest, UyvyIsCopiedAndStillUpdatesTheHistory) {
  ASSERT_TRUE(step.AcceptInputType(InputFormatKind::kUyvy));
  for (std::int32_t mode : {kModeTwoFrameWeave, kModeAdaptive}) {
    const Bytes input = RandomPicture(kHistoryBytes, static_cast<std::uint32_t>(mode));
    const StepResult result = RunStep(step, input, output, kPalWidth, Settings(mode, 0, 0), grab);
    EXPECT_EQ(output, input) << "mode " << mode;
    EXPECT_FALSE(result.woven);
    EXPECT_TRUE(result.historyUpdated);
    EXPECT_EQ(HistoryPrefix(step, input.size()), input) << "mode " << mode;
  }
}

TEST_P(DeinterlaceStepTest, WeaveAfterPassThroughComparesWithTheLastWovenFrame) {
  const Bytes a = RandomPicture(kHistoryBytes, 21);
  const Bytes b = RandomPicture(kHistoryBytes, 22);
  RunStep(step, a, output, kPalWidth, Settings(kModeTwoFrameWeave), grab);
  RunStep(step, b, output, kPalWidth, Settings(kModeByPass), grab);
  RunStep(step, b, output, kPalWidth, Settings(kModeBob), grab);
  // Compared with a, not b: every unit still.
  RunStep(step, a, output, kPalWidth, Settings(kModeTwoFrameWeave), grab);
  EXPECT_EQ(output, a);
}

TEST_P(DeinterlaceStepTest, WeaveUpdatesTheHistoryWithTheInputNotTheOutput) {
  const Bytes input = AlternatingPicture();
  const StepResult result =
      RunStep(step, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);
  EXPECT_TRUE(result.historyUpdated);
  EXPECT_NE(output, input);
  EXPECT_EQ(HistoryPrefix(step, input.size()), input);
}

TEST_P(DeinterlaceStepTest, BytesAfterTheLastWholeLineAreCopied) {
  const std::size_t length = kLineBytes * 500 + 37;
  const Bytes input = RandomPicture(length, 31);
  const StepResult result =
      RunStep(step, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);
  EXPECT_TRUE(result.woven);
  EXPECT_EQ(Bytes(output.end() - 37, output.end()), Bytes(input.end() - 37, input.end()));
  EXPECT_EQ(HistoryPrefix(step, length), input);
}

TEST_P(DeinterlaceStepTest, NonPositiveWidthPassesThrough) {
  const Bytes input = RandomPicture(kHistoryBytes, 51);
  for (int width : {0, -720, INT_MIN}) {
    const StepResult result =
        RunStep(step, input, output, width, Settings(kModeTwoFrameWeave, 0), grab);
    EXPECT_EQ(output, input) << "width " << width;
    EXPECT_FALSE(result.woven);
  }
}

TEST_P(DeinterlaceStepTest, SmallerOutputBufferIsNeverOverrun) {
  const Bytes input = RandomPicture(kHistoryBytes, 61);
  for (std::int32_t mode : {kModeByPass, kModeTwoFrameWeave, kModeAdaptive}) {
    const std::size_t capacity = kLineBytes * 500 + 3;
    Bytes buffer(input.size(), 0xEE);
    FrameBuffers frame;
    frame.input = input.data();
    frame.dataLength = input.size();
    frame.output = buffer.data();
    frame.outputCapacity = capacity;
    frame.width = kPalWidth;
    const StepResult result = step.ProcessFrame(frame, Settings(mode, 0, 0), grab);
    EXPECT_EQ(result.outputLength, capacity);
    EXPECT_EQ(Bytes(buffer.begin() + capacity, buffer.end()), Bytes(input.size() - capacity, 0xEE))
        << "mode " << mode;
    EXPECT_EQ(step.LastFrame().dataLength, static_cast<std::int32_t>(input.size()));
  }
}

TEST_P(DeinterlaceStepTest, MissingHistoryPassesThroughAndServesTheGrab) {
  Deinterlacer noHistory;
  noHistory.SetWeavePath(GetParam());
  const Bytes input = RandomPicture(kHistoryBytes, 71);
  Bytes grabbed(input.size());
  grab.Request(grabbed.data(), GrabState::kRequestGrab);
  const StepResult result =
      RunStep(noHistory, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);
  EXPECT_EQ(output, input);
  EXPECT_FALSE(result.historyUpdated);
  EXPECT_TRUE(result.grabServed);
  EXPECT_EQ(grabbed, input);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, DeinterlaceStepTest,
                         ::testing::Values(WeavePath::kReference, WeavePath::kSse2,
                                           WeavePath::kAvx2),
                         [](const ::testing::TestParamInfo<WeavePath>& info) {
                           switch (info.param) {
                             case WeavePath::kSse2:
                               return "Sse2";
                             case WeavePath::kAvx2:
                               return "Avx2";
                             default:
                               return "Reference";
                           }
                         });

class DeinterlaceGrabTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(step.AcceptInputType(InputFormatKind::kYuy2)); }

  Deinterlacer step;
  GrabState grab;
  Bytes output;
};

TEST_F(DeinterlaceGrabTest, WeaveModesGrabTheOutputPicture) {
  const Bytes input = AlternatingPicture();
  Bytes grabbed(input.size());
  grab.Request(grabbed.data(), GrabState::kRequestGrab);
  EXPECT_EQ(grab.Done(), 0);
  const StepResult result =
      RunStep(step, input, output, kPalWidth, Settings(kModeTwoFrameWeave, 0), grab);
  EXPECT_TRUE(result.grabServed);
  EXPECT_EQ(grab.Done(), 1);
  EXPECT_EQ(grabbed, output);
  EXPECT_NE(grabbed, input);
}

TEST_F(DeinterlaceGrabTest, PassThroughAndSmallFramesGrabTheInput) {
  const Bytes pal = RandomPicture(kHistoryBytes, 81);
  const Bytes small = RandomPicture(640 * 2 * 240, 82);
  struct Case {
    const Bytes* input;
    int width;
    std::int32_t mode;
  };
  const Case cases[] = {{&pal, kPalWidth, kModeByPass},
                        {&pal, kPalWidth, kModeBob},
                        {&small, 640, kModeTwoFrameWeave},
                        {&small, 640, kModeAdaptive}};
  for (const Case& c : cases) {
    Bytes grabbed(c.input->size());
    grab.Request(grabbed.data(), GrabState::kRequestGrab);
    RunStep(step, *c.input, output, c.width, Settings(c.mode), grab);
    EXPECT_EQ(grab.Done(), 1);
    EXPECT_EQ(grabbed, *c.input) << "mode " << c.mode;
  }
}

TEST_F(DeinterlaceGrabTest, OneRequestCopiesOneFrame) {
  const Bytes first = RandomPicture(kHistoryBytes, 91);
  const Bytes second = RandomPicture(kHistoryBytes, 92);
  Bytes grabbed(first.size());
  grab.Request(grabbed.data(), GrabState::kRequestGrab);
  EXPECT_TRUE(RunStep(step, first, output, kPalWidth, Settings(kModeByPass), grab).grabServed);
  EXPECT_FALSE(RunStep(step, second, output, kPalWidth, Settings(kModeByPass), grab).grabServed);
  EXPECT_EQ(grabbed, first);
  EXPECT_EQ(grab.Done(), 1);
  // A new request clears the done flag until the next frame.
  grab.Request(grabbed.data(), GrabState::kRequestGrab);
  EXPECT_EQ(grab.Done(), 0);
  RunStep(step, second, output, kPalWidth, Settings(kModeByPass), grab);
  EXPECT_EQ(grabbed, second);
}

TEST_F(DeinterlaceGrabTest, RequestValuesOtherThanOneNeverCopy) {
  const Bytes input = RandomPicture(kHistoryBytes, 101);
  for (std::int32_t value : {0, 2, -1}) {
    Bytes grabbed(input.size(), 0x11);
    grab.Request(grabbed.data(), value);
    RunStep(step, input, output, kPalWidth, Settings(kModeByPass), grab);
    EXPECT_EQ(grabbed, Bytes(input.size(), 0x11)) << "request " << value;
    EXPECT_EQ(grab.Done(), 0) << "request " << value;
  }
}

TEST_F(DeinterlaceGrabTest, NullGrabBufferIsNeverWritten) {
  const Bytes input = RandomPicture(kHistoryBytes, 111);
  grab.Request(nullptr, GrabState::kRequestGrab);
  const StepResult result = RunStep(step, input, output, kPalWidth, Settings(kModeByPass), grab);
  EXPECT_FALSE(result.grabServed);
  EXPECT_EQ(grab.Done(), 0);
}

TEST(GrabStateTest, ServeCopiesTheGivenBytesForAFrameGrabberWithoutAStep) {
  GrabState grab;
  const Bytes frame = RandomPicture(1000, 121);
  Bytes grabbed(frame.size());
  EXPECT_FALSE(grab.Serve(frame.data(), frame.size()));
  grab.Request(grabbed.data(), GrabState::kRequestGrab);
  EXPECT_TRUE(grab.Serve(frame.data(), frame.size()));
  EXPECT_EQ(grabbed, frame);
  EXPECT_EQ(grab.Done(), 1);
  EXPECT_FALSE(grab.Serve(frame.data(), frame.size()));
}

TEST(GrabStateTest, ReplacedRequestNeverSeesTheOldCopyLandLater) {
  // A copy long enough that the client replaces its request while it runs.
  const Bytes frame(64u << 20, 0x5A);
  Bytes first(frame.size(), 0);
  Bytes second(frame.size(), 0);
  GrabState grab;
  grab.Request(first.data(), GrabState::kRequestGrab);
  std::atomic<bool> started{false};
  std::thread streaming([&] {
    started = true;
    grab.Serve(frame.data(), frame.size());
  });
  while (!started) {
    std::this_thread::yield();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  grab.Request(second.data(), GrabState::kRequestGrab);
  // The client may free the first buffer now: nothing may write it any more.
  const Bytes firstWhenReplaced = first;
  streaming.join();
  EXPECT_TRUE(first == firstWhenReplaced);
  // Done belongs to the second request only once its own frame is copied.
  EXPECT_EQ(grab.Done(), 0);
  EXPECT_TRUE(second == Bytes(frame.size(), 0));
}

TEST(LastFrameInfoTest, ReadersSeeTheFourValuesOfOneFrame) {
  LastFrameInfo last;
  std::atomic<bool> done{false};
  std::thread streaming([&] {
    for (std::int32_t i = 0; !done; i = (i + 1) % 1000) {
      last.Store(FrameInfo{i, i, i, i});
    }
  });
  int torn = 0;
  for (int n = 0; n < 200000; ++n) {
    const FrameInfo info = last.Load();
    if (info.width != info.height || info.height != info.bitsPerPixel ||
        info.bitsPerPixel != info.dataLength) {
      ++torn;
    }
  }
  done = true;
  streaming.join();
  EXPECT_EQ(torn, 0);
}

TEST(LastFrameInfoTest, AllMinusOneBeforeTheFirstFrameThenTheFrameOfTheLastStep) {
  Deinterlacer step;
  const FrameInfo before = step.LastFrame();
  EXPECT_EQ(before.width, -1);
  EXPECT_EQ(before.height, -1);
  EXPECT_EQ(before.bitsPerPixel, -1);
  EXPECT_EQ(before.dataLength, -1);

  GrabState grab;
  Bytes output;
  const Bytes input = RandomPicture(720 * 2 * 480, 131);
  RunStep(step, input, output, 720, Settings(kModeByPass), grab);
  const FrameInfo after = step.LastFrame();
  EXPECT_EQ(after.width, 720);
  EXPECT_EQ(after.height, 480);
  EXPECT_EQ(after.bitsPerPixel, 16);
  EXPECT_EQ(after.dataLength, 720 * 2 * 480);
}

TEST(WeavePathTest, WidestPathTheCpuRunsIsChosenAndOthersFallBack) {
  const WeavePath sse2 = Sse2WeaveAvailable() ? WeavePath::kSse2 : WeavePath::kReference;
  const WeavePath widest = Avx2WeaveAvailable() ? WeavePath::kAvx2 : sse2;
  Deinterlacer step;
  EXPECT_EQ(step.ActiveWeavePath(), widest);
  step.SetWeavePath(WeavePath::kReference);
  EXPECT_EQ(step.ActiveWeavePath(), WeavePath::kReference);
  step.SetWeavePath(WeavePath::kSse2);
  EXPECT_EQ(step.ActiveWeavePath(), sse2);
  step.SetWeavePath(WeavePath::kAvx2);
  EXPECT_EQ(step.ActiveWeavePath(), widest);
  step.SetWeavePath(WeavePath::kAuto);
  EXPECT_EQ(step.ActiveWeavePath(), widest);
  EXPECT_TRUE(!Avx2WeaveAvailable() || Sse2WeaveAvailable());
#if defined(__x86_64__)
  EXPECT_TRUE(CpuHasSse2());  // part of the x86-64 baseline
#endif
}

}  // namespace
}  // namespace brontel

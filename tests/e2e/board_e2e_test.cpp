// The board as the real Brontel.exe drives it under Wine: start-up, source
// switching, channel steps and exit, seen in the virtual board's journal and
// in the registry.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

constexpr DWORD kQuietMs = 2000;

// Every start-up board command up to the audio-mode choice of the first
// source switch, in order. The board opened by kind 7 and the event sink
// come first; the colour of the TV input is sent twice (picture start and
// source switch). Channel 4 of the Japanese table is 171.25 MHz; its
// station carries Mono, A, B and AB, so the preferred A is chosen.
const char* const kStartupJournal[] = {
    "3 R rc=0 {*}",  // board capabilities
    "4 R rc=0 {*}",  // picture size limits
    "6 W rc=0 {2048,&}",
    "113 R rc=0 *",    // the board start check: audio devices
    "214 W rc=0 {0}",  // the deinterlacer is used
    "1 W rc=0 {parent=0x* title=\"Pellamy Screen\" style=0x50000000 p1=0 p2=0 result=* left=0 "
    "top=0 width=* height=*}",
    "205 W rc=0 {kind=0 value=50 *}",
    "205 W rc=0 {kind=1 value=53 *}",
    "205 W rc=0 {kind=2 value=50 *}",
    "205 W rc=0 {kind=3 value=75 *}",
    "204 R rc=0 {kind=4 *}",
    "205 W rc=0 {kind=4 *}",
    "100 W rc=0 {0x*,2}",  // audio connection kind 2 for capability word 6 = 1
    "104 W rc=0 {50}",
    "108 W rc=0 {0}",
    "103 W rc=0 {50}",  // the default volume level 50
    // The source switch to TV; without overlay the deinterlacer is bypassed.
    "214 W rc=0 {1}",
    "206 W rc=0 {0,1}",
    "102 W rc=0 {0}",
    "215 W rc=0 {0}",
    "400 W rc=0 {0}",
    "404 W rc=0 {minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=0 freq=171250000}",
    "110 W rc=0 {1}",
    "205 W rc=0 {kind=0 value=50 *}",
    "205 W rc=0 {kind=1 value=53 *}",
    "205 W rc=0 {kind=2 value=50 *}",
    "205 W rc=0 {kind=3 value=75 *}",
    "204 R rc=0 {kind=4 *}",
    "205 W rc=0 {kind=4 *}",
    "111 R rc=0 buffer",
    "110 W rc=0 {4}",
};

std::string JournalText(const std::vector<JournalLine>& lines) {
  std::string text;
  for (const JournalLine& line : lines) text += line.text + "\n";
  return text;
}

using BoardE2E = BoardE2ETest;

TEST_F(BoardE2E, StartupCompletesWithoutMessageAndStartsTheBoardInOrder) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  // Nothing comes after the reveal either (the audio-mode timer runs 2 s on).
  Sleep(kQuietMs + 500);
  EXPECT_EQ(session.OtherDialog(), nullptr);

  const std::vector<JournalLine> lines = session.journal().Read();
  const size_t expected = sizeof(kStartupJournal) / sizeof(kStartupJournal[0]);
  ASSERT_GE(lines.size(), expected) << JournalText(lines);
  for (size_t i = 0; i < expected; ++i) {
    EXPECT_TRUE(MatchesPattern(lines[i].text, kStartupJournal[i]))
        << "line " << i + 1 << ": " << lines[i].text << "\nexpected: " << kStartupJournal[i];
  }
  // The video window holds the board's picture.
  const std::vector<HWND> video = FindTopWindows(session.program().pid(), nullptr, L"Video Screen");
  ASSERT_EQ(video.size(), 1u);
  EXPECT_TRUE(IsWindowVisible(video[0]));
  EXPECT_NE(FindWindowExW(video[0], nullptr, nullptr, L"Pellamy Screen"), nullptr);
}

TEST_F(BoardE2E, ThreeSourcePressesWithinPendingTimeSwitchOnceToTheThirdSource) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();

  // TV -> Video (connector 0) -> Video (connector 1) -> S-Video (connector 0).
  const DWORD start = GetTickCount();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(session.Command(IDC_BTN_SOURCE));
  const DWORD pressed = GetTickCount();
  ASSERT_LT(pressed - start, 1000u) << "the presses took too long to count as one burst";
  EXPECT_TRUE(session.journal().ReadFrom(first, 206).empty()) << "switched before the timer";

  const std::vector<JournalLine> inputs = WaitForLines(session, first, 206, 1, kJournalTimeoutMs);
  const DWORD switched = GetTickCount();
  ASSERT_EQ(inputs.size(), 1u);
  // 1.5 s after the last press, give or take the timer's resolution.
  EXPECT_GE(switched - pressed, 1300u);
  EXPECT_EQ(inputs[0].block, "{0,3}");  // connector 0, S-Video

  Sleep(kQuietMs);  // no further switch follows
  const std::vector<JournalLine> after = session.journal().ReadFrom(first);
  EXPECT_EQ(session.journal().ReadFrom(first, 206).size(), 1u) << JournalText(after);
  const std::vector<JournalLine> sources = session.journal().ReadFrom(first, 102);
  ASSERT_EQ(sources.size(), 1u) << JournalText(after);
  EXPECT_EQ(sources[0].block, "{1}");  // the line input's sound
  EXPECT_TRUE(session.journal().ReadFrom(first, 404).empty()) << "a video input was tuned";
  EXPECT_TRUE(session.SkinVisible(L"LCD-Src-SVideo"));
  EXPECT_FALSE(session.SkinVisible(L"LCD-Src-TV"));

  // The switch is what the settings keep.
  ExitProgram(session);
  std::wstring source, connector;
  ASSERT_TRUE(ReadAppSetText(L"msCurrSrc", &source));
  ASSERT_TRUE(ReadAppSetText(L"imsCurrSrcIndex", &connector));
  EXPECT_EQ(source, L"2");
  EXPECT_EQ(connector, L"0");
}

struct StepCase {
  const char* name;
  std::vector<int> buttons;
  std::vector<long> hertz;  // one tune per press
  int finalPosition;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.name;
}

class ChannelStepE2E : public BoardE2ETest, public testing::WithParamInterface<StepCase> {};

TEST_P(ChannelStepE2E, TunesTheNeighbouringListEntries) {
  const StepCase& c = GetParam();
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();
  for (int button : c.buttons) ASSERT_TRUE(session.Command(button));

  const std::vector<JournalLine> tunes = session.journal().ReadFrom(first, 404);
  ASSERT_EQ(tunes.size(), c.hertz.size()) << JournalText(session.journal().ReadFrom(first));
  for (size_t i = 0; i < tunes.size(); ++i) {
    EXPECT_EQ(tunes[i].block, FreqBlock(c.hertz[i])) << "press " << i + 1;
  }
  const TestChannel& now = kTestChannels[c.finalPosition - 1];
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"Ch " + std::to_wstring(now.freqChn));
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), now.name);

  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadSettingText(L"TVSet", L"lCurrChn", &stored));
  EXPECT_EQ(stored, std::to_wstring(c.finalPosition));
}

INSTANTIATE_TEST_SUITE_P(
    BoardE2E, ChannelStepE2E,
    testing::Values(StepCase{"DownTwiceWrapsToTheLast",
                             {IDC_BTN_CHN_DOWN, IDC_BTN_CHN_DOWN},
                             {91250000, 519500000},  // the last entry with its 0.25 MHz offset
                             4},
                    // The previous-channel key swaps back and forth.
                    StepCase{"PreviousChannelKeyReturns",
                             {IDC_BTN_CHN_UP, ID_CMD_PREV_CHANNEL, ID_CMD_PREV_CHANNEL},
                             {217250000, 171250000, 217250000},
                             3}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST_F(BoardE2E, StartsOnTheSavedInputAndConnectorWithoutTuning) {
  WriteAppSetLong(L"msCurrSrc", 2);  // S-Video
  WriteAppSetLong(L"imsCurrSrcIndex", 1);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const std::vector<JournalLine> inputs = session.journal().ReadFrom(0, 206);
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_EQ(inputs[0].block, "{1,3}");
  const std::vector<JournalLine> sounds = session.journal().ReadFrom(0, 102);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].block, "{1}");
  EXPECT_TRUE(session.journal().ReadFrom(0, 404).empty());
  EXPECT_TRUE(session.SkinVisible(L"LCD-Src-SVideo"));
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"");
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), L"");
}

// Two FM stations: 80.0 and 81.3 MHz (both received by the virtual board).
struct TestStation {
  long number;
  const wchar_t* presetMHz;
  const wchar_t* name;
  long hertz;
};
constexpr TestStation kTestStations[] = {{1, L"80.000", L"FM Kanto", 80000000},
                                         {2, L"81.300", L"J-Wave", 81300000}};

void WriteStationList() {
  WriteSettingLong(L"RdSet", L"lRDStnCount", 2);
  WriteSettingLong(L"RdSet", L"lCurrStn", 1);
  for (int i = 0; i < 2; ++i) {
    wchar_t group[32];
    swprintf(group, 32, L"RdSet\\StnInfo%02d", i + 1);
    WriteSettingLong(group, L"lStn", kTestStations[i].number);
    WriteSettingText(group, L"dPresetFreq", kTestStations[i].presetMHz);
    WriteSettingText(group, L"dFreqOffset", L"0.000");
    WriteSettingText(group, L"szRDStnName", kTestStations[i].name);
  }
}

void ExpectStationShown(const BrontelSession& session, const TestStation& station) {
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"St " + std::to_wstring(station.number));
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), station.name);
}

TEST_F(BoardE2E, RadioStartTunesTheStationHidesThePictureAndStepsThroughStations) {
  WriteStationList();
  WriteAppSetLong(L"msCurrSrc", 3);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const std::vector<JournalLine> start = session.journal().Read();
  std::vector<std::string> radio;
  for (const JournalLine& line : start) {
    if (line.command == 206 || line.command == 102 || line.command == 400 || line.command == 404) {
      radio.push_back(line.text);
    }
  }
  const std::vector<std::string> expected = {"206 W rc=0 {0,0}", "102 W rc=0 {2}", "400 W rc=0 {1}",
                                             "404 W rc=0 " + FreqBlock(80000000)};
  EXPECT_EQ(radio, expected) << JournalText(start);
  // No colour for the radio.
  EXPECT_TRUE(session.journal().ReadFrom(0, 205).empty());
  EXPECT_TRUE(session.SkinVisible(L"LCD-Src-Radio"));
  EXPECT_TRUE(session.SkinVisible(L"LCD-PVRMode-WMA"));
  ExpectStationShown(session, kTestStations[0]);
  for (HWND video : FindTopWindows(session.program().pid(), nullptr, L"Video Screen")) {
    EXPECT_FALSE(IsWindowVisible(video)) << "the radio has no picture";
  }

  size_t first = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_CHN_UP));
  ASSERT_TRUE(session.Command(IDC_BTN_CHN_UP));  // wraps to the first
  ASSERT_TRUE(session.Command(ID_CMD_DIGIT0 + 2));
  const std::vector<JournalLine> tunes = session.journal().ReadFrom(first, 404);
  ASSERT_EQ(tunes.size(), 3u);
  EXPECT_EQ(tunes[0].block, FreqBlock(81300000));
  EXPECT_EQ(tunes[1].block, FreqBlock(80000000));
  EXPECT_EQ(tunes[2].block, FreqBlock(81300000));
  ExpectStationShown(session, kTestStations[1]);

  // Live on the radio, the rewind key steps down a station.
  first = session.journal().Size();
  ASSERT_TRUE(session.Command(ID_CMD_REWIND));
  const std::vector<JournalLine> down = session.journal().ReadFrom(first, 404);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].block, FreqBlock(80000000));
  ExpectStationShown(session, kTestStations[0]);

  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadSettingText(L"RdSet", L"lCurrStn", &stored));
  EXPECT_EQ(stored, L"1");
}

TEST_F(BoardE2E, VideoWindowAndPanelArePlacedFromSettingsAndKeptThere) {
  const struct {
    const wchar_t* name;
    long value;
  } placed[] = {{L"lScreenXPos", 100},  {L"lScreenYPos", 80}, {L"lScreenXSize", 320},
                {L"lScreenYSize", 240}, {L"lPanelXPos", 200}, {L"lPanelYPos", 400}};
  for (const auto& value : placed) WriteAppSetLong(value.name, value.value);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");

  const std::vector<HWND> video = FindTopWindows(session.program().pid(), nullptr, L"Video Screen");
  ASSERT_EQ(video.size(), 1u);
  RECT rect;
  ASSERT_TRUE(GetWindowRect(video[0], &rect));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  RECT client;
  ASSERT_TRUE(GetClientRect(video[0], &client));
  // The board's picture fills the video window's client area.
  const std::vector<JournalLine> created = session.journal().ReadFrom(0, 1);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_NE(created[0].block.find(" width=" + std::to_string(client.right) +
                                  " height=" + std::to_string(client.bottom) + "}"),
            std::string::npos)
      << created[0].text;
  ASSERT_TRUE(GetWindowRect(session.dialog(), &rect));
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 400);

  ExitProgram(session);
  for (const auto& value : placed) {
    std::wstring stored;
    EXPECT_TRUE(ReadAppSetText(value.name, &stored));
    EXPECT_EQ(stored, std::to_wstring(value.value)) << Narrow(value.name);
  }
}

TEST_F(BoardE2E, ExitStopsAudioDestroysPictureClosesBoardAndSavesSettings) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ASSERT_TRUE(session.Command(IDC_BTN_VOL_UP));  // 50 -> 60
  ASSERT_TRUE(session.Command(IDC_BTN_CHN_UP));  // position 2 -> 3
  const size_t first = session.journal().Size();

  ExitProgram(session);
  const std::vector<JournalLine> lines = session.journal().ReadFrom(first);
  // The exit command lets the sound through, then the clean-up a second
  // later stops the audio and destroys the picture; closing the board frees
  // it, after which the board hears nothing more.
  std::vector<std::string> board;
  for (const JournalLine& line : lines) {
    if (line.command != 111 && line.command != 110) board.push_back(line.text);
  }
  const std::vector<std::string> expected = {"108 W rc=0 {0}", "101 W rc=0 -", "2 W rc=0 -"};
  EXPECT_EQ(board, expected) << JournalText(lines);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().text, "2 W rc=0 -") << JournalText(lines);

  struct Saved {
    const wchar_t* group;
    const wchar_t* name;
    const wchar_t* value;
  };
  const Saved saved[] = {
      {L"AppSet", L"lVolLevel", L"60"},
      {L"AppSet", L"msCurrSrc", L"0"},
      {L"AppSet", L"bAudioOn", L"1"},
      {L"AppSet", L"imsCurrSrcIndex", L"0"},
      {L"TVSet", L"lCurrChn", L"3"},
      {L"TVSet", L"lTVChnCount", L"4"},
      {L"TVSet\\ChnInfo004", L"dFreqOffset", L"0.250"},
      {L"TVSet\\ChnInfo002", L"szTVStnName", kTestChannels[1].name},
  };
  for (const Saved& s : saved) {
    std::wstring stored;
    EXPECT_TRUE(ReadSettingText(s.group, s.name, &stored)) << Narrow(s.name);
    EXPECT_EQ(stored, s.value) << Narrow(s.group) << " " << Narrow(s.name);
  }
  // The panel's place is written too.
  std::wstring position;
  EXPECT_TRUE(ReadSettingText(L"AppSet", L"lPanelXPos", &position));
}

TEST_F(BoardE2E, ExitKeyWithASourceSwitchPendingEndsCleanly) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ASSERT_TRUE(session.Command(IDC_BTN_SOURCE));
  ASSERT_TRUE(session.Command(ID_CMD_EXIT));
  bool sawBox = false;
  WaitUntil(
      [&] {
        if (session.OtherDialog() != nullptr) sawBox = true;
        return !session.program().IsRunning();
      },
      kExitTimeoutMs);
  EXPECT_FALSE(sawBox);
  ASSERT_TRUE(session.program().WaitForExit(0)) << "still running after exit";
  const std::vector<JournalLine> lines = session.journal().Read();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().text, "2 W rc=0 -");
  // The source in use when the exit came is what is kept.
  std::wstring source;
  ASSERT_TRUE(ReadAppSetText(L"msCurrSrc", &source));
  EXPECT_EQ(source, L"0");
}

}  // namespace
}  // namespace brontel::e2e

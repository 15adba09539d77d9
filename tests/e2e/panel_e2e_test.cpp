// The skinned main panel of the real Brontel.exe under Wine: what the skin
// shows (read through the skin control's inspection message), the label
// texts, and the board commands the panel's buttons and keys cause.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using PanelE2E = BoardE2ETest;

// Puts a modified copy of the installed AppSkin.skn in place and the real
// one back on destruction.
class InstalledSkinSwap {
 public:
  InstalledSkinSwap() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    m_installed = std::wstring(windows) + L"\\AppSkin.skn";
    m_backup = TestOutputDir() + L"AppSkin.skn.installed";
    m_saved = CopyFileW(m_installed.c_str(), m_backup.c_str(), FALSE) != 0;
  }
  ~InstalledSkinSwap() {
    if (m_saved) CopyFileW(m_backup.c_str(), m_installed.c_str(), FALSE);
  }
  InstalledSkinSwap(const InstalledSkinSwap&) = delete;
  InstalledSkinSwap& operator=(const InstalledSkinSwap&) = delete;

  bool saved() const { return m_saved; }

  // Installs the skin without the element `name` (its line and the lines
  // that belong to it). False when the skin has no such element.
  bool InstallWithout(const std::string& name) {
    std::ifstream in(m_backup.c_str(), std::ios::binary);
    std::ostringstream out;
    std::string line;
    bool skipping = false;
    bool removed = false;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string first, second;
      words >> first >> second;
      const bool starts = line.compare(0, 8, "element ") == 0 || line.compare(0, 7, "define ") == 0;
      if (starts) skipping = first == "element" && second == name;
      if (skipping) {
        removed = true;
        continue;
      }
      out << line << "\n";
    }
    if (!removed) return false;
    std::ofstream file(m_installed.c_str(), std::ios::binary | std::ios::trunc);
    file << out.str();
    return file.good();
  }

 private:
  std::wstring m_installed;
  std::wstring m_backup;
  bool m_saved = false;
};

// What each bad skin does to binding is checked against the panel binding
// under Wine; this is the one path through the real program.
TEST_F(PanelE2E, SkinLackingAnElementIsRefusedAndTheProgramEndsThroughShutdown) {
  InstalledSkinSwap swap;
  ASSERT_TRUE(swap.saved()) << "no installed AppSkin.skn";
  ASSERT_TRUE(swap.InstallWithout("LCD-Sound-AB"));

  BrontelSession session(JournalName());
  ASSERT_TRUE(session.Start(L""));
  HWND box = WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kPanelTimeoutMs);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(WindowText(box), LoadLibraryString(kJapaneseLibrary, IDS_CAPTION));
  const std::wstring expected = LoadLibraryString(kJapaneseLibrary, IDS_ERR_ELEMENT_MISSING);
  ASSERT_FALSE(expected.empty());
  EXPECT_NE(StaticTexts(box).find(expected), std::wstring::npos);
  // The skin control has no such element.
  EXPECT_EQ(session.SkinField(L"LCD-Sound-AB", skin::kFieldVisible), skin::kSkinNoValue);

  ClickButton(box, IDOK);
  EXPECT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "still running after OK";
  // The shutdown came before the board was ever created.
  EXPECT_TRUE(session.journal().Read().empty());
  EXPECT_TRUE(FindTopWindows(session.program().pid(), nullptr, L"Video Screen").empty());
}

struct SourceStep {
  const wchar_t* indicator;
  const char* inputBlock;  // the SelectVideoInput line: connector, kind
  bool tv;
};

const wchar_t* const kSourceIndicators[] = {L"LCD-Src-TV", L"LCD-Src-Video", L"LCD-Src-SVideo",
                                            L"LCD-Src-Radio"};

void ExpectOnlyIndicator(const BrontelSession& session, const wchar_t* shown) {
  for (const wchar_t* indicator : kSourceIndicators) {
    EXPECT_EQ(session.SkinVisible(indicator), indicator == std::wstring(shown))
        << Narrow(indicator) << " while " << Narrow(shown) << " is the source";
  }
}

void ExpectTvLabels(const BrontelSession& session) {
  const TestChannel& current = kTestChannels[kStartPosition - 1];
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"Ch " + std::to_wstring(current.freqChn));
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), current.name);
}

TEST_F(PanelE2E, SourceButtonCyclesSourcesAndIndicatorsAndLabelsFollow) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ExpectOnlyIndicator(session, L"LCD-Src-TV");
  ExpectTvLabels(session);

  // The virtual board has a tuner and both inputs on both connectors.
  const SourceStep steps[] = {
      {L"LCD-Src-Video", "{0,2}", false},  {L"LCD-Src-Video", "{1,2}", false},
      {L"LCD-Src-SVideo", "{0,3}", false}, {L"LCD-Src-SVideo", "{1,3}", false},
      {L"LCD-Src-Radio", "{0,0}", false},  {L"LCD-Src-TV", "{0,1}", true},
  };
  for (const SourceStep& step : steps) {
    SCOPED_TRACE(Narrow(step.indicator) + " " + step.inputBlock);
    const size_t first = session.journal().Size();
    ASSERT_TRUE(session.Command(IDC_BTN_SOURCE));
    // The pending choice shows at once, the switch follows 1.5 s later.
    ExpectOnlyIndicator(session, step.indicator);
    const std::vector<JournalLine> inputs = WaitForLines(session, first, 206, 1, kJournalTimeoutMs);
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].block, step.inputBlock);
    // The refresh after the switch runs in the same timer message.
    WaitUntil([&] { return session.ItemText(IDC_LABEL_CHN_NUM) != L" "; }, 500);
    ExpectOnlyIndicator(session, step.indicator);
    if (step.tv) {
      ExpectTvLabels(session);
      const std::vector<JournalLine> tunes = session.journal().ReadFrom(first, 404);
      ASSERT_FALSE(tunes.empty());
      EXPECT_EQ(tunes.back().block, FreqBlock(kTestChannels[kStartPosition - 1].hertz));
    } else if (std::wstring(step.indicator) != L"LCD-Src-Radio") {
      EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"");
      EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), L"");
    }
  }
}

enum class Tune { kAtOnce, kAfterEntryTime };

struct DigitCase {
  const char* name;
  std::vector<int> commands;
  Tune when;
  int position;  // the list position tuned, 1-based
};

constexpr int kDigit0 = ID_CMD_DIGIT0;
constexpr int kEntryKey = ID_CMD_DIGIT_ENTRY;
constexpr DWORD kEntryMs = 3000;

void PrintTo(const DigitCase& c, std::ostream* os) {
  *os << c.name;
}

class DigitEntryE2E : public BoardE2ETest, public testing::WithParamInterface<DigitCase> {};

TEST_P(DigitEntryE2E, MenuDigitsTuneTheTypedChannel) {
  const DigitCase& c = GetParam();
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();
  for (int command : c.commands) ASSERT_TRUE(session.Command(command));
  const DWORD typed = GetTickCount();

  if (c.when == Tune::kAfterEntryTime) {
    Sleep(kEntryMs - 1000);
    EXPECT_TRUE(session.journal().ReadFrom(first, 404).empty()) << "tuned before the time";
    ASSERT_EQ(WaitForLines(session, first, 404, 1, kJournalTimeoutMs).size(), 1u);
    EXPECT_GE(GetTickCount() - typed, kEntryMs - 300);
  }
  const std::vector<JournalLine> tunes = session.journal().ReadFrom(first, 404);
  ASSERT_EQ(tunes.size(), 1u);
  const TestChannel& channel = kTestChannels[c.position - 1];
  EXPECT_EQ(tunes[0].block, FreqBlock(channel.hertz));
  WaitUntil([&] { return session.ItemText(IDC_LABEL_CHN_NAME) == channel.name; }, 500);
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NUM), L"Ch " + std::to_wstring(channel.freqChn));
  EXPECT_EQ(session.ItemText(IDC_LABEL_CHN_NAME), channel.name);
}

INSTANTIATE_TEST_SUITE_P(PanelE2E, DigitEntryE2E,
                         testing::Values(
                             // Without the entry key a digit selects at once.
                             DigitCase{"OneWithoutEntryKey", {kDigit0 + 1}, Tune::kAtOnce, 1},
                             // 12 is below 20: it waits for the entry time.
                             DigitCase{"EntryKeyOneTwoThenWait",
                                       {kEntryKey, kDigit0 + 1, kDigit0 + 2},
                                       Tune::kAfterEntryTime,
                                       3}),
                         [](const testing::TestParamInfo<DigitCase>& info) {
                           return std::string(info.param.name);
                         });

struct Rect {
  long left, top, width, height;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

Rect ElementRect(const BrontelSession& session, const wchar_t* name) {
  return Rect{session.SkinField(name, skin::kFieldLeft), session.SkinField(name, skin::kFieldTop),
              session.SkinField(name, skin::kFieldWidth),
              session.SkinField(name, skin::kFieldHeight)};
}

// The meter grows from the bottom of its region in bands of a tenth of the
// region's height; step 0 hides it.
Rect MeterFor(const Rect& region, int step) {
  if (step <= 0) return Rect{region.left, region.top, 0, 0};
  const long band = region.height / 10;
  return Rect{region.left, region.top + (10 - step) * band, region.width, step * band};
}

void ExpectMeter(const BrontelSession& session, int step) {
  const Rect region = ElementRect(session, L"VolMeterRgn");
  ASSERT_GT(region.height, 0);
  const Rect meter = ElementRect(session, L"VolMeter");
  const Rect expected = MeterFor(region, step);
  if (step == 0) {
    EXPECT_EQ(meter.width, 0);
    EXPECT_EQ(meter.height, 0);
    EXPECT_FALSE(session.SkinVisible(L"VolMeter"));
    return;
  }
  EXPECT_TRUE(meter == expected) << "meter " << meter.left << "," << meter.top << " " << meter.width
                                 << "x" << meter.height << ", expected " << expected.left << ","
                                 << expected.top << " " << expected.width << "x" << expected.height;
  EXPECT_TRUE(session.SkinVisible(L"VolMeter"));
}

// The meter's bands and the volume bounds are checked natively; this is the
// path from the button to the board, the skin and the registry.
TEST_F(PanelE2E, VolumeButtonsMoveTheMeterAndSendSetVolume) {
  WriteAppSetLong(L"lVolLevel", 50);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ExpectMeter(session, 5);

  const size_t first = session.journal().Size();
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(session.Command(IDC_BTN_VOL_DOWN));
  const std::vector<JournalLine> volumes = session.journal().ReadFrom(first, 103);
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes.back().block, "{30}");
  ExpectMeter(session, 3);

  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadAppSetText(L"lVolLevel", &stored));
  EXPECT_EQ(stored, L"30");
}

void ExpectSoundFaces(const BrontelSession& session, bool on) {
  EXPECT_EQ(session.SkinVisible(L"AudioOnBtn"), on);
  EXPECT_EQ(session.SkinVisible(L"AudioOffBtn"), !on);
  EXPECT_EQ(session.SkinVisible(L"VolUpBtn-D"), !on);
  EXPECT_EQ(session.SkinVisible(L"VolDnBtn-D"), !on);
}

// The mute is kept across a restart, and the panel never shows a mute the
// board does not have (or the other way round).
TEST_F(PanelE2E, MuteIsSavedAndTheNextStartIsStillMuted) {
  {
    BrontelSession session(JournalName());
    StartToPanel(session, L"");
    ASSERT_TRUE(session.Command(IDC_BTN_SOUND_TOGGLE));
    ExitProgram(session);
  }
  std::wstring stored;
  ASSERT_TRUE(ReadAppSetText(L"bAudioOn", &stored));
  EXPECT_EQ(stored, L"0");

  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ExpectSoundFaces(session, false);
  const std::vector<JournalLine> paths = session.journal().ReadFrom(0, 108);
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.back().block, "{3}") << "the panel shows muted, the board plays the sound";

  // One press brings the sound back.
  const size_t first = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_SOUND_TOGGLE));
  ExpectSoundFaces(session, true);
  const std::vector<JournalLine> after = session.journal().ReadFrom(first, 108);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].block, "{0}");
}

// The quality button steps Normal, High, Custom, Long and round again; the
// indicator follows and the choice is saved.
TEST_F(PanelE2E, QualityButtonCyclesTheRecordingModes) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const wchar_t* const indicators[] = {L"LCD-PVRMode-Long", L"LCD-PVRMode-Normal",
                                       L"LCD-PVRMode-High", L"LCD-PVRMode-Custom"};
  const int expected[] = {2, 3, 0, 1};  // from the default Normal (1)
  for (int mode : expected) {
    ASSERT_TRUE(session.Command(IDC_BTN_REC_QUALITY));
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(session.SkinVisible(indicators[i]), i == mode)
          << Narrow(indicators[i]) << " while the mode is " << mode;
    }
    EXPECT_FALSE(session.SkinVisible(L"LCD-PVRMode-WMA"));
  }
  ASSERT_TRUE(session.Command(IDC_BTN_REC_QUALITY));  // High
  ExitProgram(session);
  std::wstring stored;
  ASSERT_TRUE(ReadAppSetText(L"cmCurrRecMode", &stored));
  EXPECT_EQ(stored, L"2");
}

const wchar_t* const kSoundIndicators[] = {L"LCD-Sound-Mono", L"LCD-Sound-Stereo", L"LCD-Sound-A",
                                           L"LCD-Sound-B", L"LCD-Sound-AB"};

void ExpectOnlySoundIndicator(const BrontelSession& session, const wchar_t* shown) {
  for (const wchar_t* indicator : kSoundIndicators) {
    EXPECT_EQ(session.SkinVisible(indicator), indicator == std::wstring(shown))
        << Narrow(indicator) << " while the mode is " << Narrow(shown);
  }
}

TEST_F(PanelE2E, SoundModeButtonCyclesTheModesTheStationCarries) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  // Channel 4 is bilingual (Mono, A, B, AB): the preferred A was chosen.
  ExpectOnlySoundIndicator(session, L"LCD-Sound-A");
  EXPECT_TRUE(session.SkinVisible(L"LCD-PVRMode-Normal"));
  EXPECT_FALSE(session.SkinVisible(L"LCD-PVRMode-WMA"));

  struct Step {
    const char* block;
    const wchar_t* indicator;
  };
  // Stereo is skipped: the station does not carry it.
  const Step steps[] = {{"{8}", L"LCD-Sound-B"},
                        {"{16}", L"LCD-Sound-AB"},
                        {"{1}", L"LCD-Sound-Mono"},
                        {"{4}", L"LCD-Sound-A"}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.block);
    const size_t first = session.journal().Size();
    ASSERT_TRUE(session.Command(IDC_BTN_SOUND_MODE));
    const std::vector<JournalLine> modes = session.journal().ReadFrom(first, 110);
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.front().block, step.block);
    EXPECT_EQ(modes.front().rc, 0);
    ExpectOnlySoundIndicator(session, step.indicator);
  }
}

TEST_F(PanelE2E, SoundModeFollowsTheNewChannelTwoSecondsAfterTheStep) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ExpectOnlySoundIndicator(session, L"LCD-Sound-A");
  const size_t first = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_CHN_UP));  // channel 12: Mono and Stereo
  const DWORD stepped = GetTickCount();
  // Timer 300 chooses the mode 2 s after the step: Stereo, carried now.
  std::vector<JournalLine> modes;
  ASSERT_TRUE(WaitUntil(
      [&] {
        modes = session.journal().ReadFrom(first, 110);
        return !modes.empty();
      },
      kJournalTimeoutMs));
  EXPECT_GE(GetTickCount() - stepped, 1700u);
  EXPECT_EQ(modes[0].block, "{2}");
  EXPECT_EQ(modes[0].rc, 0);
  ASSERT_TRUE(WaitUntil([&] { return session.SkinVisible(L"LCD-Sound-Stereo"); }, 1000));
  ExpectOnlySoundIndicator(session, L"LCD-Sound-Stereo");
}

// Presses the left button over the centre of a skin element, holds it for
// `holdMs` and lets go, as the mouse would.
void PressSkinElement(const BrontelSession& session, const wchar_t* name, DWORD holdMs) {
  const long left = session.SkinField(name, skin::kFieldLeft);
  const long top = session.SkinField(name, skin::kFieldTop);
  const long width = session.SkinField(name, skin::kFieldWidth);
  const long height = session.SkinField(name, skin::kFieldHeight);
  ASSERT_GT(width, 0) << Narrow(name);
  const LPARAM at = MAKELPARAM(left + width / 2, top + height / 2);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(session.skin(), WM_MOUSEMOVE, 0, at, SMTO_ABORTIFHUNG, 5000, &result);
  SendMessageTimeoutW(session.skin(), WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_ABORTIFHUNG, 5000,
                      &result);
  if (holdMs > 0) Sleep(holdMs);
  SendMessageTimeoutW(session.skin(), WM_LBUTTONUP, 0, at, SMTO_ABORTIFHUNG, 5000, &result);
}

TEST_F(PanelE2E, HoldingTheSkinVolumeButtonRepeatsUntilRelease) {
  WriteAppSetLong(L"lVolLevel", 20);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");

  // A click is one step.
  size_t first = session.journal().Size();
  PressSkinElement(session, L"VolUpBtn", 0);
  std::vector<JournalLine> volumes = session.journal().ReadFrom(first, 103);
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0].block, "{30}");

  // Held: after a 500 ms start a step every 500 ms, and one more on release.
  first = session.journal().Size();
  PressSkinElement(session, L"VolUpBtn", 1750);
  volumes = session.journal().ReadFrom(first, 103);
  // Nominally three steps (at 1000 and 1500 ms and on release); a busy
  // machine's late timers may drop one, but without the repeat it is one.
  ASSERT_GE(volumes.size(), 2u);
  ASSERT_LE(volumes.size(), 4u);
  for (size_t i = 0; i < volumes.size(); ++i) {
    EXPECT_EQ(volumes[i].block, "{" + std::to_string(40 + 10 * i) + "}");
  }
  const size_t released = session.journal().ReadFrom(0, 103).size();
  Sleep(1500);  // the repeat has stopped
  EXPECT_EQ(session.journal().ReadFrom(0, 103).size(), released);
  ExpectMeter(session, static_cast<int>(3 + volumes.size()));
}

TEST_F(PanelE2E, FullScreenButtonTogglesTheVideoWindow) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const std::vector<HWND> video = FindTopWindows(session.program().pid(), nullptr, L"Video Screen");
  ASSERT_EQ(video.size(), 1u);
  RECT normal;
  ASSERT_TRUE(GetWindowRect(video[0], &normal));

  ASSERT_TRUE(session.Command(IDC_BTN_FULL_SCREEN));
  // The picture's area covers the whole screen (the frame lies beyond it).
  RECT full{};
  const auto coversScreen = [&] {
    GetClientRect(video[0], &full);
    MapWindowPoints(video[0], nullptr, reinterpret_cast<POINT*>(&full), 2);
    return full.left <= 0 && full.top <= 0 && full.right >= GetSystemMetrics(SM_CXSCREEN) &&
           full.bottom >= GetSystemMetrics(SM_CYSCREEN);
  };
  EXPECT_TRUE(WaitUntil(coversScreen, 2000))
      << full.left << "," << full.top << " " << full.right << "," << full.bottom;

  ASSERT_TRUE(session.Command(IDC_BTN_FULL_SCREEN));
  RECT back;
  ASSERT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(video[0], &back);
        return back.right - back.left == normal.right - normal.left;
      },
      2000));
  EXPECT_EQ(back.left, normal.left);
  EXPECT_EQ(back.top, normal.top);
  EXPECT_EQ(back.bottom - back.top, normal.bottom - normal.top);
}

// Actions whose features come later do nothing yet; none may raise a
// message or end the program.
TEST_F(PanelE2E, EveryOtherButtonAndKeyLeavesTheProgramRunningWithoutMessage) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  // Recording, time shift and play have suites of their own: play asks for
  // a file, the other two write to the recording folder.
  const std::vector<int> media = {IDC_BTN_PLAY, IDC_BTN_RECORD, IDC_BTN_TIMESHIFT,
                                  ID_CMD_PLAY,  ID_CMD_RECORD,  ID_CMD_TIMESHIFT};
  const auto isMedia = [&](int id) {
    return std::find(media.begin(), media.end(), id) != media.end();
  };
  std::vector<int> commands;
  for (int id = IDC_BTN_FIRST; id <= IDC_BTN_LAST; ++id) {
    // Reservation mode, exit and minimise leave the panel by design; the
    // settings sheet is modal (its own tests open it).
    if (id != IDC_BTN_RESERVATION && id != IDC_BTN_EXIT && id != IDC_BTN_TO_TRAY &&
        id != IDC_BTN_SETTINGS && !isMedia(id)) {
      commands.push_back(id);
    }
  }
  for (int id = ID_SIZE_PRESET0; id <= ID_CMD_SETTINGS; ++id) {
    if (id != ID_CMD_EXIT && id != ID_CMD_SETTINGS && !isMedia(id)) commands.push_back(id);
  }
  for (int command : commands) {
    ASSERT_TRUE(session.Command(command)) << command << " hung the program";
    HWND box = session.OtherDialog();
    ASSERT_EQ(box, nullptr) << "after " << command << ": " << Narrow(StaticTexts(box));
    ASSERT_TRUE(session.program().IsRunning()) << "ended by " << command;
  }
  Sleep(kEntryMs + 500);  // pending switches and digit entry run out
  EXPECT_EQ(session.OtherDialog(), nullptr);
  EXPECT_TRUE(session.program().IsRunning());
  EXPECT_TRUE(session.SkinVisible(L"MainPanel"));
  ExitProgram(session);
}

// Keys and buttons pressed while the splash still shows find no board yet;
// they must not bring up the board error or disturb the start.
TEST_F(PanelE2E, CommandsDuringTheSplashAreIgnoredWithoutBoardError) {
  TitledWindow saver(L"screensaver");  // holds the splash four seconds longer
  BrontelSession session(JournalName());
  ASSERT_TRUE(session.Start(L""));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session.dialog()) != FALSE; }, 10000));
  ASSERT_TRUE(session.SkinVisible(L"Splash"));
  for (int command :
       {IDC_BTN_CHN_UP, ID_CMD_CHN_DOWN, IDC_BTN_VOL_UP, ID_CMD_VOL_DOWN, IDC_BTN_SOURCE,
        IDC_BTN_SOUND_MODE, IDC_BTN_SOUND_TOGGLE, ID_CMD_DIGIT0 + 1, ID_CMD_SOUND_TOGGLE}) {
    PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
  }
  Sleep(1000);
  HWND box = session.OtherDialog();
  EXPECT_EQ(box, nullptr) << Narrow(StaticTexts(box));
  if (box != nullptr) ClickButton(box, IDOK);
  EXPECT_TRUE(session.SkinVisible(L"Splash"));

  ASSERT_TRUE(session.WaitForPanel(kPanelTimeoutMs));
  Sleep(2000);  // a source switch would have come by now
  box = session.OtherDialog();
  EXPECT_EQ(box, nullptr) << Narrow(StaticTexts(box));
  // The start went as always: TV on channel 4, volume 50, sound on.
  const std::vector<JournalLine> inputs = session.journal().ReadFrom(0, 206);
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_EQ(inputs[0].block, "{0,1}");
  ExpectTvLabels(session);
  ExpectSoundFaces(session, true);
  ExpectMeter(session, 5);
}

struct ShotCase {
  const char* name;
  const wchar_t* arguments;
};

void PrintTo(const ShotCase& c, std::ostream* os) {
  *os << c.name;
}

class PanelScreenshotE2E : public BoardE2ETest, public testing::WithParamInterface<ShotCase> {};

TEST_P(PanelScreenshotE2E, SplashThenMainPanel) {
  const ShotCase& c = GetParam();
  const std::wstring lang(c.name, c.name + strlen(c.name));
  // A "screen saver" holds the start-up four seconds longer, time enough to
  // photograph the splash.
  TitledWindow saver(L"screensaver");
  BrontelSession session(JournalName());
  ASSERT_TRUE(session.Start(c.arguments));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(session.dialog()) != FALSE; }, 10000));
  ASSERT_TRUE(session.SkinVisible(L"Splash"));
  EXPECT_FALSE(session.SkinVisible(L"MainPanel"));
  PaintNow(session.dialog());
  EXPECT_TRUE(
      SaveWindowScreenshot(session.dialog(), TestOutputDir() + L"splash_" + lang + L".png"));
  EXPECT_TRUE(session.SkinVisible(L"Splash")) << "the splash went before its picture was taken";

  ASSERT_TRUE(session.WaitForPanel(kPanelTimeoutMs));
  EXPECT_EQ(session.OtherDialog(), nullptr);
  EXPECT_FALSE(session.SkinVisible(L"Splash"));
  // The labels carry the channel, and the video window shows more than its
  // background, before the pictures are taken.
  EXPECT_TRUE(
      WaitUntil([&] { return session.ItemText(IDC_LABEL_CHN_NUM).size() > 1; }, kPanelTimeoutMs));
  PaintNow(session.dialog());
  EXPECT_TRUE(SaveWindowScreenshot(session.dialog(), TestOutputDir() + L"panel_" + lang + L".png"));
  const std::vector<HWND> video = FindTopWindows(session.program().pid(), nullptr, L"Video Screen");
  if (!video.empty()) {
    EXPECT_TRUE(WaitUntil(
        [&] {
          HWND screen = FindWindowExW(video[0], nullptr, nullptr, L"Pellamy Screen");
          const test_support::Capture picture = test_support::CaptureScreenOf(screen);
          if (picture.pixels.empty()) return false;
          for (std::uint32_t pixel : picture.pixels) {
            if (pixel != picture.pixels.front()) return true;
          }
          return false;
        },
        kPanelTimeoutMs))
        << "the video window shows nothing";
    SaveWindowScreenshot(video[0], TestOutputDir() + L"video_" + lang + L".png");
  }
  ExpectTvLabels(session);
}

INSTANTIATE_TEST_SUITE_P(PanelE2E, PanelScreenshotE2E,
                         testing::Values(ShotCase{"Japanese", L""}, ShotCase{"English", L"l:1000"}),
                         [](const testing::TestParamInfo<ShotCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace brontel::e2e

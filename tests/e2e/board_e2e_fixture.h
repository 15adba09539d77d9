#pragma once
// The common ground of the tests that run Brontel.exe on the virtual board:
// a known registry with a small channel list, the board journal of each test
// in <build>/test-output, and no copy of the program left running.

#include <gtest/gtest.h>

#include <string>

#include "e2e/e2e_harness.h"
#include "lang/resource_ids.h"
#include "skin/skin_control.h"

namespace brontel::e2e {

constexpr wchar_t kBrontelExe[] = L"Brontel.exe";
constexpr wchar_t kJapaneseLibrary[] = L"BrontelResJapan.dll";
constexpr wchar_t kEnglishLibrary[] = L"BrontelResEnglh.dll";
// Generous: a first Wine start on a busy machine takes a few seconds.
constexpr DWORD kPanelTimeoutMs = 25000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kJournalTimeoutMs = 5000;

// One entry of the user's TV channel list, with the frequency the shipped
// Japanese broadcast table (TVFreqBroad_81.ini) gives it plus its offset.
struct TestChannel {
  long freqChn;
  const wchar_t* offsetMHz;
  const wchar_t* name;
  long hertz;
};

// Virtual stations sit on 1, 4 and 12; 21 is noise, fine-tuned by 0.25 MHz.
inline constexpr TestChannel kTestChannels[] = {
    {1, L"0.000", L"NHK G", 91250000},
    {4, L"0.000", L"\u65E5\u672C\u30C6\u30EC\u30D3", 171250000},  // a Japanese station name
    {12, L"0.000", L"TV Tokyo", 217250000},
    {21, L"0.250", L"UHF 21", 519500000},
};
constexpr int kTestChannelCount = 4;
// The list starts on its second entry, channel 4.
constexpr int kStartPosition = 2;

inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

inline std::string FreqBlock(long hertz) {
  return "{minChn=0 maxChn=0 minFreq=0 maxFreq=0 chn=0 freq=" + std::to_string(hertz) + "}";
}

class BoardE2ETest : public testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(kBrontelExe);
    ResetProductSettings();
    // A start-up test that failed half-way may have left it unregistered.
    if (!ApiManagerRegistered()) RegisterApiManager();
    ASSERT_TRUE(ApiManagerRegistered());
    WriteAppSetLong(L"bHideNoOvrlaySpt", 1);
    WriteChannelList();
  }
  void TearDown() override {
    KillProcessesNamed(kBrontelExe);
    ResetProductSettings();
  }

  static void WriteChannelList() {
    WriteSettingLong(L"TVSet", L"lTVChnCount", kTestChannelCount);
    WriteSettingLong(L"TVSet", L"lCurrChn", kStartPosition);
    for (int i = 0; i < kTestChannelCount; ++i) {
      const TestChannel& c = kTestChannels[i];
      wchar_t group[32];
      swprintf(group, 32, L"TVSet\\ChnInfo%03d", i + 1);
      WriteSettingLong(group, L"lChn", i + 1);
      WriteSettingLong(group, L"lFreqChn", c.freqChn);
      WriteSettingText(group, L"dPresetFreq", L"0.000");
      WriteSettingText(group, L"dFreqOffset", c.offsetMHz);
      WriteSettingText(group, L"szTVStnName", c.name);
      WriteSettingText(group, L"szTVPIStnName", L"");
    }
  }

  // A journal file named after the running test.
  static std::wstring JournalName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& ch : name) {
      if (ch == '/' || ch == '\\') ch = '_';
    }
    return std::wstring(name.begin(), name.end()) + L".journal.txt";
  }

  // Starts Brontel and waits for the revealed panel; no message box may
  // come on the way.
  static void StartToPanel(BrontelSession& session, const std::wstring& arguments) {
    ASSERT_TRUE(session.Start(arguments)) << "no main dialog";
    const bool revealed = session.WaitForPanel(kPanelTimeoutMs);
    HWND box = session.OtherDialog();
    ASSERT_EQ(box, nullptr) << "message box: " << Narrow(StaticTexts(box));
    ASSERT_TRUE(revealed) << "the main panel was not revealed";
  }

  // Waits for `count` journal lines of `command` from line `first` on.
  static std::vector<JournalLine> WaitForLines(const BrontelSession& session, size_t first,
                                               int command, size_t count, DWORD timeoutMs) {
    std::vector<JournalLine> lines;
    WaitUntil(
        [&] {
          lines = session.journal().ReadFrom(first, command);
          return lines.size() >= count;
        },
        timeoutMs);
    return lines;
  }

  // Leaves through the exit button and waits for the end.
  static void ExitProgram(BrontelSession& session) {
    ASSERT_TRUE(session.Command(IDC_BTN_EXIT));
    ASSERT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "still running after exit";
  }
};

}  // namespace brontel::e2e

// Radio playback of the real Brontel.exe through the media player control it
// hosts hidden from its start: the ASF recording the ASF writer's own test
// made plays and the panel counts its time; without the control the program
// still starts and a playback attempt says what is missing.

#include <gtest/gtest.h>

#include <string>

#include "e2e/board_e2e_fixture.h"
#include "support/process_win.h"

namespace brontel::e2e {
namespace {

using RadioPlaybackE2E = BoardE2ETest;

constexpr long kSourceRadio = 3;
constexpr int kPipCheckBox = 3001;
constexpr int kOpenFileNameCombo = 1148;
constexpr int kOpenFileNameEdit = 1152;
constexpr DWORD kBoxTimeoutMs = 10000;
constexpr DWORD kPlayTimeoutMs = 30000;
constexpr wchar_t kPlayerWindowClass[] = L"BrontelMediaPlayerWindow";
constexpr wchar_t kControlFile[] = L"MediaPlayerControl.ocx";

long LabelSeconds(const std::wstring& text) {
  unsigned h = 0, m = 0, s = 0;
  if (swscanf(text.c_str(), L"%u:%u:%u", &h, &m, &s) != 3) return -1;
  return static_cast<long>(h * 3600 + m * 60 + s);
}

bool RunRegsvr32(const std::wstring& arguments) {
  return test_support::RunProcess(L"regsvr32 /s " + arguments + L" \"" + ProductDir() + L"\\" +
                                  kControlFile + L"\"") == 0;
}

// The radio recording the ASF writer's test left next to the product.
std::wstring RadioRecording() {
  const std::wstring copy = TestOutputDir() + L"radio_playback.wma";
  CopyFileW((ProductDir() + L"\\asf_writer_wine.wma").c_str(), copy.c_str(), FALSE);
  return copy;
}

// Presses play and picks `file` in the open dialog; the dialog is gone after.
void OpenInPlayDialog(BrontelSession& session, const std::wstring& file) {
  PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
  HWND open =
      WaitForOtherDialog(session.program().pid(), session.dialog(), kPipCheckBox, kBoxTimeoutMs);
  ASSERT_NE(open, nullptr) << "no open dialog";
  HWND nameBox = GetDlgItem(open, kOpenFileNameCombo);
  if (nameBox == nullptr) nameBox = GetDlgItem(open, kOpenFileNameEdit);
  ASSERT_NE(nameBox, nullptr);
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  ClickButton(open, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }, kBoxTimeoutMs));
}

TEST_F(RadioPlaybackE2E, ARadioRecordingPlaysThroughTheHiddenControl) {
  const std::wstring recording = RadioRecording();
  ASSERT_NE(GetFileAttributesW(recording.c_str()), INVALID_FILE_ATTRIBUTES);
  WriteAppSetLong(L"msCurrSrc", kSourceRadio);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");

  HWND player = FindWindowExW(session.dialog(), nullptr, kPlayerWindowClass, nullptr);
  ASSERT_NE(player, nullptr) << "the media player control was not created";
  RECT rect{};
  GetWindowRect(player, &rect);
  EXPECT_TRUE(IsRectEmpty(&rect)) << "the control is not hidden";

  OpenInPlayDialog(session, recording);
  EXPECT_EQ(session.OtherDialog(), nullptr) << Narrow(StaticTexts(session.OtherDialog()));
  // The 5 s recording: the elapsed time counts up and the rest down.
  ASSERT_TRUE(WaitUntil([&] { return LabelSeconds(session.ItemText(IDC_LABEL_REC_TIME)) >= 2; },
                        kPlayTimeoutMs))
      << "the elapsed time does not count";
  const long elapsed = LabelSeconds(session.ItemText(IDC_LABEL_REC_TIME));
  const long remain = LabelSeconds(session.ItemText(IDC_LABEL_REMAIN_TIME));
  EXPECT_GE(remain, 0);
  EXPECT_LE(remain, 3);
  // Back 5 s seeks the player to the start.
  ASSERT_TRUE(session.Command(IDC_BTN_REWIND));
  EXPECT_TRUE(WaitUntil(
      [&] { return LabelSeconds(session.ItemText(IDC_LABEL_REC_TIME)) < elapsed; }, kBoxTimeoutMs))
      << "the seek did not move the position";
  // A single file plays to its end and stays there.
  EXPECT_TRUE(WaitUntil([&] { return LabelSeconds(session.ItemText(IDC_LABEL_REMAIN_TIME)) == 0; },
                        kPlayTimeoutMs));
  ExitProgram(session);
}

TEST_F(RadioPlaybackE2E, WithoutTheControlTheProgramStartsAndPlaybackSaysItIsMissing) {
  const std::wstring recording = RadioRecording();
  // Registered again whatever happens, for the tests that follow.
  struct RegisterAgain {
    ~RegisterAgain() { EXPECT_TRUE(RunRegsvr32(L"")); }
  } registerAgain;
  ASSERT_TRUE(RunRegsvr32(L"/u"));
  WriteAppSetLong(L"msCurrSrc", kSourceRadio);
  {
    BrontelSession session(JournalName());
    StartToPanel(session, L"");
    OpenInPlayDialog(session, recording);
    HWND box = WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kBoxTimeoutMs);
    ASSERT_NE(box, nullptr) << "a radio playback without the player says nothing";
    EXPECT_NE(StaticTexts(box).find(L"media player is not installed"), std::wstring::npos)
        << Narrow(StaticTexts(box));
    ClickButton(box, IDOK);
    ExitProgram(session);
  }
}

}  // namespace
}  // namespace brontel::e2e

// Recording from the panel of the real Brontel.exe on the virtual board:
// what the program refuses before anything starts, seen in the message
// boxes, the board journal and the panel.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using RecordingE2E = BoardE2ETest;

constexpr UINT kStringFolderMissing = 278;
constexpr DWORD kBoxTimeoutMs = 10000;
// The capture commands of the board protocol.
constexpr int kFirstCaptureCommand = 500;
constexpr int kLastCaptureCommand = 510;

size_t CaptureCommandsFrom(const BrontelSession& session, size_t first) {
  size_t count = 0;
  for (int command = kFirstCaptureCommand; command <= kLastCaptureCommand; ++command) {
    count += session.journal().ReadFrom(first, command).size();
  }
  return count;
}

TEST_F(RecordingE2E, MissingDestinationFolderShowsMessageAndStartsNothing) {
  const std::wstring missing = TestOutputDir() + L"no-such-recording-folder";
  RemoveDirectoryW(missing.c_str());
  WriteSettingText(L"CaptSet", L"szRecDestDir", missing);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();

  // The record button waits in the message box, so it is posted.
  PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_RECORD, BN_CLICKED), 0);
  HWND box = WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kBoxTimeoutMs);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(WindowText(box), LoadLibraryString(kJapaneseLibrary, IDS_CAPTION));
  const std::wstring expected = LoadLibraryString(kJapaneseLibrary, kStringFolderMissing);
  ASSERT_FALSE(expected.empty());
  EXPECT_NE(StaticTexts(box).find(expected), std::wstring::npos);
  ClickButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return session.OtherDialog() == nullptr; }, kBoxTimeoutMs));

  EXPECT_EQ(CaptureCommandsFrom(session, first), 0u);
  // Still live: recording may start, stopping may not.
  ASSERT_TRUE(session.Command(IDC_BTN_SPARE));  // handled after the box: the panel is current
  EXPECT_FALSE(session.SkinVisible(L"RecordBtn-D"));
  EXPECT_TRUE(session.SkinVisible(L"StopBtn-D"));
  ExitProgram(session);
}

TEST_F(RecordingE2E, StopButtonInLiveDoesNothing) {
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();
  for (int id : {IDC_BTN_STOP, static_cast<int>(ID_CMD_STOP)}) {
    ASSERT_TRUE(session.Command(id));
  }
  EXPECT_EQ(session.OtherDialog(), nullptr);
  EXPECT_EQ(CaptureCommandsFrom(session, first), 0u);
  EXPECT_FALSE(session.SkinVisible(L"RecordBtn-D"));
  EXPECT_FALSE(session.SkinVisible(L"LCD-RecordTime"));
  ExitProgram(session);
}

}  // namespace
}  // namespace brontel::e2e

// A recording folder on a disk with less than 100 MiB free: Brontel.exe
// refuses to start and says why. The disk is real: small_disk.sh mounts a
// small tmpfs and maps it to the Wine drive R: before this test runs.

#include <gtest/gtest.h>

#include <string>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using RecordingDiskE2E = BoardE2ETest;

constexpr wchar_t kSmallDrive[] = L"R:\\";
constexpr ULONGLONG kReservedBytes = 104857600;
constexpr UINT kStringDiskFull = 277;
constexpr UINT kStringNoticeCaption = 197;
constexpr DWORD kBoxTimeoutMs = 10000;

TEST_F(RecordingDiskE2E, LessThan100MiBFreeShowsMessageAndStartsNothing) {
  ULARGE_INTEGER available{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(kSmallDrive, &available, nullptr, nullptr))
      << "drive R: is not mapped (small_disk.sh setup)";
  ASSERT_LT(available.QuadPart, kReservedBytes);
  WriteSettingText(L"CaptSet", L"szRecDestDir", kSmallDrive);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();

  for (int button : {IDC_BTN_RECORD, IDC_BTN_TIMESHIFT}) {
    SCOPED_TRACE(button);
    PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    HWND box = WaitForOtherDialog(session.program().pid(), session.dialog(), IDOK, kBoxTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(WindowText(box), LoadLibraryString(kJapaneseLibrary, kStringNoticeCaption));
    const std::wstring expected = LoadLibraryString(kJapaneseLibrary, kStringDiskFull);
    ASSERT_FALSE(expected.empty());
    EXPECT_NE(StaticTexts(box).find(expected), std::wstring::npos);
    ClickButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return session.OtherDialog() == nullptr; }, kBoxTimeoutMs));
  }
  EXPECT_TRUE(session.journal().ReadFrom(first, 500).empty()) << "a capture was opened";
  ExitProgram(session);
}

}  // namespace
}  // namespace brontel::e2e

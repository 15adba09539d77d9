// Start-up and exit of the real Brontel.exe on the virtual board where it
// used to go wrong: leaving while the start-up still runs, a stored volume
// beyond the board's range, and the board closed at exit.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

constexpr DWORD kNoticeTimeoutMs = 25000;

// Every line of the journal, the entry points' own lines included.
std::vector<std::string> RawJournal(const BoardJournal& journal) {
  std::vector<std::string> lines;
  FILE* file = _wfopen(journal.path().c_str(), L"rb");
  if (file == nullptr) return lines;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    lines.push_back(line);
  }
  std::fclose(file);
  return lines;
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& head) {
  for (const std::string& line : lines) {
    if (line.compare(0, head.size(), head) == 0) return true;
  }
  return false;
}

using StartupFaultsE2E = BoardE2ETest;

// The no-overlay notice comes up during the start-up continuation, before
// the board is opened. Exit pressed then ends the program, and the rest of
// the start-up never runs: no board is opened behind the closing program.
TEST_F(StartupFaultsE2E, ExitDuringTheStartupEndsWithoutOpeningTheBoard) {
  WriteAppSetLong(L"bHideNoOvrlaySpt", 0);
  BrontelSession session(JournalName());
  ASSERT_TRUE(session.Start(L"")) << "no main dialog";
  HWND notice = WaitForOtherDialog(session.program().pid(), session.dialog(), IDC_NO_OVERLAY_HIDE,
                                   kNoticeTimeoutMs);
  ASSERT_NE(notice, nullptr) << "no no-overlay notice";
  ASSERT_TRUE(session.Command(IDC_BTN_EXIT));
  EXPECT_TRUE(session.program().WaitForExit(kExitTimeoutMs)) << "exit did nothing on the splash";
  const std::vector<std::string> lines = RawJournal(session.journal());
  EXPECT_FALSE(HasLineStartingWith(lines, "kxTVA_InitBoardClass"));
  EXPECT_TRUE(lines.empty()) << lines.size() << " board lines, first: " << lines.front();
}

TEST_F(StartupFaultsE2E, StoredVolumeBeyondTheRangeStartsAtItsEndAndTheBoardIsClosedAtExit) {
  WriteAppSetLong(L"lVolLevel", 150);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const std::vector<JournalLine> volume = WaitForLines(session, 0, 103, 1, kJournalTimeoutMs);
  ASSERT_FALSE(volume.empty());
  EXPECT_EQ(volume[0].text, "103 W rc=0 {100}");

  ExitProgram(session);
  const std::vector<std::string> lines = RawJournal(session.journal());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "kxTVA_InitBoardClass rc=& {0x20,0}");
  EXPECT_EQ(lines.back(), "kxTVA_Free rc=0 {&}");
  std::wstring saved;
  ASSERT_TRUE(ReadAppSetText(L"lVolLevel", &saved));
  EXPECT_EQ(saved, L"100");
}

}  // namespace
}  // namespace brontel::e2e

// Recording, time shift and playback of the real Brontel.exe with the
// virtual board's media: files and their names, the panel's times, parts
// and the end of a playback. The files are left in <test-output> for
// check_recordings.sh, which judges them with ffprobe and ffmpeg. Times are
// read from the panel, which shows the board's media positions, so a busy
// machine only makes the tests slower.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "e2e/board_e2e_fixture.h"

namespace brontel::e2e {
namespace {

using RecordingMediaE2E = BoardE2ETest;

constexpr UINT kFormatManual = 257;
constexpr UINT kStringOpenTitle = 267;
constexpr int kPipCheckBox = 3001;
constexpr int kOpenFileNameCombo = 1148;
constexpr int kOpenFileNameEdit = 1152;
constexpr DWORD kRecordTimeoutMs = 120000;
constexpr DWORD kBoxTimeoutMs = 10000;

// The seconds of a "%s:%s:%s" label; -1 when it shows no time.
long LabelSeconds(const std::wstring& text) {
  unsigned h = 0, m = 0, s = 0;
  if (swscanf(text.c_str(), L"%u:%u:%u", &h, &m, &s) != 3) return -1;
  return static_cast<long>(h * 3600 + m * 60 + s);
}

// A fresh, empty folder in <test-output>, with a trailing backslash.
std::wstring FreshFolder(const wchar_t* name) {
  const std::wstring folder = TestOutputDir() + name + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((folder + found.cFileName).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

long ElapsedShown(const BrontelSession& session) {
  return LabelSeconds(session.ItemText(IDC_LABEL_REC_TIME));
}

// A time-shift profile as the settings sheet stores it when the user picks
// one: the Normal row, with the capture preview left off (1). A fresh
// installation holds zeros there, which no encoder can run.
void StoreTimeShiftProfile() {
  static const struct {
    const wchar_t* name;
    long value;
  } kFields[] = {
      {L"dwframes_in_group", 12},
      {L"dwframes_in_subgroup", 3},
      {L"dwmpeg_type", 0},
      {L"dwbit_rate", 4000000},
      {L"dwframe_rate_code", 4},
      {L"dwme_performance", 10},
      {L"dwpixel_aspect_ratio", 2},
      {L"dwvideo_format", 2},
      {L"dwhD1_mode", 0},
      {L"dwaudio_mode", 1},
      {L"dwaudio_bitrate_index", 6},
      {L"dwaudio_frequency", 48000},
      {L"dwprofile", 4},
      {L"dwlevel", 8},
      {L"dwn_closed_gop_count", 3},
      {L"dwbit_rate_mode", 2},
      {L"dwvbr_mode", 5},
      {L"dwvbr_quant_scale", 4},
      {L"dwvbr_max_bit_rate", 6000000},
      {L"dwvbr_avg_bit_rate", 4000000},
      {L"dwvbr_max_avg", 5000000},
      {L"dwvbr_min_avg", 4000000},
      {L"dwnFrames", 10000000},
      {L"dwnseq_hdr_count", 0},
      {L"dwreserved", 0},
      {L"dwresolution", 6},
      {L"dwcappreview", 1},
  };
  for (const auto& field : kFields) WriteSettingLong(L"CaptSet\\TS_spc", field.name, field.value);
}

bool Live(const BrontelSession& session) {
  return !session.SkinVisible(L"RecordBtn-D");
}

TEST_F(RecordingMediaE2E, ManualNormalRecordingOfTenSeconds) {
  const std::wstring folder = FreshFolder(L"rec-manual");
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteAppSetLong(L"cmCurrRecMode", 1);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  EXPECT_TRUE(session.SkinVisible(L"RecordBtn-D"));

  std::set<long> shown;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shown.insert(ElapsedShown(session));
        return ElapsedShown(session) >= 10;
      },
      kRecordTimeoutMs));
  EXPECT_TRUE(session.SkinVisible(L"LCD-RecordTime"));
  SaveWindowScreenshot(session.dialog(), TestOutputDir() + L"panel-recording.png");
  ASSERT_TRUE(session.Command(IDC_BTN_STOP));
  EXPECT_TRUE(Live(session));
  EXPECT_GE(shown.size(), 5u) << "the elapsed time did not count";

  const std::vector<std::wstring> files = FilesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  // Format 257 with the pieces the program fills in: no suffix, the tag,
  // the channel with three digits, the date and the time.
  std::wstring pattern = LoadLibraryString(kJapaneseLibrary, kFormatManual);
  ASSERT_FALSE(pattern.empty());
  std::string glob;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's') {
      glob += "*";
      ++i;
    } else {
      glob += pattern[i] < 128 ? static_cast<char>(pattern[i]) : '*';
    }
  }
  const std::string name = Narrow(files[0]);
  EXPECT_TRUE(MatchesPattern(name, glob + ".mpg")) << name << " against " << glob;
  EXPECT_TRUE(name.find("MPG2") != std::string::npos) << name;
  EXPECT_TRUE(name.find("004") != std::string::npos) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".mpg");
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_TRUE(name.find(std::to_string(now.wYear)) != std::string::npos) << name;
  ExitProgram(session);
}

TEST_F(RecordingMediaE2E, SizeLimitWithPartsThenPlaybackStepsToTheEnd) {
  const std::wstring folder = FreshFolder(L"rec-parts");
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteSettingLong(L"CaptSet", L"Rec_clt", 1);
  WriteSettingLong(L"CaptSet", L"lRecSizeLimitMB", 2);
  WriteSettingLong(L"CaptSet", L"bMultiple", 1);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  ASSERT_TRUE(
      WaitUntil([&] { return session.ItemText(IDC_LABEL_PART) == L"(3)"; }, kRecordTimeoutMs))
      << "part label " << Narrow(session.ItemText(IDC_LABEL_PART));
  ASSERT_TRUE(session.Command(IDC_BTN_STOP));

  const std::vector<std::wstring> files = FilesIn(folder);
  ASSERT_GE(files.size(), 3u);
  std::set<std::wstring> withoutPart;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::wstring suffix = L"_(" + std::to_wstring(i + 1) + L")";
    const size_t at = files[i].find(suffix);
    ASSERT_NE(at, std::wstring::npos) << Narrow(files[i]);
    withoutPart.insert(files[i].substr(0, at) + files[i].substr(at + suffix.size()));
  }
  EXPECT_EQ(withoutPart.size(), 1u) << "the parts differ in more than their number";

  // Playback from the last part but one through the open dialog; it steps
  // on to the last part and stays at its end. (Starting later than part 1
  // only spares the test a part's worth of real-time playback.)
  PostMessageW(session.dialog(), WM_COMMAND, MAKEWPARAM(IDC_BTN_PLAY, BN_CLICKED), 0);
  HWND open =
      WaitForOtherDialog(session.program().pid(), session.dialog(), kPipCheckBox, kBoxTimeoutMs);
  ASSERT_NE(open, nullptr) << "no open dialog with the picture-in-picture box";
  EXPECT_EQ(WindowText(open), LoadLibraryString(kJapaneseLibrary, kStringOpenTitle));
  const std::wstring first = folder + files[files.size() - 2];
  HWND nameBox = GetDlgItem(open, kOpenFileNameCombo);
  if (nameBox == nullptr) nameBox = GetDlgItem(open, kOpenFileNameEdit);
  ASSERT_NE(nameBox, nullptr);
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first.c_str()));
  ClickButton(open, IDOK);
  const std::wstring last = L"(" + std::to_wstring(files.size()) + L")";
  const std::wstring before = L"(" + std::to_wstring(files.size() - 1) + L")";
  ASSERT_TRUE(
      WaitUntil([&] { return session.ItemText(IDC_LABEL_PART) == before; }, kRecordTimeoutMs));
  SaveWindowScreenshot(session.dialog(), TestOutputDir() + L"panel-playback.png");
  ASSERT_TRUE(WaitUntil(
      [&] {
        return session.ItemText(IDC_LABEL_PART) == last &&
               LabelSeconds(session.ItemText(IDC_LABEL_REMAIN_TIME)) == 0;
      },
      kRecordTimeoutMs));
  Sleep(3000);
  EXPECT_EQ(session.ItemText(IDC_LABEL_PART), last) << "playback left the last part";
  EXPECT_EQ(LabelSeconds(session.ItemText(IDC_LABEL_REMAIN_TIME)), 0);
  ExitProgram(session);
}

TEST_F(RecordingMediaE2E, TimeLimitEndsTheRecordingByItself) {
  const std::wstring folder = FreshFolder(L"rec-timed");
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteSettingLong(L"CaptSet", L"Rec_clt", 2);
  WriteSettingLong(L"CaptSet", L"lRecTimeLimitSec", 15);
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  const size_t first = session.journal().Size();
  ASSERT_TRUE(session.Command(IDC_BTN_RECORD));
  ASSERT_TRUE(
      WaitUntil([&] { return !session.journal().ReadFrom(first, 501).empty(); }, kRecordTimeoutMs))
      << "the recording did not end";
  ASSERT_TRUE(WaitUntil([&] { return Live(session); }, kBoxTimeoutMs));
  EXPECT_EQ(FilesIn(folder).size(), 1u);
  ExitProgram(session);
}

TEST_F(RecordingMediaE2E, TimeShiftDelayFollowsPauseSeeksAndLive) {
  const std::wstring folder = FreshFolder(L"rec-timeshift");
  WriteSettingText(L"CaptSet", L"szRecDestDir", folder);
  WriteSettingText(L"CaptSet", L"szTimeShiftDestDir", folder);
  WriteSettingLong(L"CaptSet", L"lTSBufferSizeMB", 64);
  StoreTimeShiftProfile();
  BrontelSession session(JournalName());
  StartToPanel(session, L"");
  ASSERT_TRUE(session.Command(IDC_BTN_TIMESHIFT));
  ASSERT_TRUE(WaitUntil([&] { return session.SkinVisible(L"LCD-DelayTime"); }, kBoxTimeoutMs));
  const auto delay = [&] { return ElapsedShown(session); };
  const auto settle = [&](long from, long to) {
    return WaitUntil([&] { return delay() >= from && delay() <= to; }, kBoxTimeoutMs);
  };
  ASSERT_TRUE(settle(0, 2)) << "delay " << delay();
  ASSERT_TRUE(session.Command(IDC_BTN_PAUSE));
  Sleep(5000);
  SaveWindowScreenshot(session.dialog(), TestOutputDir() + L"panel-timeshift-paused.png");
  ASSERT_TRUE(session.Command(IDC_BTN_PLAY));
  EXPECT_TRUE(settle(4, 7)) << "delay after a 5 s pause: " << delay();
  const long paused = delay();
  // Back moves only once the picture is 10 s into a buffer that has not
  // filled yet; the delay holds while it plays on.
  Sleep(12000);
  ASSERT_TRUE(session.Command(IDC_BTN_REWIND));
  EXPECT_TRUE(settle(paused + 3, paused + 7)) << "after back: " << delay();
  const long back = delay();
  // Forward steps 5 s on, or back to 8 s behind when that is nearer live.
  ASSERT_TRUE(session.Command(IDC_BTN_FAST_FWD));
  EXPECT_TRUE(settle(back - 7, back - 2)) << "after forward: " << delay();
  ASSERT_TRUE(session.Command(IDC_BTN_SKIP_FWD));
  EXPECT_TRUE(settle(7, 9)) << "live: " << delay();
  ASSERT_TRUE(session.Command(IDC_BTN_TIMESHIFT));
  EXPECT_TRUE(Live(session));
  ExitProgram(session);
}

}  // namespace
}  // namespace brontel::e2e

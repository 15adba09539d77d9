// BrontelIEPG.exe with programmes around the end of a 32-bit time_t
// (2038-01-19 03:14:07) and after it, the main program not running: the
// dialog shows the file's dates and times, and OK appends the entry as it is.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "e2e/e2e_harness.h"
#include "iepg/resource.h"

namespace brontel::e2e {
namespace {

constexpr DWORD kWaitMs = 15000;
constexpr wchar_t kStation[] = L"NHK";

std::wstring DateText(const SYSTEMTIME& st) {
  wchar_t text[128] = {};
  GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 128);
  return text;
}

std::wstring TimeText(const SYSTEMTIME& st) {
  wchar_t text[128] = {};
  GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS | LOCALE_NOUSEROVERRIDE, &st, nullptr, text,
                 128);
  return text;
}

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME st = {};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = hour;
  st.wMinute = minute;
  return st;
}

class IepgDatesE2E : public testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(L"Brontel.exe");
    ResetProductSettings();
    WriteSettingLong(L"TVSet", L"lTVChnCount", 1);
    WriteSettingLong(L"TVSet\\ChnInfo001", L"lChn", 1);
    WriteSettingLong(L"TVSet\\ChnInfo001", L"lFreqChn", 1);
    WriteSettingText(L"TVSet\\ChnInfo001", L"szTVPIStnName", kStation);
    WriteSettingLong(L"ScheSet", L"lScheItemCount", 0);
    for (int i = 1; i <= 10; ++i) {
      wchar_t group[32];
      swprintf(group, 32, L"ScheSet\\ScheItem%02d", i);
      WriteSettingLong(group, L"sfType", 0);
    }
  }
  void TearDown() override {
    KillProcessesNamed(L"BrontelIEPG.exe");
    ResetProductSettings();
    if (!m_file.empty()) DeleteFileW(m_file.c_str());
  }

  std::wstring m_file;
};

TEST_F(IepgDatesE2E, DatesAfter2038AreShownAndAppended) {
  const struct {
    const char* lines;  // year, month, date, start, end
    SYSTEMTIME start, stop;
    const wchar_t* startText;
    const wchar_t* stopText;
  } cases[] = {
      {"year: 2037\r\nmonth: 12\r\ndate: 31\r\nstart: 23:30\r\nend: 0:30\r\n",
       At(2037, 12, 31, 23, 30), At(2038, 1, 1, 0, 30), L"2037-12-31-23-30", L"2038-1-1-0-30"},
      {"year: 2038\r\nmonth: 1\r\ndate: 19\r\nstart: 3:00\r\nend: 3:15\r\n", At(2038, 1, 19, 3, 0),
       At(2038, 1, 19, 3, 15), L"2038-1-19-3-0", L"2038-1-19-3-15"},
      {"year: 2040\r\nmonth: 3\r\ndate: 15\r\nstart: 21:00\r\nend: 22:00\r\n",
       At(2040, 3, 15, 21, 0), At(2040, 3, 15, 22, 0), L"2040-3-15-21-0", L"2040-3-15-22-0"},
  };
  int appended = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    m_file = TestOutputDir() + L"dates.tvpi";
    FILE* file = _wfopen(m_file.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fprintf(file,
                 "Content-type: application/x-tv-program-info\r\nstation: NHK\r\n%s"
                 "program-title: Later\r\n",
                 c.lines);
    std::fclose(file);

    Program program;
    ASSERT_TRUE(program.Start(L"BrontelIEPG.exe", m_file));
    HWND dialog = WaitForTopWindow(program.pid(), L"#32770", L"Brontel iEPG", kWaitMs);
    ASSERT_NE(dialog, nullptr);
    auto item = [dialog](int id) { return WindowText(GetDlgItem(dialog, id)); };
    EXPECT_EQ(item(IDC_START_DATE), DateText(c.start));
    EXPECT_EQ(item(IDC_START_TIME), TimeText(c.start));
    EXPECT_EQ(item(IDC_STOP_DATE), DateText(c.stop));
    EXPECT_EQ(item(IDC_STOP_TIME), TimeText(c.stop));

    ClickButton(dialog, IDOK);
    HWND box = WaitForOtherDialog(program.pid(), dialog, 0, 1000);
    EXPECT_EQ(box, nullptr) << "refused: "
                            << std::string(StaticTexts(box).begin(), StaticTexts(box).end());
    if (box != nullptr) ClickButton(box, IDOK);
    ASSERT_TRUE(program.WaitForExit(kWaitMs));

    ++appended;
    wchar_t group[32];
    swprintf(group, 32, L"ScheSet\\ScheItem%02d", appended);
    std::wstring start, stop, count;
    ASSERT_TRUE(ReadSettingText(group, L"tStartDateTime", &start));
    ASSERT_TRUE(ReadSettingText(group, L"tStopDateTime", &stop));
    EXPECT_EQ(start, c.startText);
    EXPECT_EQ(stop, c.stopText);
    ASSERT_TRUE(ReadSettingText(L"ScheSet", L"lScheItemCount", &count));
    EXPECT_EQ(count, std::to_wstring(appended));
  }
}

}  // namespace
}  // namespace brontel::e2e

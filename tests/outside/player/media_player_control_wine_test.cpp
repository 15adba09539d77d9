// The media player control as a program meets it: registered with regsvr32,
// created by class id in a window through the ActiveX host, and driven by
// dispatch id. It plays the ASF audio file and the MPEG program stream that
// the writers' own tests record into the working directory.

#include <gtest/gtest.h>

#include "outside/player/media_player_control.h"
#include "support/process_win.h"
#include "win32/activex_host.h"

#include <string>

namespace brontel::test {
namespace {

// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
const CLSID kPlayerClass = {
    0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};
constexpr wchar_t kControlFile[] = L"MediaPlayerControl.ocx";
constexpr double kDurationMargin = 0.3;

class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};
const ::testing::Environment* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// regsvr32's exit code; 0 is success.
DWORD RunRegsvr32(const std::wstring& arguments) {
  return test_support::RunProcess(L"regsvr32 /s " + arguments + L" " + kControlFile);
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  } while (GetTickCount() - start < milliseconds);
}

double Seconds(IDispatch* player, DISPID id) {
  double value = -1;
  const DispatchOutcome outcome = GetDispatchDouble(player, id, &value);
  EXPECT_TRUE(outcome.Succeeded()) << std::hex << outcome.hr;
  return value;
}

// Waits, pumping messages, until the position reaches `seconds`.
double WaitForPosition(IDispatch* player, double seconds, DWORD timeout) {
  const DWORD start = GetTickCount();
  double position = Seconds(player, kDispidPlayerCurrentPosition);
  while (position < seconds && GetTickCount() - start < timeout) {
    PumpFor(100);
    position = Seconds(player, kDispidPlayerCurrentPosition);
  }
  return position;
}

class HostedPlayer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(0u, RunRegsvr32(L"")); }

  void SetUp() override {
    m_window = CreateWindowExW(0, L"STATIC", L"player host", WS_POPUP, 0, 0, 320, 240, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, m_window);
  }
  void TearDown() override {
    m_host.Destroy();
    DestroyWindow(m_window);
  }
  IDispatch* CreatePlayer() {
    const RECT hidden = {0, 0, 0, 0};
    const HRESULT hr = m_host.Create(m_window, kPlayerClass, hidden);
    EXPECT_EQ(S_OK, hr) << std::hex << hr;
    return m_host.Dispatch();
  }

  HWND m_window = nullptr;
  ActiveXHost m_host;
};

TEST_F(HostedPlayer, IsCreatedHiddenWithNamesFromItsTypeInformation) {
  IDispatch* player = CreatePlayer();
  ASSERT_NE(nullptr, player);
  HWND controlWindow = m_host.ControlWindow();
  ASSERT_NE(nullptr, controlWindow);
  EXPECT_EQ(m_window, GetParent(controlWindow));
  RECT rect{};
  GetClientRect(controlWindow, &rect);
  EXPECT_TRUE(IsRectEmpty(&rect));

  struct Member {
    const wchar_t* name;
    DISPID id;
  };
  const Member members[] = {
      {L"FileName", kDispidPlayerFileName}, {L"CurrentPosition", kDispidPlayerCurrentPosition},
      {L"Duration", kDispidPlayerDuration}, {L"Play", kDispidPlayerPlay},
      {L"Pause", kDispidPlayerPause},       {L"Stop", kDispidPlayerStop}};
  for (const Member& member : members) {
    LPOLESTR name = const_cast<LPOLESTR>(member.name);
    DISPID id = 0;
    EXPECT_EQ(S_OK, player->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))
        << member.name;
    EXPECT_EQ(member.id, id) << member.name;
  }
  ITypeInfo* info = nullptr;
  ASSERT_EQ(S_OK, player->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
  info->Release();
}

TEST_F(HostedPlayer, PlaysSeeksAndStopsTheRecordings) {
  struct Recording {
    const wchar_t* file;
    double seconds;
  };
  const Recording recordings[] = {
      {L"asf_writer_wine.wma", 150 * 1001.0 / 30000.0},   // the radio's ASF audio
      {L"encodewriter_wine.mpg", 90 * 1001.0 / 30000.0},  // an MPEG-2 program stream
  };
  IDispatch* player = CreatePlayer();
  ASSERT_NE(nullptr, player);
  for (const Recording& recording : recordings) {
    SCOPED_TRACE(::testing::Message() << recording.file);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(recording.file));
    DispatchOutcome outcome = PutDispatchString(player, kDispidPlayerFileName, recording.file);
    ASSERT_TRUE(outcome.Succeeded()) << std::hex << outcome.hr;
    EXPECT_NEAR(recording.seconds, Seconds(player, kDispidPlayerDuration), kDurationMargin);

    ASSERT_TRUE(InvokeDispatchMethod(player, kDispidPlayerPlay).Succeeded());
    const double played = WaitForPosition(player, 1.0, 15000);
    EXPECT_GE(played, 1.0) << "the position does not advance";

    // Back to the start while playing, and it goes on from there.
    ASSERT_TRUE(PutDispatchDouble(player, kDispidPlayerCurrentPosition, 0.2).Succeeded());
    const double afterSeek = Seconds(player, kDispidPlayerCurrentPosition);
    EXPECT_LT(afterSeek, played);
    EXPECT_GE(afterSeek, 0.1);
    EXPECT_GT(WaitForPosition(player, afterSeek + 0.3, 10000), afterSeek);

    // A target past the end is held at the end.
    ASSERT_TRUE(InvokeDispatchMethod(player, kDispidPlayerPause).Succeeded());
    ASSERT_TRUE(PutDispatchDouble(player, kDispidPlayerCurrentPosition, 1e6).Succeeded());
    EXPECT_NEAR(recording.seconds, Seconds(player, kDispidPlayerCurrentPosition), kDurationMargin);

    ASSERT_TRUE(InvokeDispatchMethod(player, kDispidPlayerStop).Succeeded());
    EXPECT_DOUBLE_EQ(0.0, Seconds(player, kDispidPlayerCurrentPosition));
    PumpFor(400);
    EXPECT_DOUBLE_EQ(0.0, Seconds(player, kDispidPlayerCurrentPosition)) << "still playing";
  }
}

TEST_F(HostedPlayer, AFileItCannotPlayFailsClearly) {
  const wchar_t* notMedia = L"player_not_media.wma";
  HANDLE file = CreateFileW(notMedia, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  const char text[] = "These are a few lines of plain text, not sound.\r\n";
  DWORD written = 0;
  for (int i = 0; i < 200; ++i) WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
  CloseHandle(file);

  IDispatch* player = CreatePlayer();
  ASSERT_NE(nullptr, player);
  struct Case {
    const wchar_t* file;
  };
  const Case cases[] = {{notMedia}, {L"no such recording.wma"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.file);
    const DispatchOutcome opened = PutDispatchString(player, kDispidPlayerFileName, c.file);
    EXPECT_TRUE(FAILED(opened.hr));
    EXPECT_NE(DISP_E_EXCEPTION, opened.hr) << "the control's own code is lost";
    EXPECT_FALSE(opened.description.empty());
    // Nothing was opened, so there is nothing to play.
    EXPECT_TRUE(FAILED(InvokeDispatchMethod(player, kDispidPlayerPlay).hr));
  }
  const DispatchOutcome missing =
      PutDispatchString(player, kDispidPlayerFileName, L"no such recording.wma");
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), missing.hr);
  DeleteFileW(notMedia);
}

// Last: it takes the registration away and puts it back for whoever follows.
TEST_F(HostedPlayer, CreationFailsClearlyWhenTheControlIsNotRegistered) {
  ASSERT_EQ(0u, RunRegsvr32(L"/u"));
  const RECT hidden = {0, 0, 0, 0};
  EXPECT_EQ(REGDB_E_CLASSNOTREG, m_host.Create(m_window, kPlayerClass, hidden));
  EXPECT_FALSE(m_host.IsCreated());
  EXPECT_EQ(0u, RunRegsvr32(L""));
}

}  // namespace
}  // namespace brontel::test

#pragma once
// The reservation dialog: shows the programme of one iEPG file and turns it
// into a schedule entry on OK.

#include "win32/windows_include.h"

#include <array>
#include <cstdint>
#include <string>

#include "app/settings/app_settings.h"
#include "app/settings/registry_store_win.h"
#include "app/vocabulary/message_ids.h"
#include "iepg/iepg_parser.h"
#include "win32/handles.h"
#include "win32/window_base.h"

namespace brontel {

// The main program's window: the standard dialog class and its title.
constexpr wchar_t kMainWindowClass[] = L"#32770";
constexpr wchar_t kMainWindowTitle[] = L"Brontel";

class CIepgReserveDlg : public DialogBase {
 public:
  CIepgReserveDlg(HINSTANCE instance, std::wstring path);

  INT_PTR DoModal(HWND owner = nullptr);
  // Reads the file given at start; false when it cannot be opened.
  bool ParseFile();

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  BOOL OnInitDialog();
  void OnCommand(WORD id);
  bool OnSysCommand(WPARAM command);
  bool OnPaint();
  void OnRepetition(std::int32_t sfType);
  void OnOK();

  void RefreshDisplay();
  std::wstring FormatDate(DateTime value) const;
  std::wstring FormatTime(DateTime value) const;
  std::wstring LoadText(int id) const;
  void ShowError(int stringId) const;
  std::int32_t MatchStation(const std::string& station) const;

  HINSTANCE m_instance;
  std::wstring m_path;
  HICON m_icon = nullptr;  // shared, not destroyed
  UniqueIcon m_smallIcon;
  RegistryStore m_store;
  TVSetGroup m_tvSet;
  // The channel list with its station names in the system's ANSI code
  // page, the bytes the file's station is compared with.
  std::array<ChannelEntry, kChannelRecordCount> m_ansiChannels;
  ScheSetGroup m_scheSet;
  IepgParser m_parser;
  std::int32_t m_sfType = 0;
  std::int32_t m_lCaptMode = 1;
};

}  // namespace brontel

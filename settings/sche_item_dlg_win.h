#pragma once
// The schedule editor: one entry, new or edited, checked before it closes.

#include "win32/windows_include.h"

#include "app/settings/app_settings.h"
#include "settings/sche_item_rules.h"
#include "win32/window_base.h"

namespace brontel {

// String numbers the scheduler page and its editor share.
constexpr UINT kTextRepeatFirst = 340;   // once, weekly, daily
constexpr UINT kTextWeekdayFirst = 343;  // Sunday to Saturday

// The local time now, to the second.
DateTime LocalNow();
// A local time for the date and time pickers and the date formats.
SYSTEMTIME ToSystemTime(DateTime value);

class CScheItemDlg : public DialogBase {
 public:
  // `working` gives the channel lists and the table the entry is checked
  // against.
  CScheItemDlg(const ScheItemRequest& request, const CAppSettings& working);

  // Runs the editor modally; true when it closed with OK and item() holds
  // an entry that passed every check.
  bool Run(HWND owner);
  const ScheItem& item() const { return m_item; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInitDialog();
  void OnOK();
  void OnCommand(WORD id, WORD code);
  void ChooseSource(std::int32_t source, std::int32_t channel);
  void ShowRepetition();
  void ShowSplit();
  std::int32_t ChosenSource() const;
  ScheItemRequest Gather() const;

  ScheItemRequest m_request;
  const CAppSettings& m_working;
  ScheItem m_item;
};

}  // namespace brontel

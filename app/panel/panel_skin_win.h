#pragma once
// The main dialog's binding to its skin: loads the skin into item 1000,
// checks and records every element the panel uses, lays the labels over
// their areas, and shows the panel's state on it.

#include "win32/windows_include.h"

#include <map>
#include <string>
#include <vector>

#include "app/panel/panel_actions.h"
#include "app/panel/panel_display.h"

namespace brontel::panel {

constexpr int kSkinItemId = 1000;
constexpr wchar_t kSkinFileName[] = L"AppSkin.skn";
// Message strings for a skin that cannot be used.
constexpr UINT kStringElementMissing = 151;
constexpr UINT kStringSkinMissing = 152;

enum class SkinBindResult {
  kBound,
  kNoControl,       // the dialog has no skin control (item 1000)
  kFileMissing,     // no file at the path
  kFileUnreadable,  // a file that cannot be opened or read
  kFileMalformed,   // refused by the skin reader; the line is in the debugger output
  kElementMissing,  // see missingElement()
};

// The message string the user is shown for a binding failure: 152 when the
// skin file cannot be had, 151 when its contents are unusable; 0 for kBound.
UINT MessageForBindResult(SkinBindResult result);

// The Windows directory plus "AppSkin.skn", with one backslash between.
std::wstring DefaultSkinPath();

// Everything RefreshPanel shows.
struct PanelView {
  PanelState state;
  bool sourceChangePending = false;  // timer 2000 runs; only the source shows
  std::int32_t pendingSource = 0;
  std::int32_t amCurrAudioMode = 0;
  std::int32_t cmCurrRecMode = 0;
  bool bAudioOn = true;
  ChannelInfo channel;  // the current channel (TV) or station (radio)
};

class PanelSkin {
 public:
  // Loads `path` into item 1000 of `dialog` and binds every element; on
  // success places labels 1012 to 1016 and sets 1012 to 1015 to " ".
  SkinBindResult LoadAndBind(HWND dialog, const std::wstring& path);
  bool IsBound() const { return m_skin != nullptr; }
  // The first element the skin lacks, after kElementMissing.
  const std::string& missingElement() const { return m_missing; }

  // `splash` true: the start-up face; false: the main panel.
  void ShowPanel(bool splash);
  // Indicators, channel display, disabled overlays and sound buttons.
  void Refresh(const PanelView& view);
  // The volume meter at `level` (0 to 10, 100 full).
  void ShowVolume(int level);
  // Applies a plan from PlanShowTime.
  void ShowTime(const TimeDisplay& plan);
  // The schedule indicator (blinking toggles it).
  void ShowSchedule(bool shown);
  void Apply(const std::vector<ElementVisibility>& list);
  void SetLabel(int labelId, const std::string& utf8);
  // The size of "MainPanel" as the skin gives it; {0, 0} before binding.
  SIZE MainPanelSize() const;
  HWND skinWindow() const { return m_skin; }

 private:
  struct BoundElement {
    int index;
    RECT rect;  // left, top, right, bottom at binding time
  };
  void Show(const char* name, bool shown);

  HWND m_dialog = nullptr;
  HWND m_skin = nullptr;
  std::map<std::string, BoundElement> m_elements;
  std::string m_missing;
};

}  // namespace brontel::panel

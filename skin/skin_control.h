#pragma once
// The skin control: a window that draws a skin file and reports clicks on its
// buttons to its parent as "event 1" with the button's action code. The main
// dialog hosts it as item 1000; label controls (items 1012 to 1016) are laid
// over its label areas. Everything here is documented in skin/README.md.

#include "win32/windows_include.h"

#include <climits>
#include <string>

namespace brontel::skin {

// Window classes; register both before a dialog that names them is created.
constexpr wchar_t kSkinControlClassName[] = L"BrontelSkin";
constexpr wchar_t kSkinLabelClassName[] = L"BrontelSkinLabel";

// Registers both classes for `instance` (a second call is harmless).
bool RegisterSkinControlClass(HINSTANCE instance);

// Result of loading a skin file.
enum SkinLoadStatus : int {
  kSkinLoaded = 0,
  kSkinFileMissing = 1,  // no file at that path
  kSkinUnreadable = 2,   // there is a file, but it cannot be opened or read
  kSkinMalformed = 3,    // refused as a whole; the wrong line went to the debugger output
};

// Element rectangle fields, in pixels of the control's client area.
enum SkinField : int {
  kFieldLeft = 0,
  kFieldTop = 1,
  kFieldWidth = 2,
  kFieldHeight = 3,
  // Read-only, for inspection:
  kFieldVisible = 4,  // 1 when drawn: non-empty, and every parent non-empty
  kFieldFace = 5,     // 0 normal, 1 hover, 2 pressed
  kFieldKind = 6,     // 0 panel, 1 indicator, 2 button, 3 overlay, 4 label, 5 region
  kFieldAction = 7,   // the click code, 0 when none
};

// Returned for a field of an element that does not exist.
constexpr LRESULT kSkinNoValue = INT_MIN;

// Messages to the skin control.
enum : UINT {
  // lParam: const wchar_t* path. Returns a SkinLoadStatus. On any failure the
  // skin shown before stays loaded.
  kSkinMsgLoad = WM_APP + 0x5B0,
  // lParam: const wchar_t* name. Returns the element's index, -1 when missing.
  kSkinMsgFindElement,
  // wParam: element index, lParam: SkinField. Returns the value or kSkinNoValue.
  kSkinMsgGetField,
  // wParam: MAKEWPARAM(element index, SkinField 0 to 3), lParam: the value.
  // Returns TRUE when set. Widths and heights below 0 count as 0.
  kSkinMsgSetField,
  // Cross-process inspection: wParam: a global atom holding the element name
  // (GlobalAddAtomW), lParam: SkinField. Returns the value or kSkinNoValue.
  kSkinMsgQuery,
  // Writes one line per element to the debugger output. Returns the count.
  kSkinMsgDump,
  // wParam: buffer size in characters, lParam: wchar_t* buffer that receives
  // the last load error ("AppSkin.skn(12): ..."). Returns its line, 0 if none.
  kSkinMsgGetLoadError,
  // Returns MAKELRESULT(width, height): the size the loaded skin wants.
  kSkinMsgGetSkinSize,
  // Used by the label controls; see skin_label_win.cpp.
  kSkinMsgAddLabel,
  kSkinMsgPaintLabel,
};

// Messages to a label control.
enum : UINT {
  // wParam: HWND of the skin control, lParam: const wchar_t* name of the
  // label element whose style the label takes (nullptr: the label element
  // under the label's centre). Returns TRUE. The text is the window text
  // (SetWindowTextW / SetDlgItemTextW).
  kSkinLabelMsgAttach = WM_APP + 0x5C0,
};

// WM_NOTIFY code of the skin event, sent to the control's parent.
constexpr UINT kSkinNotifyEvent = 0x5B01;

// The WM_NOTIFY block of a skin event. The strings live until the
// notification returns. hdr.idFrom is the control's id (1000 in the dialog).
struct SkinEventNotify {
  NMHDR hdr;
  int eventId;          // always 1: a button was pressed, released or clicked
  const wchar_t* arg1;  // the element's name
  const wchar_t* arg2;  // the action code as decimal text, e.g. L"10130"
};

// Typed access to a skin control window (does not own it).
class SkinControl {
 public:
  explicit SkinControl(HWND hwnd) : m_hwnd(hwnd) {}
  HWND hwnd() const { return m_hwnd; }

  SkinLoadStatus Load(const wchar_t* path) const;
  // Element index, -1 when the skin has no element of that name.
  int FindElement(const wchar_t* name) const;
  int Get(int element, SkinField field) const;
  bool Set(int element, SkinField field, int value) const;
  int GetLeft(int element) const { return Get(element, kFieldLeft); }
  int GetTop(int element) const { return Get(element, kFieldTop); }
  int GetWidth(int element) const { return Get(element, kFieldWidth); }
  int GetHeight(int element) const { return Get(element, kFieldHeight); }
  bool SetLeft(int element, int value) const { return Set(element, kFieldLeft, value); }
  bool SetTop(int element, int value) const { return Set(element, kFieldTop, value); }
  bool SetWidth(int element, int value) const { return Set(element, kFieldWidth, value); }
  bool SetHeight(int element, int value) const { return Set(element, kFieldHeight, value); }
  bool IsVisible(int element) const { return Get(element, kFieldVisible) == 1; }
  SIZE SkinSize() const;
  // The last load's error text ("AppSkin.skn(12): ...", empty after a good
  // load) and its line (0 when the fault is not on one line).
  std::wstring LoadError(int* line) const;
  // Writes every element's state to the debugger output.
  void Dump() const;

 private:
  HWND m_hwnd;
};

// Moves `label` onto the rectangle of the label element `areaName` (mapped
// into the label's parent) and attaches it to `skin`. False when the skin
// has no such element.
bool PlaceSkinLabel(HWND label, HWND skin, const wchar_t* areaName);

// Cross-process inspection of an element by name; kSkinNoValue when the
// element or the window does not exist.
LRESULT QuerySkinElement(HWND skin, const wchar_t* name, SkinField field);

}  // namespace brontel::skin

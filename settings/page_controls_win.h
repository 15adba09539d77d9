#pragma once
// Small helpers for the common controls of the settings pages: sliders and
// report-view lists.

#include "win32/windows_include.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace brontel {

// A slider over 0..`max` with a tick every tenth and page steps of a tenth.
void InitSlider(HWND slider, int max);
int SliderPosition(HWND slider);
void SetSliderPosition(HWND slider, int position);
// Whether a WM_HSCROLL code ends a move of the slider: the mouse let go of
// it, or a key or click moved it.
bool SliderReleased(WORD code);

// A report list with full-row selection and grid lines; `columns` pairs a
// title with a width in dialog units.
struct ListColumn {
  std::wstring title;
  int widthDialogUnits;
};
void InitReportList(HWND page, HWND list, const std::vector<ListColumn>& columns);
// Appends one row of UTF-8 texts.
void AppendListRow(HWND list, const std::vector<std::string>& texts);

// The folder a user picks, starting at `start` when that folder exists and
// at "C:\" otherwise; empty when the user cancels.
std::string BrowseForFolder(HWND owner, const std::wstring& title, const std::string& start);

}  // namespace brontel

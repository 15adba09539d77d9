// The language libraries as the program sees them: every resource the
// program loads by number is there in every language, format strings take
// the same arguments in every language, and no dialog clips its texts.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/screenshot_win.h"
#include "support/windows_win.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "lang/resource_ids.h"

namespace {

const wchar_t* const kLibraries[] = {L"BrontelResEnglh.dll", L"BrontelResJapan.dll"};

// Every string the programs load by number.
const UINT kRequiredStrings[] = {
    101, 107, 108, 141, 142, 143, 151, 152, 153, 154, 155, 156, 157, 158, 159, 164, 165, 168,
    169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 181, 185, 186, 193, 194, 196, 197, 198,
    203, 205, 206, 207, 212, 214, 215, 216, 217, 218, 219, 220, 221, 222, 223, 224, 225, 226,
    227, 228, 229, 230, 231, 257, 258, 259, 260, 261, 262, 263, 264, 265, 266, 267, 268, 269,
    270, 271, 272, 273, 275, 276, 277, 278, 279, 280, 281, 282, 283, 284, 286, 287, 288, 289,
    290, 293, 294, 295, 296, 297, 298, 299, 300, 301, 302, 303, 304, 305, 330, 331, 332, 333,
    334, 335, 336, 337, 338, 339, 340, 341, 342, 343, 344, 345, 346, 347, 348, 349, 350, 351,
    352, 353, 354};
const UINT kDialogs[] = {IDD_BRONTEL_MAIN, IDD_SET_RADIO,     IDD_SET_COLOUR, IDD_SET_SNAPSHOT,
                         IDD_SET_CAPTURE,  IDD_SET_SCHEDULER, IDD_NO_OVERLAY, IDD_FINE_TUNE,
                         IDD_SCHE_ITEM,    IDD_SET_TV,        IDD_SET_ABOUT,  IDD_BUSY_WARNING,
                         IDD_WAKE_END,     IDD_WAKE_NOTICE};

// The conversions of a format text in order ("%s%d" gives "sd"); "%%" is
// not one.
std::string Conversions(const std::wstring& text) {
  std::string result;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'%') continue;
    size_t j = i + 1;
    if (text[j] == L'%') {
      i = j;
      continue;
    }
    while (j < text.size() && wcschr(L"-+ #0123456789.l", text[j]) != nullptr) ++j;
    if (j < text.size()) result += static_cast<char>(text[j]);
    i = j;
  }
  return result;
}

class Library {
 public:
  explicit Library(const wchar_t* name) {
    m_module = LoadLibraryExW((brontel::test_support::ExeDir() + name).c_str(), nullptr, 0);
  }
  ~Library() {
    if (m_module != nullptr) FreeLibrary(m_module);
  }
  HMODULE get() const { return m_module; }
  std::wstring String(UINT id) const {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(m_module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
  }
  // Every string id the library holds.
  std::set<UINT> StringIds() const {
    std::set<UINT> ids;
    EnumResourceNamesW(m_module, RT_STRING, CollectBlock, reinterpret_cast<LONG_PTR>(this));
    for (UINT block : m_blocks) {
      for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
        if (!String(id).empty()) ids.insert(id);
      }
    }
    return ids;
  }

 private:
  static BOOL CALLBACK CollectBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) {
      reinterpret_cast<const Library*>(param)->m_blocks.push_back(
          static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
  }
  HMODULE m_module = nullptr;
  mutable std::vector<UINT> m_blocks;
};

TEST(LanguageLibraries, HoldEveryNumberedString) {
  for (const wchar_t* name : kLibraries) {
    Library library(name);
    ASSERT_NE(library.get(), nullptr);
    for (UINT id : kRequiredStrings) {
      EXPECT_FALSE(library.String(id).empty()) << "string " << id;
    }
  }
}

TEST(LanguageLibraries, HoldTheSameStringsWithTheSameFormatArguments) {
  Library english(kLibraries[0]);
  Library japanese(kLibraries[1]);
  ASSERT_NE(english.get(), nullptr);
  ASSERT_NE(japanese.get(), nullptr);
  const std::set<UINT> ids = english.StringIds();
  EXPECT_EQ(ids, japanese.StringIds());
  for (UINT id : ids) {
    EXPECT_EQ(Conversions(english.String(id)), Conversions(japanese.String(id))) << "string " << id;
  }
}

TEST(LanguageLibraries, FormatStringsTakeTheirArgumentsInOrder) {
  struct Format {
    UINT id;
    const char* conversions;
  };
  const Format formats[] = {{198, "d"},        {206, "d"},        {257, "sssssssss"},
                            {259, "ssssssss"}, {261, "ssssssss"}, {262, "ssssssss"},
                            {265, "s"},        {266, "ssssss"},   {297, "d"},
                            {298, "d"},        {305, "d"},        {263, ""}};
  for (const wchar_t* name : kLibraries) {
    Library library(name);
    for (const Format& format : formats) {
      EXPECT_EQ(Conversions(library.String(format.id)), format.conversions)
          << "string " << format.id;
    }
  }
}

TEST(LanguageLibraries, HoldIconsCursorsMenuAndAccelerators) {
  for (const wchar_t* name : kLibraries) {
    Library library(name);
    EXPECT_NE(LoadIconW(library.get(), MAKEINTRESOURCEW(IDI_TRAY)), nullptr);
    EXPECT_NE(LoadIconW(library.get(), MAKEINTRESOURCEW(IDI_BRONTEL)), nullptr);
    EXPECT_NE(LoadCursorW(library.get(), MAKEINTRESOURCEW(IDC_SIZE_TOPLEFT)), nullptr);
    EXPECT_NE(LoadCursorW(library.get(), MAKEINTRESOURCEW(IDC_SIZE_TOPRIGHT)), nullptr);
    HMENU menu = LoadMenuW(library.get(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    for (UINT command : {ID_TRAY_RESTORE, ID_TRAY_SOUND, ID_TRAY_EXIT}) {
      EXPECT_NE(GetMenuState(popup, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    }
    DestroyMenu(menu);
    HACCEL accelerators = LoadAcceleratorsW(library.get(), MAKEINTRESOURCEW(IDR_MAIN_ACCEL));
    ASSERT_NE(accelerators, nullptr);
    ACCEL table[128];
    const int count = CopyAcceleratorTableW(accelerators, table, 128);
    std::set<WORD> commands;
    for (int i = 0; i < count; ++i) commands.insert(table[i].cmd);
    // Every command the main dialog knows has a key, except the three of the
    // tray menu and the one no key is meant for.
    for (WORD command = ID_SIZE_PRESET0; command <= ID_CMD_SETTINGS; ++command) {
      if (command == 40044) continue;
      EXPECT_EQ(commands.count(command), 1u) << "no key for " << command;
    }
    DestroyAcceleratorTable(accelerators);
  }
}

// Dialog layout.

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct FitProblem {
  int id;
  std::wstring text;
};

// Text the control needs, in pixels, in its own font.
SIZE TextSize(HWND control, const std::wstring& text, int width, UINT flags) {
  HDC dc = GetDC(control);
  HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT rect = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

struct LayoutCheck {
  HWND dialog;
  std::vector<FitProblem>* problems;
};

BOOL CALLBACK CheckControl(HWND control, LPARAM param) {
  auto* check = reinterpret_cast<LayoutCheck*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(control, cls, 64);
  wchar_t buffer[1024] = {};
  GetWindowTextW(control, buffer, 1024);
  const std::wstring text = buffer;
  const int id = GetDlgCtrlID(control);
  RECT client;
  GetClientRect(control, &client);
  const int width = client.right;
  const int height = client.bottom;

  // Every control lies inside the dialog.
  RECT inDialog;
  GetWindowRect(control, &inDialog);
  MapWindowPoints(nullptr, check->dialog, reinterpret_cast<POINT*>(&inDialog), 2);
  RECT dialogClient;
  GetClientRect(check->dialog, &dialogClient);
  if (inDialog.left < 0 || inDialog.top < 0 || inDialog.right > dialogClient.right ||
      inDialog.bottom > dialogClient.bottom) {
    check->problems->push_back({id, L"outside the dialog: " + text});
  }
  if (text.empty()) return TRUE;

  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (_wcsicmp(cls, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_RIGHT && type != SS_CENTER) return TRUE;
    const SIZE need = TextSize(control, text, width, DT_WORDBREAK | DT_EXPANDTABS);
    if (need.cy > height || need.cx > width) check->problems->push_back({id, text});
  } else if (_wcsicmp(cls, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      const SIZE need = TextSize(control, text, 0, DT_SINGLELINE);
      if (need.cx > width - 16) check->problems->push_back({id, text});
    } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      const SIZE need = TextSize(control, text, 0, DT_SINGLELINE);
      if (need.cx > width - 6 || need.cy > height - 2) check->problems->push_back({id, text});
    } else {
      // Check boxes and radio buttons: the box and a gap come first.
      const int boxWidth = GetSystemMetrics(SM_CXMENUCHECK) + 4;
      const SIZE need = TextSize(control, text, 0, DT_SINGLELINE);
      if (need.cx > width - boxWidth || need.cy > height) {
        check->problems->push_back({id, text});
      }
    }
  }
  return TRUE;
}

using brontel::test_support::SaveWindowScreenshot;
using brontel::test_support::TestOutputDir;

class DialogLayout : public testing::TestWithParam<const wchar_t*> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // Stand-ins for the skin engine's controls, which the program registers.
    for (const wchar_t* name : {L"BrontelSkin", L"BrontelSkinLabel"}) {
      WNDCLASSEXW cls = {};
      cls.cbSize = sizeof(cls);
      cls.style = CS_GLOBALCLASS;
      cls.lpfnWndProc = DefWindowProcW;
      cls.hInstance = GetModuleHandleW(nullptr);
      cls.lpszClassName = name;
      RegisterClassExW(&cls);
    }
  }
};

TEST_P(DialogLayout, EveryDialogFitsItsTexts) {
  Library library(GetParam());
  ASSERT_NE(library.get(), nullptr);
  HWND host = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_BORDER, 0, 0, 800, 800, nullptr,
                              nullptr, nullptr, nullptr);
  for (UINT dialogId : kDialogs) {
    HWND dialog =
        CreateDialogParamW(library.get(), MAKEINTRESOURCEW(dialogId), host, QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << "dialog " << dialogId;
    std::vector<FitProblem> problems;
    LayoutCheck check{dialog, &problems};
    EnumChildWindows(dialog, CheckControl, reinterpret_cast<LPARAM>(&check));
    for (const FitProblem& problem : problems) {
      ADD_FAILURE() << "dialog " << dialogId << ", control " << problem.id << " clips \""
                    << std::string(problem.text.begin(), problem.text.end()) << "\"";
    }
    // A picture of each dialog for a person to look at.
    RECT rect;
    GetWindowRect(dialog, &rect);
    const bool child = (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) != 0;
    if (child) {
      SetWindowPos(host, HWND_TOP, 0, 0, rect.right - rect.left + 2, rect.bottom - rect.top + 2,
                   SWP_SHOWWINDOW);
      SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    } else {
      SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    EnableWindow(dialog, TRUE);
    brontel::test_support::PaintNow(child ? host : dialog);
    const std::wstring language = GetParam() == kLibraries[0] ? L"english" : L"japanese";
    SaveWindowScreenshot(
        child ? host : dialog,
        TestOutputDir() + L"dialog_" + std::to_wstring(dialogId) + L"_" + language + L".bmp");
    ShowWindow(host, SW_HIDE);
    DestroyWindow(dialog);
  }
  DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogLayout, testing::ValuesIn(kLibraries),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                           return info.index == 0 ? std::string("English")
                                                  : std::string("Japanese");
                         });

}  // namespace

#include "skin/skin_label_win.h"

#include <new>
#include <string>

#include "skin/skin_control.h"
#include "skin/skin_model.h"
#include "skin/skin_painter_win.h"
#include "win32/window_base.h"

namespace brontel::skin {
namespace {

class LabelWindow : public WindowBase {
 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage() override { delete this; }
  BOOL Attach(HWND skin, const wchar_t* areaName);
  void Paint(HDC dc);
  RECT AreaInSkin() const;

  HWND m_skin = nullptr;
  int m_element = -1;
};

LRESULT LabelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks belong to the skin beneath
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(m_hwnd, message, wParam, lParam);
      InvalidateRect(m_hwnd, nullptr, FALSE);
      return result;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(m_hwnd, &paint);
      RECT client;
      GetClientRect(m_hwnd, &client);
      HDC memory = CreateCompatibleDC(dc);
      GdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
      if (memory && bitmap.Get()) {
        HGDIOBJ old = SelectObject(memory, bitmap.Get());
        Paint(memory);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
      } else {
        Paint(dc);
      }
      if (memory) DeleteDC(memory);
      EndPaint(m_hwnd, &paint);
      return 0;
    }
    case kSkinLabelMsgAttach:
      return Attach(reinterpret_cast<HWND>(wParam), reinterpret_cast<const wchar_t*>(lParam));
    default:
      break;
  }
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

RECT LabelWindow::AreaInSkin() const {
  RECT area;
  GetClientRect(m_hwnd, &area);
  MapWindowPoints(m_hwnd, m_skin, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

BOOL LabelWindow::Attach(HWND skin, const wchar_t* areaName) {
  if (!IsWindow(skin)) return FALSE;
  m_skin = skin;
  SkinControl control(skin);
  m_element = -1;
  if (areaName) {
    m_element = control.FindElement(areaName);
  } else {
    // The label element under the label's centre.
    const RECT area = AreaInSkin();
    const int x = (area.left + area.right) / 2;
    const int y = (area.top + area.bottom) / 2;
    for (int i = 0; control.Get(i, kFieldKind) != kSkinNoValue; ++i) {
      if (control.Get(i, kFieldKind) != static_cast<int>(ElementKind::kLabel)) continue;
      const int left = control.GetLeft(i);
      const int top = control.GetTop(i);
      if (x >= left && y >= top && x < left + control.GetWidth(i) &&
          y < top + control.GetHeight(i)) {
        m_element = i;
      }
    }
  }
  SendMessageW(skin, kSkinMsgAddLabel, reinterpret_cast<WPARAM>(m_hwnd), 0);
  if (GetParent(skin) == GetParent(m_hwnd)) {
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  InvalidateRect(m_hwnd, nullptr, FALSE);
  return TRUE;
}

void LabelWindow::Paint(HDC dc) {
  RECT client;
  GetClientRect(m_hwnd, &client);
  const int length = GetWindowTextLengthW(m_hwnd);
  std::wstring text(length > 0 ? length + 1 : 1, L'\0');
  GetWindowTextW(m_hwnd, &text[0], static_cast<int>(text.size()));
  text.resize(length > 0 ? length : 0);
  if (IsWindow(m_skin)) {
    LabelPaintRequest request = {AreaInSkin(), m_element, text.c_str()};
    if (SendMessageW(m_skin, kSkinMsgPaintLabel, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(&request))) {
      return;
    }
  }
  // Not attached yet: plain text on black.
  SetDCBrushColor(dc, RGB(0, 0, 0));
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(200, 200, 200));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
}

}  // namespace

bool RegisterSkinLabelClass(HINSTANCE instance) {
  WNDCLASSEXW cls = {};
  cls.cbSize = sizeof(cls);
  cls.style = CS_GLOBALCLASS;  // named by dialogs of the language libraries
  cls.lpfnWndProc = WindowBase::SelfCreatingProc<LabelWindow>;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.lpszClassName = kSkinLabelClassName;
  return RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool PlaceSkinLabel(HWND label, HWND skin, const wchar_t* areaName) {
  if (!IsWindow(label) || !IsWindow(skin) || !areaName) return false;
  SkinControl control(skin);
  const int element = control.FindElement(areaName);
  if (element < 0) return false;
  RECT rect = {control.GetLeft(element), control.GetTop(element), 0, 0};
  rect.right = rect.left + control.GetWidth(element);
  rect.bottom = rect.top + control.GetHeight(element);
  HWND parent = GetParent(label);
  MapWindowPoints(skin, parent, reinterpret_cast<POINT*>(&rect), 2);
  MoveWindow(label, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  SendMessageW(label, kSkinLabelMsgAttach, reinterpret_cast<WPARAM>(skin),
               reinterpret_cast<LPARAM>(areaName));
  return true;
}

}  // namespace brontel::skin

#include "skin/skin_control.h"

#include <string>
#include <vector>

#include "skin/skin_label_win.h"
#include "skin/skin_painter_win.h"
#include "skin/skin_parser.h"
#include "win32/window_base.h"

namespace brontel::skin {
namespace {

constexpr wchar_t kDebugPrefix[] = L"BrontelSkin: ";
constexpr int kMaxRectValue = 32767;
constexpr COLORREF kBackground = RGB(0, 0, 0);

void Trace(const std::wstring& text) {
  OutputDebugStringW((kDebugPrefix + text + L"\n").c_str());
}

std::wstring FileNameOf(const wchar_t* path) {
  std::wstring name = path;
  const std::size_t slash = name.find_last_of(L"\\/");
  return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

class SkinWindow : public WindowBase {
 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE) {
      // Labels lie over the control as siblings; never paint over them.
      SetWindowLongW(m_hwnd, GWL_STYLE, GetWindowLongW(m_hwnd, GWL_STYLE) | WS_CLIPSIBLINGS);
    }
    const LRESULT result = HandleSkinMessage(message, wParam, lParam);
    // Destroyed while one of our events ran: gone now that it has returned.
    if (m_destroyed && m_notifyDepth == 0) delete this;
    return result;
  }
  void OnFinalMessage() override {
    // The parent may destroy the control while it handles one of our
    // events; the object then goes when that event returns.
    if (m_notifyDepth > 0) {
      m_destroyed = true;
    } else {
      delete this;
    }
  }
  LRESULT HandleSkinMessage(UINT message, WPARAM wParam, LPARAM lParam);

  SkinLoadStatus Load(const wchar_t* path);
  LRESULT GetField(int index, int field) const;
  bool SetField(int index, int field, int value);
  LRESULT Query(ATOM atom, int field) const;
  int Dump() const;
  Face FaceOf(int index) const;

  void OnPaint();
  void Render(HDC dc, const RECT& area);
  void OnMouseMove(int x, int y);
  void OnButtonDown(int x, int y);
  void OnButtonUp(int x, int y);
  void OnCaptureLost();
  bool OnSetCursor();
  void PaintLabel(HDC dc, const LabelPaintRequest& request);

  void SetHover(int index);
  void Changed();
  // Raises event 1 with `code` to the parent. False when the control was
  // destroyed meanwhile: then touch nothing more.
  bool Raise(int element, std::int32_t code);

  SkinModel m_model;
  SkinPainter m_painter;
  std::wstring m_loadError;
  int m_loadErrorLine = 0;
  int m_hover = -1;
  int m_pressed = -1;
  bool m_tracking = false;
  unsigned m_generation = 0;  // changes with every loaded skin
  int m_notifyDepth = 0;
  bool m_destroyed = false;
  std::vector<HWND> m_labels;
  GdiObject m_buffer;
  SIZE m_bufferSize = {0, 0};
};

LRESULT SkinWindow::HandleSkinMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // everything is drawn in WM_PAINT, through a buffer
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(m_hwnd, &client);
      Render(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_MOUSELEAVE:
      m_tracking = false;
      SetHover(-1);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_CAPTURECHANGED:
      // Taking the capture again for a new press is no loss.
      if (reinterpret_cast<HWND>(lParam) != m_hwnd) OnCaptureLost();
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == m_hwnd) ReleaseCapture();
      break;
    case WM_SETCURSOR:
      if (OnSetCursor()) return TRUE;
      break;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case kSkinMsgLoad:
      return Load(reinterpret_cast<const wchar_t*>(lParam));
    case kSkinMsgFindElement: {
      const auto* name = reinterpret_cast<const wchar_t*>(lParam);
      return name ? m_model.Find(Narrow(name)) : -1;
    }
    case kSkinMsgGetField:
      return GetField(static_cast<int>(wParam), static_cast<int>(lParam));
    case kSkinMsgSetField:
      return SetField(LOWORD(wParam), HIWORD(wParam), static_cast<int>(lParam)) ? TRUE : FALSE;
    case kSkinMsgQuery:
      return Query(static_cast<ATOM>(wParam), static_cast<int>(lParam));
    case kSkinMsgDump:
      return Dump();
    case kSkinMsgGetLoadError: {
      auto* buffer = reinterpret_cast<wchar_t*>(lParam);
      if (buffer && wParam > 0) lstrcpynW(buffer, m_loadError.c_str(), static_cast<int>(wParam));
      return m_loadErrorLine;
    }
    case kSkinMsgGetSkinSize: {
      const Rect bounds = m_model.Bounds();
      return MAKELRESULT(bounds.width, bounds.height);
    }
    case kSkinMsgAddLabel: {
      HWND label = reinterpret_cast<HWND>(wParam);
      for (HWND known : m_labels) {
        if (known == label) return TRUE;
      }
      m_labels.push_back(label);
      return TRUE;
    }
    case kSkinMsgPaintLabel: {
      const auto* request = reinterpret_cast<const LabelPaintRequest*>(lParam);
      if (!request || !wParam) return FALSE;
      PaintLabel(reinterpret_cast<HDC>(wParam), *request);
      return TRUE;
    }
    default:
      break;
  }
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

SkinLoadStatus SkinWindow::Load(const wchar_t* path) {
  m_loadError.clear();
  m_loadErrorLine = 0;
  if (!path || !*path) {
    m_loadError = L"no skin file named";
    Trace(m_loadError);
    return kSkinFileMissing;
  }
  UniqueHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
    m_loadError = std::wstring(path) + (missing ? L": no such file" : L": cannot be opened");
    Trace(m_loadError);
    return missing ? kSkinFileMissing : kSkinUnreadable;
  }
  std::string text;
  LARGE_INTEGER size = {};
  bool readOk = GetFileSizeEx(file.Get(), &size) != 0;
  if (readOk && size.QuadPart > static_cast<LONGLONG>(kMaxSkinFileBytes)) {
    m_loadError = FileNameOf(path) + L": the file is larger than the 4 MB a skin may have";
    Trace(m_loadError);
    return kSkinMalformed;
  }
  if (readOk) {
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    readOk = text.empty() ||
             (ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr) &&
              got == text.size());
  }
  file.Reset();
  if (!readOk) {
    m_loadError = std::wstring(path) + L": cannot be read";
    Trace(m_loadError);
    return kSkinUnreadable;
  }
  SkinModel model;
  SkinError error;
  if (!ParseSkin(text, &model, &error)) {
    m_loadErrorLine = error.line;
    m_loadError = Widen(FormatSkinError(Narrow(FileNameOf(path)), error));
    Trace(m_loadError + L" (the skin was not loaded)");
    return kSkinMalformed;
  }
  if (GetCapture() == m_hwnd) ReleaseCapture();
  m_model = std::move(model);
  m_painter.Prepare(m_model);
  m_hover = -1;
  m_pressed = -1;
  ++m_generation;
  Changed();
  return kSkinLoaded;
}

LRESULT SkinWindow::GetField(int index, int field) const {
  if (!m_model.IsValidIndex(index)) return kSkinNoValue;
  const Element& element = m_model.elements[index];
  switch (field) {
    case kFieldLeft:
      return element.current.left;
    case kFieldTop:
      return element.current.top;
    case kFieldWidth:
      return element.current.width;
    case kFieldHeight:
      return element.current.height;
    case kFieldVisible:
      return m_model.IsVisible(index) ? 1 : 0;
    case kFieldFace:
      return static_cast<LRESULT>(FaceOf(index));
    case kFieldKind:
      return static_cast<LRESULT>(element.kind);
    case kFieldAction:
      return element.action;
    default:
      return kSkinNoValue;
  }
}

bool SkinWindow::SetField(int index, int field, int value) {
  if (!m_model.IsValidIndex(index)) return false;
  Rect& rect = m_model.elements[index].current;
  if (value > kMaxRectValue) value = kMaxRectValue;
  if (value < -kMaxRectValue) value = -kMaxRectValue;
  int* slot = nullptr;
  switch (field) {
    case kFieldLeft:
      slot = &rect.left;
      break;
    case kFieldTop:
      slot = &rect.top;
      break;
    case kFieldWidth:
      slot = &rect.width;
      break;
    case kFieldHeight:
      slot = &rect.height;
      break;
    default:
      return false;
  }
  if ((field == kFieldWidth || field == kFieldHeight) && value < 0) value = 0;
  if (*slot != value) {
    *slot = value;
    Changed();
  }
  return true;
}

LRESULT SkinWindow::Query(ATOM atom, int field) const {
  wchar_t name[256] = {};
  if (!atom || GlobalGetAtomNameW(atom, name, 256) == 0) return kSkinNoValue;
  int index = m_model.Find(Narrow(name));
  if (index < 0) {
    // Atoms ignore case, so the name may come back spelled as another
    // process first added it.
    for (int i = 0; i < static_cast<int>(m_model.elements.size()); ++i) {
      if (lstrcmpiW(Widen(m_model.elements[i].name).c_str(), name) == 0) index = i;
    }
  }
  return GetField(index, field);
}

int SkinWindow::Dump() const {
  Trace(L"skin \"" + Widen(m_model.title) + L"\", " + std::to_wstring(m_model.elements.size()) +
        L" elements");
  for (int i = 0; i < static_cast<int>(m_model.elements.size()); ++i) {
    Trace(Widen(DescribeElement(m_model, i, FaceOf(i))));
  }
  return static_cast<int>(m_model.elements.size());
}

Face SkinWindow::FaceOf(int index) const {
  // The pressed look only while the mouse is still over the pressed button.
  if (index == m_pressed) return m_hover == m_pressed ? Face::kPressed : Face::kNormal;
  if (index == m_hover && m_pressed < 0) return Face::kHover;
  return Face::kNormal;
}

void SkinWindow::Render(HDC dc, const RECT& area) {
  SetDCBrushColor(dc, kBackground);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  m_painter.Paint(dc, m_model, [this](int index) { return FaceOf(index); });
}

void SkinWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hwnd, &paint);
  RECT client;
  GetClientRect(m_hwnd, &client);
  const SIZE size = {client.right, client.bottom};
  if (size.cx > 0 && size.cy > 0) {
    if (!m_buffer.Get() || size.cx != m_bufferSize.cx || size.cy != m_bufferSize.cy) {
      m_buffer = GdiObject(CreateCompatibleBitmap(dc, size.cx, size.cy));
      m_bufferSize = size;
    }
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    if (memory && m_buffer) {
      DcSelection select(memory.Get(), m_buffer.Get());
      Render(memory.Get(), client);
      BitBlt(dc, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
    } else {
      Render(dc, client);
    }
  }
  EndPaint(m_hwnd, &paint);
}

void SkinWindow::PaintLabel(HDC dc, const LabelPaintRequest& request) {
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -request.area.left, -request.area.top, nullptr);
  Render(dc, request.area);
  if (request.text && m_model.IsVisible(request.element)) {
    m_painter.PaintLabelText(dc, m_model, request.element, request.area, request.text);
  }
  RestoreDC(dc, saved);
}

void SkinWindow::SetHover(int index) {
  if (index == m_hover) return;
  m_hover = index;
  Changed();
}

void SkinWindow::OnMouseMove(int x, int y) {
  const int hit = m_model.HitTest(x, y);
  const bool button = hit >= 0 && m_model.elements[hit].kind == ElementKind::kButton;
  if (!m_tracking) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hwnd, 0};
    m_tracking = TrackMouseEvent(&track) != 0;
  }
  SetHover(button ? hit : -1);
}

void SkinWindow::OnButtonDown(int x, int y) {
  const int hit = m_model.HitTest(x, y);
  if (hit < 0) return;
  const Element& element = m_model.elements[hit];
  if (element.kind == ElementKind::kPanel && element.drag) {
    HWND top = GetAncestor(m_hwnd, GA_ROOT);
    // Only a real mouse button starts the move loop; a made-up click would
    // leave it waiting for a release that never comes.
    if (top && top != m_hwnd && GetKeyState(VK_LBUTTON) < 0) {
      ReleaseCapture();
      SendMessageW(top, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    return;
  }
  if (element.kind != ElementKind::kButton) return;
  // A press that never saw its release (the up went elsewhere) ends first,
  // so that a hold repeat cannot run on.
  if (m_pressed >= 0) {
    const int earlier = m_pressed;
    m_pressed = -1;
    const std::int32_t release = m_model.elements[earlier].release;
    const unsigned generation = m_generation;
    if (release != 0 && !Raise(earlier, release)) return;
    if (generation != m_generation) return;  // another skin came meanwhile
  }
  SetCapture(m_hwnd);
  m_pressed = hit;
  m_hover = hit;
  Changed();
  const std::int32_t press = m_model.elements[hit].press;
  if (press != 0) Raise(hit, press);
}

void SkinWindow::OnButtonUp(int x, int y) {
  if (m_pressed < 0) return;
  const int pressed = m_pressed;
  m_pressed = -1;  // before ReleaseCapture, so that the capture loss adds nothing
  if (GetCapture() == m_hwnd) ReleaseCapture();
  const Element& element = m_model.elements[pressed];
  const std::int32_t release = element.release;
  const std::int32_t action = element.action;
  const bool inside = m_model.HitTest(x, y) == pressed;
  m_hover = inside ? pressed : -1;
  Changed();
  const unsigned generation = m_generation;
  if (release != 0 && !Raise(pressed, release)) return;
  // The parent may have loaded another skin while handling the release.
  if (action != 0 && inside && generation == m_generation) Raise(pressed, action);
}

void SkinWindow::OnCaptureLost() {
  if (m_pressed < 0) return;
  const int pressed = m_pressed;
  m_pressed = -1;
  Changed();
  // A hold button must hear its release, or its repeat would run on.
  const std::int32_t release = m_model.elements[pressed].release;
  if (release != 0) Raise(pressed, release);
}

bool SkinWindow::OnSetCursor() {
  POINT cursor;
  if (!GetCursorPos(&cursor) || !ScreenToClient(m_hwnd, &cursor)) return false;
  const int hit = m_model.HitTest(cursor.x, cursor.y);
  if (hit < 0 || m_model.elements[hit].kind != ElementKind::kButton) return false;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
  return true;
}

void SkinWindow::Changed() {
  InvalidateRect(m_hwnd, nullptr, FALSE);
  std::vector<HWND> alive;
  for (HWND label : m_labels) {
    if (!IsWindow(label)) continue;
    InvalidateRect(label, nullptr, FALSE);
    alive.push_back(label);
  }
  m_labels.swap(alive);
}

bool SkinWindow::Raise(int element, std::int32_t code) {
  if (!m_model.IsValidIndex(element)) return !m_destroyed;
  const std::wstring name = Widen(m_model.elements[element].name);
  const std::wstring text = std::to_wstring(code);
  SkinEventNotify notify = {};
  notify.hdr.hwndFrom = m_hwnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hwnd));
  notify.hdr.code = kSkinNotifyEvent;
  notify.eventId = 1;
  notify.arg1 = name.c_str();
  notify.arg2 = text.c_str();
  HWND parent = GetParent(m_hwnd);
  if (parent) {
    ++m_notifyDepth;
    SendMessageW(parent, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    --m_notifyDepth;
  }
  return !m_destroyed;
}

}  // namespace

bool RegisterSkinControlClass(HINSTANCE instance) {
  WNDCLASSEXW cls = {};
  cls.cbSize = sizeof(cls);
  // Global: the dialog that hosts the control comes from a language library,
  // whose instance handle is not ours.
  cls.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  cls.lpfnWndProc = WindowBase::SelfCreatingProc<SkinWindow>;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.lpszClassName = kSkinControlClassName;
  const bool control = RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return control && RegisterSkinLabelClass(instance);
}

SkinLoadStatus SkinControl::Load(const wchar_t* path) const {
  if (!IsWindow(m_hwnd)) return kSkinUnreadable;
  return static_cast<SkinLoadStatus>(
      SendMessageW(m_hwnd, kSkinMsgLoad, 0, reinterpret_cast<LPARAM>(path)));
}

int SkinControl::FindElement(const wchar_t* name) const {
  if (!IsWindow(m_hwnd)) return -1;
  return static_cast<int>(
      SendMessageW(m_hwnd, kSkinMsgFindElement, 0, reinterpret_cast<LPARAM>(name)));
}

int SkinControl::Get(int element, SkinField field) const {
  if (!IsWindow(m_hwnd)) return static_cast<int>(kSkinNoValue);
  return static_cast<int>(SendMessageW(m_hwnd, kSkinMsgGetField, element, field));
}

bool SkinControl::Set(int element, SkinField field, int value) const {
  if (!IsWindow(m_hwnd) || element < 0 || element > 0xFFFF) return false;
  return SendMessageW(m_hwnd, kSkinMsgSetField, MAKEWPARAM(element, field), value) != FALSE;
}

SIZE SkinControl::SkinSize() const {
  const LRESULT size = IsWindow(m_hwnd) ? SendMessageW(m_hwnd, kSkinMsgGetSkinSize, 0, 0) : 0;
  return SIZE{LOWORD(size), HIWORD(size)};
}

std::wstring SkinControl::LoadError(int* line) const {
  wchar_t text[512] = {};
  const LRESULT errorLine = IsWindow(m_hwnd) ? SendMessageW(m_hwnd, kSkinMsgGetLoadError, 512,
                                                            reinterpret_cast<LPARAM>(text))
                                             : 0;
  if (line) *line = static_cast<int>(errorLine);
  return text;
}

void SkinControl::Dump() const {
  if (IsWindow(m_hwnd)) SendMessageW(m_hwnd, kSkinMsgDump, 0, 0);
}

LRESULT QuerySkinElement(HWND skin, const wchar_t* name, SkinField field) {
  if (!IsWindow(skin) || !name) return kSkinNoValue;
  const ATOM atom = GlobalAddAtomW(name);
  if (!atom) return kSkinNoValue;
  DWORD_PTR result = static_cast<DWORD_PTR>(kSkinNoValue);
  if (!SendMessageTimeoutW(skin, kSkinMsgQuery, atom, field, SMTO_ABORTIFHUNG, 5000, &result)) {
    result = static_cast<DWORD_PTR>(kSkinNoValue);
  }
  GlobalDeleteAtom(atom);
  return static_cast<LRESULT>(result);
}

}  // namespace brontel::skin

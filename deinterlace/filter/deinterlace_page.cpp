#include "deinterlace/filter/deinterlace_page.h"

#include <cwchar>
#include <new>

#include "deinterlace/filter/resource_ids.h"

namespace brontel {

namespace {

constexpr int kMaxDeltaText = 255;

// C library rule: the leading decimal number, 0 when there is none.
LONG ReadNumber(HWND dialog, int id) {
  wchar_t text[kMaxDeltaText + 1] = {};
  GetDlgItemTextW(dialog, id, text, kMaxDeltaText + 1);
  return std::wcstol(text, nullptr, 10);
}

void WriteNumber(HWND dialog, int id, LONG value) {
  wchar_t text[16];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", static_cast<int>(value));
  SetDlgItemTextW(dialog, id, text);
}

// The id of the first checked button in [first, last]; keep when none is.
LONG FirstChecked(HWND dialog, int first, int last, LONG keep) {
  for (int id = first; id <= last; ++id) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
  }
  return keep;
}

void CheckOnly(HWND dialog, int first, int last, LONG value) {
  for (int id = first; id <= last; ++id) {
    CheckDlgButton(dialog, id, id == value ? BST_CHECKED : BST_UNCHECKED);
  }
}

}  // namespace

DeinterlacePage::DeinterlacePage(const IID& controlIid, bool editsSettings)
    : PropertyPage(IDD_DEINTERLACE_PAGE, IDS_PAGE_TITLE),
      m_controlIid(controlIid),
      m_editsSettings(editsSettings) {}

DeinterlacePage::~DeinterlacePage() {
  if (m_control) m_control->Release();
}

HRESULT DeinterlacePage::CreateGrabPage(IUnknown** object) {
  if (!object) return E_POINTER;
  auto* page = new (std::nothrow) DeinterlacePage(kIidDeinterlaceControlGrab, true);
  *object = page;
  return page ? S_OK : E_OUTOFMEMORY;
}

HRESULT DeinterlacePage::CreateSnapPage(IUnknown** object) {
  if (!object) return E_POINTER;
  auto* page = new (std::nothrow) DeinterlacePage(kIidDeinterlaceControlSnap, false);
  *object = page;
  return page ? S_OK : E_OUTOFMEMORY;
}

HRESULT DeinterlacePage::OnConnect(IUnknown* object) {
  IDeinterlaceControl* control = nullptr;
  if (FAILED(object->QueryInterface(m_controlIid, reinterpret_cast<void**>(&control))) ||
      !control) {
    return E_NOINTERFACE;
  }
  if (m_control) m_control->Release();
  m_control = control;
  return m_control->GetSettings(&m_mode, &m_filter, &m_delta1, &m_delta2, &m_delta3);
}

HRESULT DeinterlacePage::OnDisconnect() {
  if (!m_control) return E_UNEXPECTED;
  m_control->Release();
  m_control = nullptr;
  return S_OK;
}

HRESULT DeinterlacePage::OnActivate() {
  if (m_editsSettings) WriteControls();
  // Filling the fields sends edit notifications; only the user's changes count.
  m_active = true;
  return S_OK;
}

HRESULT DeinterlacePage::OnDeactivate() {
  m_active = false;
  if (m_editsSettings) ReadControls();
  return S_OK;
}

HRESULT DeinterlacePage::OnApplyChanges() {
  if (!m_editsSettings) return S_OK;
  if (!m_control) return E_UNEXPECTED;
  if (Window()) ReadControls();
  return m_control->SetSettings(m_mode, m_filter, m_delta1, m_delta2, m_delta3);
}

INT_PTR DeinterlacePage::OnReceiveMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && m_active) SetDirty();
  return FALSE;
}

void DeinterlacePage::WriteControls() {
  HWND dialog = Window();
  WriteNumber(dialog, IDC_DELTA1, m_delta1);
  WriteNumber(dialog, IDC_DELTA2, m_delta2);
  WriteNumber(dialog, IDC_DELTA3, m_delta3);
  // A value outside a group's ids leaves every button of the group unchecked.
  CheckOnly(dialog, IDC_MODE_FIRST, IDC_MODE_LAST, m_mode);
  CheckOnly(dialog, IDC_FILTER_FIRST, IDC_FILTER_LAST, m_filter);
}

void DeinterlacePage::ReadControls() {
  HWND dialog = Window();
  m_delta1 = ReadNumber(dialog, IDC_DELTA1);
  m_delta2 = ReadNumber(dialog, IDC_DELTA2);
  m_delta3 = ReadNumber(dialog, IDC_DELTA3);
  m_mode = FirstChecked(dialog, IDC_MODE_FIRST, IDC_MODE_LAST, m_mode);
  m_filter = FirstChecked(dialog, IDC_FILTER_FIRST, IDC_FILTER_LAST, m_filter);
}

}  // namespace brontel

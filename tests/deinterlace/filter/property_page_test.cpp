// The "Transformation" property page of both libraries, driven through
// IPropertyPage directly and shown once in OleCreatePropertyFrame.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <olectl.h>

#include <atomic>
#include <string>
#include <thread>

#include "deinterlace/filter/deinterlace_control.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

constexpr int kModeIds[] = {1110, 1111, 1112, 1113, 1114, 1115};
constexpr int kFilterIds[] = {1120, 1121, 1122};
constexpr int kDelta1 = 1130;
constexpr int kDelta2 = 1131;
constexpr int kDelta3 = 1132;

class RecordingSite final : public IPropertyPageSite {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
      *ppv = static_cast<IPropertyPageSite*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refCount); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return count;
  }
  STDMETHODIMP OnStatusChange(DWORD flags) override {
    if (flags & PROPPAGESTATUS_DIRTY) ++dirtyReports;
    return S_OK;
  }
  STDMETHODIMP GetLocaleID(LCID* locale) override {
    *locale = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP GetPageContainer(IUnknown** container) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

  int dirtyReports = 0;

 private:
  LONG m_refCount = 1;
};

struct Settings {
  LONG mode, filter, delta1, delta2, delta3;
};

Settings Read(IDeinterlaceControl* control) {
  Settings s{};
  control->GetSettings(&s.mode, &s.filter, &s.delta1, &s.delta2, &s.delta3);
  return s;
}

// A filter, its page, a site and a hidden parent window.
class PageFixture : public ::testing::Test {
 protected:
  void Open(const CLSID& filterClsid, const IID& controlIid, const CLSID& pageClsid) {
    m_filter = CreateComObject<IBaseFilter>(filterClsid, IID_IBaseFilter);
    ASSERT_TRUE(m_filter);
    m_filter->QueryInterface(controlIid, reinterpret_cast<void**>(m_control.GetAddressOf()));
    ASSERT_TRUE(m_control);
    m_page = CreateComObject<IPropertyPage>(pageClsid, IID_IPropertyPage);
    ASSERT_TRUE(m_page);
    m_parent = CreateWindowExW(0, L"STATIC", L"page parent", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, m_parent);
    m_site = new RecordingSite();
  }
  void ConnectAndActivate() {
    ASSERT_EQ(S_OK, m_page->SetPageSite(m_site));
    IUnknown* object = m_filter.Get();
    ASSERT_EQ(S_OK, m_page->SetObjects(1, &object));
    RECT rect{0, 0, 500, 320};
    ASSERT_EQ(S_OK, m_page->Activate(m_parent, &rect, FALSE));
    m_dialog = FindWindowExW(m_parent, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, m_dialog);
  }
  void TearDown() override {
    if (m_page) {
      if (m_dialog) m_page->Deactivate();
      m_page->SetObjects(0, nullptr);
      m_page->SetPageSite(nullptr);
    }
    m_page.Reset();
    if (m_site) m_site->Release();
    if (m_parent) DestroyWindow(m_parent);
  }

  std::wstring Text(int id) {
    wchar_t text[300] = {};
    GetDlgItemTextW(m_dialog, id, text, 300);
    return text;
  }
  bool Checked(int id) { return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED; }
  // What a click on an auto radio button does: check it, tell the dialog.
  void Choose(int first, int last, int id) {
    CheckRadioButton(m_dialog, first, last, id);
    SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(m_dialog, id)));
  }

  ComPtr<IBaseFilter> m_filter;
  ComPtr<IDeinterlaceControl> m_control;
  ComPtr<IPropertyPage> m_page;
  RecordingSite* m_site = nullptr;
  HWND m_parent = nullptr;
  HWND m_dialog = nullptr;
};

class GrabPage : public PageFixture {
 protected:
  void SetUp() override {
    Open(kClsidDeinterlaceGrabFilter, kIidDeinterlaceControlGrab, kClsidDeinterlaceGrabPage);
  }
};

TEST_F(GrabPage, PageInfoCarriesTheTransformationTitle) {
  PROPPAGEINFO info{};
  ASSERT_EQ(S_OK, m_page->GetPageInfo(&info));
  EXPECT_EQ(std::wstring(L"Transformation"), info.pszTitle);
  EXPECT_GT(info.size.cx, 0);
  EXPECT_GT(info.size.cy, 0);
  CoTaskMemFree(info.pszTitle);
  EXPECT_EQ(E_POINTER, m_page->GetPageInfo(nullptr));
}

TEST_F(GrabPage, ActivateShowsTheSettingsWithoutMarkingDirty) {
  ASSERT_EQ(S_OK, m_control->SetSettings(1113, 1122, 5, -3, 40));
  ConnectAndActivate();
  for (int id : kModeIds) EXPECT_EQ(id == 1113, Checked(id)) << id;
  for (int id : kFilterIds) EXPECT_EQ(id == 1122, Checked(id)) << id;
  EXPECT_EQ(L"5", Text(kDelta1));
  EXPECT_EQ(L"-3", Text(kDelta2));
  EXPECT_EQ(L"40", Text(kDelta3));
  EXPECT_EQ(S_FALSE, m_page->IsPageDirty());
  EXPECT_EQ(0, m_site->dirtyReports);
}

TEST_F(GrabPage, EditsMarkDirtyAndApplyStoresWhatTheControlsShow) {
  ConnectAndActivate();
  SetDlgItemTextW(m_dialog, kDelta1, L"17xyz");
  EXPECT_EQ(S_OK, m_page->IsPageDirty());
  EXPECT_GE(m_site->dirtyReports, 1);
  SetDlgItemTextW(m_dialog, kDelta2, L"");
  SetDlgItemTextW(m_dialog, kDelta3, L"  -12");
  Choose(1110, 1115, 1111);
  Choose(1120, 1122, 1121);
  ASSERT_EQ(S_OK, m_page->Apply());
  Settings s = Read(m_control.Get());
  EXPECT_EQ(1111, s.mode);
  EXPECT_EQ(1121, s.filter);
  EXPECT_EQ(17, s.delta1);
  EXPECT_EQ(0, s.delta2);  // no number at all reads as 0
  EXPECT_EQ(-12, s.delta3);
  EXPECT_EQ(S_FALSE, m_page->IsPageDirty());
}

TEST_F(GrabPage, UnknownModeShowsNoButtonCheckedAndApplyKeepsIt) {
  ASSERT_EQ(S_OK, m_control->SetSettings(9999, 7777, 1, 2, 3));
  ConnectAndActivate();
  for (int id : kModeIds) EXPECT_FALSE(Checked(id)) << id;
  for (int id : kFilterIds) EXPECT_FALSE(Checked(id)) << id;
  SetDlgItemTextW(m_dialog, kDelta1, L"4");
  ASSERT_EQ(S_OK, m_page->IsPageDirty());
  ASSERT_EQ(S_OK, m_page->Apply());
  Settings s = Read(m_control.Get());
  EXPECT_EQ(9999, s.mode);
  EXPECT_EQ(7777, s.filter);
  EXPECT_EQ(4, s.delta1);
  EXPECT_EQ(2, s.delta2);
  EXPECT_EQ(3, s.delta3);
}

TEST_F(GrabPage, DeactivateKeepsTheControlsForALaterApply) {
  ConnectAndActivate();
  SetDlgItemTextW(m_dialog, kDelta3, L"99");
  Choose(1110, 1115, 1115);
  ASSERT_EQ(S_OK, m_page->Deactivate());
  m_dialog = nullptr;
  ASSERT_EQ(S_OK, m_page->Apply());
  Settings s = Read(m_control.Get());
  EXPECT_EQ(99, s.delta3);
  EXPECT_EQ(1115, s.mode);
  EXPECT_EQ(E_UNEXPECTED, m_page->Deactivate());
}

TEST_F(GrabPage, LongDeltaTextReadsItsLeadingNumber) {
  ConnectAndActivate();
  std::wstring text = L"123" + std::wstring(400, L'7');
  SetDlgItemTextW(m_dialog, kDelta1, text.c_str());
  SetDlgItemTextW(m_dialog, kDelta2, L"2147483648");
  ASSERT_EQ(S_OK, m_page->Apply());
  Settings s = Read(m_control.Get());
  // Out of range saturates rather than wrapping.
  EXPECT_EQ(2147483647L, s.delta1);
  EXPECT_EQ(2147483647L, s.delta2);
}

TEST_F(GrabPage, ConnectionRules) {
  EXPECT_EQ(E_UNEXPECTED, m_page->SetObjects(0, nullptr));
  EXPECT_EQ(E_POINTER, m_page->SetObjects(1, nullptr));
  ComPtr<IBaseFilter> snap = CreateComObject<IBaseFilter>(kClsidFrameSnapFilter, IID_IBaseFilter);
  ASSERT_TRUE(snap);
  IUnknown* wrong = snap.Get();
  EXPECT_EQ(E_NOINTERFACE, m_page->SetObjects(1, &wrong));
  // Apply needs an object and a site.
  EXPECT_EQ(E_UNEXPECTED, m_page->Apply());
  IUnknown* right = m_filter.Get();
  ASSERT_EQ(S_OK, m_page->SetObjects(1, &right));
  EXPECT_EQ(E_UNEXPECTED, m_page->Apply());
  EXPECT_EQ(S_OK, m_page->SetObjects(0, nullptr));
  EXPECT_EQ(E_UNEXPECTED, m_page->SetObjects(0, nullptr));
  EXPECT_EQ(S_OK, m_page->SetPageSite(m_site));
  EXPECT_EQ(E_UNEXPECTED, m_page->SetPageSite(m_site));
  EXPECT_EQ(S_OK, m_page->SetPageSite(nullptr));
}

class SnapPage : public PageFixture {
 protected:
  void SetUp() override {
    Open(kClsidFrameSnapFilter, kIidDeinterlaceControlSnap, kClsidFrameSnapPage);
  }
};

TEST_F(SnapPage, ShowsTheDialogButFillsAndAppliesNothing) {
  ConnectAndActivate();
  for (int id : kModeIds) EXPECT_FALSE(Checked(id)) << id;
  EXPECT_EQ(L"", Text(kDelta1));
  SetDlgItemTextW(m_dialog, kDelta1, L"5");
  EXPECT_EQ(S_OK, m_page->IsPageDirty());
  EXPECT_EQ(S_OK, m_page->Apply());
  PROPPAGEINFO info{};
  ASSERT_EQ(S_OK, m_page->GetPageInfo(&info));
  EXPECT_EQ(std::wstring(L"Transformation"), info.pszTitle);
  CoTaskMemFree(info.pszTitle);
}

// ---- the system's property frame

struct WindowSearch {
  DWORD process = 0;
  int id = 0;
  HWND found = nullptr;
};

BOOL CALLBACK MatchOwnDialog(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (process == s->process && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK MatchControlId(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  if (GetDlgCtrlID(hwnd) == s->id) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindOwnDialog() {
  WindowSearch search;
  search.process = GetCurrentProcessId();
  EnumWindows(MatchOwnDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControl(HWND top, int id) {
  WindowSearch search;
  search.id = id;
  EnumChildWindows(top, MatchControlId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Wine's frame never applies pages (OK only closes it), so this checks what
// the frame shows; applying is covered by the direct tests above.
TEST(PropertyFrame, ShowsThePageWithTheFilterSettings) {
  ComPtr<IBaseFilter> filter =
      CreateComObject<IBaseFilter>(kClsidDeinterlaceGrabFilter, IID_IBaseFilter);
  ASSERT_TRUE(filter);
  ComPtr<IDeinterlaceControl> control;
  filter->QueryInterface(kIidDeinterlaceControlGrab,
                         reinterpret_cast<void**>(control.GetAddressOf()));
  ASSERT_TRUE(control);
  ASSERT_EQ(S_OK, control->SetSettings(1114, 1121, 10, 33, 20));

  bool sawPage = false;
  bool modeChecked = false;
  bool filterChecked = false;
  std::wstring tabTitle;
  std::wstring delta2Text;
  std::thread user([&] {
    for (int tries = 0; tries < 200; ++tries) {
      HWND frame = FindOwnDialog();
      HWND delta2 = frame ? FindControl(frame, kDelta2) : nullptr;
      if (delta2) {
        sawPage = true;
        HWND page = GetParent(delta2);
        modeChecked = IsDlgButtonChecked(page, 1114) == BST_CHECKED;
        filterChecked = IsDlgButtonChecked(page, 1121) == BST_CHECKED;
        wchar_t text[64] = {};
        GetWindowTextW(delta2, text, 64);
        delta2Text = text;
        HWND tab = FindWindowExW(frame, nullptr, WC_TABCONTROLW, nullptr);
        if (tab) {
          wchar_t title[64] = {};
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = title;
          item.cchTextMax = 64;
          SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
          tabTitle = title;
        }
        break;
      }
      Sleep(50);
    }
    // Never leave the modal frame hanging.
    if (HWND frame = FindOwnDialog()) PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
  });
  IUnknown* object = filter.Get();
  CLSID page = kClsidDeinterlaceGrabPage;
  HRESULT hr = OleCreatePropertyFrame(nullptr, 0, 0, L"kxDIgrab", 1, &object, 1, &page,
                                      LOCALE_USER_DEFAULT, 0, nullptr);
  user.join();
  ASSERT_EQ(S_OK, hr);
  ASSERT_TRUE(sawPage);
  EXPECT_EQ(L"Transformation", tabTitle);
  EXPECT_TRUE(modeChecked);
  EXPECT_TRUE(filterChecked);
  EXPECT_EQ(L"33", delta2Text);
}

}  // namespace
}  // namespace brontel::test

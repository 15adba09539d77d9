#include "outside/player/media_player_control.h"

#include <control.h>
#include <dshow.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <strmif.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cmath>
#include <new>
#include <string>

#include "win32/com_object.h"
#include "win32/com_ptr.h"
#include "win32/module_lock.h"

namespace brontel {

// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
const CLSID CLSID_MediaPlayerControl = {
    0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};

namespace {

constexpr wchar_t kWindowClass[] = L"BrontelMediaPlayerWindow";
constexpr wchar_t kErrorSource[] = L"MediaPlayer";
constexpr double kUnitsPerSecond = 1e7;  // REFERENCE_TIME

// What the type information says about each member. The vtable slots are
// only there because the type information wants one; Invoke dispatches by id.
PARAMDATA g_fileNameParam = {const_cast<OLECHAR*>(L"FileName"), VT_BSTR};
PARAMDATA g_positionParam = {const_cast<OLECHAR*>(L"CurrentPosition"), VT_R8};

METHODDATA g_members[] = {
    {const_cast<OLECHAR*>(L"FileName"), nullptr, kDispidPlayerFileName, 7, CC_STDCALL, 0,
     DISPATCH_PROPERTYGET, VT_BSTR},
    {const_cast<OLECHAR*>(L"FileName"), &g_fileNameParam, kDispidPlayerFileName, 8, CC_STDCALL, 1,
     DISPATCH_PROPERTYPUT, VT_EMPTY},
    {const_cast<OLECHAR*>(L"CurrentPosition"), nullptr, kDispidPlayerCurrentPosition, 9, CC_STDCALL,
     0, DISPATCH_PROPERTYGET, VT_R8},
    {const_cast<OLECHAR*>(L"CurrentPosition"), &g_positionParam, kDispidPlayerCurrentPosition, 10,
     CC_STDCALL, 1, DISPATCH_PROPERTYPUT, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Duration"), nullptr, kDispidPlayerDuration, 11, CC_STDCALL, 0,
     DISPATCH_PROPERTYGET, VT_R8},
    {const_cast<OLECHAR*>(L"Play"), nullptr, kDispidPlayerPlay, 12, CC_STDCALL, 0, DISPATCH_METHOD,
     VT_EMPTY},
    {const_cast<OLECHAR*>(L"Pause"), nullptr, kDispidPlayerPause, 13, CC_STDCALL, 0,
     DISPATCH_METHOD, VT_EMPTY},
    {const_cast<OLECHAR*>(L"Stop"), nullptr, kDispidPlayerStop, 14, CC_STDCALL, 0, DISPATCH_METHOD,
     VT_EMPTY},
};

enum class PlayState { kStopped, kPaused, kRunning };

// A failure with the text the caller's error report shows.
struct Failure {
  HRESULT hr = S_OK;
  const wchar_t* description = nullptr;
};

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client,
             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterPlayerWindowClass() {
  WNDCLASSW existing{};
  if (GetClassInfoW(ModuleInstance(), kWindowClass, &existing)) return true;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &PlayerWindowProc;
  windowClass.hInstance = ModuleInstance();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassW(&windowClass) != 0;
}

class MediaPlayerControl final
    : public MultiInterfaceObject<IDispatch, IOleObject, IOleInPlaceObject, IPersistStreamInit> {
 public:
  MediaPlayerControl() = default;
  MediaPlayerControl(const MediaPlayerControl&) = delete;
  MediaPlayerControl& operator=(const MediaPlayerControl&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *ppv = static_cast<IDispatch*>(this);
    } else if (IsEqualIID(riid, IID_IOleObject)) {
      *ppv = static_cast<IOleObject*>(this);
    } else if (IsEqualIID(riid, IID_IOleInPlaceObject) || IsEqualIID(riid, IID_IOleWindow)) {
      *ppv = static_cast<IOleInPlaceObject*>(this);
    } else if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist)) {
      *ppv = static_cast<IPersistStreamInit*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr)) return hr;
    return m_typeInfo.CopyTo(info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(m_typeInfo.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    m_clientSite = site;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    return m_clientSite.CopyTo(site);
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    CloseFile();
    InPlaceDeactivate();
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                      LPCRECT rect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override {
    return OleRegEnumVerbs(CLSID_MediaPlayerControl, verbs);
  }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_MediaPlayerControl;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* name) override {
    return OleRegGetUserType(CLSID_MediaPlayerControl, form, name);
  }
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    m_extent = *size;
    return S_OK;
  }
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = m_extent;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink*, DWORD* connection) override {
    if (connection) *connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  STDMETHODIMP Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override {
    if (advise) *advise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow and IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (!m_window) return S_OK;
    if (m_video) m_video->put_Owner(0);
    DestroyWindow(m_window);
    m_window = nullptr;
    if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
    m_inPlaceSite.Reset();
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
    if (!position) return E_POINTER;
    if (m_window) {
      MoveWindow(m_window, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, TRUE);
      FitVideoToWindow();
    }
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

  // IPersistStreamInit: the control keeps no persistent state.
  STDMETHODIMP GetClassID(CLSID* clsid) override { return GetUserClassID(clsid); }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM stream) override { return stream ? S_OK : E_POINTER; }
  STDMETHODIMP Save(LPSTREAM stream, BOOL) override { return stream ? S_OK : E_POINTER; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
  }
  STDMETHODIMP InitNew() override { return S_OK; }

 private:
  ~MediaPlayerControl() {
    CloseFile();
    if (m_window) DestroyWindow(m_window);
  }

  HRESULT EnsureTypeInfo() {
    if (m_typeInfo) return S_OK;
    INTERFACEDATA data = {g_members, sizeof(g_members) / sizeof(g_members[0])};
    return CreateDispTypeInfo(&data, LOCALE_SYSTEM_DEFAULT, m_typeInfo.GetAddressOf());
  }

  Failure OpenFile(const std::wstring& path);
  void CloseFile() {
    if (m_control) m_control->Stop();
    if (m_video) {
      m_video->put_Visible(OAFALSE);
      m_video->put_Owner(0);
    }
    m_video.Reset();
    m_seeking.Reset();
    m_control.Reset();
    m_graph.Reset();
    m_fileName.clear();
    m_state = PlayState::kStopped;
  }
  Failure Play();
  Failure Pause();
  Failure Stop();
  Failure Seek(double seconds);
  double Position() const;
  double Duration() const;
  void FitVideoToWindow();

  ModuleObjectLock m_moduleLock;
  ComPtr<ITypeInfo> m_typeInfo;
  ComPtr<IOleClientSite> m_clientSite;
  ComPtr<IOleInPlaceSite> m_inPlaceSite;
  HWND m_window = nullptr;
  SIZEL m_extent = {0, 0};

  std::wstring m_fileName;
  ComPtr<IGraphBuilder> m_graph;
  ComPtr<IMediaControl> m_control;
  ComPtr<IMediaSeeking> m_seeking;
  ComPtr<IVideoWindow> m_video;
  PlayState m_state = PlayState::kStopped;
};

constexpr Failure kNoFile = {OLE_E_BLANK, L"No media file is open."};

Failure MediaPlayerControl::OpenFile(const std::wstring& path) {
  CloseFile();
  if (path.empty()) return {};  // an empty name closes the file
  ComPtr<IGraphBuilder> graph;
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph.GetAddressOf()));
  if (FAILED(hr)) return {hr, L"The DirectShow filter graph cannot be created."};
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"The media file does not exist."};
  }
  hr = graph->RenderFile(path.c_str(), nullptr);
  if (FAILED(hr))
    return {hr, L"The file cannot be played: it is not a media file this player reads."};
  ComPtr<IMediaControl> control;
  ComPtr<IMediaSeeking> seeking;
  graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.GetAddressOf()));
  graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking.GetAddressOf()));
  if (!control || !seeking) return {E_NOINTERFACE, L"The filter graph cannot be controlled."};
  ComPtr<IVideoWindow> video;
  graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(video.GetAddressOf()));
  // Audio-only files have a video window interface too, which then fails
  // every call; keep it only when a video renderer answers.
  long style = 0;
  if (video && FAILED(video->get_WindowStyle(&style))) video.Reset();
  if (video) {
    video->put_AutoShow(OAFALSE);
    if (m_window) {
      video->put_Owner(reinterpret_cast<OAHWND>(m_window));
      video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    }
  }
  m_graph = graph;
  m_control = control;
  m_seeking = seeking;
  m_video = video;
  m_fileName = path;
  m_state = PlayState::kStopped;
  FitVideoToWindow();
  return {};
}

void MediaPlayerControl::FitVideoToWindow() {
  if (!m_video || !m_window) return;
  RECT client{};
  GetClientRect(m_window, &client);
  m_video->SetWindowPosition(0, 0, client.right, client.bottom);
  const bool shown = IsWindowVisible(m_window) && client.right > 0 && client.bottom > 0;
  m_video->put_Visible(shown ? OATRUE : OAFALSE);
}

Failure MediaPlayerControl::Play() {
  if (!m_control) return kNoFile;
  const HRESULT hr = m_control->Run();  // S_FALSE while the graph is still starting
  if (FAILED(hr)) return {hr, L"The media file cannot be played."};
  m_state = PlayState::kRunning;
  return {};
}

Failure MediaPlayerControl::Pause() {
  if (!m_control) return kNoFile;
  const HRESULT hr = m_control->Pause();
  if (FAILED(hr)) return {hr, L"The playback cannot be paused."};
  m_state = PlayState::kPaused;
  return {};
}

Failure MediaPlayerControl::Stop() {
  if (!m_control) return kNoFile;
  HRESULT hr = m_control->Stop();
  if (FAILED(hr)) return {hr, L"The playback cannot be stopped."};
  m_state = PlayState::kStopped;
  // A stopped player starts again from the beginning.
  LONGLONG start = 0;
  m_seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                          AM_SEEKING_NoPositioning);
  return {};
}

Failure MediaPlayerControl::Seek(double seconds) {
  if (!m_seeking) return kNoFile;
  if (!std::isfinite(seconds)) return {E_INVALIDARG, L"The position is not a number."};
  const double duration = Duration();
  if (seconds < 0) seconds = 0;
  if (seconds > duration) seconds = duration;
  LONGLONG target = static_cast<LONGLONG>(std::llround(seconds * kUnitsPerSecond));
  // Seeking a running graph that has both sound and picture leaves the next
  // Stop hanging on this platform, so the graph is stopped around the seek.
  const PlayState resume = m_state;
  if (resume != PlayState::kStopped) m_control->Stop();
  HRESULT hr = m_seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                       AM_SEEKING_NoPositioning);
  if (resume == PlayState::kRunning) {
    m_control->Run();
  } else if (resume == PlayState::kPaused) {
    m_control->Pause();
  }
  if (FAILED(hr)) return {hr, L"The position cannot be set."};
  return {};
}

double MediaPlayerControl::Position() const {
  LONGLONG position = 0;
  if (!m_seeking || FAILED(m_seeking->GetCurrentPosition(&position))) return 0;
  return position / kUnitsPerSecond;
}

double MediaPlayerControl::Duration() const {
  LONGLONG duration = 0;
  if (!m_seeking || FAILED(m_seeking->GetDuration(&duration))) return 0;
  return duration / kUnitsPerSecond;
}

// The one argument of a property put, converted to `type`.
HRESULT PutArgument(DISPPARAMS* params, VARTYPE type, VARIANT* value, UINT* argError) {
  if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
      params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
    return DISP_E_PARAMNOTFOUND;
  }
  VariantInit(value);
  const HRESULT hr = VariantChangeType(value, &params->rgvarg[0], 0, type);
  if (FAILED(hr) && argError) *argError = 0;
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT MediaPlayerControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (result) VariantInit(result);
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const bool get = (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0;
  Failure failure;
  switch (id) {
    case kDispidPlayerFileName:
    case kDispidPlayerCurrentPosition:
      if (put) {
        VARIANT value;
        const VARTYPE type = id == kDispidPlayerFileName ? VT_BSTR : VT_R8;
        const HRESULT hr = PutArgument(params, type, &value, argError);
        if (FAILED(hr)) return hr;
        if (type == VT_BSTR) {
          failure = OpenFile(value.bstrVal ? std::wstring(value.bstrVal) : std::wstring());
        } else {
          failure = Seek(value.dblVal);
        }
        VariantClear(&value);
        break;
      }
      [[fallthrough]];
    case kDispidPlayerDuration:
      if (put) return DISP_E_MEMBERNOTFOUND;
      if (!get) return DISP_E_MEMBERNOTFOUND;
      if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
      if (!result) return S_OK;
      if (id == kDispidPlayerFileName) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(m_fileName.c_str());
        if (!result->bstrVal) return E_OUTOFMEMORY;
      } else {
        result->vt = VT_R8;
        result->dblVal = id == kDispidPlayerDuration ? Duration() : Position();
      }
      return S_OK;
    case kDispidPlayerPlay:
    case kDispidPlayerPause:
    case kDispidPlayerStop:
      if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
      failure = id == kDispidPlayerPlay ? Play() : id == kDispidPlayerPause ? Pause() : Stop();
      break;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
  if (SUCCEEDED(failure.hr)) return S_OK;
  if (!exception) return failure.hr;
  *exception = EXCEPINFO{};
  exception->scode = failure.hr;
  exception->bstrSource = SysAllocString(kErrorSource);
  exception->bstrDescription = SysAllocString(failure.description);
  return DISP_E_EXCEPTION;
}

HRESULT MediaPlayerControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                   LPCRECT rect) {
  switch (verb) {
    case OLEIVERB_HIDE:
      if (m_window) ShowWindow(m_window, SW_HIDE);
      FitVideoToWindow();
      return S_OK;
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      break;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
  if (!m_window) {
    if (!site) site = m_clientSite.Get();
    ComPtr<IOleInPlaceSite> inPlaceSite;
    if (site) {
      site->QueryInterface(IID_IOleInPlaceSite,
                           reinterpret_cast<void**>(inPlaceSite.GetAddressOf()));
    }
    RECT position = rect ? *rect : RECT{};
    if (inPlaceSite) {
      if (inPlaceSite->CanInPlaceActivate() != S_OK) return OLEOBJ_S_CANNOT_DOVERB_NOW;
      HWND siteWindow = nullptr;
      if (SUCCEEDED(inPlaceSite->GetWindow(&siteWindow)) && siteWindow) parent = siteWindow;
    }
    if (!parent) return E_INVALIDARG;
    if (!RegisterPlayerWindowClass()) return HRESULT_FROM_WIN32(GetLastError());
    m_window =
        CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        position.left, position.top, position.right - position.left,
                        position.bottom - position.top, parent, nullptr, ModuleInstance(), nullptr);
    if (!m_window) return HRESULT_FROM_WIN32(GetLastError());
    if (inPlaceSite) inPlaceSite->OnInPlaceActivate();
    m_inPlaceSite = inPlaceSite;
    if (m_video) {
      m_video->put_Owner(reinterpret_cast<OAHWND>(m_window));
      m_video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    }
  }
  ShowWindow(m_window, SW_SHOWNA);
  FitVideoToWindow();
  return S_OK;
}

}  // namespace

HRESULT CreateMediaPlayerControl(IUnknown** object) {
  if (!object) return E_POINTER;
  auto* control = new (std::nothrow) MediaPlayerControl();
  *object = control ? static_cast<IDispatch*>(control) : nullptr;
  return control ? S_OK : E_OUTOFMEMORY;
}

}  // namespace brontel

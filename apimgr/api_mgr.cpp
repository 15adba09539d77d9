#include "apimgr/api_mgr.h"

#include <cstring>
#include <new>

#include "apimgr/board_protocol.h"

// The board handle is the address of an object of the driver library; its
// second virtual operation returns the object's own address. The view has
// external linkage on purpose: inside an anonymous namespace the optimiser
// knows no class implements it and turns the call into a jump to nowhere.
class BoardObjectView {
 public:
  virtual void FirstOperation() = 0;
  virtual void* Identify() = 0;

 protected:
  ~BoardObjectView() = default;
};

namespace {

constexpr wchar_t kManagerCaption[] = L"kxTV API Manager";
constexpr wchar_t kMissingDllText[] = L"Error 4 : Missing DLL !\n";
constexpr wchar_t kInitErrorText[] = L"Error 5 : Initialisation Error !\n";
constexpr uint32_t kTagLowByteMask = 0xFFFFFF00u;
constexpr size_t kCaptureFileBytes = 260;

uint32_t Address(const void* p) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

template <typename T>
T* Pointer(uint32_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

uint32_t Word(LONG value) {
  return static_cast<uint32_t>(value);
}

// Copies a zero-terminated text into a fixed field, always terminated.
void CopyName(char* destination, const char* source, size_t capacity) {
  const size_t length = strnlen(source, capacity - 1);
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

// A count reported by the library, kept within the caller's array.
uint32_t ClampCount(uint32_t reported, size_t capacity) {
  const int32_t count = static_cast<int32_t>(reported);
  if (count < 0) return 0;
  return static_cast<size_t>(count) > capacity ? static_cast<uint32_t>(capacity)
                                               : static_cast<uint32_t>(count);
}

}  // namespace

void CBoardNotifier::NotifyEvent(LONG value) {
  if (m_owner != nullptr) {
    m_owner->ForwardEvent(value);
  }
}

HRESULT CApiMgr::Create(IUnknown* outer, CKXUnknown** out) {
  auto* manager = new (std::nothrow) CApiMgr(outer);
  if (manager == nullptr) {
    *out = nullptr;
    return E_OUTOFMEMORY;
  }
  if (manager->m_library == nullptr) {
    delete manager;
    *out = nullptr;
    return E_OUTOFMEMORY;
  }
  *out = manager;
  return S_OK;
}

CApiMgr::CApiMgr(IUnknown* outer) : CKXUnknown(outer) {
  CoInitialize(nullptr);
  m_library = new (std::nothrow) CBoardLibrary();
  m_notifier.m_owner = this;
}

CApiMgr::~CApiMgr() {
  CoUninitialize();
  delete m_library;
  m_notifier.m_owner = nullptr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::NonDelegatingQueryInterface(REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  IUnknown* found = nullptr;
  if (IsEqualIID(iid, IID_IKXBoard)) {
    found = static_cast<IKXBoard*>(this);
  } else if (IsEqualIID(iid, IID_IKXAudio)) {
    found = static_cast<IKXAudio*>(this);
  } else if (IsEqualIID(iid, IID_IKXVideo)) {
    found = static_cast<IKXVideo*>(this);
  } else if (IsEqualIID(iid, IID_IKXSnapshot)) {
    found = static_cast<IKXSnapshot*>(this);
  } else if (IsEqualIID(iid, IID_IKXTuner)) {
    found = static_cast<IKXTuner*>(this);
  } else if (IsEqualIID(iid, IID_IKXSpare)) {
    found = static_cast<IKXSpare*>(this);
  } else if (IsEqualIID(iid, IID_IKXCapture)) {
    found = static_cast<IKXCapture*>(this);
  }
  if (found == nullptr) {
    return CKXUnknown::NonDelegatingQueryInterface(iid, out);
  }
  *out = found;
  found->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::QueryInterface(REFIID iid, void** out) {
  return ControllingUnknown()->QueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE CApiMgr::AddRef() {
  return ControllingUnknown()->AddRef();
}

ULONG STDMETHODCALLTYPE CApiMgr::Release() {
  return ControllingUnknown()->Release();
}

void CApiMgr::ForwardEvent(LONG value) {
  if (m_sink != nullptr) {
    m_sink->OnBoardEvent(value);
  }
}

bool CApiMgr::IsBoardHandleValid(uint32_t board) const {
  if (board == 0) {
    return false;
  }
  auto* object = Pointer<BoardObjectView>(board);
  return object->Identify() == object;
}

HRESULT CApiMgr::Send(BoardEntry* entry, uint32_t write, uint32_t command, void* block) {
  const uint32_t board = entry != nullptr ? entry->hBoard : m_defaultHandle;
  if (board == 0 || !m_library->IsUsable()) {
    return E_FAIL;
  }
  return m_library->DoThis(board, write, command, block) == 0 ? S_OK : E_FAIL;
}

HRESULT CApiMgr::SendWord(BoardEntry* entry, uint32_t command, uint32_t value) {
  uint32_t block[1] = {value};
  return Send(entry, kBoardWrite, command, block);
}

HRESULT CApiMgr::SendCapture(BoardEntry* entry, LONG capture, uint32_t write, uint32_t command,
                             void* block) {
  if (capture == 0) {
    return E_FAIL;
  }
  return Send(entry, write, command, block);
}

// ---- IKXBoard ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::OpenBoard(LONG kind, LONG reserved, BoardListInfo* list) {
  uint32_t boardClass = 0;
  if (!BoardClassForKind(kind, &boardClass)) {
    return E_NOTIMPL;
  }
  // Entry 0 is written below: the caller must give room for it.
  if (list == nullptr || list->pEntries == 0) {
    return E_POINTER;
  }
  if (list->cbEntries < sizeof(BoardEntry)) {
    return E_INVALIDARG;
  }
  if (!m_library->IsUsable()) {
    MessageBoxW(nullptr, kMissingDllText, kManagerCaption, MB_OK);
    return E_FAIL;
  }
  m_board = m_library->InitBoardClass(boardClass);
  if (m_board == 0) {
    MessageBoxW(nullptr, kInitErrorText, kManagerCaption, MB_OK);
    return E_FAIL;
  }
  m_list = list;
  m_entries = Pointer<BoardEntry>(list->pEntries);
  m_entries[0].dwTag &= kTagLowByteMask;
  m_entries[0].hBoard = m_board;
  list->cbEntries = sizeof(BoardEntry);
  list->pEntries = Address(m_entries);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::CloseBoard(BoardEntry* entry) {
  if (entry == nullptr || !m_library->IsUsable() || !IsBoardHandleValid(entry->hBoard)) {
    return E_HANDLE;
  }
  const uint32_t board = entry->hBoard;
  if (m_library->Free(board) != 0) {
    return E_FAIL;
  }
  // The freed object must not be reached again through the entry or the
  // remembered handles.
  entry->hBoard = 0;
  if (m_defaultHandle == board) m_defaultHandle = 0;
  if (m_board == board) m_board = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::CreateVideoWindow(BoardEntry* entry, HWND parent,
                                                     const char* title, DWORD style, LONG param1,
                                                     LONG param2, LONG left, LONG top, LONG width,
                                                     LONG height) {
  if (entry == nullptr || !m_library->IsUsable() || !IsBoardHandleValid(entry->hBoard)) {
    return E_HANDLE;
  }
  m_defaultHandle = entry->hBoard;
  VideoWindowBlock block = {};
  block.parent = Address(parent);
  block.title = Address(title);
  block.style = style;
  block.param1 = Word(param1);
  block.param2 = Word(param2);
  block.left = Low16(left);
  block.top = Low16(top);
  block.width = Low16(width);
  block.height = Low16(height);
  return Send(entry, kBoardWrite, kxcmd::kCreateVideoWindow, &block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::DestroyVideoWindow(BoardEntry* entry) {
  return Send(entry, kBoardWrite, kxcmd::kDestroyVideoWindow, nullptr);
}

HRESULT STDMETHODCALLTYPE CApiMgr::Reserved1(BoardEntry*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CApiMgr::Reserved2(BoardEntry*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetBoardCaps(BoardEntry* entry, LONG caps[7]) {
  if (caps == nullptr) return E_POINTER;
  uint32_t block[7] = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kBoardCaps, block);
  if (SUCCEEDED(hr)) std::memcpy(caps, block, sizeof block);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetVideoSizeLimits(BoardEntry* entry, LONG limits[4]) {
  if (limits == nullptr) return E_POINTER;
  uint32_t block[4] = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kVideoSizeLimits, block);
  if (SUCCEEDED(hr)) std::memcpy(limits, block, sizeof block);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::BoardCommand5(BoardEntry* entry) {
  return Send(entry, kBoardWrite, kxcmd::kBoardCommand5, nullptr);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetEventSink(BoardEntry* entry, LONG value, IKXEventSink* sink) {
  m_sink = sink;
  uint32_t block[2] = {Word(value), Address(&m_notifier)};
  return Send(entry, kBoardWrite, kxcmd::kEventSink, block);
}

// ---- IKXAudio ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioConnection(BoardEntry* entry, LONG type, LONG param) {
  uint32_t block[2] = {Word(param), ListedOrZero(ValueList::kAudioConnectionType, type)};
  return Send(entry, kBoardWrite, kxcmd::kAudioConnection, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::StopAudio(BoardEntry* entry) {
  return Send(entry, kBoardWrite, kxcmd::kStopAudio, nullptr);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioSource(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioSource, ListedOrZero(ValueList::kAudioSource, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVolume(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kVolume, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioLevel(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioLevel, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioValue105(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioValue105, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioValue106(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioValue106, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioValue107(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioValue107, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioValue109(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioValue109, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioPath(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioPath, ListedOrZero(ValueList::kAudioPath, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetAudioMode(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kAudioMode, ListedOrZero(ValueList::kAudioMode, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetAudioModes(BoardEntry* entry, void* buffer) {
  if (buffer == nullptr) return E_POINTER;
  return Send(entry, kBoardRead, kxcmd::kAudioModes, buffer);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetAudioData112(BoardEntry* entry, void* buffer) {
  if (buffer == nullptr) return E_POINTER;
  return Send(entry, kBoardRead, kxcmd::kAudioData112, buffer);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetVolume(BoardEntry* entry, LONG* value) {
  if (value == nullptr) return E_POINTER;
  uint32_t block[4] = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kVolume, block);
  if (SUCCEEDED(hr)) *value = static_cast<LONG>(block[2]);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetAudioPath(BoardEntry* entry, LONG* value) {
  if (value == nullptr) return E_POINTER;
  uint32_t block[4] = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kAudioPath, block);
  if (SUCCEEDED(hr)) *value = static_cast<LONG>(block[3]);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetAudioDevices(BoardEntry* entry, AudioDeviceLists* lists) {
  if (lists == nullptr) return E_POINTER;
  AudioDeviceLists block = {};
  uint32_t count = 0;
  block.deviceCount = Address(&count);
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kAudioDevices, &block);
  if (FAILED(hr)) return hr;
  const uint32_t copied = ClampCount(count, kMaxAudioDevices);
  for (uint32_t i = 0; i < copied; ++i) {
    CopyName(lists->deviceNames[i], block.deviceNames[i], kAudioNameBytes);
  }
  if (lists->deviceCount != 0) *Pointer<uint32_t>(lists->deviceCount) = copied;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetAudioInputs(BoardEntry* entry, AudioDeviceLists* lists) {
  if (lists == nullptr) return E_POINTER;
  AudioDeviceLists block = {};
  uint32_t count = 0;
  CopyName(block.selectedDevice, lists->selectedDevice, kAudioNameBytes);
  block.inputCount = Address(&count);
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kAudioInputs, &block);
  if (FAILED(hr)) return hr;
  const uint32_t copied = ClampCount(count, kMaxAudioInputs);
  for (uint32_t i = 0; i < copied; ++i) {
    CopyName(lists->inputNames[i], block.inputNames[i], kAudioNameBytes);
  }
  if (lists->inputCount != 0) *Pointer<uint32_t>(lists->inputCount) = copied;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::SelectAudioInput(BoardEntry* entry, const char* device,
                                                    const char* input) {
  if (device == nullptr || input == nullptr) return E_POINTER;
  AudioDeviceLists block = {};
  CopyName(block.selectedDevice, device, kAudioNameBytes);
  CopyName(block.selectedInput, input, kAudioNameBytes);
  return Send(entry, kBoardWrite, kxcmd::kSelectAudioInput, &block);
}

// ---- IKXVideo ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::SetClosedCaption(LONG) {
  MessageBoxW(GetFocus(), L"SetClosedCaption", L"", MB_OK);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CApiMgr::SelectVideoInput(BoardEntry* entry, LONG value, LONG type) {
  uint32_t block[2] = {Word(value), ListedOrZero(ValueList::kVideoInputType, type)};
  return Send(entry, kBoardWrite, kxcmd::kVideoInput, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::Reserved3(BoardEntry*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoMode(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kVideoMode, ListedOrZero(ValueList::kVideoMode, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoValue207(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kVideoValue207, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoRect(BoardEntry* entry, LONG left, LONG top, LONG right,
                                                LONG bottom, LONG* result) {
  if (result == nullptr) return E_POINTER;
  VideoWindowBlock block;
  if (!MakeVideoRectBlock(left, top, right, bottom, &block)) {
    return E_FAIL;
  }
  const HRESULT hr = Send(entry, kBoardWrite, kxcmd::kVideoRect, &block);
  if (SUCCEEDED(hr)) *result = static_cast<LONG>(block.result);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetVideoInfo(BoardEntry* entry, LONG* result) {
  if (result == nullptr) return E_POINTER;
  VideoWindowBlock block = {};
  const HRESULT hr = Send(entry, kBoardWrite, kxcmd::kVideoInfo, &block);
  if (SUCCEEDED(hr)) *result = static_cast<LONG>(block.result);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::EnableVideo(BoardEntry* entry) {
  return SendWord(entry, kxcmd::kVideoEnable, 1);
}

HRESULT STDMETHODCALLTYPE CApiMgr::DisableVideo(BoardEntry* entry) {
  return SendWord(entry, kxcmd::kVideoEnable, 0);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoValues211(BoardEntry* entry, LONG value1, LONG value2) {
  uint32_t block[2] = {Word(value1), Word(value2)};
  return Send(entry, kBoardWrite, kxcmd::kVideoValues211, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoValue212(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kVideoValue212, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetVideoProperty(BoardEntry* entry, LONG kind, LONG value) {
  VideoPropertyBlock block = {BoardPropertyKind(kind), Word(value), 0};
  return Send(entry, kBoardWrite, kxcmd::kSetVideoProperty, &block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetVideoProperty(BoardEntry* entry, LONG kind, LONG* value) {
  if (value == nullptr) return E_POINTER;
  // The library stores the value straight into the caller's variable.
  VideoPropertyBlock block = {BoardPropertyKind(kind), 0, Address(value)};
  return Send(entry, kBoardRead, kxcmd::kGetVideoProperty, &block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::RestartVideo(BoardEntry* entry) {
  return Send(entry, kBoardWrite, kxcmd::kRestartVideo, nullptr);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetDeinterlaceBypass(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kDeinterlaceBypass, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetVideoStatus(BoardEntry* entry, LONG item, LONG* value) {
  if (value == nullptr) return E_POINTER;
  *value = 0;
  uint32_t block[2] = {Word(item), Address(value)};
  return Send(entry, kBoardRead, kxcmd::kVideoStatus, block);
}

// ---- IKXSnapshot ------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::TakeSnapshot(BoardEntry* entry, LONG value1, LONG value2,
                                                LONG value3, LONG value4, LONG value5) {
  uint32_t block[5] = {Word(value1), Word(value2), Word(value3), Word(value4), Word(value5)};
  return Send(entry, kBoardWrite, kxcmd::kSnapshot, block);
}

// ---- IKXTuner ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::SetTunerMode(BoardEntry* entry, LONG radio) {
  return SendWord(entry, kxcmd::kTunerMode, radio != 0 ? 1 : 0);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetTunerValue401(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kTunerValue401, Word(value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetTunerValue402(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kTunerValue402, ListedOrZero(ValueList::kTunerValue402, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetTunerValue403(BoardEntry* entry, LONG value) {
  return SendWord(entry, kxcmd::kTunerValue403, ListedOrZero(ValueList::kTunerValue403, value));
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetFrequencyRange(BoardEntry* entry, LONG* lowest,
                                                     LONG* highest) {
  if (lowest == nullptr || highest == nullptr) return E_POINTER;
  TunerBlock block = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kFrequencyRange, &block);
  if (SUCCEEDED(hr)) {
    *lowest = static_cast<LONG>(block.lowestFrequency);
    *highest = static_cast<LONG>(block.highestFrequency);
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetChannelRange(BoardEntry* entry, SHORT* lowest,
                                                   SHORT* highest) {
  if (lowest == nullptr || highest == nullptr) return E_POINTER;
  TunerBlock block = {};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kChannelRange, &block);
  if (SUCCEEDED(hr)) {
    *lowest = static_cast<SHORT>(block.lowestChannel);
    *highest = static_cast<SHORT>(block.highestChannel);
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetChannelFrequency(BoardEntry* entry, SHORT channel,
                                                       LONG* frequency) {
  if (frequency == nullptr) return E_POINTER;
  TunerBlock block = {};
  block.channel = static_cast<uint16_t>(channel);
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kChannelFrequency, &block);
  if (SUCCEEDED(hr)) *frequency = static_cast<LONG>(block.frequency);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetFrequency(BoardEntry* entry, LONG frequency) {
  TunerBlock block = {};
  block.frequency = Word(frequency);
  return Send(entry, kBoardWrite, kxcmd::kFrequency, &block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetChannel(BoardEntry* entry, SHORT channel) {
  TunerBlock block = {};
  block.channel = static_cast<uint16_t>(channel);
  return Send(entry, kBoardWrite, kxcmd::kChannel, &block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetSignalLock(BoardEntry* entry, LONG* locked) {
  if (locked == nullptr) return E_POINTER;
  uint32_t block[1] = {0};
  const HRESULT hr = Send(entry, kBoardRead, kxcmd::kSignalLock, block);
  if (SUCCEEDED(hr)) *locked = block[0] != 0 ? 1 : 0;
  return hr;
}

// ---- IKXCapture -------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CApiMgr::OpenCapture(BoardEntry* entry, void* openRecord) {
  if (openRecord == nullptr) return E_POINTER;
  return Send(entry, kBoardWrite, kxcmd::kOpenCapture, openRecord);
}

HRESULT STDMETHODCALLTYPE CApiMgr::CloseCapture(BoardEntry* entry, LONG capture) {
  uint32_t block[1] = {Word(capture)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kCloseCapture, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetCaptureState(BoardEntry* entry, LONG capture, LONG state) {
  uint32_t block[2] = {Word(capture), Word(state)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kCaptureState, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetCaptureValue(BoardEntry* entry, LONG capture, LONG id,
                                                   LONG value) {
  uint32_t block[3] = {Word(capture), Word(id), Word(value)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kCaptureValue, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetCaptureFile(BoardEntry* entry, LONG capture,
                                                  const char* path) {
  if (path == nullptr) return E_POINTER;
  uint32_t block[2] = {Word(capture), Address(path)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kCaptureFile, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetBufferSize(BoardEntry* entry, LONG capture, LONG megabytes) {
  const ByteCountWords bytes = MegabytesToByteWords(megabytes);
  uint32_t block[3] = {Word(capture), bytes.low, bytes.high};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kBufferSize, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetEncoderParams(BoardEntry* entry, LONG capture, LONG id,
                                                    LONG value) {
  uint32_t block[3] = {Word(capture), Word(id), Word(value)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kEncoderParams, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetBufferSize(BoardEntry* entry, LONG capture, LONG* megabytes) {
  if (megabytes == nullptr) return E_POINTER;
  uint32_t byteCount = 0;
  uint32_t block[2] = {Word(capture), Address(&byteCount)};
  const HRESULT hr = SendCapture(entry, capture, kBoardRead, kxcmd::kBufferSize, block);
  if (SUCCEEDED(hr)) *megabytes = ByteCountToMegabytes(byteCount);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetCaptureFile(BoardEntry* entry, LONG capture, char* path) {
  if (path == nullptr) return E_POINTER;
  char buffer[kCaptureFileBytes] = {};
  uint32_t block[2] = {Word(capture), Address(buffer)};
  const HRESULT hr = SendCapture(entry, capture, kBoardRead, kxcmd::kCaptureFile, block);
  if (SUCCEEDED(hr)) CopyName(path, buffer, kCaptureFileBytes);
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetCaptureValues(BoardEntry* entry, LONG capture, LONG id,
                                                    LONG* value1, LONG* value2, LONG* value3,
                                                    LONG* value4) {
  if (value1 == nullptr || value2 == nullptr || value3 == nullptr || value4 == nullptr) {
    return E_POINTER;
  }
  uint32_t block[6] = {Word(capture), Word(id), 0, 0, 0, 0};
  const HRESULT hr = SendCapture(entry, capture, kBoardRead, kxcmd::kCaptureValue, block);
  if (SUCCEEDED(hr)) {
    *value1 = static_cast<LONG>(block[2]);
    *value2 = static_cast<LONG>(block[3]);
    *value3 = static_cast<LONG>(block[4]);
    *value4 = static_cast<LONG>(block[5]);
  }
  return hr;
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetEncoderParams(BoardEntry* entry, LONG capture, LONG id,
                                                    LONG* result, LONG extra) {
  if (result == nullptr) return E_POINTER;
  uint32_t block[4] = {Word(capture), Word(id), Address(result), Word(extra)};
  return SendCapture(entry, capture, kBoardRead, kxcmd::kEncoderParams, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetCaptureStatus(BoardEntry* entry, LONG capture, void* buffer) {
  if (buffer == nullptr) return E_POINTER;
  return SendCapture(entry, capture, kBoardRead, kxcmd::kCaptureStatus, buffer);
}

HRESULT STDMETHODCALLTYPE CApiMgr::SetCaptureAudioMode(BoardEntry* entry, LONG capture, LONG mode) {
  uint32_t block[1] = {Word(mode)};
  return SendCapture(entry, capture, kBoardWrite, kxcmd::kCaptureAudioMode, block);
}

HRESULT STDMETHODCALLTYPE CApiMgr::GetCapturePosition(BoardEntry* entry, LONG capture,
                                                      LONG* position) {
  if (position == nullptr) return E_POINTER;
  uint32_t block[2] = {0, 0};
  const HRESULT hr = SendCapture(entry, capture, kBoardRead, kxcmd::kCapturePosition, block);
  if (SUCCEEDED(hr)) std::memcpy(position, block, sizeof block);
  return hr;
}

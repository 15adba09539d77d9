#pragma once
// The board API manager: turns calls on its seven interfaces into commands of
// the board driver library.

#include <cstdint>

#include "apimgr/board_library.h"
#include "apimgr/kx_interfaces.h"
#include "apimgr/kx_unknown.h"

class CApiMgr;

// Handed to the board library by command 6. Its only virtual operation is
// called by the library (member-call convention) to report board events.
class CBoardNotifier {
 public:
  virtual void NotifyEvent(LONG value);
  CApiMgr* m_owner = nullptr;
};

class CApiMgr : public CKXUnknown,
                public IKXBoard,
                public IKXAudio,
                public IKXVideo,
                public IKXSnapshot,
                public IKXTuner,
                public IKXSpare,
                public IKXCapture {
 public:
  static HRESULT Create(IUnknown* outer, CKXUnknown** out);

  explicit CApiMgr(IUnknown* outer);
  ~CApiMgr() override;

  HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
  void FinalRelease() override { m_refCount = 1; }

  // IUnknown of all seven interfaces: the controlling unknown answers.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IKXBoard
  HRESULT STDMETHODCALLTYPE OpenBoard(LONG kind, LONG reserved, BoardListInfo* list) override;
  HRESULT STDMETHODCALLTYPE CloseBoard(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE CreateVideoWindow(BoardEntry* entry, HWND parent, const char* title,
                                              DWORD style, LONG param1, LONG param2, LONG left,
                                              LONG top, LONG width, LONG height) override;
  HRESULT STDMETHODCALLTYPE DestroyVideoWindow(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE Reserved1(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE Reserved2(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE GetBoardCaps(BoardEntry* entry, LONG caps[7]) override;
  HRESULT STDMETHODCALLTYPE GetVideoSizeLimits(BoardEntry* entry, LONG limits[4]) override;
  HRESULT STDMETHODCALLTYPE BoardCommand5(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE SetEventSink(BoardEntry* entry, LONG value,
                                         IKXEventSink* sink) override;

  // IKXAudio
  HRESULT STDMETHODCALLTYPE SetAudioConnection(BoardEntry* entry, LONG type, LONG param) override;
  HRESULT STDMETHODCALLTYPE StopAudio(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE SetAudioSource(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetVolume(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioLevel(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioValue105(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioValue106(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioValue107(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioValue109(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioPath(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetAudioMode(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE GetAudioModes(BoardEntry* entry, void* buffer) override;
  HRESULT STDMETHODCALLTYPE GetAudioData112(BoardEntry* entry, void* buffer) override;
  HRESULT STDMETHODCALLTYPE GetVolume(BoardEntry* entry, LONG* value) override;
  HRESULT STDMETHODCALLTYPE GetAudioPath(BoardEntry* entry, LONG* value) override;
  HRESULT STDMETHODCALLTYPE GetAudioDevices(BoardEntry* entry, AudioDeviceLists* lists) override;
  HRESULT STDMETHODCALLTYPE GetAudioInputs(BoardEntry* entry, AudioDeviceLists* lists) override;
  HRESULT STDMETHODCALLTYPE SelectAudioInput(BoardEntry* entry, const char* device,
                                             const char* input) override;

  // IKXVideo
  HRESULT STDMETHODCALLTYPE SetClosedCaption(LONG value) override;
  HRESULT STDMETHODCALLTYPE SelectVideoInput(BoardEntry* entry, LONG value, LONG type) override;
  HRESULT STDMETHODCALLTYPE Reserved3(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE SetVideoMode(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetVideoValue207(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetVideoRect(BoardEntry* entry, LONG left, LONG top, LONG right,
                                         LONG bottom, LONG* result) override;
  HRESULT STDMETHODCALLTYPE GetVideoInfo(BoardEntry* entry, LONG* result) override;
  HRESULT STDMETHODCALLTYPE EnableVideo(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE DisableVideo(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE SetVideoValues211(BoardEntry* entry, LONG value1, LONG value2) override;
  HRESULT STDMETHODCALLTYPE SetVideoValue212(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetVideoProperty(BoardEntry* entry, LONG kind, LONG value) override;
  HRESULT STDMETHODCALLTYPE GetVideoProperty(BoardEntry* entry, LONG kind, LONG* value) override;
  HRESULT STDMETHODCALLTYPE RestartVideo(BoardEntry* entry) override;
  HRESULT STDMETHODCALLTYPE SetDeinterlaceBypass(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE GetVideoStatus(BoardEntry* entry, LONG item, LONG* value) override;

  // IKXSnapshot
  HRESULT STDMETHODCALLTYPE TakeSnapshot(BoardEntry* entry, LONG value1, LONG value2, LONG value3,
                                         LONG value4, LONG value5) override;

  // IKXTuner
  HRESULT STDMETHODCALLTYPE SetTunerMode(BoardEntry* entry, LONG radio) override;
  HRESULT STDMETHODCALLTYPE SetTunerValue401(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetTunerValue402(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE SetTunerValue403(BoardEntry* entry, LONG value) override;
  HRESULT STDMETHODCALLTYPE GetFrequencyRange(BoardEntry* entry, LONG* lowest,
                                              LONG* highest) override;
  HRESULT STDMETHODCALLTYPE GetChannelRange(BoardEntry* entry, SHORT* lowest,
                                            SHORT* highest) override;
  HRESULT STDMETHODCALLTYPE GetChannelFrequency(BoardEntry* entry, SHORT channel,
                                                LONG* frequency) override;
  HRESULT STDMETHODCALLTYPE SetFrequency(BoardEntry* entry, LONG frequency) override;
  HRESULT STDMETHODCALLTYPE SetChannel(BoardEntry* entry, SHORT channel) override;
  HRESULT STDMETHODCALLTYPE GetSignalLock(BoardEntry* entry, LONG* locked) override;

  // IKXCapture
  HRESULT STDMETHODCALLTYPE OpenCapture(BoardEntry* entry, void* openRecord) override;
  HRESULT STDMETHODCALLTYPE CloseCapture(BoardEntry* entry, LONG capture) override;
  HRESULT STDMETHODCALLTYPE SetCaptureState(BoardEntry* entry, LONG capture, LONG state) override;
  HRESULT STDMETHODCALLTYPE SetCaptureValue(BoardEntry* entry, LONG capture, LONG id,
                                            LONG value) override;
  HRESULT STDMETHODCALLTYPE SetCaptureFile(BoardEntry* entry, LONG capture,
                                           const char* path) override;
  HRESULT STDMETHODCALLTYPE SetBufferSize(BoardEntry* entry, LONG capture, LONG megabytes) override;
  HRESULT STDMETHODCALLTYPE SetEncoderParams(BoardEntry* entry, LONG capture, LONG id,
                                             LONG value) override;
  HRESULT STDMETHODCALLTYPE GetBufferSize(BoardEntry* entry, LONG capture,
                                          LONG* megabytes) override;
  HRESULT STDMETHODCALLTYPE GetCaptureFile(BoardEntry* entry, LONG capture, char* path) override;
  HRESULT STDMETHODCALLTYPE GetCaptureValues(BoardEntry* entry, LONG capture, LONG id, LONG* value1,
                                             LONG* value2, LONG* value3, LONG* value4) override;
  HRESULT STDMETHODCALLTYPE GetEncoderParams(BoardEntry* entry, LONG capture, LONG id, LONG* result,
                                             LONG extra) override;
  HRESULT STDMETHODCALLTYPE GetCaptureStatus(BoardEntry* entry, LONG capture,
                                             void* buffer) override;
  HRESULT STDMETHODCALLTYPE SetCaptureAudioMode(BoardEntry* entry, LONG capture,
                                                LONG mode) override;
  HRESULT STDMETHODCALLTYPE GetCapturePosition(BoardEntry* entry, LONG capture,
                                               LONG* position) override;

  void ForwardEvent(LONG value);

 private:
  // Resolves the entry's handle (or the default handle) and sends one command.
  HRESULT Send(BoardEntry* entry, uint32_t write, uint32_t command, void* block);
  HRESULT SendWord(BoardEntry* entry, uint32_t command, uint32_t value);
  HRESULT SendCapture(BoardEntry* entry, LONG capture, uint32_t write, uint32_t command,
                      void* block);
  // Non-zero and answering the self-identification call with its own address.
  bool IsBoardHandleValid(uint32_t board) const;

  CBoardLibrary* m_library = nullptr;
  uint32_t m_board = 0;
  BoardEntry* m_entries = nullptr;
  BoardListInfo* m_list = nullptr;
  uint32_t m_defaultHandle = 0;
  CBoardNotifier m_notifier;
  IKXEventSink* m_sink = nullptr;
};

#pragma once
// The board API manager's class and its seven interfaces, in slot order.
// Every board operation takes the address of the caller's first BoardEntry
// (filled by OpenBoard) and returns an HRESULT.

#include <unknwn.h>

#include "apimgr/board_blocks.h"

// {630EFB03-3187-46C1-9542-302DC1234609}
inline constexpr CLSID CLSID_KXApiMgr = {
    0x630EFB03, 0x3187, 0x46C1, {0x95, 0x42, 0x30, 0x2D, 0xC1, 0x23, 0x46, 0x09}};
// {F6A9B57A-5234-4747-84FA-904A1BD37250}
inline constexpr IID IID_IKXBoard = {
    0xF6A9B57A, 0x5234, 0x4747, {0x84, 0xFA, 0x90, 0x4A, 0x1B, 0xD3, 0x72, 0x50}};
// {6D5E72E5-773D-4727-8F9D-56DF9E669B13}
inline constexpr IID IID_IKXAudio = {
    0x6D5E72E5, 0x773D, 0x4727, {0x8F, 0x9D, 0x56, 0xDF, 0x9E, 0x66, 0x9B, 0x13}};
// {00230F21-4A8A-426F-A330-378C87277429}
inline constexpr IID IID_IKXVideo = {
    0x00230F21, 0x4A8A, 0x426F, {0xA3, 0x30, 0x37, 0x8C, 0x87, 0x27, 0x74, 0x29}};
// {CC84F7B0-6BEF-4473-896F-5302341A6723}
inline constexpr IID IID_IKXSnapshot = {
    0xCC84F7B0, 0x6BEF, 0x4473, {0x89, 0x6F, 0x53, 0x02, 0x34, 0x1A, 0x67, 0x23}};
// {7254188E-9E59-49B7-B475-E397DED999D3}
inline constexpr IID IID_IKXTuner = {
    0x7254188E, 0x9E59, 0x49B7, {0xB4, 0x75, 0xE3, 0x97, 0xDE, 0xD9, 0x99, 0xD3}};
// {249A29C5-4457-4F50-AE2A-0B87064578DD}
inline constexpr IID IID_IKXSpare = {
    0x249A29C5, 0x4457, 0x4F50, {0xAE, 0x2A, 0x0B, 0x87, 0x06, 0x45, 0x78, 0xDD}};
// {39ED3AF3-F6D0-4533-B5B9-3227B4A6CBAD}
inline constexpr IID IID_IKXCapture = {
    0x39ED3AF3, 0xF6D0, 0x4533, {0xB5, 0xB9, 0x32, 0x27, 0xB4, 0xA6, 0xCB, 0xAD}};

// The client's event sink given to SetEventSink. The board library's events
// arrive through its only virtual operation (member-call convention), possibly
// on a thread of the board library.
class IKXEventSink {
 public:
  virtual void OnBoardEvent(LONG code) = 0;
};

struct IKXBoard : public IUnknown {
  // kind 0-7 or 100; list: the caller's BoardListInfo.
  virtual HRESULT STDMETHODCALLTYPE OpenBoard(LONG kind, LONG reserved, BoardListInfo* list) = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseBoard(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateVideoWindow(BoardEntry* entry, HWND parent,
                                                      const char* title, DWORD style, LONG param1,
                                                      LONG param2, LONG left, LONG top, LONG width,
                                                      LONG height) = 0;
  virtual HRESULT STDMETHODCALLTYPE DestroyVideoWindow(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved1(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved2(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBoardCaps(BoardEntry* entry, LONG caps[7]) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVideoSizeLimits(BoardEntry* entry, LONG limits[4]) = 0;
  virtual HRESULT STDMETHODCALLTYPE BoardCommand5(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEventSink(BoardEntry* entry, LONG value,
                                                 IKXEventSink* sink) = 0;
};

struct IKXAudio : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetAudioConnection(BoardEntry* entry, LONG type,
                                                       LONG param) = 0;
  virtual HRESULT STDMETHODCALLTYPE StopAudio(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioSource(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVolume(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioLevel(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioValue105(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioValue106(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioValue107(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioValue109(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioPath(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAudioMode(BoardEntry* entry, LONG value) = 0;
  // buffer: one byte that receives the mask of receivable audio modes.
  virtual HRESULT STDMETHODCALLTYPE GetAudioModes(BoardEntry* entry, void* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAudioData112(BoardEntry* entry, void* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolume(BoardEntry* entry, LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAudioPath(BoardEntry* entry, LONG* value) = 0;
  // lists->deviceCount must hold the address of the caller's count.
  virtual HRESULT STDMETHODCALLTYPE GetAudioDevices(BoardEntry* entry, AudioDeviceLists* lists) = 0;
  // lists->selectedDevice names the device; lists->inputCount holds the
  // address of the caller's count.
  virtual HRESULT STDMETHODCALLTYPE GetAudioInputs(BoardEntry* entry, AudioDeviceLists* lists) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectAudioInput(BoardEntry* entry, const char* device,
                                                     const char* input) = 0;
};

struct IKXVideo : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetClosedCaption(LONG value) = 0;
  // type: 1 tuner, 2 composite, 3 S-Video.
  virtual HRESULT STDMETHODCALLTYPE SelectVideoInput(BoardEntry* entry, LONG value, LONG type) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved3(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVideoMode(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVideoValue207(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVideoRect(BoardEntry* entry, LONG left, LONG top, LONG right,
                                                 LONG bottom, LONG* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVideoInfo(BoardEntry* entry, LONG* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableVideo(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE DisableVideo(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVideoValues211(BoardEntry* entry, LONG value1,
                                                      LONG value2) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVideoValue212(BoardEntry* entry, LONG value) = 0;
  // kind: 0 brightness, 1 contrast, 2 hue, 3 saturation, 4 the fifth property.
  virtual HRESULT STDMETHODCALLTYPE SetVideoProperty(BoardEntry* entry, LONG kind, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVideoProperty(BoardEntry* entry, LONG kind, LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE RestartVideo(BoardEntry* entry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDeinterlaceBypass(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVideoStatus(BoardEntry* entry, LONG item, LONG* value) = 0;
};

struct IKXSnapshot : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE TakeSnapshot(BoardEntry* entry, LONG value1, LONG value2,
                                                 LONG value3, LONG value4, LONG value5) = 0;
};

struct IKXTuner : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetTunerMode(BoardEntry* entry, LONG radio) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTunerValue401(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTunerValue402(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTunerValue403(BoardEntry* entry, LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFrequencyRange(BoardEntry* entry, LONG* lowest,
                                                      LONG* highest) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelRange(BoardEntry* entry, SHORT* lowest,
                                                    SHORT* highest) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelFrequency(BoardEntry* entry, SHORT channel,
                                                        LONG* frequency) = 0;
  // hertz
  virtual HRESULT STDMETHODCALLTYPE SetFrequency(BoardEntry* entry, LONG frequency) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannel(BoardEntry* entry, SHORT channel) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSignalLock(BoardEntry* entry, LONG* locked) = 0;
};

struct IKXSpare : public IUnknown {};

// The capture handle is the value the board stores through the last field of
// the open record given to OpenCapture; 0 means none.
struct IKXCapture : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OpenCapture(BoardEntry* entry, void* openRecord) = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseCapture(BoardEntry* entry, LONG capture) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCaptureState(BoardEntry* entry, LONG capture,
                                                    LONG state) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCaptureValue(BoardEntry* entry, LONG capture, LONG id,
                                                    LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCaptureFile(BoardEntry* entry, LONG capture,
                                                   const char* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBufferSize(BoardEntry* entry, LONG capture,
                                                  LONG megabytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEncoderParams(BoardEntry* entry, LONG capture, LONG id,
                                                     LONG value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBufferSize(BoardEntry* entry, LONG capture,
                                                  LONG* megabytes) = 0;
  // path: the caller's buffer of at least 260 bytes.
  virtual HRESULT STDMETHODCALLTYPE GetCaptureFile(BoardEntry* entry, LONG capture, char* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCaptureValues(BoardEntry* entry, LONG capture, LONG id,
                                                     LONG* value1, LONG* value2, LONG* value3,
                                                     LONG* value4) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEncoderParams(BoardEntry* entry, LONG capture, LONG id,
                                                     LONG* result, LONG extra) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCaptureStatus(BoardEntry* entry, LONG capture,
                                                     void* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCaptureAudioMode(BoardEntry* entry, LONG capture,
                                                        LONG mode) = 0;
  // position: two 32-bit words.
  virtual HRESULT STDMETHODCALLTYPE GetCapturePosition(BoardEntry* entry, LONG capture,
                                                       LONG* position) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IKXBoard, 0xF6A9B57A, 0x5234, 0x4747, 0x84, 0xFA, 0x90, 0x4A, 0x1B, 0xD3, 0x72,
                0x50)
__CRT_UUID_DECL(IKXAudio, 0x6D5E72E5, 0x773D, 0x4727, 0x8F, 0x9D, 0x56, 0xDF, 0x9E, 0x66, 0x9B,
                0x13)
__CRT_UUID_DECL(IKXVideo, 0x00230F21, 0x4A8A, 0x426F, 0xA3, 0x30, 0x37, 0x8C, 0x87, 0x27, 0x74,
                0x29)
__CRT_UUID_DECL(IKXSnapshot, 0xCC84F7B0, 0x6BEF, 0x4473, 0x89, 0x6F, 0x53, 0x02, 0x34, 0x1A, 0x67,
                0x23)
__CRT_UUID_DECL(IKXTuner, 0x7254188E, 0x9E59, 0x49B7, 0xB4, 0x75, 0xE3, 0x97, 0xDE, 0xD9, 0x99,
                0xD3)
__CRT_UUID_DECL(IKXSpare, 0x249A29C5, 0x4457, 0x4F50, 0xAE, 0x2A, 0x0B, 0x87, 0x06, 0x45, 0x78,
                0xDD)
__CRT_UUID_DECL(IKXCapture, 0x39ED3AF3, 0xF6D0, 0x4533, 0xB5, 0xB9, 0x32, 0x27, 0xB4, 0xA6, 0xCB,
                0xAD)
#endif

#pragma once
// IDeinterlaceControl: the settings, grab and frame-information interface of
// kxDIgrab and kxDISnap, and the class ids of both libraries. The two filters
// answer the same method table under different interface ids.

#include "win32/windows_include.h"
#include <unknwn.h>

namespace brontel {

// {D216C7E1-0BB8-44BA-80A8-2C13DECC2930}
inline constexpr CLSID kClsidDeinterlaceGrabFilter = {
    0xd216c7e1, 0x0bb8, 0x44ba, {0x80, 0xa8, 0x2c, 0x13, 0xde, 0xcc, 0x29, 0x30}};
// {CAA109F6-8F50-475A-967A-691197CF8BEB}
inline constexpr CLSID kClsidFrameSnapFilter = {
    0xcaa109f6, 0x8f50, 0x475a, {0x96, 0x7a, 0x69, 0x11, 0x97, 0xcf, 0x8b, 0xeb}};
// {4BA40261-518A-44F8-A82D-20459FEBF602}
inline constexpr CLSID kClsidDeinterlaceGrabPage = {
    0x4ba40261, 0x518a, 0x44f8, {0xa8, 0x2d, 0x20, 0x45, 0x9f, 0xeb, 0xf6, 0x02}};
// {222C5152-9E6C-47BD-89FB-09B456DF7CE0}
inline constexpr CLSID kClsidFrameSnapPage = {
    0x222c5152, 0x9e6c, 0x47bd, {0x89, 0xfb, 0x09, 0xb4, 0x56, 0xdf, 0x7c, 0xe0}};
// IDeinterlaceControl on kxDIgrab: {3B5AEE7C-AB21-4329-91F0-D5B44EAB1FC3}
inline constexpr IID kIidDeinterlaceControlGrab = {
    0x3b5aee7c, 0xab21, 0x4329, {0x91, 0xf0, 0xd5, 0xb4, 0x4e, 0xab, 0x1f, 0xc3}};
// IDeinterlaceControl on kxDISnap: {ADD24D71-B36F-43BA-813F-C967C713F157}
inline constexpr IID kIidDeinterlaceControlSnap = {
    0xadd24d71, 0xb36f, 0x43ba, {0x81, 0x3f, 0xc9, 0x67, 0xc7, 0x13, 0xf1, 0x57}};

// Every method takes the filter's settings lock.
struct IDeinterlaceControl : public IUnknown {
  // The five settings: mode (1110-1115), filter (1120-1122), Delta 1-3.
  // kxDIgrab: E_POINTER when any address is null, nothing written.
  // kxDISnap keeps no settings: does nothing, S_OK.
  virtual HRESULT STDMETHODCALLTYPE GetSettings(LONG* mode, LONG* filter, LONG* delta1,
                                                LONG* delta2, LONG* delta3) = 0;
  // Stores the five values unchecked (kxDISnap: does nothing). Effective at
  // the next frame.
  virtual HRESULT STDMETHODCALLTYPE SetSettings(LONG mode, LONG filter, LONG delta1, LONG delta2,
                                                LONG delta3) = 0;
  // 1 once a requested frame has been copied, else 0. E_POINTER for null.
  virtual HRESULT STDMETHODCALLTYPE GetGrabStatus(LONG* status) = 0;
  // Request value 1: the next frame is copied into buffer (which must hold a
  // frame's data length) and the status goes back to 0 until then. Any other
  // value only replaces the buffer and request, and never copies.
  virtual HRESULT STDMETHODCALLTYPE GrabFrame(BYTE* buffer, LONG request) = 0;
  // Width, height, bits per pixel and data length of the last frame; -1 each
  // before the first. E_POINTER when any address is null, nothing written.
  virtual HRESULT STDMETHODCALLTYPE GetFrameInfo(LONG* width, LONG* height, LONG* bitsPerPixel,
                                                 LONG* dataLength) = 0;
};

}  // namespace brontel

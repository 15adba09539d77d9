// The manager as the main program uses it: created through CoCreateInstance
// from its registration, the board opened, all seven interfaces driven while
// the picture window shows the virtual board's moving picture. Screenshots go
// to <build>/test-output.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "apimgr/kx_interfaces.h"
#include "apimgr/wine_test_support.h"

namespace {

using apimgr_test::Capture;
using apimgr_test::CaptureWindow;

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

size_t DifferentPixels(const Capture& a, const Capture& b) {
  if (a.pixels.size() != b.pixels.size()) return a.pixels.size() + b.pixels.size();
  size_t count = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i] ? 1 : 0;
  return count;
}

double Brightness(const Capture& c) {
  double sum = 0;
  for (uint32_t p : c.pixels) sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
  return c.pixels.empty() ? 0 : sum / (3.0 * c.pixels.size());
}

// Pumps messages until the picture window shows what `wanted` accepts;
// the last picture taken is left in `shown`.
template <typename Wanted>
bool Shows(HWND picture, Capture* shown, Wanted wanted) {
  return apimgr_test::PumpUntil(
      [&] {
        *shown = CaptureWindow(picture);
        return wanted(*shown);
      },
      3000);
}

template <typename T>
T* Query(IUnknown* from, const IID& iid) {
  T* out = nullptr;
  return from->QueryInterface(iid, reinterpret_cast<void**>(&out)) == S_OK ? out : nullptr;
}

TEST(PictureDemo, ManagerDrivesTheVirtualBoardWhileThePictureMoves) {
  ASSERT_TRUE(apimgr_test::RegisterManager());
  CoInitialize(nullptr);
  IKXBoard* board = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_KXApiMgr, nullptr, CLSCTX_INPROC_SERVER, IID_IKXBoard,
                             reinterpret_cast<void**>(&board)),
            S_OK);
  IKXAudio* audio = Query<IKXAudio>(board, IID_IKXAudio);
  IKXVideo* video = Query<IKXVideo>(board, IID_IKXVideo);
  IKXTuner* tuner = Query<IKXTuner>(board, IID_IKXTuner);
  IKXSnapshot* snapshot = Query<IKXSnapshot>(board, IID_IKXSnapshot);
  IKXCapture* capture = Query<IKXCapture>(board, IID_IKXCapture);
  IUnknown* spare = Query<IUnknown>(board, IID_IKXSpare);
  ASSERT_TRUE(audio && video && tuner && snapshot && capture && spare);

  // The main program's start sequence.
  BoardEntry entries[10] = {};
  BoardListInfo list = {sizeof entries,
                        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entries))};
  ASSERT_EQ(board->OpenBoard(7, 0, &list), S_OK);
  LONG caps[7] = {};
  LONG limits[4] = {};
  ASSERT_EQ(board->GetBoardCaps(entries, caps), S_OK);
  ASSERT_EQ(board->GetVideoSizeLimits(entries, limits), S_OK);
  EXPECT_LE(limits[0], kPictureWidth);
  EXPECT_GE(limits[2], kPictureWidth);
  static AudioDeviceLists devices;
  uint32_t deviceCount = 0;
  devices.deviceCount = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&deviceCount));
  ASSERT_EQ(audio->GetAudioDevices(entries, &devices), S_OK);
  EXPECT_GT(deviceCount, 0u);

  HWND host = apimgr_test::CreateHostWindow(L"Brontel picture test", kPictureWidth, kPictureHeight);
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(video->SetDeinterlaceBypass(entries, 0), S_OK);
  ASSERT_EQ(board->CreateVideoWindow(entries, host, "Pellamy Screen", 0x50000000, 1, 0, 0, 0,
                                     kPictureWidth, kPictureHeight),
            S_OK);
  HWND picture = FindWindowExW(host, nullptr, nullptr, L"Pellamy Screen");
  ASSERT_NE(picture, nullptr);

  ASSERT_EQ(audio->SetAudioConnection(entries, 2, 0), S_OK);
  ASSERT_EQ(audio->SetAudioLevel(entries, 50), S_OK);
  ASSERT_EQ(audio->SetAudioPath(entries, 0), S_OK);
  ASSERT_EQ(audio->SetVolume(entries, 50), S_OK);
  ASSERT_EQ(video->SelectVideoInput(entries, 0, 1), S_OK);
  ASSERT_EQ(audio->SetAudioSource(entries, 0), S_OK);
  ASSERT_EQ(video->SetVideoMode(entries, 0), S_OK);
  ASSERT_EQ(tuner->SetTunerMode(entries, 0), S_OK);
  for (LONG kind = 0; kind < 4; ++kind) ASSERT_EQ(video->SetVideoProperty(entries, kind, 50), S_OK);

  // A station: colour bars with a moving box.
  LONG hertz = 0;
  ASSERT_EQ(tuner->GetChannelFrequency(entries, 4, &hertz), S_OK);
  ASSERT_EQ(tuner->SetFrequency(entries, hertz), S_OK);
  LONG locked = 0;
  ASSERT_EQ(tuner->GetSignalLock(entries, &locked), S_OK);
  EXPECT_EQ(locked, 1);
  ASSERT_EQ(audio->SetAudioMode(entries, 1), S_OK);
  Capture station;
  ASSERT_TRUE(Shows(picture, &station, [](const Capture& c) { return Brightness(c) > 20; }));
  ASSERT_EQ(station.width, kPictureWidth);
  Capture stationLater;
  EXPECT_TRUE(Shows(picture, &stationLater, [&](const Capture& c) {
    return DifferentPixels(station, c) > 100;
  })) << "the picture moves";
  LONG frames = 0;
  EXPECT_TRUE(apimgr_test::PumpUntil(
      [&] { return video->GetVideoStatus(entries, 1, &frames) == S_OK && frames >= 10; }, 2000))
      << "about 30 frames a second, " << frames << " so far";
  EXPECT_TRUE(apimgr_test::SaveCapture(station,
                                       apimgr_test::TestOutputDir() + L"virtualboard_station.bmp"));

  // Another station looks different.
  ASSERT_EQ(tuner->SetChannel(entries, 6), S_OK);
  Capture otherStation;
  EXPECT_TRUE(Shows(picture, &otherStation, [&](const Capture& c) {
    return DifferentPixels(station, c) > station.pixels.size() / 4;
  }));

  // Colour properties are visible.
  ASSERT_EQ(video->SetVideoProperty(entries, 0, 90), S_OK);
  Capture brighter;
  EXPECT_TRUE(Shows(picture, &brighter, [&](const Capture& c) {
    return Brightness(c) > Brightness(otherStation) + 20;
  }));
  EXPECT_TRUE(apimgr_test::SaveCapture(brighter,
                                       apimgr_test::TestOutputDir() + L"virtualboard_bright.bmp"));
  ASSERT_EQ(video->SetVideoProperty(entries, 0, 50), S_OK);

  // No station: noise.
  ASSERT_EQ(tuner->SetFrequency(entries, hertz + 3000000), S_OK);
  ASSERT_EQ(tuner->GetSignalLock(entries, &locked), S_OK);
  EXPECT_EQ(locked, 0);
  Capture noise;
  EXPECT_TRUE(Shows(picture, &noise, [&](const Capture& c) {
    return DifferentPixels(c, station) > c.pixels.size() / 2;
  }));
  EXPECT_TRUE(
      apimgr_test::SaveCapture(noise, apimgr_test::TestOutputDir() + L"virtualboard_noise.bmp"));

  // Composite input, then the radio: no picture.
  ASSERT_EQ(video->SelectVideoInput(entries, 0, 2), S_OK);
  ASSERT_EQ(video->SelectVideoInput(entries, 0, 0), S_OK);
  ASSERT_EQ(audio->SetAudioSource(entries, 2), S_OK);
  ASSERT_EQ(tuner->SetTunerMode(entries, 1), S_OK);
  ASSERT_EQ(tuner->SetFrequency(entries, 80000000), S_OK);
  ASSERT_EQ(tuner->GetSignalLock(entries, &locked), S_OK);
  EXPECT_EQ(locked, 1) << "a radio station on 80.0 MHz";
  Capture radio;
  EXPECT_TRUE(Shows(picture, &radio, [](const Capture& c) { return Brightness(c) < 1.0; }));

  // A still picture needs a path; a capture opens and closes.
  EXPECT_EQ(snapshot->TakeSnapshot(entries, 0, 0, 0, 0, 0), E_FAIL);
  uint32_t captureHandle = 0;
  uint32_t record[6] = {0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host)),          1, 0,
                        0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&captureHandle))};
  EXPECT_EQ(capture->OpenCapture(entries, record), S_OK);
  EXPECT_NE(captureHandle, 0u);
  EXPECT_EQ(capture->CloseCapture(entries, static_cast<LONG>(captureHandle)), S_OK);

  // Shutdown as the main program does it.
  EXPECT_EQ(audio->StopAudio(entries), S_OK);
  EXPECT_EQ(board->DestroyVideoWindow(entries), S_OK);
  EXPECT_EQ(board->CloseBoard(entries), S_OK);
  spare->Release();
  capture->Release();
  snapshot->Release();
  tuner->Release();
  video->Release();
  audio->Release();
  EXPECT_EQ(board->Release(), 0u);
  DestroyWindow(host);
  CoUninitialize();
}

}  // namespace

// Radio playback of the main dialog: the radio's recordings play through the
// hidden media player control, which the dialog hosts from its start.

#include "app/brontel_dlg.h"

#include "app/recording/radio_playback_tick.h"
#include "win32/resource_module.h"
#include "lang/resource_ids.h"
#include "win32/text_convert.h"

namespace brontel {
namespace {

// {22D6F312-B0F6-11D0-94AB-0080C74C7E95}
const CLSID kMediaPlayerClass = {
    0x22D6F312, 0xB0F6, 0x11D0, {0x94, 0xAB, 0x00, 0x80, 0xC7, 0x4C, 0x7E, 0x95}};

constexpr DISPID kPlayerFileName = 1026;
constexpr DISPID kPlayerCurrentPosition = 1027;
constexpr DISPID kPlayerDuration = 1003;
constexpr DISPID kPlayerPlay = 2001;
constexpr DISPID kPlayerPause = 2002;
constexpr DISPID kPlayerStop = 2003;

constexpr wchar_t kPlayerMissingText[] =
    L"The media player is not installed, so radio recordings cannot be played.";
constexpr wchar_t kCannotPlayText[] = L"This radio recording cannot be played:";

void ShowPlayerMessage(HWND owner, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), LoadResString(IDS_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void CBrontelDlg::CreateMediaPlayer() {
  // An empty rectangle: the control only plays sound and never shows.
  const RECT hidden = {0, 0, 0, 0};
  const HRESULT hr = m_mediaPlayer.Create(m_hwnd, kMediaPlayerClass, hidden);
  if (FAILED(hr)) {
    // The program runs without it; a radio playback then says what is missing.
    wchar_t text[96];
    wsprintfW(text, L"Brontel: the media player control is not available (0x%08lX)\r\n",
              static_cast<unsigned long>(hr));
    OutputDebugStringW(text);
  }
}

bool CBrontelDlg::OpenRadioFile(const std::string& path) {
  if (!m_mediaPlayer.IsCreated()) {
    ShowPlayerMessage(m_hwnd, kPlayerMissingText);
    return false;
  }
  const DispatchOutcome opened =
      PutDispatchString(m_mediaPlayer.Dispatch(), kPlayerFileName, Widen(path));
  if (!opened.Succeeded()) {
    std::wstring text = std::wstring(kCannotPlayText) + L"\r\n" + Widen(path);
    if (!opened.description.empty()) text += L"\r\n" + opened.description;
    ShowPlayerMessage(m_hwnd, text);
    return false;
  }
  return true;
}

bool CBrontelDlg::StartRadioPlayback(const std::string& path) {
  if (!OpenRadioFile(path)) return false;
  const DispatchOutcome played = InvokeDispatchMethod(m_mediaPlayer.Dispatch(), kPlayerPlay);
  if (!played.Succeeded()) {
    ShowPlayerMessage(m_hwnd, std::wstring(kCannotPlayText) + L"\r\n" + Widen(path));
    return false;
  }
  return true;
}

void CBrontelDlg::PlayRadio() {
  InvokeDispatchMethod(m_mediaPlayer.Dispatch(), kPlayerPlay);
}

void CBrontelDlg::PauseRadio() {
  InvokeDispatchMethod(m_mediaPlayer.Dispatch(), kPlayerPause);
}

void CBrontelDlg::StopRadio() {
  InvokeDispatchMethod(m_mediaPlayer.Dispatch(), kPlayerStop);
}

void CBrontelDlg::SeekRadio(std::int64_t seconds) {
  PutDispatchDouble(m_mediaPlayer.Dispatch(), kPlayerCurrentPosition, static_cast<double>(seconds));
}

void CBrontelDlg::OnRadioPositionTick() {
  if (!RadioPlaybackRuns()) return;
  recording::RadioTickInput input;
  // A failed read keeps the last times rather than showing a jump to 0.
  if (!GetDispatchDouble(m_mediaPlayer.Dispatch(), kPlayerCurrentPosition, &input.positionSec)
           .Succeeded() ||
      !GetDispatchDouble(m_mediaPlayer.Dispatch(), kPlayerDuration, &input.durationSec)
           .Succeeded()) {
    return;
  }
  input.lElapsedSec = lElapsedSec;
  input.bMultiPart = bMultiPart;
  input.bAtEnd = bAtEnd;
  const recording::RadioTick tick = recording::RadioPlaybackTick(input);
  if (!tick.show) return;
  lElapsedSec = tick.lElapsedSec;
  lRemainSec = tick.lRemainSec;
  ShowMediaTime(panel::kAreaElapsed, true, panel::kKindPlay, lElapsedSec);
  ShowMediaTime(panel::kAreaRemaining, true, panel::kKindPlay, lRemainSec);
  if (!tick.stepToNextPart) return;
  if (StepPlaybackPart(true)) {
    PlayRadio();
  } else {
    bAtEnd = true;
  }
}

}  // namespace brontel

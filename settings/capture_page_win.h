#pragma once
// The capture settings page: the folders for recordings and the time-shift
// buffer, how a recording is limited, the encoder profiles, the capture
// preview and the sound capture device. It works on the sheet's working
// copy and checks the limits against the free disk space before it lets go.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_page_win.h"

namespace brontel {

class CCaptSetPtyPage : public SettingsPage {
 public:
  CCaptSetPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnScroll(HWND control, WORD code) override;
  void OnDestroy() override;

 private:
  // What the limit fields show now.
  struct LimitFields {
    std::int32_t Rec_clt = 0;
    std::int32_t bMultiple = 0;
    std::int32_t lRecSizeLimitMB = 1;
    std::int32_t lRecTimeLimitSec = 0;
    std::int32_t lTSBufferSizeMB = 1;
  };

  void ShowLimitKind(std::int32_t kind);
  void EnableLimitControls();
  LimitFields ReadLimitFields() const;
  void FillProfiles();
  void ApplyRecordProfile(int index);
  void ApplyTimeShiftProfile(int index);
  void FillAudioDevices();
  void FillAudioInputs();
  void OnAudioDeviceChosen();
  void OnAudioInputChosen();
  void Browse(bool forRecording);
  void ShowNtfsNotice();
  // The free-space figures; `warn` shows the notices that come with them.
  void UpdateRecordFigures(bool warn);
  void UpdateTimeShiftFigures(bool warn);
  void CheckFoldersStillExist();
  // Whether the field was typed into since it was last asked; clears it.
  bool TakeEdited(int id);
  void Notice(unsigned textId, unsigned captionId);
  std::uint32_t PreviewWord() const;

  std::vector<std::string> m_devices;
  std::vector<std::string> m_inputs;
  bool m_initialised = false;
  // A notice is up: the folder timer and the figures wait for it.
  bool m_inNotice = false;
};

}  // namespace brontel

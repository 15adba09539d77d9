#pragma once
// The radio page: the FM station list, filled by a band scan or by hand,
// with seek and tuning on the board while the page is open.

#include <optional>
#include <vector>

#include "settings/radio_band.h"
#include "settings/settings_page_win.h"

namespace brontel {

class CRDSetPtyPage : public SettingsPage {
 public:
  CRDSetPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnReset() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnDestroy() override;

 private:
  void FillList();
  void AddRow(const StationRow& row);
  void Tune(std::int32_t hertz);
  bool HasSignal();
  void ShowFrequency(std::int32_t hertz);

  void StartScan();
  void ScanTick();
  void StopScan();
  void StartSeek(bool up);
  void SeekTick();
  void StopSeek();
  void EnableTuning(bool enable);
  // The typed frequency, or nullopt after saying why it cannot be used.
  std::optional<std::int32_t> TypedHertz();

  RadioBand m_band{};
  std::int32_t m_hertz = 0;
  std::vector<StationRow> m_rows;
  std::optional<RadioScan> m_scan;
  bool m_seeking = false;
  bool m_seekUp = false;
  bool m_tuned = false;
};

}  // namespace brontel

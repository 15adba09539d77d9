#pragma once
// The TV setup page: antenna or cable, the channel scan, seeking the next
// channel with a signal, adding a channel by number, fine-tuning and naming
// channels, the region whose station names are offered for programme-guide
// matching, and the preferred second-audio mode. The board is tuned live;
// the channel list goes into the working copy after every change.

#include "win32/windows_include.h"

#include <cstdint>
#include <string>
#include <vector>

#include "settings/channel_rows.h"
#include "settings/channel_scan.h"
#include "settings/settings_page_win.h"
#include "tv/freq_tables.h"

namespace brontel {

class CTVSetPtyPage : public SettingsPage {
 public:
  CTVSetPtyPage(CAppSettings& working, SettingsSheetHost& host);

 protected:
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnReset() override;
  void OnCommand(WORD id, WORD code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnDestroy() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // In-place editors of the list's cells live in the list; their messages
  // come here through these subclass procedures.
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

  std::int32_t Table();
  void ReadLimits();
  void FillRegion();
  void LoadGuideNames();
  void SetupList();

  // The list view and its rows.
  HWND List() const;
  int RowCount() const;
  ChannelRow Row(int index) const;
  std::vector<ChannelRow> Rows() const;
  void InsertRow(int index, const ChannelRow& row);
  void SetCell(int index, int column, const std::string& text);
  void FillList(const std::vector<ChannelRow>& rows);
  // The working copy's channel table from the list.
  void Rebuild();

  // The board, live.
  void TuneHertz(std::int32_t hertz);
  void TuneWithoutOffset(std::int32_t channel);
  void TuneWithOffset(std::int32_t channel);
  bool Signal();
  void ShowCurrent();

  void OnTunerSource(std::int32_t source);
  void OnScanButton();
  void ScanTick();
  void StopScan();
  void OnSeekButton(bool up);
  void SeekTick();
  void StopSeek();
  void OnTuneTyped();
  void OnAddTyped();
  std::int32_t TypedNumber() const;
  void RefuseTyped(UINT textId);
  void OnRowSelected(int index);
  void OnDoubleClick(int index, int column);
  void OnDeleteRows();
  void FineTune(int index);
  void SetControlsForScan(bool scanning);

  void BeginEdit(int index, int column);
  void EndEdit(bool keep);

  FreqTables m_tables;
  bool m_tablesLoaded = false;
  std::int32_t m_lowest = 0;
  std::int32_t m_highest = 0;
  std::int32_t m_current = 0;
  std::int32_t m_lastPreviewed = -1;
  std::vector<std::string> m_guideNames;
  ChannelScan m_scan;
  ChannelSeek m_seek;
  bool m_filling = false;
  // Whether the page has moved the board off the panel's channel.
  bool m_tunedLive = false;

  HWND m_editor = nullptr;
  int m_editRow = -1;
  int m_editColumn = -1;
};

}  // namespace brontel

#include "app/panel/panel_skin_win.h"

#include "app/panel/panel_elements.h"
#include "skin/skin_control.h"
#include "win32/text_convert.h"

namespace brontel::panel {
namespace {

constexpr wchar_t kBlankLabel[] = L" ";

}  // namespace

UINT MessageForBindResult(SkinBindResult result) {
  switch (result) {
    case SkinBindResult::kBound:
      return 0;
    case SkinBindResult::kNoControl:
    case SkinBindResult::kFileMissing:
    case SkinBindResult::kFileUnreadable:
      return kStringSkinMissing;
    case SkinBindResult::kFileMalformed:
    case SkinBindResult::kElementMissing:
      return kStringElementMissing;
  }
  return kStringSkinMissing;
}

std::wstring DefaultSkinPath() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  std::wstring path(folder, length < MAX_PATH ? length : 0);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + kSkinFileName;
}

SkinBindResult PanelSkin::LoadAndBind(HWND dialog, const std::wstring& path) {
  m_dialog = dialog;
  m_skin = nullptr;
  m_elements.clear();
  m_missing.clear();
  HWND skinWindow = GetDlgItem(dialog, kSkinItemId);
  if (!skinWindow) return SkinBindResult::kNoControl;
  skin::SkinControl control(skinWindow);
  switch (control.Load(path.c_str())) {
    case skin::kSkinLoaded:
      break;
    case skin::kSkinFileMissing:
      return SkinBindResult::kFileMissing;
    case skin::kSkinUnreadable:
      return SkinBindResult::kFileUnreadable;
    case skin::kSkinMalformed:
      return SkinBindResult::kFileMalformed;
  }
  // Every element must be there before anything is recorded.
  std::map<std::string, BoundElement> elements;
  for (const char* name : kRequiredElements) {
    const int index = control.FindElement(Widen(name).c_str());
    if (index < 0) {
      m_missing = name;
      return SkinBindResult::kElementMissing;
    }
    const int left = control.GetLeft(index);
    const int top = control.GetTop(index);
    elements[name] = BoundElement{
        index, RECT{left, top, left + control.GetWidth(index), top + control.GetHeight(index)}};
  }
  for (const LabelArea& area : kLabelAreas) {
    HWND label = GetDlgItem(dialog, area.labelId);
    if (label) skin::PlaceSkinLabel(label, skinWindow, Widen(area.element).c_str());
  }
  m_elements.swap(elements);
  m_skin = skinWindow;
  for (int id : {kLabelChannelName, kLabelChannelNumber, kLabelElapsed, kLabelRemaining}) {
    SetDlgItemTextW(dialog, id, kBlankLabel);
  }
  return SkinBindResult::kBound;
}

void PanelSkin::Show(const char* name, bool shown) {
  auto it = m_elements.find(name);
  if (it == m_elements.end() || !m_skin) return;
  skin::SkinControl control(m_skin);
  const RECT& rect = it->second.rect;
  control.SetWidth(it->second.index, shown ? rect.right - rect.left : 0);
  control.SetHeight(it->second.index, shown ? rect.bottom - rect.top : 0);
}

void PanelSkin::Apply(const std::vector<ElementVisibility>& list) {
  for (const ElementVisibility& entry : list) {
    if (entry.visibility != Visibility::kLeave) {
      Show(entry.element, entry.visibility == Visibility::kShow);
    }
  }
}

void PanelSkin::ShowPanel(bool splash) {
  auto it = m_elements.find(kElementSplash);
  if (it == m_elements.end() || !m_skin) return;
  skin::SkinControl control(m_skin);
  control.SetLeft(it->second.index, 0);
  control.SetTop(it->second.index, 0);
  Show(kElementSplash, splash);
  Show(kElementMainPanel, !splash);
}

void PanelSkin::Refresh(const PanelView& view) {
  if (!m_skin) return;
  const PanelState& state = view.state;
  Apply(SourceIndicators(view.sourceChangePending ? view.pendingSource : state.msCurrSrc));
  if (view.sourceChangePending) return;
  Apply(SoundIndicators(view.amCurrAudioMode));
  Apply(QualityIndicators(state.msCurrSrc, view.cmCurrRecMode));
  const ChannelDisplay channel = MakeChannelDisplay(state.lRunMode, state.msCurrSrc, view.channel);
  SetLabel(kLabelChannelNumber, channel.numberText);
  SetLabel(kLabelChannelName, channel.nameText);
  Apply(DisabledOverlays(GetActionStates(state)));
  Apply(SoundButtons(view.bAudioOn));
}

void PanelSkin::ShowVolume(int level) {
  if (!m_skin) return;
  // Looked up at each drawing: the meter is not part of the binding.
  skin::SkinControl control(m_skin);
  const int region = control.FindElement(Widen(kElementVolMeterRegion).c_str());
  const int meter = control.FindElement(Widen(kElementVolMeter).c_str());
  if (region < 0 || meter < 0) return;
  const PanelRect rect =
      VolumeMeterRect(PanelRect{control.GetLeft(region), control.GetTop(region),
                                control.GetWidth(region), control.GetHeight(region)},
                      level);
  control.SetLeft(meter, rect.left);
  control.SetTop(meter, rect.top);
  control.SetWidth(meter, rect.width);
  control.SetHeight(meter, rect.height);
}

void PanelSkin::ShowTime(const TimeDisplay& plan) {
  for (const LabelText& label : plan.labels) SetLabel(label.labelId, label.text);
  Apply(plan.elements);
}

void PanelSkin::ShowSchedule(bool shown) {
  Show(kElementSchedule, shown);
}

void PanelSkin::SetLabel(int labelId, const std::string& utf8) {
  if (!m_dialog) return;
  const std::wstring text = Widen(utf8);
  HWND label = GetDlgItem(m_dialog, labelId);
  if (!label) return;
  // Unchanged text is not redrawn: the refresh runs after every action.
  wchar_t current[256] = {};
  GetWindowTextW(label, current, 256);
  if (text.size() < 255 && text == current) return;
  SetWindowTextW(label, text.c_str());
}

SIZE PanelSkin::MainPanelSize() const {
  auto it = m_elements.find(kElementMainPanel);
  if (it == m_elements.end()) return SIZE{0, 0};
  return SIZE{it->second.rect.right - it->second.rect.left,
              it->second.rect.bottom - it->second.rect.top};
}

}  // namespace brontel::panel

// The shipped AppSkin.skn: it reads cleanly and holds everything the panel
// binds, with the right codes on its buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "app/panel/panel_elements.h"
#include "skin/skin_parser.h"

namespace brontel::skin {
namespace {

SkinModel LoadAppSkin() {
  std::ifstream in(BRONTEL_APPSKIN_PATH, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  SkinModel model;
  SkinError error;
  EXPECT_TRUE(ParseSkin(text.str(), &model, &error)) << FormatSkinError("AppSkin.skn", error);
  return model;
}

TEST(AppSkin, HasEveryElementThePanelBinds) {
  const SkinModel model = LoadAppSkin();
  for (const char* name : panel::kRequiredElements) {
    EXPECT_GE(model.Find(name), 0) << name;
  }
  EXPECT_GE(model.Find(panel::kElementVolMeter), 0);
  EXPECT_EQ(model.elements[model.Find(panel::kElementVolMeterRegion)].kind, ElementKind::kRegion);
  for (const auto& area : panel::kLabelAreas) {
    ASSERT_GE(model.Find(area.element), 0) << area.element;
    EXPECT_EQ(model.elements[model.Find(area.element)].kind, ElementKind::kLabel) << area.element;
  }
}

TEST(AppSkin, ButtonsCarryTheirActionCodes) {
  const SkinModel model = LoadAppSkin();
  const std::pair<const char*, std::int32_t> buttons[] = {
      {"TimeShiftBtn", 10100}, {"SkipPrevBtn", 10110}, {"FastRevBtn", 10120},
      {"PlayBtn", 10130},      {"PauseBtn", 10140},    {"FastFwdBtn", 10150},
      {"SkipNextBtn", 10160},  {"RecordBtn", 10170},   {"StopBtn", 10180},
      {"InputSrcBtn", 10190},  {"SndModeBtn", 10200},  {"RecModeBtn", 10210},
      {"RsvpModeBtn", 10220},  {"SettingBtn", 10230},  {"FullScrnBtn", 10240},
      {"SnapBtn", 10250},      {"ChnUpBtn", 10260},    {"ChnDnBtn", 10270},
      {"AudioOnBtn", 10300},   {"AudioOffBtn", 10300}, {"ExitBtn", 10310},
      {"MinimizeBtn", 10320},
  };
  for (const auto& [name, code] : buttons) {
    const int index = model.Find(name);
    ASSERT_GE(index, 0) << name;
    EXPECT_EQ(model.elements[index].kind, ElementKind::kButton) << name;
    EXPECT_EQ(model.elements[index].action, code) << name;
  }
  const Element& up = model.elements[model.Find("VolUpBtn")];
  EXPECT_EQ(up.press, 10281);
  EXPECT_EQ(up.release, 10280);
  EXPECT_EQ(up.action, 0);
  const Element& down = model.elements[model.Find("VolDnBtn")];
  EXPECT_EQ(down.press, 10291);
  EXPECT_EQ(down.release, 10290);
}

TEST(AppSkin, EachDisabledOverlayCoversItsButton) {
  const SkinModel model = LoadAppSkin();
  for (const char* overlayName : panel::kDisabledOverlays) {
    std::string buttonName = overlayName;
    buttonName.resize(buttonName.size() - 2);  // "-D"
    const int overlay = model.Find(overlayName);
    const int button = model.Find(buttonName);
    ASSERT_GE(button, 0) << buttonName;
    EXPECT_EQ(model.elements[overlay].kind, ElementKind::kOverlay) << overlayName;
    EXPECT_EQ(model.elements[overlay].design, model.elements[button].design) << overlayName;
    EXPECT_GT(overlay, button) << overlayName << " must lie above its button";
  }
}

TEST(AppSkin, PanelsFitTheSkinAndSplashLiesOnTop) {
  const SkinModel model = LoadAppSkin();
  const Rect bounds = model.Bounds();
  const Element& main = model.elements[model.Find("MainPanel")];
  const Element& splash = model.elements[model.Find("Splash")];
  EXPECT_EQ(main.design, bounds);
  EXPECT_EQ(splash.design, bounds);
  EXPECT_GT(model.Find("Splash"), model.Find("MainPanel"));
  // Everything else sits inside the panel.
  for (const Element& element : model.elements) {
    EXPECT_GE(element.design.left, 0) << element.name;
    EXPECT_GE(element.design.top, 0) << element.name;
    EXPECT_LE(element.design.left + element.design.width, bounds.width) << element.name;
    EXPECT_LE(element.design.top + element.design.height, bounds.height) << element.name;
  }
}

// Damaged copies of the real skin: every one is either read or refused with
// a line inside the file, and never crashes the reader.
TEST(AppSkin, DamagedCopiesAreReadOrRefusedNeverCrash) {
  std::ifstream in(BRONTEL_APPSKIN_PATH, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string original = buffer.str();
  const int lines = static_cast<int>(std::count(original.begin(), original.end(), '\n'));
  std::mt19937 random(20261208);
  const char noise[] = "#\"\\ -0123456789abcdefxyz\n\r\t\x80\xC3\xFF";
  int refused = 0;
  for (int round = 0; round < 400; ++round) {
    std::string text = original;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 3) {
        case 0:
          text[at] = noise[random() % (sizeof(noise) - 1)];
          break;
        case 1:
          text.erase(at, 1 + random() % 8);
          break;
        default:
          text.insert(at, 1, noise[random() % (sizeof(noise) - 1)]);
          break;
      }
    }
    SkinModel model;
    SkinError error;
    if (!ParseSkin(text, &model, &error)) {
      ++refused;
      EXPECT_GE(error.line, 1) << error.message;
      EXPECT_LE(error.line, lines + 40) << error.message;
      EXPECT_FALSE(error.message.empty());
      EXPECT_TRUE(model.elements.empty());
    }
  }
  // Most damage is noticed.
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace brontel::skin

#include "settings/colour_sets.h"

#include <gtest/gtest.h>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

bool Same(const InputColour& a, const InputColour& b) {
  return a.lBrightness == b.lBrightness && a.lContrast == b.lContrast &&
         a.lSaturation == b.lSaturation && a.lHue == b.lHue;
}

TEST(ColourSets, StoredValuesOutsideTheSliderRangeShowAsZero) {
  VidClrGroup group;
  group.tv = InputColour{150, -1, 0, 100};
  group.video1 = InputColour{101, 50, -9999, 99};
  group.video2 = InputColour{1, 2, 3, 4};
  const ColourSets sets = ColourSetsOf(group);
  EXPECT_TRUE(Same(sets[0], InputColour{0, 0, 0, 100}));
  EXPECT_TRUE(Same(sets[1], InputColour{0, 50, 0, 99}));
  EXPECT_TRUE(Same(sets[2], InputColour{1, 2, 3, 4}));
}

TEST(ColourSets, ShownInputAndBoardPreview) {
  const struct {
    bool allSame;
    std::int32_t live;
    ColourInput initial;
    ColourInput shown;
    bool previews;
  } cases[] = {
      {false, kSourceTv, ColourInput::kTv, ColourInput::kTv, true},
      {false, kSourceVideo, ColourInput::kVideo1, ColourInput::kVideo1, true},
      {false, kSourceSVideo, ColourInput::kVideo2, ColourInput::kVideo2, true},
      {false, kSourceVideo, ColourInput::kVideo1, ColourInput::kVideo2, false},
      {false, kSourceTv, ColourInput::kTv, ColourInput::kVideo1, false},
      {true, kSourceSVideo, ColourInput::kTv, ColourInput::kTv, true},   // shared set
      {false, kSourceRadio, ColourInput::kTv, ColourInput::kTv, false},  // no picture
      {true, kSourceRadio, ColourInput::kTv, ColourInput::kTv, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InitialColourInput(c.allSame, c.live), c.initial) << c.allSame << " " << c.live;
    EXPECT_EQ(ColourPreviewsOnBoard(c.shown, c.live, c.allSame), c.previews)
        << c.allSame << " " << c.live << " " << static_cast<int>(c.shown);
  }
}

TEST(ColourSets, ChangeGoesToTheShownSetOrToAllWhenShared) {
  const InputColour start{10, 20, 30, 40};
  const struct {
    ColourInput shown;
    ColourProperty property;
    std::int32_t value;
    bool allSame;
    InputColour tv, video1, video2;
  } cases[] = {
      {ColourInput::kVideo1, ColourProperty::kContrast, 77, false, start, {10, 77, 30, 40}, start},
      {ColourInput::kVideo2, ColourProperty::kHue, 5, false, start, start, {10, 20, 30, 5}},
      {ColourInput::kTv,
       ColourProperty::kSaturation,
       60,
       true,
       {10, 20, 60, 40},
       {10, 20, 60, 40},
       {10, 20, 60, 40}},
      {ColourInput::kTv, ColourProperty::kBrightness, 130, false, {100, 20, 30, 40}, start, start},
  };
  for (const auto& c : cases) {
    ColourSets sets{start, start, start};
    StoreColourChange(&sets, c.shown, c.property, c.value, c.allSame);
    EXPECT_TRUE(Same(sets[0], c.tv)) << c.value;
    EXPECT_TRUE(Same(sets[1], c.video1)) << c.value;
    EXPECT_TRUE(Same(sets[2], c.video2)) << c.value;
  }
}

TEST(ColourSets, SharingCopiesTvIntoBothVideoSetsAndKeepsTheFlags) {
  ColourSets sets{InputColour{1, 2, 3, 4}, InputColour{5, 6, 7, 8}, InputColour{9, 9, 9, 9}};
  ShareTvColour(&sets);
  VidClrGroup group;
  group.bColorAllSame = 1;
  group.bUseDeinterlacer = 0;
  StoreColourSets(sets, &group);
  EXPECT_TRUE(Same(group.video1, InputColour{1, 2, 3, 4}));
  EXPECT_TRUE(Same(group.video2, InputColour{1, 2, 3, 4}));
  EXPECT_EQ(group.bColorAllSame, 1);
  EXPECT_EQ(group.bUseDeinterlacer, 0);
}

}  // namespace
}  // namespace brontel

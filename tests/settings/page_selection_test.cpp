#include "settings/page_selection.h"

#include <gtest/gtest.h>

#include "app/vocabulary/source_numbers.h"

namespace brontel {
namespace {

using P = SheetPage;

TEST(SheetPages, MaskPicksPagesInTabOrderWithAboutLast) {
  const struct {
    std::uint32_t mask;
    std::uint32_t built;
    std::vector<SheetPage> pages;
  } cases[] = {
      {0, 0xFFFFFFFFu, {P::kAbout}},
      {0x7D,
       0xFFFFFFFFu,
       {P::kTv, P::kColour, P::kSnapshot, P::kCapture, P::kScheduler, P::kAbout}},
      {0x7C, 0xFFFFFFFFu, {P::kColour, P::kSnapshot, P::kCapture, P::kScheduler, P::kAbout}},
      {0x72, 0xFFFFFFFFu, {P::kRadio, P::kCapture, P::kScheduler, P::kAbout}},
      {0x40, 0xFFFFFFFFu, {P::kAbout}},  // 0x40 selects nothing
      {0x7D, 0x2C, {P::kColour, P::kSnapshot, P::kScheduler, P::kAbout}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectedPages(c.mask, c.built), c.pages) << std::hex << c.mask << " " << c.built;
  }
}

TEST(SheetPages, MainProgramMaskBySourceAndMediaState) {
  const struct {
    bool media;
    std::int32_t source;
    std::uint32_t mask;
  } cases[] = {
      {true, kSourceTv, 0},         {false, kSourceTv, 0x7D},    {false, kSourceVideo, 0x7C},
      {false, kSourceSVideo, 0x7C}, {false, kSourceRadio, 0x72}, {true, kSourceRadio, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SheetMaskFor(c.media, c.source), c.mask) << c.media << " " << c.source;
  }
}

}  // namespace
}  // namespace brontel

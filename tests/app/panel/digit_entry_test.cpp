// Channel-number entry with the entry key and timer 400.
#include <gtest/gtest.h>

#include <vector>

#include "app/panel/digit_entry.h"

namespace brontel::panel {
namespace {

// Digit entry drives timer 400; Step says what the dialog does next.
struct Key {
  enum Kind { kDigit, kEntry, kTimer } kind;
  int digit = 0;
};

TEST(DigitEntry, TypedNumbersFromTheCases) {
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::vector<std::int32_t> selected;
  };
  const Case cases[] = {
      {"1-2-5 gives 125",
       {{Key::kEntry}, {Key::kDigit, 1}, {Key::kDigit, 2}, {Key::kDigit, 5}},
       {125}},
      {"2-1 gives 21", {{Key::kEntry}, {Key::kDigit, 2}, {Key::kDigit, 1}}, {21}},
      {"7 then a wait gives 7", {{Key::kEntry}, {Key::kDigit, 7}, {Key::kTimer}}, {7}},
      {"1 without entry mode gives 1", {{Key::kDigit, 1}}, {1}},
      {"entry key again selects at once", {{Key::kEntry}, {Key::kDigit, 1}, {Key::kEntry}}, {1}},
      {"19 waits, then times out",
       {{Key::kEntry}, {Key::kDigit, 1}, {Key::kDigit, 9}, {Key::kTimer}},
       {19}},
      {"leading zero", {{Key::kEntry}, {Key::kDigit, 0}, {Key::kDigit, 4}, {Key::kTimer}}, {4}},
      {"timeout without digits selects nothing", {{Key::kEntry}, {Key::kTimer}}, {}},
      {"after an entry digits select at once again",
       {{Key::kEntry}, {Key::kDigit, 3}, {Key::kDigit, 0}, {Key::kDigit, 4}},
       {30, 4}},
  };
  for (const Case& c : cases) {
    DigitEntry entry;
    std::vector<std::int32_t> selected;
    for (const Key& key : c.keys) {
      DigitEntry::Step step;
      if (key.kind == Key::kDigit) step = entry.OnDigit(key.digit);
      if (key.kind == Key::kEntry) step = entry.OnEntryKey(true);
      if (key.kind == Key::kTimer) step = entry.OnTimer();
      if (step.select) selected.push_back(step.number);
    }
    EXPECT_EQ(selected, c.selected) << c.name;
    EXPECT_EQ(entry.lDigitEntry(), -1) << c.name;
    EXPECT_FALSE(entry.bDigitEntryMode()) << c.name;
  }
}

TEST(DigitEntry, TimerRestartsWhileTypingAndStopsAtTheEnd) {
  DigitEntry entry;
  EXPECT_EQ(entry.OnEntryKey(true).timer, DigitEntry::Timer::kRestart);
  EXPECT_TRUE(entry.bDigitEntryMode());
  DigitEntry::Step step = entry.OnDigit(1);
  EXPECT_FALSE(step.select);
  EXPECT_EQ(step.timer, DigitEntry::Timer::kRestart);
  EXPECT_EQ(entry.lDigitEntry(), 1);
  step = entry.OnDigit(2);
  EXPECT_EQ(step.timer, DigitEntry::Timer::kRestart);
  EXPECT_EQ(entry.lDigitEntry(), 12);
  step = entry.OnDigit(5);
  EXPECT_TRUE(step.select);
  EXPECT_EQ(step.timer, DigitEntry::Timer::kStop);
}

TEST(DigitEntry, EntryKeyIgnoredForVideoInputsAndBadDigits) {
  DigitEntry entry;
  EXPECT_EQ(entry.OnEntryKey(false).timer, DigitEntry::Timer::kLeave);
  EXPECT_FALSE(entry.bDigitEntryMode());
  EXPECT_FALSE(entry.OnDigit(10).select);
  EXPECT_FALSE(entry.OnDigit(-1).select);
}

}  // namespace
}  // namespace brontel::panel

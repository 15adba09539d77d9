#pragma once
// Direct channel-number entry from the digit keys, with the entry key and
// timer 400 (3000 ms) closing an entry that stalls.

#include <cstdint>

namespace brontel::panel {

// Numbers from here on are selected as soon as they are typed.
constexpr std::int32_t kDigitEntryImmediateFrom = 20;

class DigitEntry {
 public:
  enum class Timer {
    kLeave,    // timer 400 as it is
    kRestart,  // (re)start timer 400 with 3000 ms
    kStop,     // kill timer 400
  };

  struct Step {
    bool select = false;      // select channel `number` now
    std::int32_t number = 0;  // only with `select`
    Timer timer = Timer::kLeave;
  };

  // A digit key (0 to 9; anything else is ignored).
  Step OnDigit(int digit);
  // The entry key; entry mode starts only for the TV and radio sources.
  Step OnEntryKey(bool sourceTakesNumbers);
  // Timer 400 fired.
  Step OnTimer();

  // Channel number being typed, -1 when none.
  std::int32_t lDigitEntry() const { return m_lDigitEntry; }
  bool bDigitEntryMode() const { return m_bDigitEntryMode; }

 private:
  Step Finish();

  std::int32_t m_lDigitEntry = -1;
  bool m_bDigitEntryMode = false;
};

}  // namespace brontel::panel

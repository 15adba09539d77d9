#include "app/panel/digit_entry.h"

namespace brontel::panel {

DigitEntry::Step DigitEntry::Finish() {
  Step step;
  step.timer = Timer::kStop;
  m_bDigitEntryMode = false;
  if (m_lDigitEntry >= 0) {
    step.select = true;
    step.number = m_lDigitEntry;
  }
  // Cleared whether or not a channel of that number exists, so that a number
  // nobody can tune never sticks to the next entry.
  m_lDigitEntry = -1;
  return step;
}

DigitEntry::Step DigitEntry::OnDigit(int digit) {
  Step step;
  if (digit < 0 || digit > 9) return step;
  if (!m_bDigitEntryMode) {
    step.select = true;
    step.number = digit;
    return step;
  }
  m_lDigitEntry = m_lDigitEntry < 0 ? digit : m_lDigitEntry * 10 + digit;
  if (m_lDigitEntry >= kDigitEntryImmediateFrom) return Finish();
  step.timer = Timer::kRestart;
  return step;
}

DigitEntry::Step DigitEntry::OnEntryKey(bool sourceTakesNumbers) {
  if (m_lDigitEntry >= 0) return Finish();
  Step step;
  if (sourceTakesNumbers) {
    m_bDigitEntryMode = true;
    step.timer = Timer::kRestart;
  }
  return step;
}

DigitEntry::Step DigitEntry::OnTimer() {
  return Finish();
}

}  // namespace brontel::panel

#pragma once
// The countdown of the notice dialogs: a number of seconds shown as text and
// as a progress bar that fills while the seconds run out.

#include <string>

namespace brontel {

class Countdown {
 public:
  explicit Countdown(int seconds) : m_total(seconds < 0 ? 0 : seconds), m_left(m_total) {}

  int SecondsLeft() const { return m_left; }
  // The progress bar runs from 0 to Total().
  int Total() const { return m_total; }
  int ProgressPosition() const { return m_total - m_left; }
  bool Finished() const { return m_left == 0; }
  // One second has passed; true when the countdown has just reached 0.
  bool Tick() {
    if (m_left == 0) return false;
    --m_left;
    return m_left == 0;
  }

 private:
  int m_total;
  int m_left;
};

// Formats a text with one integer argument: the first "%d" (also written
// "%ld" or "%i") becomes the number and "%%" a single percent sign. Any
// other conversion is copied as it stands, so a faulty translation can
// never read arguments that are not there.
std::string FormatWithInteger(const std::string& format, long value);

}  // namespace brontel

#include "settings/channel_scan.h"

namespace brontel {

void ChannelScan::Start(std::int32_t lowest, std::int32_t highest) {
  m_lowest = lowest;
  m_highest = highest;
  m_current = lowest;
  m_progress = 0;
  m_found = 0;
  m_running = true;
}

void ChannelScan::Stop() {
  m_running = false;
  m_current = m_lowest;
}

std::optional<std::int32_t> ChannelScan::ChannelToTune() const {
  if (!m_running || m_current > m_highest) return std::nullopt;
  return m_current;
}

void ChannelScan::Visited(bool signal) {
  if (!m_running || m_current > m_highest) return;
  ++m_progress;
  if (signal) ++m_found;
  ++m_current;
}

bool ChannelSeek::Start(std::int32_t current, bool up, std::int32_t lowest, std::int32_t highest) {
  if (up ? current >= highest : current <= lowest) return false;
  m_up = up;
  m_lowest = lowest;
  m_highest = highest;
  m_current = current + (up ? 1 : -1);
  m_running = true;
  return true;
}

bool ChannelSeek::Tried(bool signal) {
  if (!m_running) return false;
  // The end channel is tried like any other before the seek gives up, so
  // that a station there can be found.
  if (signal || (m_up ? m_current >= m_highest : m_current <= m_lowest)) {
    m_running = false;
    return false;
  }
  m_current += m_up ? 1 : -1;
  return true;
}

}  // namespace brontel

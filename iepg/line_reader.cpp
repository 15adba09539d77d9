#include "iepg/line_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace brontel {
namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;

bool IsLineEnd(char c) {
  return c == kCarriageReturn || c == kLineFeed;
}

}  // namespace

std::uint32_t MemorySource::Read(char* buffer, std::uint32_t size) {
  const std::size_t count = std::min<std::size_t>(size, m_bytes.size() - m_position);
  if (count > 0) std::memcpy(buffer, m_bytes.data() + m_position, count);
  m_position += count;
  return static_cast<std::uint32_t>(count);
}

std::string FormatOverflowWarning(std::uint32_t line, std::uint32_t bufferSize) {
  char text[128];
  std::snprintf(text, sizeof text, "m_pBuffer overflow in line %u (line length over %d chars)",
                static_cast<unsigned>(line), static_cast<int>(bufferSize));
  return text;
}

CLineReader::CLineReader(std::uint32_t capacity, WarningSink warn)
    : m_capacity(capacity), m_readBuffer(capacity), m_warn(std::move(warn)) {}

bool CLineReader::Open(std::unique_ptr<ByteSource> source) {
  Close();
  if (!source) return false;
  m_source = std::move(source);
  return true;
}

void CLineReader::Close() {
  m_source.reset();
  m_validCount = 0;
  m_position = 0;
  m_lineCounter = 0;
  m_endOfFile = false;
}

bool CLineReader::Refill() {
  m_validCount = m_source->Read(m_readBuffer.data(), m_capacity);
  m_position = 0;
  if (m_validCount < m_capacity) m_endOfFile = true;
  return m_validCount > 0;
}

std::uint32_t CLineReader::ReturnLine(char* buffer, std::uint32_t length) {
  buffer[length] = 0;
  return ++m_lineCounter;
}

void CLineReader::Warn(std::uint32_t bufferSize) {
  if (m_warn) m_warn(FormatOverflowWarning(m_lineCounter, bufferSize));
}

std::uint32_t CLineReader::ReadLine(char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = 0;
  if (!m_source) return 0;
  std::uint32_t length = 0;
  for (;;) {
    if (m_position >= m_validCount) {
      // A short read already showed the end: nothing more will come.
      if (m_endOfFile || !Refill()) {
        if (length > 0) return ReturnLine(buffer, length);
        m_lineCounter = 0;
        return 0;
      }
    }
    while (m_position < m_validCount) {
      if (length + 1 == size) {
        // The line buffer is full while more of the line is present: hand
        // out what fits, the rest comes back as the next line.
        ++m_lineCounter;
        Warn(size);
        buffer[length] = 0;
        return m_lineCounter;
      }
      const char c = m_readBuffer[m_position];
      if (!IsLineEnd(c)) {
        buffer[length++] = c;
      } else {
        if (m_position + 1 < m_validCount && IsLineEnd(m_readBuffer[m_position + 1])) {
          // CR LF (or LF LF, an empty line) is one line end; an empty line
          // still takes a line number.
          if (length == 0) ++m_lineCounter;
          ++m_position;
        }
        if (length > 0) return ReturnLine(buffer, length);
      }
      ++m_position;
    }
  }
}

std::string CLineReader::ReadLine() {
  if (m_lineBuffer.size() != m_capacity) m_lineBuffer.assign(m_capacity, 0);
  if (m_capacity == 0 || ReadLine(m_lineBuffer.data(), m_capacity) == 0) return std::string();
  return std::string(m_lineBuffer.data());
}

}  // namespace brontel

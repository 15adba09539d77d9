#pragma once
// Buffered reader of the text lines of an iEPG file. Bytes are handed out as
// they are in the file: no character set conversion happens here.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brontel {

// Where the reader gets its bytes from: a file on Windows, memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes; returns how many were read, 0 at the end.
  virtual std::uint32_t Read(char* buffer, std::uint32_t size) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
  std::uint32_t Read(char* buffer, std::uint32_t size) override;

 private:
  std::string m_bytes;
  std::size_t m_position = 0;
};

// The line and read buffer size the handler uses.
constexpr std::uint32_t kIepgLineBufferSize = 2048;

class CLineReader {
 public:
  // Receives the text of the overflow warning.
  using WarningSink = std::function<void(const std::string& message)>;

  explicit CLineReader(std::uint32_t capacity = kIepgLineBufferSize, WarningSink warn = nullptr);

  // Takes the opened file; false when there is none.
  bool Open(std::unique_ptr<ByteSource> source);
  bool IsOpen() const { return m_source != nullptr; }
  void Close();

  // Copies the next non-empty line, without its line end, into `buffer`
  // (`size` bytes, zero-terminated) and returns its line number; 0 at the
  // end of the file. A line that does not fit is cut after size - 1 bytes
  // with a warning; its rest comes back as the next line.
  std::uint32_t ReadLine(char* buffer, std::uint32_t size);
  // The same with the reader's capacity as line buffer; empty at the end.
  std::string ReadLine();

  std::uint32_t lineCounter() const { return m_lineCounter; }
  std::uint32_t capacity() const { return m_capacity; }

 private:
  bool Refill();
  std::uint32_t ReturnLine(char* buffer, std::uint32_t length);
  void Warn(std::uint32_t bufferSize);

  std::uint32_t m_capacity;
  std::vector<char> m_readBuffer;
  std::uint32_t m_validCount = 0;
  std::uint32_t m_position = 0;
  std::uint32_t m_lineCounter = 0;
  bool m_endOfFile = false;
  std::unique_ptr<ByteSource> m_source;
  WarningSink m_warn;
  std::vector<char> m_lineBuffer;  // for the owned-string form
};

// "m_pBuffer overflow in line %u (line length over %d chars)".
std::string FormatOverflowWarning(std::uint32_t line, std::uint32_t bufferSize);

}  // namespace brontel

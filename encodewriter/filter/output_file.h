#pragma once
// The recording file: created anew, readable by other processes while it
// grows, written straight through to the system's file layer.

#include "win32/windows_include.h"

#include <string>

#include "encodewriter/output_file_writer.h"

namespace brontel {

class OutputFile final : public encodewriter::FileSink {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { Close(); }

  // `name` in the system code page. False when the file cannot be created.
  bool Create(const std::string& name);
  void Close();
  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

  bool Write(const std::uint8_t* data, std::uint32_t length) override;
  bool SeekToStart() override;

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

}  // namespace brontel

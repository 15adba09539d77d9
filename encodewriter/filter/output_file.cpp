#include "encodewriter/filter/output_file.h"

namespace brontel {

bool OutputFile::Create(const std::string& name) {
  Close();
  // Shared for reading only: a player may follow the recording, but nobody
  // else may write into it.
  m_handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return IsOpen();
}

void OutputFile::Close() {
  if (IsOpen()) {
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }
}

bool OutputFile::Write(const std::uint8_t* data, std::uint32_t length) {
  DWORD written = 0;
  return WriteFile(m_handle, data, length, &written, nullptr) && written == length;
}

bool OutputFile::SeekToStart() {
  return SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

}  // namespace brontel

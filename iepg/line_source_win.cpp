#include "iepg/line_source_win.h"

#include "win32/windows_include.h"

namespace brontel {
namespace {

class FileSource : public ByteSource {
 public:
  explicit FileSource(HANDLE file) : m_file(file) {}
  ~FileSource() override { CloseHandle(m_file); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::uint32_t Read(char* buffer, std::uint32_t size) override {
    DWORD read = 0;
    if (!ReadFile(m_file, buffer, size, &read, nullptr)) return 0;
    return read;
  }

 private:
  HANDLE m_file;
};

}  // namespace

std::unique_ptr<ByteSource> OpenIepgFile(const std::wstring& path) {
  if (path.empty()) return nullptr;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return nullptr;
  return std::make_unique<FileSource>(file);
}

}  // namespace brontel

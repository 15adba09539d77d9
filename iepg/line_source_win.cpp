#include "iepg/line_source_win.h"

#include "win32/handles.h"
#include "win32/windows_include.h"

#include <utility>

namespace brontel {
namespace {

class FileSource : public ByteSource {
 public:
  explicit FileSource(UniqueHandle file) : m_file(std::move(file)) {}

  std::uint32_t Read(char* buffer, std::uint32_t size) override {
    DWORD read = 0;
    if (!ReadFile(m_file.Get(), buffer, size, &read, nullptr)) return 0;
    return read;
  }

 private:
  UniqueHandle m_file;
};

}  // namespace

std::unique_ptr<ByteSource> OpenIepgFile(const std::wstring& path) {
  if (path.empty()) return nullptr;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<FileSource>(std::move(file));
}

}  // namespace brontel

#include "win32/atomic_file.h"

#include "win32/handles.h"
#include "win32/windows_include.h"

namespace brontel {
namespace {

// The folder part of a path, "." for a bare name.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  // "C:\name" keeps its root backslash; "C:name" is relative to the drive.
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  while (size > 0) {
    // WriteFile takes a DWORD; large buffers go in pieces.
    const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::wstring& path, const void* data, std::size_t size) {
  if (path.empty() || (size > 0 && !data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // A name that ends in a separator names a folder, not a file.
  if (path.back() == L'\\' || path.back() == L'/') {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  // Windows refuses to replace a read-only file but Wine does not; a file
  // the user protected stays as it is everywhere.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  wchar_t temporary[MAX_PATH];
  // Creates a new, empty, uniquely named file; fails when the folder is missing.
  if (!GetTempFileNameW(FolderOf(path).c_str(), L"brt", 0, temporary)) return false;
  bool ok = false;
  {
    UniqueHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = file && WriteAll(file.Get(), data, size) && FlushFileBuffers(file.Get());
  }
  if (ok)
    ok = MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary);
    SetLastError(error);
  }
  return ok;
}

}  // namespace brontel

#pragma once
// Writing a whole file all or nothing: the bytes go to a temporary file in
// the same folder, which then replaces the target in one step. A reader sees
// the old file or the complete new one, never a part.

#include <cstddef>
#include <string>

namespace brontel {

// True when `path` holds exactly the bytes. On false nothing is left behind
// (no temporary file, the old file untouched) and GetLastError tells why:
// a missing folder, a full disk, a folder or a read-only file in the way.
bool WriteFileAtomically(const std::wstring& path, const void* data, std::size_t size);

}  // namespace brontel

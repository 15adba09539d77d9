#pragma once
// Where a Wine test finds the product and puts what it leaves for people to
// look at, and how Unix paths of the source tree look from inside Wine.

#include <string>

namespace brontel::test_support {

// The folder of the running test program, <build>/bin, where the product
// lies too; with a trailing backslash.
std::wstring ExeDir();

// <build>/test-output (next to the bin folder), created when missing, with a
// trailing backslash.
std::wstring TestOutputDir();

// The Windows temporary folder, with a trailing backslash.
std::wstring TempDir();

// A Unix path as Wine shows it: the Unix root is drive Z:.
std::wstring UnixToWinePath(const std::string& unixPath);

// Writes `bytes` to `path`, replacing the file; false when it cannot.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace brontel::test_support

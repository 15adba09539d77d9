#include "outside/virtualboard/board_journal.h"

#include "win32/windows_include.h"

#include <cstring>
#include <mutex>

#include "apimgr/board_journal_format.h"

namespace {

constexpr DWORD kPathChars = 1024;
constexpr size_t kMaxJournalText = 259;

std::mutex g_journalLock;

std::string ReadText(uint32_t address) {
  const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(address));
  return std::string(text, strnlen(text, kMaxJournalText));
}

}  // namespace

std::string DescribeBlock(uint32_t command, bool write, const void* block) {
  return FormatBoardBlock(command, write, block, ReadText);
}

void AppendJournalLine(uint32_t command, bool write, int32_t result, const std::string& block) {
  wchar_t path[kPathChars];
  const DWORD length = GetEnvironmentVariableW(L"KXTVA_JOURNAL", path, kPathChars);
  if (length == 0 || length >= kPathChars) {
    return;
  }
  const std::string line = FormatJournalLine(command, write, result, block) + "\n";
  std::lock_guard<std::mutex> guard(g_journalLock);
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

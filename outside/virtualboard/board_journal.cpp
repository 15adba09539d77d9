#include "outside/virtualboard/board_journal.h"

#include "win32/windows_include.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "apimgr/board_journal_format.h"
#include "win32/handles.h"

namespace {

constexpr DWORD kPathChars = 1024;
constexpr size_t kMaxJournalText = 259;

std::mutex g_journalLock;

std::string ReadText(uint32_t address) {
  const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(address));
  return std::string(text, strnlen(text, kMaxJournalText));
}

// The caller's record, read as the board reads it.
std::vector<uint32_t> ReadWords(uint32_t address, size_t count) {
  std::vector<uint32_t> words(count);
  std::memcpy(words.data(), reinterpret_cast<const void*>(static_cast<uintptr_t>(address)),
              count * sizeof(uint32_t));
  return words;
}

void AppendLine(const std::string& text) {
  wchar_t path[kPathChars];
  const DWORD length = GetEnvironmentVariableW(L"KXTVA_JOURNAL", path, kPathChars);
  if (length == 0 || length >= kPathChars) {
    return;
  }
  const std::string line = text + "\n";
  std::lock_guard<std::mutex> guard(g_journalLock);
  const brontel::UniqueHandle file(CreateFileW(path, FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return;
  }
  DWORD written = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

std::string DescribeBlock(uint32_t command, bool write, const void* block) {
  return FormatBoardBlock(command, write, block, ReadText, ReadWords);
}

void AppendJournalLine(uint32_t command, bool write, int32_t result, const std::string& block) {
  AppendLine(FormatJournalLine(command, write, result, block));
}

void JournalInitBoardClass(uint32_t boardClass, uint32_t reserved, uint32_t board) {
  AppendLine(FormatInitBoardClassLine(boardClass, reserved, board));
}

void JournalFree(uint32_t board, int32_t result) {
  AppendLine(FormatFreeLine(board, result));
}

void AppendBoardNote(const std::string& text) {
  AppendLine("board " + text);
}

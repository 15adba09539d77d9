#include "support/board_journal_win.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/test_paths_win.h"

namespace brontel::test_support {
namespace {

constexpr wchar_t kJournalVariable[] = L"KXTVA_JOURNAL";

bool ParseJournalLine(const std::string& text, JournalLine* line) {
  line->text = text;
  std::istringstream in(text);
  std::string direction, rc;
  if (!(in >> line->command >> direction >> rc)) return false;
  if (direction.size() != 1 || rc.compare(0, 3, "rc=") != 0) return false;
  line->direction = direction[0];
  line->rc = std::atoi(rc.c_str() + 3);
  std::getline(in, line->block);
  if (!line->block.empty() && line->block[0] == ' ') line->block.erase(0, 1);
  return true;
}

std::wstring TemporaryJournalPath() {
  wchar_t name[MAX_PATH] = {};
  GetTempFileNameW(TempDir().c_str(), L"kxj", 0, name);
  return name;
}

}  // namespace

BoardJournal::BoardJournal(const std::wstring& path) : m_path(path) {
  DeleteFileW(m_path.c_str());
  SetEnvironmentVariableW(kJournalVariable, m_path.c_str());
}

BoardJournal::BoardJournal() : BoardJournal(TemporaryJournalPath()) {
  m_temporary = true;
}

BoardJournal::~BoardJournal() {
  SetEnvironmentVariableW(kJournalVariable, nullptr);
  if (m_temporary) DeleteFileW(m_path.c_str());
}

std::vector<std::string> BoardJournal::Texts() const {
  std::vector<std::string> lines;
  std::ifstream in(m_path.c_str(), std::ios::binary);
  std::string text;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    lines.push_back(text);
  }
  return lines;
}

std::vector<JournalLine> BoardJournal::Read() const {
  std::vector<JournalLine> lines;
  for (const std::string& text : Texts()) {
    JournalLine line;
    // A line still being written has no end yet; the board writes whole lines.
    if (ParseJournalLine(text, &line)) lines.push_back(line);
  }
  return lines;
}

std::vector<JournalLine> BoardJournal::ReadFrom(size_t first, int command) const {
  const std::vector<JournalLine> all = Read();
  std::vector<JournalLine> lines;
  for (size_t i = first; i < all.size(); ++i) {
    if (command == 0 || all[i].command == command) lines.push_back(all[i]);
  }
  return lines;
}

}  // namespace brontel::test_support

#pragma once
// The virtual board's journal (KXTVA_JOURNAL), read from outside: one line
// per command the product sent to the board.

#include <string>
#include <vector>

namespace brontel::test_support {

// "<command> <W|R> rc=<result> <block>".
struct JournalLine {
  int command = 0;
  char direction = '?';
  int rc = 0;
  std::string block;
  std::string text;  // the whole line
};

// Points KXTVA_JOURNAL at a fresh file for the board loaded by this process
// or by the programs it starts from now on; the variable is cleared again
// on destruction.
class BoardJournal {
 public:
  // A file that is kept for a person to read afterwards.
  explicit BoardJournal(const std::wstring& path);
  // A temporary file, deleted on destruction.
  BoardJournal();
  ~BoardJournal();
  BoardJournal(const BoardJournal&) = delete;
  BoardJournal& operator=(const BoardJournal&) = delete;

  std::vector<JournalLine> Read() const;
  // Lines from `first` on, of one command only (0: every command).
  std::vector<JournalLine> ReadFrom(size_t first, int command = 0) const;
  // The whole lines, as written.
  std::vector<std::string> Texts() const;
  size_t Size() const { return Read().size(); }
  const std::wstring& path() const { return m_path; }

 private:
  std::wstring m_path;
  bool m_temporary = false;
};

}  // namespace brontel::test_support

#pragma once
// One line per call of an entry point, appended to the file named by the
// environment variable KXTVA_JOURNAL (nothing is written when it is unset).

#include <cstdint>
#include <string>

// The decoded block is taken before the command runs, the result after.
std::string DescribeBlock(uint32_t command, bool write, const void* block);
void AppendJournalLine(uint32_t command, bool write, int32_t result, const std::string& block);
// The two entry points besides kxTVA_DoThis, each journalled after it ran.
void JournalInitBoardClass(uint32_t boardClass, uint32_t reserved, uint32_t board);
void JournalFree(uint32_t board, int32_t result);
// What the board did that its commands do not show: a graph built, a file
// opened or closed, a snapshot written. These lines start with "board ".
void AppendBoardNote(const std::string& text);

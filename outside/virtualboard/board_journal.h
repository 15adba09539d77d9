#pragma once
// One line per kxTVA_DoThis call, appended to the file named by the
// environment variable KXTVA_JOURNAL (nothing is written when it is unset).

#include <cstdint>
#include <string>

// The decoded block is taken before the command runs, the result after.
std::string DescribeBlock(uint32_t command, bool write, const void* block);
void AppendJournalLine(uint32_t command, bool write, int32_t result, const std::string& block);

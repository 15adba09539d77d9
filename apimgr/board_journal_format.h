#pragma once
// Text form of one board command, as the virtual board writes it to its
// journal. Shared so that tests can build the expected lines.

#include <cstdint>
#include <functional>
#include <string>

// Reads the zero-terminated 8-bit text at a 32-bit address.
using BlockTextReader = std::function<std::string(uint32_t address)>;

// The block decoded by its layout for this command and direction, as it
// arrived (before the board acted on it); "-" for no block and "hex=..." with
// the first 16 bytes for a command whose layout is unknown.
std::string FormatBoardBlock(uint32_t command, bool write, const void* block,
                             const BlockTextReader& readText);

// "<command> <R|W> rc=<result> <block>"
std::string FormatJournalLine(uint32_t command, bool write, int32_t result,
                              const std::string& blockText);

// A text quoted with '"'; '"' and bytes outside printable ASCII are written
// as \xNN (a backslash stands for itself, as paths are full of them).
std::string QuoteJournalText(const std::string& text);

// Bytes of an unknown block shown in hex.
constexpr size_t kJournalRawBytes = 16;

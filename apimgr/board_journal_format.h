#pragma once
// Text form of one board command, as the virtual board writes it to its
// journal. Shared so that tests can build the expected lines.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads the zero-terminated 8-bit text at a 32-bit address.
using BlockTextReader = std::function<std::string(uint32_t address)>;
// Reads `count` 32-bit words at a 32-bit address.
using BlockWordsReader = std::function<std::vector<uint32_t>(uint32_t address, size_t count)>;

// The encoder record that command 506 points at: 27 words.
constexpr size_t kJournalEncoderWords = 27;

// The block decoded by its layout for this command and direction, as it
// arrived (before the board acted on it); "-" for no block and "hex=..." with
// the first 16 bytes for a command whose layout is unknown.
// Records behind an address (the encoder record of 506) are shown only when
// `readWords` is given, else as <addr>.
std::string FormatBoardBlock(uint32_t command, bool write, const void* block,
                             const BlockTextReader& readText,
                             const BlockWordsReader& readWords = nullptr);

// "<command> <R|W> rc=<result> <block>"
std::string FormatJournalLine(uint32_t command, bool write, int32_t result,
                              const std::string& blockText);

// "<entry point> rc=<result> {<arguments>}" for the two entry points besides
// kxTVA_DoThis: the result and the board handle are addresses (<addr>).
std::string FormatInitBoardClassLine(uint32_t boardClass, uint32_t reserved, uint32_t board);
std::string FormatFreeLine(uint32_t board, int32_t result);

// A text quoted with '"'; '"' and bytes outside printable ASCII are written
// as \xNN (a backslash stands for itself, as paths are full of them).
std::string QuoteJournalText(const std::string& text);

// Bytes of an unknown block shown in hex.
constexpr size_t kJournalRawBytes = 16;

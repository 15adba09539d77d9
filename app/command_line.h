#pragma once
// The main program's command line: the language code and the start switches.

#include <string>

#include "app/vocabulary/program_arguments.h"

namespace brontel {

// Used when "l:" is missing, unreadable or 0.
constexpr int kDefaultLanguageCode = 1160;
constexpr int kEnglishLanguageCode = 1000;

struct StartOptions {
  int langCode = kDefaultLanguageCode;  // lLangCode
  int fullScreenStart = 0;              // bFullScreenStart, "/f"
  int wakeStart = 0;                    // bWakeStart, "/w"
  int wakeNotice = 0;                   // bWakeNotice, "/w:0" without "/w:1"
};

// The line as the switches are searched in: ASCII lower case, without
// leading and trailing white space.
std::string NormaliseCommandLine(const std::string& line);

// Reads every switch from the part of the command line after the program
// name. Switches are found by plain substring search in the normalised line.
StartOptions ParseCommandLine(const std::string& line);

// The language code given by "l:" in a normalised line (the four characters
// that follow, read as a decimal integer), or the default when the option is
// missing or reads as 0.
int LanguageCodeFromLine(const std::string& normalisedLine);

// "BrontelResJapan" for 1160, ...; every code not in the table gives
// "BrontelResEnglh".
const char* LanguageLibraryBaseName(int langCode);
// The base name with ".dll".
std::string LanguageLibraryFileName(int langCode);

}  // namespace brontel

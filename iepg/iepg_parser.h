#pragma once
// The header lines of an iEPG file and what the handler takes from them.
// Texts stay in the bytes of the file (the system's ANSI code page).

#include <cstdint>
#include <functional>
#include <string>

#include "app/settings/settings_values.h"

namespace brontel {

class CLineReader;

// The recognised header keys; the index is what ParseLine dispatches on.
enum class IepgKey {
  kContentType,
  kVersion,
  kStation,
  kYear,
  kMonth,
  kDate,
  kStart,
  kEnd,
  kProgramTitle,
  kProgramSubtitle,
  kPerformar,
};
constexpr int kIepgKeyCount = 11;
// Keys exactly as they must appear, colon included.
extern const char* const kIepgKeys[kIepgKeyCount];

// Channel number when no channel matches the station.
constexpr std::int32_t kNoChannel = -1;
constexpr int kMinutesPerDay = 1440;

struct IepgProgramme {
  std::string station;  // "station:"
  std::string title;    // "program-title:"
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::string startText;
  std::string endText;
  // Until a complete date and time has been read both hold the schedule's
  // default date-time, so display and checks work on a known value.
  DateTime startDateTime = 0;
  DateTime stopDateTime = 0;
  bool timesComputed = false;
  // A file without a station line has no channel either.
  std::int32_t channel = kNoChannel;
  bool overnight = false;
};

// Leading and trailing blanks, tabs and line-end characters removed.
std::string TrimWhiteSpace(const std::string& text);
// The C library's decimal text-to-int: leading white space, a sign, digits
// up to the first non-digit, 0 when there are none. Saturates instead of
// overflowing.
std::int32_t TextToInt(const std::string& text);

class IepgParser {
 public:
  using StationLookup = std::function<std::int32_t(const std::string& station)>;

  explicit IepgParser(StationLookup findChannel = nullptr);

  // Clears every result back to its initial state.
  void Reset();
  // One header line, already trimmed. Lines that do not start with a key
  // are ignored; a later line with the same key replaces the earlier value.
  void ParseLine(const std::string& line);
  // Derives start and stop from the date and the start and end texts.
  // False when a text has no colon or the date cannot be represented; the
  // earlier times then stay.
  bool ComputeTimes();
  // After the last line: whether start and stop fall on different days.
  void FinishFile();

  const IepgProgramme& programme() const { return m_programme; }

 private:
  StationLookup m_findChannel;
  IepgProgramme m_programme;
};

// Feeds every line of the reader to the parser; `onLine` runs after each
// one (the dialog refreshes its fields there). Calls FinishFile at the end.
void ParseIepgLines(CLineReader& reader, IepgParser& parser,
                    const std::function<void()>& onLine = nullptr);

}  // namespace brontel

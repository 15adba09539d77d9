#include "app/power/power_manager_line.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "app/vocabulary/program_arguments.h"
#include "app/vocabulary/text_blanks.h"

namespace brontel::power {
namespace {

constexpr char kOwnName[] = "kxpwrmgr.exe";
constexpr char kLangField[] = " l:";
// Longer numbers are no field of this line and would overflow.
constexpr std::size_t kMaxDigits = 6;

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

std::string Unquote(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// Everything after the power manager's own path.
std::string AfterOwnPath(const std::string& line) {
  if (!line.empty() && line[0] == '"') return ArgumentsAfterProgramName(line);
  // Unquoted, the own path may hold spaces, so it ends at its file name.
  const std::string lower = Lower(line);
  for (std::size_t at = lower.find(kOwnName); at != std::string::npos;
       at = lower.find(kOwnName, at + 1)) {
    const std::size_t end = at + sizeof(kOwnName) - 1;
    if (end == line.size() || IsBlank(line[end])) return line.substr(end);
  }
  return ArgumentsAfterProgramName(line);
}

std::optional<int> Number(const std::string& text) {
  if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
  int value = 0;
  for (char ch : text) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  return value;
}

// "a_b" or "a_b_c" into numbers.
std::optional<std::vector<int>> Numbers(const std::string& text, std::size_t count) {
  std::vector<int> values;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('_', start);
    const std::optional<int> value = Number(text.substr(start, bar - start));
    if (!value) return std::nullopt;
    values.push_back(*value);
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

PowerManagerParse Fail(const std::string& error) {
  PowerManagerParse parse;
  parse.error = error;
  return parse;
}

}  // namespace

DateTime PowerManagerRequest::WakeTime() const {
  return MakeLocalDateTime(year, month, day, hour, minute);
}

PowerManagerParse ParsePowerManagerLine(const std::string& commandLine) {
  const std::string rest = AfterOwnPath(TrimBlanks(commandLine));
  const std::size_t lang = Lower(rest).rfind(kLangField);
  if (lang == std::string::npos) return Fail("There is no language field \"L:\".");
  PowerManagerParse parse;
  PowerManagerRequest& request = parse.request;
  request.program = Unquote(TrimBlanks(rest.substr(0, lang)));
  if (request.program.empty()) return Fail("There is no program to start before \"L:\".");

  bool haveWake = false, haveSleep = false, haveDate = false, haveTime = false, haveLang = false;
  std::size_t pos = lang + 1;
  while (pos < rest.size()) {
    while (pos < rest.size() && IsBlank(rest[pos])) ++pos;
    if (pos >= rest.size()) break;
    std::size_t end = pos;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::string token = rest.substr(pos, end - pos);
    pos = end;
    const std::string key = Lower(token.substr(0, 2));
    const std::string value = token.size() > 2 ? token.substr(2) : std::string();
    if (Lower(token) == "/w") {
      haveWake = true;
    } else if (key == "l:") {
      const std::optional<int> code = Number(value);
      if (!code) return Fail("The language \"" + token + "\" is not a number.");
      request.langCode = *code;
      haveLang = true;
    } else if (key == "s:") {
      const std::optional<int> kind = Number(value);
      if (!kind) return Fail("The sleep kind \"" + token + "\" is not a number.");
      request.sleepKind = *kind;
      haveSleep = true;
    } else if (key == "d:") {
      const std::optional<std::vector<int>> date = Numbers(value, 3);
      if (!date) return Fail("The wake-up date \"" + token + "\" is not day_month_year.");
      request.day = (*date)[0];
      request.month = (*date)[1];
      request.year = (*date)[2];
      if (request.year < 1601 || request.year > 30827 || request.month < 1 || request.month > 12 ||
          request.day < 1 || request.day > DaysInMonth(request.year, request.month)) {
        return Fail("The wake-up date \"" + token + "\" is no day of the calendar.");
      }
      haveDate = true;
    } else if (key == "t:") {
      const std::optional<std::vector<int>> time = Numbers(value, 2);
      if (!time) return Fail("The wake-up time \"" + token + "\" is not hour_minute.");
      request.hour = (*time)[0];
      request.minute = (*time)[1];
      if (request.hour > 23 || request.minute > 59) {
        return Fail("The wake-up time \"" + token + "\" is no time of day.");
      }
      haveTime = true;
    } else {
      return Fail("The field \"" + token + "\" is not known.");
    }
  }
  if (!haveLang) return Fail("There is no language field \"L:\".");
  if (!haveWake) return Fail("The wake-up switch \"/w\" is missing.");
  if (!haveSleep) return Fail("The sleep kind \"S:\" is missing.");
  if (!haveDate) return Fail("The wake-up date \"D:\" is missing.");
  if (!haveTime) return Fail("The wake-up time \"T:\" is missing.");
  parse.ok = true;
  return parse;
}

std::string WakeStartArguments(std::int32_t langCode) {
  return "/w l:" + std::to_string(langCode);
}

}  // namespace brontel::power

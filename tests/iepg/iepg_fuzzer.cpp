// libFuzzer target: arbitrary file bytes through the line reader and the
// header parser, with invariants that must hold for any input.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "iepg/channel_match.h"
#include "iepg/iepg_parser.h"
#include "iepg/line_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Reads every line with the given capacity and checks what the reader hands out.
void ReadLines(const std::string& bytes, std::uint32_t capacity) {
  std::uint32_t warnings = 0;
  brontel::CLineReader reader(capacity, [&warnings](const std::string&) { ++warnings; });
  Require(reader.Open(std::make_unique<brontel::MemorySource>(bytes)));
  std::vector<char> buffer(capacity);
  std::uint32_t previous = 0;
  std::size_t total = 0;
  for (;;) {
    const std::uint32_t number = reader.ReadLine(buffer.data(), capacity);
    if (number == 0) break;
    Require(number > previous);
    previous = number;
    const std::size_t length = std::strlen(buffer.data());
    Require(length < capacity);
    Require(std::memchr(buffer.data(), '\r', length) == nullptr);
    Require(std::memchr(buffer.data(), '\n', length) == nullptr);
    total += length;
    Require(total <= bytes.size());
  }
  Require(reader.lineCounter() == 0);
  Require(warnings <= bytes.size() / (capacity - 1));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "JST-9", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadLines(bytes, brontel::kIepgLineBufferSize);
  ReadLines(bytes, 5);  // lines across many refills

  static std::array<brontel::ChannelEntry, brontel::kChannelRecordCount> channels = [] {
    std::array<brontel::ChannelEntry, brontel::kChannelRecordCount> table{};
    table[0].szTVPIStnName = "\x82\x6d\x82\x67\x82\x6a";  // ＮＨＫ
    table[0].lFreqChn = 1;
    table[1].szTVPIStnName = "TBS";
    table[1].lFreqChn = 6;
    return table;
  }();
  brontel::IepgParser parser([](const std::string& station) {
    return brontel::FindChannel(station, channels.data(), channels.size(), 2,
                                brontel::IsShiftJisLeadByte);
  });
  brontel::CLineReader reader;
  Require(reader.Open(std::make_unique<brontel::MemorySource>(bytes)));
  brontel::ParseIepgLines(reader, parser);
  const brontel::IepgProgramme& p = parser.programme();
  Require(p.channel == -1 || p.channel == 1 || p.channel == 6);
  if (p.timesComputed) {
    // Whole minutes; the length itself follows the texts ("end: 121:48"
    // makes a long programme, "start: 25:30" with "end: 0:10" a negative one).
    Require((p.stopDateTime - p.startDateTime) % 60 == 0);
  }
  return 0;
}

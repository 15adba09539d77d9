#include "outside/virtualboard/station_plan.h"

#include <cstdlib>

namespace {

constexpr uint32_t kMegahertz = 1000000;
constexpr uint32_t kQuarterMegahertz = 250000;

struct TvStationSeed {
  int32_t channel;
  const char* name;
  uint8_t audioModes;
};

// Mono, stereo and bilingual stations all exist, so that every audio mode
// can be exercised.
const TvStationSeed kTvSeeds[] = {
    {1, "Kestrova General", kAudioMono | kAudioStereo},
    {3, "Kestrova Education", kAudioMono},
    {4, "Channel Four Tokyo", kAudioMono | kAudioA | kAudioB | kAudioAB},
    {6, "Pellamy Broadcasting", kAudioMono | kAudioStereo},
    {8, "Harbour TV", kAudioMono},
    {10, "Asahi Hills TV", kAudioMono | kAudioA | kAudioB | kAudioAB},
    {12, "Bay Line TV", kAudioMono | kAudioStereo},
    {14, "Metro UHF", kAudioMono},
};

struct RadioSeed {
  uint32_t hertz;
  const char* name;
};

const RadioSeed kRadioSeeds[] = {
    {80000000, "FM Kestrova 80.0"},
    {81300000, "Wave 81.3"},
    {82500000, "Public FM 82.5"},
    {78000000, "Bay FM 78.0"},
};

uint32_t Distance(uint32_t a, uint32_t b) {
  return a > b ? a - b : b - a;
}

}  // namespace

uint32_t ChannelTable::LowestHertz() const {
  uint32_t lowest = 0;
  for (const auto& entry : hertz) {
    if (entry.second != 0 && (lowest == 0 || entry.second < lowest)) lowest = entry.second;
  }
  return lowest;
}

uint32_t ChannelTable::HighestHertz() const {
  uint32_t highest = 0;
  for (const auto& entry : hertz) {
    if (entry.second > highest) highest = entry.second;
  }
  return highest;
}

ChannelTable BuiltInBroadcastTable() {
  // Video carriers of VHF 1-3 (low band) and 4-12 (high band), in quarter megahertz.
  static const uint32_t kVhfQuarterMhz[] = {0,   365, 389, 413, 685, 709, 733,
                                            757, 773, 797, 821, 845, 869};
  ChannelTable table;
  table.minChannel = 1;
  table.maxChannel = 62;
  for (int32_t channel = 1; channel <= 12; ++channel) {
    table.hertz[channel] = kVhfQuarterMhz[channel] * kQuarterMegahertz;
  }
  for (int32_t channel = 13; channel <= 62; ++channel) {
    table.hertz[channel] = 471250000u + static_cast<uint32_t>(channel - 13) * 6 * kMegahertz;
  }
  return table;
}

StationPlan::StationPlan(const ChannelTable& broadcast) {
  const ChannelTable builtIn = BuiltInBroadcastTable();
  for (const TvStationSeed& seed : kTvSeeds) {
    Station station;
    station.name = seed.name;
    station.channel = seed.channel;
    station.audioModes = seed.audioModes;
    auto found = broadcast.hertz.find(seed.channel);
    station.hertz = found != broadcast.hertz.end() && found->second != 0
                        ? found->second
                        : builtIn.hertz.at(seed.channel);
    m_tv.push_back(station);
  }
  for (const RadioSeed& seed : kRadioSeeds) {
    Station station;
    station.name = seed.name;
    station.hertz = seed.hertz;
    station.audioModes = kAudioMono | kAudioStereo;
    m_radio.push_back(station);
  }
}

const Station* StationPlan::FindTv(uint32_t hertz) const {
  for (const Station& station : m_tv) {
    if (hertz != 0 && Distance(hertz, station.hertz) <= kTvCaptureHertz) return &station;
  }
  return nullptr;
}

const Station* StationPlan::FindRadio(uint32_t hertz) const {
  for (const Station& station : m_radio) {
    if (hertz != 0 && Distance(hertz, station.hertz) <= kRadioCaptureHertz) return &station;
  }
  return nullptr;
}

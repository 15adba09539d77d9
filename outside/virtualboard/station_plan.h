#pragma once
// Which frequencies carry a station on the virtual board, and what each
// station sends. Portable: the Windows side fills the channel tables from the
// ini files in the Windows directory.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Audio mode bits, as the board reports them.
constexpr uint8_t kAudioMono = 1;
constexpr uint8_t kAudioStereo = 2;
constexpr uint8_t kAudioA = 4;
constexpr uint8_t kAudioB = 8;
constexpr uint8_t kAudioAB = 16;

// A frequency table: channel number to hertz, with its limits.
struct ChannelTable {
  int32_t minChannel = 0;
  int32_t maxChannel = 0;
  std::map<int32_t, uint32_t> hertz;

  bool Has(int32_t channel) const { return hertz.count(channel) != 0; }
  uint32_t LowestHertz() const;
  uint32_t HighestHertz() const;
};

struct Station {
  std::string name;
  uint32_t hertz = 0;
  uint8_t audioModes = kAudioMono;
  int32_t channel = 0;  // 0 for a radio station
};

// The Japanese broadcast plan used when no table file is installed: VHF 1-12
// and UHF 13-62, video carrier in hertz.
ChannelTable BuiltInBroadcastTable();

// Japanese FM band.
constexpr uint32_t kRadioLowestHertz = 76000000;
constexpr uint32_t kRadioHighestHertz = 90000000;

class StationPlan {
 public:
  // TV stations sit on a fixed set of broadcast channels; their frequencies
  // come from the given table, or from the built-in plan for a channel the
  // table lacks.
  explicit StationPlan(const ChannelTable& broadcast);

  // The station received at this frequency, or null (noise).
  const Station* FindTv(uint32_t hertz) const;
  const Station* FindRadio(uint32_t hertz) const;

  const std::vector<Station>& TvStations() const { return m_tv; }
  const std::vector<Station>& RadioStations() const { return m_radio; }

 private:
  std::vector<Station> m_tv;
  std::vector<Station> m_radio;
};

// A TV tuner catches a station within this distance of its carrier (the
// program adds fine-tune offsets of a fraction of a megahertz).
constexpr uint32_t kTvCaptureHertz = 1000000;
constexpr uint32_t kRadioCaptureHertz = 50000;

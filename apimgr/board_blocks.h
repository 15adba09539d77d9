#pragma once
// Parameter blocks exchanged with the board driver library KXTVA.DLL. The
// layouts are a fixed 32-bit byte format: address fields are 32-bit words so
// that the same structs describe the blocks in the native build as well.

#include <cstddef>
#include <cstdint>

// One board, filled by OpenBoard; its address is the first argument of every
// board operation.
struct BoardEntry {
  uint32_t dwTag;
  uint32_t hBoard;
};

// The caller's board list, given to OpenBoard.
struct BoardListInfo {
  uint32_t cbEntries;  // in: bytes of the entry array; out: bytes filled
  uint32_t pEntries;   // address of the BoardEntry array
};

// Commands 1, 208 and 209.
struct VideoWindowBlock {
  uint32_t parent;
  uint32_t title;  // address of a zero-terminated 8-bit text
  uint32_t style;
  uint32_t param1;
  uint32_t param2;
  uint32_t result;  // written by the library
  int16_t left;
  int16_t top;
  int16_t width;
  int16_t height;
};

constexpr size_t kAudioNameBytes = 256;
constexpr size_t kMaxAudioDevices = 10;
constexpr size_t kMaxAudioInputs = 30;

// Commands 113, 114 and 115; also the caller's record for GetAudioDevices and
// GetAudioInputs.
struct AudioDeviceLists {
  char deviceNames[kMaxAudioDevices][kAudioNameBytes];
  uint32_t deviceCount;  // address of a 32-bit count
  char selectedDevice[kAudioNameBytes];
  char inputNames[kMaxAudioInputs][kAudioNameBytes];
  uint32_t inputCount;  // address of a 32-bit count
  char selectedInput[kAudioNameBytes];
};

// Commands 404, 405, 407, 408 and 409.
struct TunerBlock {
  uint16_t lowestChannel;
  uint16_t highestChannel;
  uint32_t lowestFrequency;
  uint32_t highestFrequency;
  uint16_t channel;
  uint16_t unused;
  uint32_t frequency;
};

// Commands 204 and 205.
struct VideoPropertyBlock {
  uint32_t kind;
  uint32_t value;
  uint32_t resultAddress;  // where the library stores the value on a read
};

static_assert(sizeof(BoardEntry) == 8, "BoardEntry size");
static_assert(offsetof(BoardEntry, hBoard) == 4, "BoardEntry.hBoard");
static_assert(sizeof(BoardListInfo) == 8, "BoardListInfo size");
static_assert(offsetof(BoardListInfo, pEntries) == 4, "BoardListInfo.pEntries");

static_assert(sizeof(VideoWindowBlock) == 32, "VideoWindowBlock size");
static_assert(offsetof(VideoWindowBlock, title) == 4, "VideoWindowBlock.title");
static_assert(offsetof(VideoWindowBlock, style) == 8, "VideoWindowBlock.style");
static_assert(offsetof(VideoWindowBlock, param1) == 12, "VideoWindowBlock.param1");
static_assert(offsetof(VideoWindowBlock, param2) == 16, "VideoWindowBlock.param2");
static_assert(offsetof(VideoWindowBlock, result) == 20, "VideoWindowBlock.result");
static_assert(offsetof(VideoWindowBlock, left) == 24, "VideoWindowBlock.left");
static_assert(offsetof(VideoWindowBlock, top) == 26, "VideoWindowBlock.top");
static_assert(offsetof(VideoWindowBlock, width) == 28, "VideoWindowBlock.width");
static_assert(offsetof(VideoWindowBlock, height) == 30, "VideoWindowBlock.height");

static_assert(sizeof(AudioDeviceLists) == 10760, "AudioDeviceLists size");
static_assert(offsetof(AudioDeviceLists, deviceCount) == 2560, "AudioDeviceLists.deviceCount");
static_assert(offsetof(AudioDeviceLists, selectedDevice) == 2564,
              "AudioDeviceLists.selectedDevice");
static_assert(offsetof(AudioDeviceLists, inputNames) == 2820, "AudioDeviceLists.inputNames");
static_assert(offsetof(AudioDeviceLists, inputCount) == 10500, "AudioDeviceLists.inputCount");
static_assert(offsetof(AudioDeviceLists, selectedInput) == 10504, "AudioDeviceLists.selectedInput");

static_assert(sizeof(TunerBlock) == 20, "TunerBlock size");
static_assert(offsetof(TunerBlock, highestChannel) == 2, "TunerBlock.highestChannel");
static_assert(offsetof(TunerBlock, lowestFrequency) == 4, "TunerBlock.lowestFrequency");
static_assert(offsetof(TunerBlock, highestFrequency) == 8, "TunerBlock.highestFrequency");
static_assert(offsetof(TunerBlock, channel) == 12, "TunerBlock.channel");
static_assert(offsetof(TunerBlock, frequency) == 16, "TunerBlock.frequency");

static_assert(sizeof(VideoPropertyBlock) == 12, "VideoPropertyBlock size");
static_assert(offsetof(VideoPropertyBlock, value) == 4, "VideoPropertyBlock.value");
static_assert(offsetof(VideoPropertyBlock, resultAddress) == 8, "VideoPropertyBlock.resultAddress");

// A board driver library for tests of the manager's read translations: it
// answers with known values, copied in as KXTVA.DLL next to driver_probe.exe.
// The environment variable SCRIPTED_DRIVER chooses the behaviour:
//   init-fails   kxTVA_InitBoardClass returns 0
//   devices=N    commands 113 and 114 report N names (default 2)

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "apimgr/board_blocks.h"

namespace {

class ScriptedBoard {
 public:
  virtual void FirstOperation() {}
  virtual ScriptedBoard* Identify() { return this; }
};

ScriptedBoard g_board;

std::string Mode() {
  char value[64] = {};
  GetEnvironmentVariableA("SCRIPTED_DRIVER", value, sizeof value);
  return value;
}

int32_t ReportedNames() {
  const std::string mode = Mode();
  return mode.rfind("devices=", 0) == 0 ? std::atoi(mode.c_str() + 8) : 2;
}

template <typename T>
T* At(uint32_t address) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(address));
}

void FillNames(char (*names)[kAudioNameBytes], size_t capacity, int32_t reported,
               const char* prefix) {
  for (int32_t i = 0; i < reported && static_cast<size_t>(i) < capacity; ++i) {
    std::snprintf(names[i], kAudioNameBytes, "%s %d", prefix, static_cast<int>(i + 1));
  }
}

}  // namespace

extern "C" uint32_t WINAPI kxTVA_InitBoardClass(uint32_t, uint32_t) {
  if (Mode() == "init-fails") return 0;
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&g_board));
}

extern "C" int32_t WINAPI kxTVA_Free(uint32_t) {
  return 0;
}

extern "C" int32_t WINAPI kxTVA_DoThis(uint32_t, uint32_t, uint32_t command, void* block) {
  auto* words = static_cast<uint32_t*>(block);
  switch (command) {
    case 3:
      for (uint32_t i = 0; i < 7; ++i) words[i] = i + 1;
      return 0;
    case 103:
    case 108:
      words[0] = 1, words[1] = 2, words[2] = 3, words[3] = 4;
      return 0;
    case 111:
      *static_cast<uint8_t*>(block) = 0x1F;
      return 0;
    case 113: {
      auto* lists = static_cast<AudioDeviceLists*>(block);
      FillNames(lists->deviceNames, kMaxAudioDevices, ReportedNames(), "Device");
      *At<int32_t>(lists->deviceCount) = ReportedNames();
      return 0;
    }
    case 114: {
      auto* lists = static_cast<AudioDeviceLists*>(block);
      FillNames(lists->inputNames, kMaxAudioInputs, ReportedNames(), "Input");
      *At<int32_t>(lists->inputCount) = ReportedNames();
      return 0;
    }
    case 204:
      *At<uint32_t>(static_cast<VideoPropertyBlock*>(block)->resultAddress) = 77;
      return 0;
    case 208:
      static_cast<VideoWindowBlock*>(block)->result = 0x01E00280;
      return 0;
    case 209:
      static_cast<VideoWindowBlock*>(block)->result = 5;
      return 0;
    case 216:
      *At<uint32_t>(words[1]) = 42;
      return 0;
    case 406:
      words[0] = 7;
      return 0;
    case 407: {
      auto* tuner = static_cast<TunerBlock*>(block);
      tuner->lowestFrequency = 55250000;
      tuner->highestFrequency = 801250000;
      return 0;
    }
    case 408: {
      auto* tuner = static_cast<TunerBlock*>(block);
      tuner->lowestChannel = 1;
      tuner->highestChannel = 62;
      return 0;
    }
    case 409:
      static_cast<TunerBlock*>(block)->frequency = static_cast<TunerBlock*>(block)->channel * 1000u;
      return 0;
    case 500:
      *At<uint32_t>(words[5]) = 99;  // the capture handle
      return 0;
    case 503:
      words[2] = 11, words[3] = 12, words[4] = 13, words[5] = 14;
      return 0;
    case 504:
      // A full buffer without a terminator.
      std::memset(At<char>(words[1]), 'p', 260);
      return 0;
    case 505:
      *At<uint32_t>(words[1]) = 3 * 1048576 - 1;
      return 0;
    case 506:
      *At<uint32_t>(words[2]) = 606;
      return 0;
    case 510:
      words[0] = 1234, words[1] = 5678;
      return 0;
    case 101:
      return 5;  // a failure the manager must pass on as E_FAIL
    default:
      return 0;
  }
}

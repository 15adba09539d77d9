#pragma once
// Command numbers of the board driver library and the pure rules the manager
// applies while turning interface calls into commands.

#include <cstdint>

#include "apimgr/board_blocks.h"

namespace kxcmd {
// Board and video window.
constexpr uint32_t kCreateVideoWindow = 1;
constexpr uint32_t kDestroyVideoWindow = 2;
constexpr uint32_t kBoardCaps = 3;
constexpr uint32_t kVideoSizeLimits = 4;
constexpr uint32_t kBoardCommand5 = 5;
constexpr uint32_t kEventSink = 6;
// Audio.
constexpr uint32_t kAudioConnection = 100;
constexpr uint32_t kStopAudio = 101;
constexpr uint32_t kAudioSource = 102;
constexpr uint32_t kVolume = 103;
constexpr uint32_t kAudioLevel = 104;
constexpr uint32_t kAudioValue105 = 105;
constexpr uint32_t kAudioValue106 = 106;
constexpr uint32_t kAudioValue107 = 107;
constexpr uint32_t kAudioPath = 108;
constexpr uint32_t kAudioValue109 = 109;
constexpr uint32_t kAudioMode = 110;
constexpr uint32_t kAudioModes = 111;
constexpr uint32_t kAudioData112 = 112;
constexpr uint32_t kAudioDevices = 113;
constexpr uint32_t kAudioInputs = 114;
constexpr uint32_t kSelectAudioInput = 115;
// Video.
constexpr uint32_t kGetVideoProperty = 204;
constexpr uint32_t kSetVideoProperty = 205;
constexpr uint32_t kVideoInput = 206;
constexpr uint32_t kVideoValue207 = 207;
constexpr uint32_t kVideoInfo = 208;
constexpr uint32_t kVideoRect = 209;
constexpr uint32_t kVideoEnable = 210;
constexpr uint32_t kVideoValues211 = 211;
constexpr uint32_t kVideoValue212 = 212;
constexpr uint32_t kRestartVideo = 213;
constexpr uint32_t kDeinterlaceBypass = 214;
constexpr uint32_t kVideoMode = 215;
constexpr uint32_t kVideoStatus = 216;
// Tuner.
constexpr uint32_t kTunerMode = 400;
constexpr uint32_t kTunerValue401 = 401;
constexpr uint32_t kTunerValue402 = 402;
constexpr uint32_t kTunerValue403 = 403;
constexpr uint32_t kFrequency = 404;
constexpr uint32_t kChannel = 405;
constexpr uint32_t kSignalLock = 406;
constexpr uint32_t kFrequencyRange = 407;
constexpr uint32_t kChannelRange = 408;
constexpr uint32_t kChannelFrequency = 409;
// Capture (recording, time-shift, playback) and still picture.
constexpr uint32_t kOpenCapture = 500;
constexpr uint32_t kCloseCapture = 501;
constexpr uint32_t kCaptureState = 502;
constexpr uint32_t kCaptureValue = 503;
constexpr uint32_t kCaptureFile = 504;
constexpr uint32_t kBufferSize = 505;
constexpr uint32_t kEncoderParams = 506;
constexpr uint32_t kSnapshot = 507;
constexpr uint32_t kCaptureStatus = 508;
constexpr uint32_t kCaptureAudioMode = 509;
constexpr uint32_t kCapturePosition = 510;
}  // namespace kxcmd

// Write flag of kxTVA_DoThis.
constexpr uint32_t kBoardRead = 0;
constexpr uint32_t kBoardWrite = 1;

// Board classes given to kxTVA_InitBoardClass.
constexpr uint32_t kBoardClassStandard = 0x20;
constexpr uint32_t kBoardClassExtended = 0xFF0020;
constexpr int32_t kOpenKindExtended = 100;
constexpr int32_t kOpenKindLastStandard = 7;

// Board class for an OpenBoard kind; false when the kind is not supported.
bool BoardClassForKind(int32_t kind, uint32_t* boardClass);

// Operations whose value is copied into the block only when it is listed.
enum class ValueList {
  kAudioConnectionType,  // 0-3
  kAudioSource,          // 0-3
  kAudioPath,            // 0-6
  kAudioMode,            // 1, 2, 4, 8, 16
  kVideoInputType,       // 1-3
  kVideoMode,            // 0-19
  kTunerValue402,        // 0-2
  kTunerValue403,        // 0-18
};

bool IsListedValue(ValueList list, int32_t value);
// The block word for a value: the value when listed, else 0 (the block
// starts zeroed).
uint32_t ListedOrZero(ValueList list, int32_t value);

// Picture property kind as sent to the board: 0-3 stay, anything else is 4.
uint32_t BoardPropertyKind(int32_t kind);

constexpr int64_t kBytesPerMegabyte = 1048576;

struct ByteCountWords {
  uint32_t low;
  uint32_t high;
};

// SetBufferSize: megabytes (signed) to a 64-bit byte count split in words.
ByteCountWords MegabytesToByteWords(int32_t megabytes);
// GetBufferSize: the 32-bit byte count, signed, to whole megabytes rounded
// toward zero.
int32_t ByteCountToMegabytes(uint32_t byteCount);

// SetVideoRect: fills the rectangle of a window block (everything else zero).
// False when left, top, width or height is negative as a 16-bit value.
bool MakeVideoRectBlock(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        VideoWindowBlock* block);

// The low 16 bits of a value as a signed 16-bit number.
int16_t Low16(int32_t value);

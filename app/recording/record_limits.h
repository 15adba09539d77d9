#pragma once
// The limits of a recording: the size handed to the board, the length shown
// for recordings whose end the board cannot tell, and the one-second
// supervision of recording, playback and time-shift.

#include <cstdint>

namespace brontel::recording {

constexpr std::int64_t kBytesPerMegabyte = 1048576;
// A FAT volume cannot hold a larger recording.
constexpr std::int32_t kFatSizeLimitMB = 4000;
// The remaining time shown never exceeds 99 hours.
constexpr std::int64_t kMaxRemainSec = 356400;

// Rec_clt and ScheMultRec_clt.
enum LimitKind : std::int32_t { kLimitNone = 0, kLimitSize = 1, kLimitTime = 2 };

// The schedule entry's splitting, for a recording the scheduler started.
struct ScheduleSplit {
  bool bMultipleCapture = false;
  std::int32_t ScheMultRec_clt = kLimitTime;
  std::int32_t lScheMultRecTimeLimitSec = 0;
  std::int32_t lScheMultRecSizeLimitMB = 0;
};

struct BufferSizeInput {
  bool timeShift = false;
  std::int32_t lTSBufferSizeMB = 0;
  std::int64_t usableBytes = 0;  // GetUsableRecordBytes of szRecDestDir
  bool ntfs = true;              // IsNtfsVolume of szRecDestDir
  bool scheduled = false;
  std::int32_t Rec_clt = kLimitNone;
  std::int32_t lRecSizeLimitMB = 0;
  ScheduleSplit split;
};

// Megabytes for SetBufferSize.
std::int32_t BufferSizeMB(const BufferSizeInput& input);

// The length estimate of a radio recording in seconds (64 s a megabyte of
// the size limit or of `usableMB`, or the time limit).
std::int32_t RadioEstimateSec(std::int32_t Rec_clt, std::int32_t lRecTimeLimitSec,
                              std::int32_t lRecSizeLimitMB, std::int32_t usableMB);
// The length estimate of an AVI recording of lRecSizeLimitMB megabytes.
std::int32_t AviEstimateSec(std::int32_t lRecSizeLimitMB);

// GetCaptureValues in whole seconds.
struct CaptureTimes {
  std::int64_t r1 = 0;  // play position
  std::int64_t r2 = 0;  // end of the played file
  std::int64_t r3 = 0;  // recorded time, the write position
  std::int64_t r4 = 0;  // capacity
};

struct RecordTickInput {
  bool radio = false;
  bool avi = false;
  bool scheduled = false;
  std::int64_t secondsToScheStop = 0;  // for a scheduled recording
  ScheduleSplit split;
  std::int32_t Rec_clt = kLimitNone;
  std::int32_t lRecTimeLimitSec = 0;
  std::int32_t lRecSizeLimitMB = 0;
  bool bMultiPart = false;
  std::int32_t lElapsedSec = 0;
  std::int32_t lEstimatedSec = 0;
  CaptureTimes times;
  std::int64_t bytesWritten = 0;  // GetCapturePosition
};

enum class RecordAction {
  kNone,
  kNextPart,  // lElapsedSec = 0, NextRecordPart, continue
  kStop,      // a manual recording ends
};

struct RecordTick {
  std::int64_t elapsedSec = 0;
  std::int64_t remainSec = 0;
  bool showRemain = false;
  std::int32_t lElapsedSec = 0;  // the counter after this tick
  bool limitReached = false;
  RecordAction action = RecordAction::kNone;
};

RecordTick SuperviseRecording(const RecordTickInput& input);

// Playback at R1 == R2: on to the next part, or stay at the end.
enum class PlaybackAction { kNone, kStepForward, kSetAtEnd, kClearAtEnd };
PlaybackAction SupervisePlayback(const CaptureTimes& times, bool bMultiPart, bool bAtEnd);

// Where the time-shift playback stands in its ring buffer.
struct TimeShiftPosition {
  std::int64_t length = 0;  // L = R4
  std::int64_t play = 0;    // p = R1 mod L
  std::int64_t write = 0;   // w = R3 mod L
  std::int64_t laps = 0;    // n = R3 / L
  std::int64_t delay = 0;   // d, seconds behind live
};
TimeShiftPosition TimeShiftPositionOf(const CaptureTimes& times);

// True when a paused time-shift must resume before the buffer overwrites
// the picture it holds.
bool MustResumeBeforeOverwrite(const TimeShiftPosition& position);

}  // namespace brontel::recording

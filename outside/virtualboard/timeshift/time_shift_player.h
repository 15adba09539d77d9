#pragma once
// Plays a circular time-shift file behind its writer: reads the file itself
// (the platform's splitter only sees what a growing file held when it was
// opened), decodes the pictures and draws them into a window at their own
// pace. No sound is played.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "outside/virtualboard/timeshift/time_shift_position.h"

struct HWND__;

namespace timeshift {

class TimeShiftPlayer {
 public:
  // Called on the player's thread several times a second; it must be safe
  // to call while the graph runs, until Stop returns. WriteTotal turns the
  // writer's position inside the file into bytesWritten.
  using ProgressSource = std::function<WriterProgress()>;

  // path: the circular file, opened shared for reading while it is written.
  // fileBytes: its fixed size (the writer's size limit). window: where the
  // pictures are drawn, stretched to its client area.
  TimeShiftPlayer(std::wstring path, std::int64_t fileBytes, HWND__* window,
                  ProgressSource progress);
  ~TimeShiftPlayer();  // stops the thread
  TimeShiftPlayer(const TimeShiftPlayer&) = delete;
  TimeShiftPlayer& operator=(const TimeShiftPlayer&) = delete;

  // Starts the player's thread, playing from the oldest data (the start of
  // the recording while the file has not wrapped). False when it is already
  // running, the size is 0 or the thread cannot start.
  bool Start();
  // Ends the thread; the last picture stays in the window. A stopped player
  // can be started again.
  void Stop();

  // Holds the picture shown; the writer goes on. Resume plays on from there.
  void Pause();
  void Resume();
  bool IsPaused() const;

  // Moves the play position to bufferMs, a position inside the buffer as the
  // play position modulo the buffer length counts it: the newest data at or
  // before that point of the buffer is played, clamped to the oldest and
  // newest data held. False before anything has been written.
  bool SeekMs(std::int64_t bufferMs);

  // The play position (R1) and the buffer's length in time (R4), in ms; R1
  // grows across laps like the writer's encoded time.
  std::int64_t PlayPositionMs() const;
  std::int64_t BufferLengthMs() const;

  // Pictures drawn since Start (for journals and diagnostics).
  std::int64_t PicturesShown() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace timeshift

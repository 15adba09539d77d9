#pragma once
// The DirectShow graphs behind a capture: the writing graph of a recording or
// a time-shift (capture source -> kxDIgrab -> kxEncodeWriter) and the
// platform's playback of a recorded file into a window.

#include "win32/windows_include.h"

#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

#include "encodewriter/filter/encode_writer_interfaces.h"
#include "deinterlace/filter/deinterlace_control.h"
#include "outside/capturesource/capture_source.h"
#include "outside/virtualboard/encoder_translation.h"
#include "win32/com_ptr.h"

// What a writing graph records and how.
struct WritingSetup {
  std::string file;  // 8-bit, as the program gave it
  uint64_t sizeLimit = 0;
  bool circular = false;
  virtualboard::WriterParamRecord params{};
  uint32_t previewMode = 1;
  // Only for a still picture: the deinterlacer runs, nothing is written.
  bool grabOnly = false;
  // The sound alone, to an ASF file (the radio's recordings).
  bool audioOnly = false;
  // The live picture: source and deinterlacer into `preview`, no writer.
  bool liveOnly = false;
  // Where the pictures are shown (the writer's "Video Out"), or null.
  IBaseFilter* preview = nullptr;
  brontel::CaptureSourceConfig source;
  // An empty filter graph to build in, or null for a new one. The platform's
  // filter graph keeps one event handle of each graph ever made, so graphs
  // that come and go with every recording share one.
  IGraphBuilder* graph = nullptr;
};

class WritingGraph {
 public:
  WritingGraph();
  ~WritingGraph();
  WritingGraph(const WritingGraph&) = delete;
  WritingGraph& operator=(const WritingGraph&) = delete;

  // Builds, sets up and runs the graph; false (with nothing left running)
  // when any step fails.
  bool Start(const WritingSetup& setup);
  // Goes on in another file from the next picture on.
  bool SwitchFile(const std::string& file);
  // Stops and releases the graph; the file is closed.
  void Stop();

  bool Running() const { return static_cast<bool>(m_media); }
  // Pictures the source sent in the last run, also after Stop.
  long Pictures() const { return m_pictures; }
  int64_t WrittenBytes() const;
  int64_t EncodedMs() const;
  // Bytes the file holds of programme: the size limit, or for a ring buffer
  // that has wrapped what its last lap spans.
  int64_t BufferedBytes() const;
  int64_t TotalBitRate() const;
  // The next deinterlaced frame, copied by kxDIgrab; false when none came.
  bool GrabFrame(std::vector<uint8_t>* data, LONG* width, LONG* height, LONG* bitsPerPixel);
  // kxDIgrab's control, for the deinterlace settings and frame grabs.
  brontel::IDeinterlaceControl* Deinterlacer() const { return m_deinterlace.Get(); }

 private:
  bool Build(const WritingSetup& setup);
  void TakeGraph(const WritingSetup& setup);
  bool ShareClock();
  bool BuildAudio(const WritingSetup& setup);
  bool BuildLive(const WritingSetup& setup);

  bool m_comInitialised = false;
  brontel::ComPtr<IGraphBuilder> m_graph;
  brontel::ComPtr<IMediaControl> m_media;
  brontel::ComPtr<IBaseFilter> m_grab;
  brontel::ComPtr<IBaseFilter> m_writer;
  brontel::ComPtr<IBaseFilter> m_preview;
  brontel::ComPtr<brontel::IEncodeWriterControl> m_control;
  brontel::ComPtr<brontel::IDeinterlaceControl> m_deinterlace;
  brontel::CaptureSourceFilter* m_source = nullptr;  // one reference held
  long m_pictures = 0;
  bool m_audioOnly = false;
  std::wstring m_file;
  int m_sampleRate = 0;
};

class PlaybackGraph {
 public:
  PlaybackGraph();
  ~PlaybackGraph();
  PlaybackGraph(const PlaybackGraph&) = delete;
  PlaybackGraph& operator=(const PlaybackGraph&) = delete;

  // Opens `file` into `window` (the video fills its client area) and plays
  // it from the start; false with nothing left open on failure.
  bool Open(const std::string& file, HWND window);
  void Close();
  bool Pause();
  bool Resume();
  // Moves to `ms` (clamped to the file) in the order Wine's splitter
  // survives: stopped, positioned, run again (or left paused).
  bool Seek(int64_t ms, bool paused);
  int64_t PositionMs();
  int64_t DurationMs() const { return m_durationMs; }
  // Which sound of a bilingual file is heard: A on the left channel, B on
  // the right, or both; or none at all while another picture has the sound.
  enum class Sound { kA, kB, kBoth, kSilent };
  void SetSound(Sound sound);
  std::string Describe() const { return m_description; }

 private:
  bool m_comInitialised = false;
  brontel::ComPtr<IGraphBuilder> m_graph;
  brontel::ComPtr<IMediaControl> m_media;
  brontel::ComPtr<IMediaSeeking> m_seeking;
  brontel::ComPtr<IMediaEvent> m_events;
  brontel::ComPtr<IVideoWindow> m_video;
  int64_t m_durationMs = 0;
  bool m_ended = false;
  std::string m_description;
};

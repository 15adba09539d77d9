#pragma once
// The board's captures: the sessions opened by command 500, keyed by the
// handle it returns, with the graphs behind them, and the commands 500 to
// 510 that drive them.

#include "win32/windows_include.h"

#include <cstdint>
#include <map>
#include <memory>

#include <dshow.h>

#include "win32/com_ptr.h"

class VirtualBoard;
namespace brontel {
struct CaptureSourceConfig;
}
struct CaptureEntry;
class PictureSink;
class WritingGraph;
struct WritingSetup;
struct IBaseFilter;

class CaptureSet {
 public:
  explicit CaptureSet(VirtualBoard& board);
  ~CaptureSet();
  CaptureSet(const CaptureSet&) = delete;
  CaptureSet& operator=(const CaptureSet&) = delete;

  int32_t Command(bool write, uint32_t command, void* block);
  // The picture window the live graph draws into; null stops it.
  void SetPictureSink(PictureSink* sink);
  // The deinterlace mode of the board's switch, for the graphs that run.
  void ApplyDeinterlaceMode(LONG mode);

 private:
  int32_t Open(uint32_t* words);
  int32_t Close(uint32_t handle);
  int32_t SetState(CaptureEntry& entry, uint32_t state);
  int32_t Values(CaptureEntry& entry, bool write, uint32_t* words);
  int32_t File(CaptureEntry& entry, bool write, uint32_t* words);
  int32_t BufferSize(CaptureEntry& entry, bool write, uint32_t* words);
  int32_t EncoderParams(CaptureEntry& entry, bool write, uint32_t* words);
  int32_t Snapshot(uint32_t* words);
  int32_t Start(CaptureEntry& entry);
  void Stop(CaptureEntry& entry);
  void StartViewer(CaptureEntry& entry, HWND window);
  int32_t SwitchFile(CaptureEntry& entry);
  void ApplySound(CaptureEntry& entry);
  // The source's picture and sound: the board's, as it is tuned.
  void DescribeSource(brontel::CaptureSourceConfig* source);
  // A graph that writes nothing: for the live picture and still pictures.
  void StillSetup(WritingSetup* setup);
  CaptureEntry* Writing();
  // The live graph runs while there is a window and nothing records.
  void StartLive();
  void StopLive();
  // The one filter graph the live picture and the recordings are built in.
  IGraphBuilder* SharedGraph();
  // A renderer into the picture window (one reference), or null without one.
  IBaseFilter* NewRenderer();
  CaptureEntry* Find(uint32_t handle);

  VirtualBoard& m_board;
  std::map<uint32_t, std::unique_ptr<CaptureEntry>> m_entries;
  uint32_t m_nextHandle = 1;
  uint32_t m_soundMode = 2;
  PictureSink* m_sink = nullptr;
  std::unique_ptr<WritingGraph> m_live;
  brontel::ComPtr<IGraphBuilder> m_graph;
  bool m_comInitialised = false;
};

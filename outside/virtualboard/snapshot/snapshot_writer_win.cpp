#include "outside/virtualboard/snapshot/snapshot_writer_win.h"

#include <cstdio>

#include "outside/virtualboard/snapshot/snapshot_encoder.h"
#include "win32/atomic_file.h"
#include "win32/windows_include.h"

namespace brontel::snapshot {

bool WriteSnapshot(const GrabbedFrame& frame, const std::wstring& path, int width, int height,
                   int imageFormat, int jpegQuality, std::string* problem) {
  if (problem) problem->clear();
  const char* encodeProblem = nullptr;
  const std::vector<std::uint8_t> bytes =
      EncodeSnapshot(frame, width, height, imageFormat, jpegQuality, &encodeProblem);
  if (bytes.empty()) {
    if (problem) *problem = encodeProblem ? encodeProblem : "the picture could not be made";
    return false;
  }
  if (!WriteFileAtomically(path, bytes.data(), bytes.size())) {
    if (problem) {
      char text[64];
      std::snprintf(text, sizeof text, "the file could not be written (error %lu)", GetLastError());
      *problem = text;
    }
    return false;
  }
  return true;
}

}  // namespace brontel::snapshot

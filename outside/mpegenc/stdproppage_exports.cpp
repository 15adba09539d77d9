// StdPropPage.dll: GetParams hands out the encoder's default profile.
#include <cstdint>

#include "outside/mpegenc/encoder_records.h"

namespace {
struct OptionRecord {
  std::uint8_t bytes[mpegenc::kOptionRecordBytes];
};
}  // namespace

extern "C" int __cdecl GetParams(void* params, void* extra, OptionRecord options) {
  (void)options;  // the defaults do not depend on the options
  if (!params || !extra) return -1;
  mpegenc::FillDefaultParams(static_cast<std::uint8_t*>(params), static_cast<std::uint8_t*>(extra));
  return 0;
}

#include "apimgr/board_protocol.h"

#include <cstring>

bool BoardClassForKind(int32_t kind, uint32_t* boardClass) {
  if (kind >= 0 && kind <= kOpenKindLastStandard) {
    *boardClass = kBoardClassStandard;
    return true;
  }
  if (kind == kOpenKindExtended) {
    *boardClass = kBoardClassExtended;
    return true;
  }
  return false;
}

namespace {

bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

}  // namespace

bool IsListedValue(ValueList list, int32_t value) {
  switch (list) {
    case ValueList::kAudioConnectionType:
    case ValueList::kAudioSource:
      return InRange(value, 0, 3);
    case ValueList::kAudioPath:
      return InRange(value, 0, 6);
    case ValueList::kAudioMode:
      return value == 1 || value == 2 || value == 4 || value == 8 || value == 16;
    case ValueList::kVideoInputType:
      return InRange(value, 1, 3);
    case ValueList::kVideoMode:
      return InRange(value, 0, 19);
    case ValueList::kTunerValue402:
      return InRange(value, 0, 2);
    case ValueList::kTunerValue403:
      return InRange(value, 0, 18);
  }
  return false;
}

uint32_t ListedOrZero(ValueList list, int32_t value) {
  return IsListedValue(list, value) ? static_cast<uint32_t>(value) : 0;
}

uint32_t BoardPropertyKind(int32_t kind) {
  constexpr uint32_t kOtherKind = 4;
  return InRange(kind, 0, 3) ? static_cast<uint32_t>(kind) : kOtherKind;
}

ByteCountWords MegabytesToByteWords(int32_t megabytes) {
  const int64_t bytes = static_cast<int64_t>(megabytes) * kBytesPerMegabyte;
  const uint64_t bits = static_cast<uint64_t>(bytes);
  return ByteCountWords{static_cast<uint32_t>(bits & 0xFFFFFFFFu),
                        static_cast<uint32_t>(bits >> 32)};
}

int32_t ByteCountToMegabytes(uint32_t byteCount) {
  int32_t signedCount;
  std::memcpy(&signedCount, &byteCount, sizeof signedCount);
  // Integer division truncates toward zero, also for a negative count.
  return signedCount / static_cast<int32_t>(kBytesPerMegabyte);
}

int16_t Low16(int32_t value) {
  const uint16_t bits = static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
  int16_t result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

bool MakeVideoRectBlock(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        VideoWindowBlock* block) {
  // The difference is taken in 32 bits (unsigned, so that it cannot overflow)
  // and then cut to the 16-bit field.
  const int32_t width =
      static_cast<int32_t>(static_cast<uint32_t>(right) - static_cast<uint32_t>(left));
  const int32_t height =
      static_cast<int32_t>(static_cast<uint32_t>(bottom) - static_cast<uint32_t>(top));
  const int16_t left16 = Low16(left);
  const int16_t top16 = Low16(top);
  const int16_t width16 = Low16(width);
  const int16_t height16 = Low16(height);
  if (left16 < 0 || top16 < 0 || width16 < 0 || height16 < 0) {
    return false;
  }
  std::memset(block, 0, sizeof *block);
  block->left = left16;
  block->top = top16;
  block->width = width16;
  block->height = height16;
  return true;
}

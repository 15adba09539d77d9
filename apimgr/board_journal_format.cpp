#include "apimgr/board_journal_format.h"

#include <cstdio>
#include <cstring>

#include "apimgr/board_blocks.h"
#include "apimgr/board_protocol.h"

namespace {

// Field codes of a run of 32-bit words:
//   i  signed decimal       x  handle in hex
//   a  address: "&" when set, "0" when null (addresses differ from run to run)
//   t  address of a text: the quoted text, or 0
//   r  address of the encoder record: its 27 words as {...}, or 0
enum class Layout {
  kNone,
  kWords,
  kVideoWindow,
  kAudioLists,
  kTuner,
  kVideoProperty,
  kBuffer,
  kRaw
};

struct BlockLayout {
  Layout layout;
  const char* fields;  // for kWords
};

BlockLayout LayoutFor(uint32_t command, bool write) {
  using namespace kxcmd;
  switch (command) {
    case kCreateVideoWindow:
    case kVideoInfo:
    case kVideoRect:
      return {Layout::kVideoWindow, ""};
    case kDestroyVideoWindow:
    case kBoardCommand5:
    case kStopAudio:
    case kRestartVideo:
      return {Layout::kNone, ""};
    case kBoardCaps:
      return {Layout::kWords, "iiiiiii"};
    case kVideoSizeLimits:
      return {Layout::kWords, "iiii"};
    case kEventSink:
      return {Layout::kWords, "ia"};
    case kAudioConnection:
      return {Layout::kWords, "xi"};
    case kVolume:
    case kAudioPath:
      return write ? BlockLayout{Layout::kWords, "i"} : BlockLayout{Layout::kWords, "iiii"};
    case kAudioSource:
    case kAudioLevel:
    case kAudioValue105:
    case kAudioValue106:
    case kAudioValue107:
    case kAudioValue109:
    case kAudioMode:
    case kVideoValue207:
    case kVideoEnable:
    case kVideoValue212:
    case kDeinterlaceBypass:
    case kVideoMode:
    case kTunerMode:
    case kTunerValue401:
    case kTunerValue402:
    case kTunerValue403:
    case kSignalLock:
    case kCloseCapture:
    case kCaptureAudioMode:
      return {Layout::kWords, "i"};
    case kAudioModes:
    case kAudioData112:
    case kCaptureStatus:
      return {Layout::kBuffer, ""};
    case kAudioDevices:
    case kAudioInputs:
    case kSelectAudioInput:
      return {Layout::kAudioLists, ""};
    case kGetVideoProperty:
    case kSetVideoProperty:
      return {Layout::kVideoProperty, ""};
    case kVideoInput:
    case kVideoValues211:
    case kCaptureState:
      return {Layout::kWords, "ii"};
    case kVideoStatus:
      return {Layout::kWords, "ia"};
    case kFrequency:
    case kChannel:
    case kFrequencyRange:
    case kChannelRange:
    case kChannelFrequency:
      return {Layout::kTuner, ""};
    case kOpenCapture:
      // kind, video window, overlay flag, picture-in-picture window, 0, address
      // of the capture handle.
      return {Layout::kWords, "ixixia"};
    case kCaptureValue:
      return write ? BlockLayout{Layout::kWords, "iii"} : BlockLayout{Layout::kWords, "iiiiii"};
    case kCaptureFile:
      return write ? BlockLayout{Layout::kWords, "it"} : BlockLayout{Layout::kWords, "ia"};
    case kBufferSize:
      return write ? BlockLayout{Layout::kWords, "iii"} : BlockLayout{Layout::kWords, "ia"};
    case kEncoderParams:
      return write ? BlockLayout{Layout::kWords, "iir"} : BlockLayout{Layout::kWords, "iiai"};
    case kSnapshot:
      // path, width, height, image format, quality
      return {Layout::kWords, "tiiii"};
    case kCapturePosition:
      return {Layout::kWords, "ii"};
    default:
      return {Layout::kRaw, ""};
  }
}

std::string Address(uint32_t value) {
  return value != 0 ? "&" : "0";
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string Text(uint32_t address, const BlockTextReader& readText) {
  return address != 0 ? QuoteJournalText(readText(address)) : "0";
}

std::string FixedText(const char* text, size_t capacity) {
  return QuoteJournalText(std::string(text, strnlen(text, capacity)));
}

uint32_t Word(const unsigned char* bytes, size_t index) {
  uint32_t value;
  std::memcpy(&value, bytes + index * 4, sizeof value);
  return value;
}

std::string Record(uint32_t address, const BlockWordsReader& readWords) {
  if (address == 0) return "0";
  if (!readWords) return Address(address);
  std::string out = "{";
  const std::vector<uint32_t> words = readWords(address, kJournalEncoderWords);
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(words[i]);
  }
  return out + "}";
}

std::string Words(const unsigned char* bytes, const char* fields, const BlockTextReader& readText,
                  const BlockWordsReader& readWords) {
  std::string out = "{";
  for (size_t i = 0; fields[i] != '\0'; ++i) {
    if (i > 0) out += ',';
    const uint32_t value = Word(bytes, i);
    switch (fields[i]) {
      case 'x':
        out += Hex(value);
        break;
      case 'a':
        out += Address(value);
        break;
      case 't':
        out += Text(value, readText);
        break;
      case 'r':
        out += Record(value, readWords);
        break;
      default:
        out += std::to_string(static_cast<int32_t>(value));
        break;
    }
  }
  return out + "}";
}

}  // namespace

std::string QuoteJournalText(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7F || c == '"') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string FormatBoardBlock(uint32_t command, bool write, const void* block,
                             const BlockTextReader& readText, const BlockWordsReader& readWords) {
  if (block == nullptr) {
    return "-";
  }
  const auto* bytes = static_cast<const unsigned char*>(block);
  const BlockLayout layout = LayoutFor(command, write);
  switch (layout.layout) {
    case Layout::kNone:
      // A block where none is expected: show it rather than hide it.
    case Layout::kRaw: {
      std::string out = "hex=";
      for (size_t i = 0; i < kJournalRawBytes; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        out += pair;
      }
      return out;
    }
    case Layout::kWords:
      return Words(bytes, layout.fields, readText, readWords);
    case Layout::kBuffer:
      return "buffer";
    case Layout::kVideoWindow: {
      VideoWindowBlock w;
      std::memcpy(&w, bytes, sizeof w);
      return "{parent=" + Hex(w.parent) + " title=" + Text(w.title, readText) +
             " style=" + Hex(w.style) + " p1=" + std::to_string(static_cast<int32_t>(w.param1)) +
             " p2=" + std::to_string(static_cast<int32_t>(w.param2)) +
             " result=" + std::to_string(static_cast<int32_t>(w.result)) +
             " left=" + std::to_string(w.left) + " top=" + std::to_string(w.top) +
             " width=" + std::to_string(w.width) + " height=" + std::to_string(w.height) + "}";
    }
    case Layout::kAudioLists: {
      const auto* lists = reinterpret_cast<const AudioDeviceLists*>(bytes);
      return "{device=" + FixedText(lists->selectedDevice, kAudioNameBytes) +
             " input=" + FixedText(lists->selectedInput, kAudioNameBytes) +
             " devCount=" + Address(lists->deviceCount) + " inCount=" + Address(lists->inputCount) +
             "}";
    }
    case Layout::kTuner: {
      TunerBlock t;
      std::memcpy(&t, bytes, sizeof t);
      return "{minChn=" + std::to_string(t.lowestChannel) +
             " maxChn=" + std::to_string(t.highestChannel) +
             " minFreq=" + std::to_string(t.lowestFrequency) +
             " maxFreq=" + std::to_string(t.highestFrequency) +
             " chn=" + std::to_string(t.channel) + " freq=" + std::to_string(t.frequency) + "}";
    }
    case Layout::kVideoProperty: {
      VideoPropertyBlock p;
      std::memcpy(&p, bytes, sizeof p);
      return "{kind=" + std::to_string(static_cast<int32_t>(p.kind)) +
             " value=" + std::to_string(static_cast<int32_t>(p.value)) +
             " result=" + Address(p.resultAddress) + "}";
    }
  }
  return "-";
}

std::string FormatJournalLine(uint32_t command, bool write, int32_t result,
                              const std::string& blockText) {
  return std::to_string(command) + (write ? " W" : " R") + " rc=" + std::to_string(result) + " " +
         blockText;
}

std::string FormatInitBoardClassLine(uint32_t boardClass, uint32_t reserved, uint32_t board) {
  return "kxTVA_InitBoardClass rc=" + Address(board) + " {" + Hex(boardClass) + "," +
         std::to_string(static_cast<int32_t>(reserved)) + "}";
}

std::string FormatFreeLine(uint32_t board, int32_t result) {
  return "kxTVA_Free rc=" + std::to_string(result) + " {" + Address(board) + "}";
}

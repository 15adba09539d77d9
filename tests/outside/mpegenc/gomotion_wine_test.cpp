// Loads gomotion.dll and StdPropPage.dll by name and drives them the way an
// encode-writer filter does: defaults from GetParams, the open record with a
// write callback, the demand word, the -702 back-pressure, close. The stream
// it writes, gomotion_wine.mpg, is judged by tests/support/check_program_stream.sh afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct OptionRecord {
  std::uint8_t bytes[288];
};
using CreateFn = void*(__cdecl*)();
using DeleteFn = void(__cdecl*)(void*);
using OpenFn = int(__cdecl*)(void*, const void*, void*);
using ParamsFn = int(__cdecl*)(void*, void*);
using VideoFn = int(__cdecl*)(void*, const void*, int, int*);
using AudioFn = int(__cdecl*)(void*, const void*, int*);
using CloseFn = int(__cdecl*)(void*);
using GetParamsFn = int(__cdecl*)(void*, void*, OptionRecord);

struct Output {
  HANDLE file = INVALID_HANDLE_VALUE;
  unsigned long largestBlock = 0;
  unsigned long calls = 0;
};

int __cdecl WriteBlock(const void* data, unsigned long bytes, void* context) {
  auto* out = static_cast<Output*>(context);
  DWORD written = 0;
  WriteFile(out->file, data, bytes, &written, nullptr);
  out->largestBlock = std::max(out->largestBlock, bytes);
  ++out->calls;
  return 0;
}

void PutWord(std::uint8_t* record, size_t offset, std::uint32_t v) {
  std::memcpy(record + offset, &v, 4);
}

struct Library {
  HMODULE encoder = LoadLibraryW(L"gomotion.dll");
  HMODULE page = LoadLibraryW(L"StdPropPage.dll");
  template <typename T>
  T Get(HMODULE m, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, name)));
  }
  ~Library() {
    if (encoder) FreeLibrary(encoder);
    if (page) FreeLibrary(page);
  }
};

TEST(GoMotionDll, FilterStyleSessionWritesAStreamFfprobeReads) {
  Library lib;
  ASSERT_TRUE(lib.encoder && lib.page);
  auto create = lib.Get<CreateFn>(lib.encoder, "GoMotionCreateContext");
  auto destroy = lib.Get<DeleteFn>(lib.encoder, "GoMotionDeleteContext");
  auto open = lib.Get<OpenFn>(lib.encoder, "OpenGoMotionEncoderEx");
  auto params = lib.Get<ParamsFn>(lib.encoder, "GetGoMotionParamsEx");
  auto video = lib.Get<VideoFn>(lib.encoder, "CompressVideoFrame");
  auto audio = lib.Get<AudioFn>(lib.encoder, "CompressAudioFrame");
  auto close = lib.Get<CloseFn>(lib.encoder, "CloseGoMotionEncoder");
  auto getParams = lib.Get<GetParamsFn>(lib.page, "GetParams");
  ASSERT_TRUE(create && destroy && open && params && video && audio && close && getParams);

  std::uint8_t record[220], extra[92];
  OptionRecord options{};
  for (size_t at : {88, 92, 96, 100, 108, 112, 116}) PutWord(options.bytes, at, 1);
  getParams(record, extra, options);
  std::uint32_t rate, sampleRate;
  std::memcpy(&rate, record + 16, 4);
  std::memcpy(&sampleRate, record + 52, 4);
  EXPECT_EQ(rate, 4000000u);
  EXPECT_EQ(sampleRate, 48000u);

  void* context = create();
  ASSERT_NE(context, nullptr);
  int demand = 0;
  std::uint8_t frame[352 * 240 * 2] = {};
  EXPECT_LT(video(context, frame, 0, &demand), 0) << "compress before open";
  EXPECT_LT(video(nullptr, frame, 0, &demand), 0) << "null context";
  EXPECT_LT(open(context, nullptr, record), 0);

  BITMAPINFOHEADER bih{};
  bih.biSize = sizeof(bih);
  bih.biWidth = 352;
  bih.biHeight = 240;
  bih.biPlanes = 1;
  bih.biBitCount = 16;
  bih.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
  WAVEFORMATEX wfx{};
  wfx.wFormatTag = WAVE_FORMAT_PCM;
  wfx.nChannels = 2;
  wfx.nSamplesPerSec = 48000;
  wfx.wBitsPerSample = 16;
  wfx.nBlockAlign = 4;
  wfx.nAvgBytesPerSec = 192000;
  Output out;
  char tempName[] = "kxTemp.mpg";
  std::uint8_t openRecord[84] = {};
  PutWord(openRecord, 0, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&bih)));
  PutWord(openRecord, 4, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&wfx)));
  PutWord(openRecord, 16,
          static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&WriteBlock)));
  PutWord(openRecord, 28, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&out)));
  PutWord(openRecord, 32, 1);
  PutWord(openRecord, 36, 1);
  PutWord(openRecord, 40, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(tempName)));
  PutWord(openRecord, 44, 1);
  PutWord(openRecord, 48, 1);

  // A picture format the encoder does not take is refused at open.
  bih.biCompression = MAKEFOURCC('Y', '4', '1', '1');
  EXPECT_LT(open(context, openRecord, record), 0);
  bih.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');

  out.file = CreateFileW(L"gomotion_wine.mpg", GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out.file, INVALID_HANDLE_VALUE);
  ASSERT_EQ(open(context, openRecord, record), 0);
  EXPECT_EQ(params(context, record), 0);

  // Two seconds: a bright box moving across a gradient; a 1 kHz tone.
  std::vector<std::uint8_t> pcm(4608);
  std::int64_t sampleAt = 0;
  int refused = 0;
  bool pending = false;
  for (int f = 0; f < 60; ++f) {
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 352; ++x) {
        const bool box = x >= 4 * f && x < 4 * f + 48 && y >= 80 && y < 140;
        frame[(y * 352 + x) * 2] = static_cast<std::uint8_t>(box ? 220 : 40 + (x + y) / 4);
        frame[(y * 352 + x) * 2 + 1] = static_cast<std::uint8_t>(x & 1 ? 110 : 150);
      }
    if (demand <= 0) ASSERT_GE(video(context, frame, 0, &demand), 0);
    while (demand >= 0) {
      if (!pending) {
        for (int i = 0; i < 1152; ++i, ++sampleAt) {
          const auto s = static_cast<std::int16_t>(
              8000 * std::sin(2 * 3.14159265 * 1000 * sampleAt / 48000.0));
          std::memcpy(&pcm[4 * i], &s, 2);
          std::memcpy(&pcm[4 * i + 2], &s, 2);
        }
      }
      std::uint8_t audioRecord[12] = {};
      PutWord(audioRecord, 0,
              static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pcm.data())));
      PutWord(audioRecord, 8, static_cast<std::uint32_t>(pcm.size()));
      const int r = audio(context, audioRecord, &demand);
      if (r == -702) {
        ++refused;
        pending = true;  // offered again after the next picture
        break;
      }
      ASSERT_EQ(r, 0);
      pending = false;
    }
  }
  EXPECT_EQ(close(context), 0);
  EXPECT_EQ(close(context), 0) << "a second close is harmless";
  destroy(context);
  CloseHandle(out.file);
  EXPECT_GT(out.calls, 10u);
  EXPECT_LE(out.largestBlock, 2048u);
  // Audio stayed within a fraction of a second of the pictures.
  EXPECT_NEAR(sampleAt / 48000.0, 60 / 29.97, 0.35);

  // The stream stays for the ffprobe check that runs after this test.
}

}  // namespace

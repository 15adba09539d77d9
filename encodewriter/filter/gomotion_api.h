#pragma once
// The encoder library's C entry points (gomotion.dll, StdPropPage.dll).

#include <cstdint>

extern "C" {

using GoMotionWriteCallback = int(__cdecl*)(const void* data, unsigned long bytes, void* context);

// The option record goes by value.
struct GoMotionOptionRecord {
  std::uint8_t bytes[288];
};

void* __cdecl GoMotionCreateContext();
void __cdecl GoMotionDeleteContext(void* context);
int __cdecl OpenGoMotionEncoderEx(void* context, const void* openRecord, void* encodingRecord);
int __cdecl GetGoMotionParamsEx(void* context, void* encodingRecord);
int __cdecl CompressVideoFrame(void* context, const void* frame, int repeat, int* demand);
int __cdecl CompressAudioFrame(void* context, const void* audioRecord, int* demand);
int __cdecl CloseGoMotionEncoder(void* context);

int __cdecl GetParams(void* params, void* extra, GoMotionOptionRecord options);
}

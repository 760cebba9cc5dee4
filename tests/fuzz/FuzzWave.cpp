// A WAV sound: RIFF chunks, the format record and the samples.
#include "FuzzSupport.h"
#include "media/FSWaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FSWaveSound sound;
    if (ReadWave(data, size, sound) == FSWaveError::None && sound.data.size() > size) __builtin_trap();
    return 0;
}

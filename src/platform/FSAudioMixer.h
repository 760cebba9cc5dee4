#pragma once
// The small mixer behind the six sound channels: each voice holds one whole sound already
// at the output's rate (16-bit samples, interleaved for stereo; a mono voice is heard on
// both sides of the stereo output), its own volume, a loop flag and whether it plays. The output's callback
// asks it for the next block of samples.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct FSMixerVoice {
    std::vector<int16_t> samples;  // interleaved, in the output's channel count
    bool mono = false;             // one channel, heard on both sides
    size_t position = 0;           // the next sample to play
    bool playing = false;
    bool looped = false;       // back to the start at the end; otherwise it stops there
    uint16_t volume = 0xFFFF;  // 0 silent ... 0xFFFF as recorded
    // The volume the voice was last heard at; a change glides there over kGlideSamples so
    // that a volume set every frame never clicks. −1: start at volume at once.
    int32_t heard = -1;
};

constexpr size_t kGlideSamples = 512;

// Fills out (count samples) with the sum of every playing voice scaled by its volume,
// clipped to 16 bits, and moves each voice on. A looped voice wraps to its start; a voice
// played once stops at its end and goes back to its start for the next play.
void MixVoices(FSMixerVoice* voices, size_t voiceCount, int16_t* out, size_t count);

}  // namespace platform

#include "platform/FSAudioMixer.h"

#include <algorithm>

namespace platform {

namespace {

// Adds count samples of the voice into sum, moving it on.
void AddVoice(FSMixerVoice& voice, int32_t* sum, size_t count) {
    const size_t length = voice.samples.size();
    const int64_t volume = voice.volume;
    const int64_t from = voice.heard < 0 ? volume : voice.heard;
    voice.heard = voice.volume;
    // Output samples each stored sample makes: a mono sample goes to both sides.
    const size_t spread = voice.mono ? 2 : 1;
    size_t i = 0;
    while (i < count && voice.playing) {
        const size_t run = std::min((count - i) / spread, length - voice.position);
        if (run == 0) break;  // no room left for a whole stereo frame
        const int16_t* source = voice.samples.data() + voice.position;
        // 0xFFFF passes a sample through unchanged (x * 65535 / 65535).
        for (size_t k = 0; k < run * spread; ++k) {
            const size_t at = i + k;
            const int64_t gain = at >= kGlideSamples ? volume
                                                     : from + (volume - from) * static_cast<int64_t>(at) /
                                                                  static_cast<int64_t>(kGlideSamples);
            sum[at] += static_cast<int32_t>(source[k / spread] * gain / 0xFFFF);
        }
        i += run * spread;
        voice.position += run;
        if (voice.position >= length) {
            voice.position = 0;
            voice.playing = voice.looped;
        }
    }
}

}  // namespace

void MixVoices(FSMixerVoice* voices, size_t voiceCount, int16_t* out, size_t count) {
    // In blocks on the stack: the output's callback must not allocate.
    constexpr size_t kBlock = 1024;
    int32_t sum[kBlock];
    for (size_t done = 0; done < count; done += kBlock) {
        const size_t block = std::min(kBlock, count - done);
        std::fill(sum, sum + block, 0);
        for (size_t v = 0; v < voiceCount; ++v) {
            FSMixerVoice& voice = voices[v];
            if (voice.samples.empty()) voice.playing = false;
            if (voice.playing) AddVoice(voice, sum, block);
        }
        for (size_t i = 0; i < block; ++i)
            out[done + i] = static_cast<int16_t>(std::clamp<int32_t>(sum[i], -32768, 32767));
    }
}

}  // namespace platform

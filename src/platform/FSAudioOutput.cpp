#include "platform/FSAudioOutput.h"

#include <SDL.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/FSAudioUpsampler.h"

namespace platform {

namespace {

// SDL's name for the sample format of a WAV format record; 0 when SDL has none.
SDL_AudioFormat SampleFormat(const FSWaveFormat& format) {
    if (format.formatTag == 1) {
        switch (format.bitsPerSample) {
            case 8:
                return AUDIO_U8;
            case 16:
                return AUDIO_S16LSB;
            case 32:
                return AUDIO_S32LSB;
            default:
                return 0;
        }
    }
    if (format.formatTag == 3 && format.bitsPerSample == 32) return AUDIO_F32LSB;
    return 0;
}

void AudioCallback(void* output, Uint8* stream, int len) {
    static_cast<CFSAudioOutput*>(output)->Fill(stream, len);
}

}  // namespace

CFSAudioOutput::CFSAudioOutput() {
    // SDL would turn SIGINT and SIGTERM into a quit event that a program without a window
    // never reads: they keep their usual meaning instead.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    subsystem_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = kFrequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = 1024;
    wanted.callback = &AudioCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

CFSAudioOutput::~CFSAudioOutput() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (subsystem_ && SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool CFSAudioOutput::IsPlayable(const FSWaveFormat& format) {
    if (SampleFormat(format) == 0) return false;
    if (format.channels < 1 || format.channels > 8) return false;
    if (format.samplesPerSecond < 1000 || format.samplesPerSecond > 384000) return false;
    return format.blockAlign == format.channels * (format.bitsPerSample / 8);
}

bool CFSAudioOutput::Load(int channel, const FSWaveFormat& format, const uint8_t* data, size_t size) {
    if (!Valid(channel)) return false;
    Unload(channel);
    if (!IsPlayable(format) || !data) return false;
    const size_t frames = size / format.blockAlign;
    // Each output frame comes from at most this many input bytes at the lowest rate.
    const double ratio = static_cast<double>(kFrequency) / format.samplesPerSecond;
    if (frames == 0 || static_cast<double>(frames) * ratio * kOutputChannels > kMaxSamples) return false;
    std::vector<int16_t> samples;
    // The game's own sounds: kept mono (half the memory), the mixer plays them on both sides.
    const bool doubled = format.formatTag == 1 && format.bitsPerSample == 16 && format.channels <= 2 &&
                         format.samplesPerSecond * 2 == kFrequency;
    if (doubled) {
        samples = UpsampleTwice(data, frames, format.channels);
    } else if (!Convert(format, data, frames, samples)) {
        return false;
    }
    if (samples.empty()) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    FSMixerVoice& voice = voices_[channel];
    voice.samples = std::move(samples);
    voice.mono = doubled && format.channels == 1;
    voice.position = 0;
    voice.playing = false;
    voice.looped = false;
    voice.volume = 0xFFFF;
    return true;
}

bool CFSAudioOutput::Convert(const FSWaveFormat& format, const uint8_t* data, size_t frames,
                             std::vector<int16_t>& samples) {
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, SampleFormat(format), static_cast<Uint8>(format.channels),
                          static_cast<int>(format.samplesPerSecond), AUDIO_S16SYS, kOutputChannels,
                          kFrequency) < 0) {
        return false;
    }
    const size_t bytes = frames * format.blockAlign;
    // Room for the conversion to grow in; SDL writes all of it, so it is not cleared first.
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[bytes * static_cast<size_t>(cvt.len_mult)]);
    std::memcpy(buffer.get(), data, bytes);
    cvt.buf = buffer.get();
    cvt.len = static_cast<int>(bytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return false;
    const size_t converted = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : bytes;
    const auto* first = reinterpret_cast<const int16_t*>(buffer.get());
    samples.assign(first, first + converted / sizeof(int16_t));
    return true;
}

void CFSAudioOutput::Unload(int channel) {
    if (!Valid(channel)) return;
    std::vector<int16_t> released;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        FSMixerVoice& voice = voices_[channel];
        released.swap(voice.samples);
        voice.position = 0;
        voice.playing = false;
        voice.looped = false;
    }
}

void CFSAudioOutput::Play(int channel, bool looped) {
    if (!Valid(channel)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    FSMixerVoice& voice = voices_[channel];
    if (voice.samples.empty()) return;
    voice.looped = looped;
    if (!voice.playing) voice.heard = -1;  // a sound starts at its volume
    voice.playing = true;
}

void CFSAudioOutput::Stop(int channel) {
    if (!Valid(channel)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    voices_[channel].playing = false;
    voices_[channel].position = 0;
}

void CFSAudioOutput::SetVolume(int channel, uint16_t volume) {
    if (!Valid(channel)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    voices_[channel].volume = volume;
}

uint16_t CFSAudioOutput::Volume(int channel) const {
    if (!Valid(channel)) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_[channel].volume;
}

bool CFSAudioOutput::IsPlaying(int channel) const {
    if (!Valid(channel)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_[channel].playing;
}

bool CFSAudioOutput::IsLooped(int channel) const {
    if (!Valid(channel)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_[channel].looped;
}

bool CFSAudioOutput::IsLoaded(int channel) const {
    return SampleCount(channel) > 0;
}

size_t CFSAudioOutput::SampleCount(int channel) const {
    if (!Valid(channel)) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    return voices_[channel].samples.size();
}

void CFSAudioOutput::Fill(uint8_t* stream, int len) {
    if (!stream || len <= 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    MixVoices(voices_.data(), voices_.size(), reinterpret_cast<int16_t*>(stream),
              static_cast<size_t>(len) / sizeof(int16_t));
}

}  // namespace platform

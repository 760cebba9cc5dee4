#pragma once
// The sound output: six channels over the machine's sound device, mixed by our own mixer
// (FSAudioMixer). Each channel holds one whole sound, converted once to the device's
// format when it is put in, with its own volume, loop flag and play/stop. Without a sound
// device (no driver, or the device will not open) everything still works and is silent:
// the channels keep their sounds, volumes and play states, only nothing is heard.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/FSAudioMixer.h"

namespace platform {

// A sound's format as a WAV file's "fmt " record gives it.
struct FSWaveFormat {
    uint16_t formatTag = 0;  // 1 integer PCM, 3 floating point
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;  // bytes of one frame of all channels
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};

class CFSAudioOutput {
public:
    static constexpr int kChannels = 6;
    // What the device is asked for, and what sounds are converted to without a device.
    static constexpr int kFrequency = 44100;
    static constexpr int kOutputChannels = 2;
    // Sounds longer than this many output samples (about six minutes) are refused.
    static constexpr size_t kMaxSamples = size_t{kFrequency} * kOutputChannels * 360;

    // Opens the default sound device; silent when there is none.
    CFSAudioOutput();
    ~CFSAudioOutput();
    CFSAudioOutput(const CFSAudioOutput&) = delete;
    CFSAudioOutput& operator=(const CFSAudioOutput&) = delete;

    bool HasDevice() const { return device_ != 0; }

    // Whether a sound of this format can be played (integer PCM of 8, 16 or 32 bits, or
    // 32-bit floating point; 1 to 8 channels; a sane rate and frame size).
    static bool IsPlayable(const FSWaveFormat& format);
    // Converts size bytes of the sound (whole frames; a partial last frame is dropped) to
    // the output's format and puts it in the channel, stopped, at full volume, replacing
    // what the channel held. False, with the channel emptied, when the format cannot be
    // played or the sound is absurdly long.
    bool Load(int channel, const FSWaveFormat& format, const uint8_t* data, size_t size);
    void Unload(int channel);
    // Starts the channel's sound from where it stands (the start unless it is playing).
    void Play(int channel, bool looped);
    // Stops the channel and rewinds it.
    void Stop(int channel);
    void SetVolume(int channel, uint16_t volume);

    uint16_t Volume(int channel) const;
    bool IsPlaying(int channel) const;
    bool IsLooped(int channel) const;
    bool IsLoaded(int channel) const;
    // Output samples of the channel's converted sound.
    size_t SampleCount(int channel) const;

    // The device's callback: the next len bytes of 16-bit samples.
    void Fill(uint8_t* stream, int len);

private:
    static bool Valid(int channel) { return channel >= 0 && channel < kChannels; }
    // Any playable format to the output's, by SDL's converter; false when it cannot.
    static bool Convert(const FSWaveFormat& format, const uint8_t* data, size_t frames,
                        std::vector<int16_t>& samples);

    uint32_t device_ = 0;
    bool subsystem_ = false;
    // Guards the voices against the device's callback thread.
    mutable std::mutex mutex_;
    std::array<FSMixerVoice, kChannels> voices_;
};

}  // namespace platform

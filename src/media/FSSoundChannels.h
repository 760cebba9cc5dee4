#pragma once
// The engine's six sound channels. Each holds one whole sound read from a WAV file and
// plays it looped or once at its own volume, so that the menu music, the engine loops,
// the wind and the explosion sound together. Channel numbers outside 0-5, the −1 of "no
// channel" among them, are ignored by every operation.
#include <cstdint>
#include <memory>
#include <string>

#include "media/FSWaveFile.h"
#include "platform/FSAudioOutput.h"

class CFSSoundChannels {
public:
    static constexpr int kCount = platform::CFSAudioOutput::kChannels;

    CFSSoundChannels();

    // Reads the WAV file at a path relative to the executable's folder ("sounds\wind.wav")
    // into the channel, releasing what it held first. False when the file cannot be read or
    // played; the channel then holds nothing.
    bool Load(const std::string& relativePath, int channel);
    // The same from a path as it stands.
    bool LoadFile(const std::string& path, int channel);
    void Unload(int channel);

    void PlayLooped(int channel);
    void PlayOnce(int channel);
    void Stop(int channel);
    void StopAll();

    // Volume 0-255 (values outside are taken as the nearest end), on the device as the low
    // word scaled to 0-65535: (value × 257) & 0xFFFF.
    void SetVolume(int channel, int value);
    static uint16_t DeviceVolume(int value);

    bool IsPlaying(int channel) const { return output_->IsPlaying(channel); }
    bool IsLoaded(int channel) const { return output_->IsLoaded(channel); }
    uint16_t Volume(int channel) const { return output_->Volume(channel); }
    platform::CFSAudioOutput& Output() { return *output_; }

private:
    std::unique_ptr<platform::CFSAudioOutput> output_;
};

#include "media/FSSoundChannels.h"

#include <algorithm>

#include "resources/FSArchive.h"

CFSSoundChannels::CFSSoundChannels() : output_(std::make_unique<platform::CFSAudioOutput>()) {}

bool CFSSoundChannels::Load(const std::string& relativePath, int channel) {
    return LoadFile(MakeDataPath(relativePath), channel);
}

bool CFSSoundChannels::LoadFile(const std::string& path, int channel) {
    if (channel < 0 || channel >= kCount) return false;
    // The previous sound goes first, whether or not the new one loads.
    output_->Unload(channel);
    FSWaveSound sound;
    if (ReadWaveFile(path, sound) != FSWaveError::None) return false;
    return output_->Load(channel, sound.format, sound.data.data(), sound.data.size());
}

void CFSSoundChannels::Unload(int channel) {
    output_->Unload(channel);
}

void CFSSoundChannels::PlayLooped(int channel) {
    output_->Play(channel, true);
}

void CFSSoundChannels::PlayOnce(int channel) {
    output_->Play(channel, false);
}

void CFSSoundChannels::Stop(int channel) {
    output_->Stop(channel);
}

void CFSSoundChannels::StopAll() {
    for (int channel = 0; channel < kCount; ++channel)
        output_->Stop(channel);
}

uint16_t CFSSoundChannels::DeviceVolume(int value) {
    return static_cast<uint16_t>((std::clamp(value, 0, 255) * 257) & 0xFFFF);
}

void CFSSoundChannels::SetVolume(int channel, int value) {
    output_->SetVolume(channel, DeviceVolume(value));
}

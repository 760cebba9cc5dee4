#include "app/FSSettingsPresets.h"

#include <algorithm>

namespace {

struct VideoPreset {
    int32_t resolution;
    float screenAspect;
    int32_t visibilityRange;
    int32_t terrainQuality;
    int32_t texturesQuality;
    int32_t lightingQuality;
    int32_t effectsQuality;
    int32_t objectsQuality;
    uint8_t sky;
};

// Low, medium, high: the terrain window grows by 16 cells a step.
constexpr VideoPreset kVideoPresets[kVideoPresetCount] = {
    {1, 1.0f, 33, 0, 0, 0, 0, 0, 0},
    {1, 1.0f, 49, 1, 1, 0, 1, 1, 0},
    {1, 1.0f, 65, 2, 1, 0, 2, 2, 1},
};

}  // namespace

bool ApplyVideoPreset(FSVideoBlock& video, int preset) {
    if (preset < 0 || preset >= kVideoPresetCount) return false;
    const VideoPreset& p = kVideoPresets[preset];
    video.resolution = p.resolution;
    video.screenAspect = p.screenAspect;
    video.visibilityRange = p.visibilityRange;
    video.terrainQuality = p.terrainQuality;
    video.texturesQuality = p.texturesQuality;
    video.lightingQuality = p.lightingQuality;
    video.effectsQuality = p.effectsQuality;
    video.objectsQuality = p.objectsQuality;
    video.sky = p.sky;
    DeriveRenderSize(video);
    return true;
}

int MatchVideoPreset(const FSVideoBlock& video) {
    for (int i = 0; i < kVideoPresetCount; ++i) {
        const VideoPreset& p = kVideoPresets[i];
        // The aspect is compared exactly: the presets' 1.0 is written and read back exactly.
        if (video.resolution == p.resolution && video.screenAspect == p.screenAspect &&
            video.visibilityRange == p.visibilityRange && video.terrainQuality == p.terrainQuality &&
            video.texturesQuality == p.texturesQuality && video.lightingQuality == p.lightingQuality &&
            video.effectsQuality == p.effectsQuality && video.objectsQuality == p.objectsQuality &&
            video.sky == p.sky) {
            return i;
        }
    }
    return -1;
}

float SensitivityFromSlider(const FSSettingRange<float>& range, float slider) {
    // Not-a-number counts as the bottom.
    const float t = slider > 0.0f ? std::min(slider, 1.0f) : 0.0f;
    return range.low + t * (range.high - range.low);
}

float SliderFromSensitivity(const FSSettingRange<float>& range, float sensitivity) {
    if (range.high == range.low) return 0.0f;
    const float t = (sensitivity - range.low) / (range.high - range.low);
    return t > 0.0f ? std::min(t, 1.0f) : 0.0f;
}

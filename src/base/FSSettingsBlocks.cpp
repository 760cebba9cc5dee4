#include "base/FSSettingsBlocks.h"

bool FSVideoBlock::operator==(const FSVideoBlock& o) const {
    return renderWidth == o.renderWidth && renderHeight == o.renderHeight && resolution == o.resolution &&
           screenAspect == o.screenAspect && visibilityRange == o.visibilityRange &&
           terrainQuality == o.terrainQuality && texturesQuality == o.texturesQuality &&
           lightingQuality == o.lightingQuality && shadowsQuality == o.shadowsQuality &&
           effectsQuality == o.effectsQuality && objectsQuality == o.objectsQuality && sky == o.sky;
}

void DeriveRenderSize(FSVideoBlock& video) {
    switch (video.resolution) {
        case 0:
            video.renderWidth = 120;
            video.renderHeight = 160;
            break;
        case 1:
            video.renderWidth = 240;
            video.renderHeight = 320;
            break;
        case 2: {
            int32_t width = static_cast<int32_t>(video.screenAspect * 240.0f);
            int32_t height = static_cast<int32_t>(video.screenAspect * 320.0f);
            if (height % 2 != 0) {
                height -= 1;
                width = static_cast<int32_t>(height * 0.75f);
            }
            video.renderWidth = width;
            video.renderHeight = height;
            break;
        }
        default:
            break;
    }
}

namespace {

// low -> low, the middle of [low, high] -> centre, high -> high, linear on each side.
float MapAroundCentre(float x, float centre, float low, float high) {
    if (high == low) return high;
    if (x == (low + high) * 0.5f) return centre;
    const float t = (2.0f * x - high - low) / (high - low);
    return x > (low + high) * 0.5f ? centre + t * (high - centre) : centre + t * (centre - low);
}

}  // namespace

void DeriveControlGains(FSGameBlock& game) {
    const float a = MapAroundCentre(game.xySensitivity, game.xyCentre, -3.0f, 3.0f);
    const float j = MapAroundCentre(game.joystickSensitivity, game.joystickCentre, 0.05f, 0.15f);
    const float s = MapAroundCentre(game.touchscreenSensitivity, game.touchscreenCentre, 0.0f, 0.1f);
    // The balance mirrors itself: 1 + a above 0, 1 / (1 - a) below, so that a and -a
    // trade the same share between the axes.
    const float k = a > 0.0f ? 1.0f + a : a < 0.0f ? 1.0f / (1.0f - a) : 1.0f;
    game.keyPitchRate = k * j;
    game.keyRollRate = j / k;
    game.stylusPitchRate = k * s;
    game.stylusRollRate = s / k;
}

const FSGameBlock& FactoryGameBlock() {
    static const FSGameBlock factory = [] {
        FSGameBlock game;
        DeriveControlGains(game);
        return game;
    }();
    return factory;
}

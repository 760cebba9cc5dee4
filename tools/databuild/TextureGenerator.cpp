// The procedural textures of textures.zip. All are small power-of-two images, as the
// graphics library needs; the look is flat bright colours with clean edges.
#include <cmath>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

namespace {

// A soft round white sprite for smoke, sparks and bursts: white everywhere, alpha falling
// smoothly from opaque at the centre to 0 at the rim, so every particle colour tints it.
Canvas MakeParticle() {
    constexpr int kSize = 32;
    Canvas canvas(kSize, kSize, {255, 255, 255, 0});
    const float centre = kSize / 2.0f;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - centre) / centre, dy = (y + 0.5f - centre) / centre;
            const float r2 = dx * dx + dy * dy;
            const float a = r2 < 1.0f ? (1.0f - r2) * (1.0f - r2) : 0.0f;
            canvas.At(x, y).a = static_cast<uint8_t>(std::lround(a * 255.0f));
        }
    }
    return canvas;
}

// A gate block's face: the colour with a lighter rim, so the edges of the low-poly block
// read clearly at a distance.
Canvas MakeGateFace(Rgba face, Rgba rim) {
    constexpr int kSize = 32;
    constexpr int kRim = 3;
    Canvas canvas(kSize, kSize, rim);
    // A gentle light-from-above shading of the inner panel: 15 % darker at its foot.
    const Rgba foot = {static_cast<uint8_t>(face.r * 0.85f), static_cast<uint8_t>(face.g * 0.85f),
                       static_cast<uint8_t>(face.b * 0.85f), 255};
    for (int y = kRim; y < kSize - kRim; ++y) {
        const Rgba row = Mix(face, foot, static_cast<float>(y - kRim) / (kSize - 2 * kRim - 1));
        for (int x = kRim; x < kSize - kRim; ++x)
            canvas.At(x, y) = row;
    }
    return canvas;
}

}  // namespace

bool AddTextures(ArchiveBuilder& archive, const DataSources&) {
    bool ok = archive.Add("particle.png", EncodePng(MakeParticle(), true));
    ok = archive.Add("red.png", EncodePng(MakeGateFace({232, 52, 48, 255}, {255, 150, 136, 255}), false)) &&
         ok;
    ok = archive.Add("blue.png", EncodePng(MakeGateFace({40, 118, 232, 255}, {150, 200, 255, 255}), false)) &&
         ok;
    return ok;
}

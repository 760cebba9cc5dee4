// The procedural textures of textures.zip. All are small power-of-two images, as the
// graphics library needs; the look is flat bright colours with clean edges.
#include <cmath>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

namespace {

constexpr int kSupersample = 4;  // drawn at 4x and filtered down for smooth edges

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

// The artificial horizon's overlay. The instrument draws it over each half (sky and
// ground) with the blend factors (1, source alpha) after filling the half with its colour,
// so a texel of white with alpha 0 leaves the plain sky or ground colour and white with
// alpha 1 lights the colour up. The image is a pitch ladder that reads the same from
// either edge: the horizon line along both edges and a rung every 15 degrees (the image
// spans 90 degrees), longest at 45.
Canvas MakeHorizonOverlay() {
    constexpr int kSize = 64;
    constexpr int kS = kSize * kSupersample;
    Canvas canvas(kS, kS, {255, 255, 255, 0});
    const Rgba line = {255, 255, 255, 255};
    canvas.FillRect(0, 0, kS, kSupersample, line);
    canvas.FillRect(0, kS - kSupersample, kS, kSupersample, line);
    const float rungLength[] = {0.22f, 0.36f, 0.52f, 0.36f, 0.22f};  // 15, 30, 45, 60, 75 degrees
    const float thickness = 1.5f * kSupersample;
    for (int k = 1; k <= 5; ++k) {
        const float y = kS * k / 6.0f;
        const float half = rungLength[k - 1] * kS / 2.0f;
        const float cx = kS / 2.0f;
        canvas.FillPolygon({{cx - half, y - thickness / 2},
                            {cx + half, y - thickness / 2},
                            {cx + half, y + thickness / 2},
                            {cx - half, y + thickness / 2}},
                           line);
    }
    Canvas small = canvas.Downsample(kSupersample);
    // Filtering darkens fully transparent texels to black; the blend needs them white.
    for (int y = 0; y < small.Height(); ++y) {
        for (int x = 0; x < small.Width(); ++x) {
            Rgba& p = small.At(x, y);
            p.r = p.g = p.b = 255;
        }
    }
    return small;
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
    ok = archive.Add("avia.png", EncodePng(MakeHorizonOverlay(), true)) && ok;
    ok = archive.Add("red.png", EncodePng(MakeGateFace({232, 52, 48, 255}, {255, 150, 136, 255}), false)) &&
         ok;
    ok = archive.Add("blue.png", EncodePng(MakeGateFace({40, 118, 232, 255}, {150, 200, 255, 255}), false)) &&
         ok;
    return ok;
}

// The artificial horizon's face "avia.png" of textures.zip.
//
// The instrument fills its sky half and its ground half with a plain colour c and draws this
// picture over each with the blend factors (1, source alpha) in modulate mode, so a texel
// gives rgb x c + alpha x c: opaque black keeps the colour, opaque white doubles it (a light
// line) and black with half alpha halves it. The sky's square has the horizon at its bottom
// edge, the ground's at its top, and spans 90 degrees of pitch; the same picture serves both,
// so it reads the same turned over: the horizon along both edges, a rung at 30 and 60
// degrees and a short one every 10 degrees between, on rows that mirror each other.
#include <cmath>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/PictureSketch.h"

namespace {

constexpr int kSize = 64;
constexpr float kDegree = kSize / 90.0f;  // texels of pitch
constexpr Rgba kLine = {255, 255, 255, 255};
constexpr Rgba kShortLine = {150, 150, 150, 255};
// The face darkens over its outer sixth on either side, to a quarter less light at the edge,
// like a ball turning away.
constexpr float kPlainHalfWidth = 0.65f;
constexpr float kEdgeDarkening = 0.25f;

// A rung of width texels centred across the face, on whole rows from the one holding the
// pitch: row r of the top half mirrors row 63 - r of the bottom half.
void PaintRung(PictureSketch& face, float degrees, float width, int rows, Rgba colour) {
    const float top = std::floor(degrees * kDegree);
    face.Paint(RoundedBox((kSize - width) / 2, top, (kSize + width) / 2, top + rows, 0.0f), 0.0f, colour);
}

Canvas HorizonFace() {
    PictureSketch face(kSize, kSize);
    face.Shade(RoundedBox(0, 0, kSize, kSize, 0.0f), [](float x, float) {
        const float u = std::fabs(2.0f * x / kSize - 1.0f);
        const float edge = std::fmax(u - kPlainHalfWidth, 0.0f) / (1.0f - kPlainHalfWidth);
        return Rgba{0, 0, 0,
                    static_cast<uint8_t>(std::lround(255.0f * (1.0f - kEdgeDarkening * edge * edge)))};
    });
    face.Paint(RoundedBox(0, 0, kSize, 2, 0.0f), 0.0f, kLine);
    face.Paint(RoundedBox(0, kSize - 2, kSize, kSize, 0.0f), 0.0f, kLine);
    // The rungs at 30 and 60 degrees cover two rows each (21-22 and 41-42), the others one.
    PaintRung(face, 30.0f, 24.0f, 2, kLine);
    PaintRung(face, 60.0f - 1.0f / kDegree, 24.0f, 2, kLine);
    for (const float degrees : {10.0f, 20.0f, 40.0f, 50.0f, 70.0f, 80.0f})
        PaintRung(face, degrees, 10.0f, 1, kShortLine);
    return face.Finish();
}

}  // namespace

bool AddHorizonTexture(ArchiveBuilder& archive, const DataSources&) {
    return archive.Add("avia.png", EncodePng(HorizonFace(), true));
}

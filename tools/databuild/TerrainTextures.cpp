// The terrain textures: bright, flat-faceted ground in the game's low-poly look. Every
// pattern is made from periodic noise or laid out on the torus, so each picture repeats
// without a seam. One repeat covers 20 km, so a near texel is about 80 m of ground: the
// pictures show meadows, fields, woods and rock faces, not blades of grass.
#include "databuild/TerrainTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/Noise.h"
#include "world/FSTerrainStorage.h"

namespace {

constexpr int kNearSize = 256;
constexpr int kFarSize = 64;
constexpr double kTwoPi = 6.283185307179586;

struct Colour {
    double r, g, b;
};

Colour Scaled(Colour c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

Colour Lerp(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgba ToRgba(Colour c) {
    auto channel = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return {channel(c.r), channel(c.g), channel(c.b), 255};
}

// -1..1 from a hash, for jittering a facet's shade.
double Jitter(uint32_t id) {
    return (id & 0xFFFF) / 32767.5 - 1.0;
}

// A square picture painted texel by texel from torus coordinates (texel centres).
template <typename Paint>
Canvas PaintTexture(int size, Paint paint) {
    Canvas canvas(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            canvas.At(x, y) = ToRgba(paint(u, v));
        }
    }
    return canvas;
}

// The low-poly touch shared by every material: the ground broken into flat facets, each
// a little lighter or darker than its neighbours.
double Facets(double u, double v, int period, uint32_t seed, double strength) {
    return 1.0 + strength * Jitter(PeriodicCells(u, v, period, seed).id);
}

// A facet lit as a tilted plane: its own shade plus a gentle ramp across it in a direction
// of its own, so neighbouring facets meet at crisp edges.
double TiltedFacet(const CellSample& cell, double strength, double ramp) {
    const double angle = (cell.id >> 16) / 65536.0 * kTwoPi;
    return 1.0 + strength * Jitter(cell.id) + ramp * (cell.dx * std::cos(angle) + cell.dy * std::sin(angle));
}

Canvas Grass() {
    const Colour light = {140, 200, 84}, dark = {92, 160, 60}, bush = {52, 118, 48};
    return PaintTexture(kNearSize, [&](double u, double v) {
        const double patches = 0.5 + 0.5 * PeriodicFbm(u, v, 4, 4, 401);
        Colour c = Lerp(dark, light, std::clamp(patches * 1.3 - 0.15, 0.0, 1.0));
        c = Scaled(c, Facets(u, v, 16, 402, 0.05));
        // Scattered clumps of bushes and trees.
        const CellSample clump = PeriodicCells(u, v, 20, 403);
        if (clump.id % 5 == 0 && clump.nearest < 0.24) c = Lerp(c, bush, 0.8);
        return c;
    });
}

// A small deterministic random sequence for laying out the fields.
struct Sequence {
    uint32_t seed;
    int32_t counter = 0;
    double Next() { return HashUnit(counter++, 0, seed); }
};

struct FieldRect {
    int x, y, w, h;
};

// Splits the square into fields of 16..64 texels; the fields tile the square exactly, so
// the patchwork repeats without a seam.
void SplitFields(FieldRect r, Sequence& random, std::vector<FieldRect>& out) {
    const bool smallEnough = r.w <= 64 && r.h <= 64 && (r.w <= 32 || r.h <= 32 || random.Next() < 0.4);
    if (smallEnough || (r.w < 32 && r.h < 32)) {
        out.push_back(r);
        return;
    }
    const bool alongX = r.w > r.h || (r.w == r.h && random.Next() < 0.5);
    const int length = alongX ? r.w : r.h;
    const int cut = std::clamp(static_cast<int>(length * (0.35 + 0.3 * random.Next())), 16, length - 16);
    if (alongX) {
        SplitFields({r.x, r.y, cut, r.h}, random, out);
        SplitFields({r.x + cut, r.y, r.w - cut, r.h}, random, out);
    } else {
        SplitFields({r.x, r.y, r.w, cut}, random, out);
        SplitFields({r.x, r.y + cut, r.w, r.h - cut}, random, out);
    }
}

Canvas Fields() {
    const Colour crops[] = {{226, 200, 98}, {146, 194, 72}, {176, 208, 92}, {176, 136, 84},
                            {236, 222, 84}, {120, 178, 66}, {204, 176, 104}};
    const Colour hedge = {62, 122, 54};
    Sequence random{501};
    std::vector<FieldRect> fields;
    SplitFields({0, 0, kNearSize, kNearSize}, random, fields);
    // Each texel's field, shade and furrow direction.
    std::vector<int> owner(static_cast<size_t>(kNearSize) * kNearSize, 0);
    for (size_t f = 0; f < fields.size(); ++f) {
        const FieldRect& r = fields[f];
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x)
                owner[static_cast<size_t>(y) * kNearSize + x] = static_cast<int>(f);
        }
    }
    // The whole patchwork is shifted so that no hedge runs along the picture's edge.
    constexpr int kShiftX = 37, kShiftY = 91;
    Canvas canvas(kNearSize, kNearSize);
    for (int y = 0; y < kNearSize; ++y) {
        for (int x = 0; x < kNearSize; ++x) {
            const int sx = (x + kShiftX) % kNearSize, sy = (y + kShiftY) % kNearSize;
            const int f = owner[static_cast<size_t>(sy) * kNearSize + sx];
            const FieldRect& r = fields[static_cast<size_t>(f)];
            const uint32_t id = HashPoint(f, 7, 502);
            Colour c = crops[id % (sizeof crops / sizeof crops[0])];
            // Furrows: faint stripes along the field's long side.
            const bool alongX = r.w >= r.h;
            const int across = alongX ? sy - r.y : sx - r.x;
            c = Scaled(c, (across / 2) % 2 == 0 ? 1.04 : 0.96);
            c = Scaled(c, 1.0 + 0.05 * Jitter(id >> 8));
            const double u = (x + 0.5) / kNearSize, v = (y + 0.5) / kNearSize;
            c = Scaled(c, 1.0 + 0.04 * PeriodicFbm(u, v, 8, 3, 503));
            // Hedges along each field's top and left edge, with gaps.
            const bool edge = sx - r.x < 2 || sy - r.y < 2;
            if (edge && PeriodicNoise(u, v, 32, 504) > -0.35) c = hedge;
            canvas.At(x, y) = ToRgba(c);
        }
    }
    return canvas;
}

Canvas Forest() {
    const Colour deep = {30, 90, 40}, canopy = {70, 146, 60}, clearing = {112, 176, 70};
    return PaintTexture(kNearSize, [&](double u, double v) {
        // A bumpy canopy: clumps of crowns at two sizes, lit in the middle, dark between.
        const CellSample big = PeriodicCells(u, v, 14, 601), small = PeriodicCells(u, v, 36, 604);
        const double crowns = 0.55 * (1.0 - std::min(big.nearest / 0.7, 1.0)) +
                              0.45 * (1.0 - std::min(small.nearest / 0.7, 1.0));
        Colour c = Lerp(deep, canopy, std::clamp(crowns + 0.25 * PeriodicFbm(u, v, 4, 3, 602), 0.0, 1.0));
        c = Scaled(c, 1.0 + 0.06 * Jitter(big.id));
        // A few clearings.
        if (PeriodicFbm(u, v, 6, 3, 603) > 0.38) c = Lerp(c, clearing, 0.7);
        return c;
    });
}

Canvas Rock() {
    const Colour grey = {150, 140, 130}, warm = {162, 134, 110}, crevice = {92, 84, 80};
    return PaintTexture(kNearSize, [&](double u, double v) {
        // Large angular faces, each lit as a tilted plane, broken by smaller ones.
        const CellSample face = PeriodicCells(u, v, 6, 701);
        Colour c = Lerp(grey, warm, 0.5 + 0.5 * PeriodicFbm(u, v, 3, 3, 703));
        c = Scaled(c, TiltedFacet(face, 0.1, 0.4));
        c = Scaled(c, TiltedFacet(PeriodicCells(u, v, 18, 702), 0.06, 0.12));
        // Crevices along some of the faces' edges.
        if (face.second - face.nearest < 0.04 && PeriodicNoise(u, v, 10, 704) > 0.0)
            c = Lerp(c, crevice, 0.6);
        return c;
    });
}

Canvas Snow() {
    const Colour shadow = {214, 226, 246}, bright = {252, 253, 255}, stone = {150, 150, 160};
    return PaintTexture(kNearSize, [&](double u, double v) {
        const CellSample drift = PeriodicCells(u, v, 10, 801);
        Colour c = Lerp(shadow, bright, 0.65 + 0.35 * Jitter(drift.id));
        c = Scaled(c, TiltedFacet(PeriodicCells(u, v, 30, 802), 0.015, 0.03));
        // Stones break through here and there.
        if (PeriodicFbm(u, v, 8, 4, 803) > 0.45) c = Lerp(c, stone, 0.45);
        return c;
    });
}

Canvas Sand() {
    const Colour base = {234, 214, 152}, dune = {214, 188, 126};
    return PaintTexture(kNearSize, [&](double u, double v) {
        Colour c = Lerp(base, dune, 0.5 + 0.5 * PeriodicFbm(u, v, 4, 3, 901));
        // Ripples: whole numbers of waves across the picture keep them seamless.
        const double ripple = std::sin(kTwoPi * (20 * u + 6 * v) + 3.0 * PeriodicFbm(u, v, 4, 2, 902));
        c = Scaled(c, 1.0 + 0.04 * ripple);
        return Scaled(c, Facets(u, v, 10, 903, 0.03));
    });
}

Canvas Water() {
    const Colour deep = {40, 106, 196}, shallow = {68, 146, 222}, crest = {170, 214, 246};
    return PaintTexture(kNearSize, [&](double u, double v) {
        Colour c = Lerp(deep, shallow, 0.5 + 0.5 * PeriodicFbm(u, v, 3, 4, 1001));
        c = Scaled(c, Facets(u, v, 20, 1002, 0.035));
        // Wave crests: short bright strokes where the swell and a patchy noise meet; whole
        // numbers of waves across the picture keep them seamless.
        const double wave = std::sin(kTwoPi * (4 * u + 18 * v) + 4.0 * PeriodicFbm(u, v, 4, 3, 1003));
        const double patch = PeriodicFbm(u, v, 24, 2, 1004);
        if (wave > 0.9 && patch > 0.05)
            c = Lerp(c, crest, std::min((wave - 0.9) / 0.1, 1.0) * std::min(patch * 4, 0.6));
        return c;
    });
}

// The far texture: the near one averaged down to 64 x 64, softened across the wrap and
// drawn halfway toward its mean colour, so distant ground reads calm instead of shimmering.
Canvas FarVersion(const Canvas& near) {
    Canvas small = near.Downsample(near.Width() / kFarSize);
    const int size = small.Width();
    auto at = [&](const Canvas& c, int x, int y) { return c.At((x + size) % size, (y + size) % size); };
    Canvas blurred(size, size);
    double mean[3] = {0, 0, 0};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const Rgba p = at(small, x + dx, y + dy);
                    sum[0] += p.r;
                    sum[1] += p.g;
                    sum[2] += p.b;
                }
            }
            blurred.At(x, y) = ToRgba({sum[0] / 9, sum[1] / 9, sum[2] / 9});
            for (int k = 0; k < 3; ++k)
                mean[k] += sum[k] / 9;
        }
    }
    const Colour average = {mean[0] / (size * size), mean[1] / (size * size), mean[2] / (size * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba p = blurred.At(x, y);
            blurred.At(x, y) =
                ToRgba(Lerp({static_cast<double>(p.r), static_cast<double>(p.g), static_cast<double>(p.b)},
                            average, 0.5));
        }
    }
    return blurred;
}

// The detail: grey facets and speckles a few texels across, nothing larger (the game
// sees this picture repeated every 117 m: larger features would show the repeat from
// afar), evened out to a mean of half the range, which leaves the ground as it is once
// the detail's mipmaps have averaged it away in the distance.
Canvas Detail() {
    constexpr int kSize = 256;
    std::vector<double> value(static_cast<size_t>(kSize) * kSize);
    double mean = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double u = (x + 0.5) / kSize, v = (y + 0.5) / kSize;
            const double tufts = TiltedFacet(PeriodicCells(u, v, 48, 1101), 0.09, 0.12);
            const double speckle = 0.05 * PeriodicFbm(u, v, 64, 2, 1102);
            const double clumps = 0.05 * PeriodicFbm(u, v, 24, 2, 1103);
            value[static_cast<size_t>(y) * kSize + x] = tufts + speckle + clumps;
            mean += value[static_cast<size_t>(y) * kSize + x];
        }
    }
    mean /= kSize * kSize;
    Canvas canvas(kSize, kSize);
    for (size_t k = 0; k < value.size(); ++k) {
        const double grey = 127.5 * value[k] / mean;
        canvas.At(static_cast<int>(k % kSize), static_cast<int>(k / kSize)) = ToRgba({grey, grey, grey});
    }
    return canvas;
}

Canvas NearTexture(const std::string& material) {
    if (material == "fields") return Fields();
    if (material == "forest") return Forest();
    if (material == "rock") return Rock();
    if (material == "sand") return Sand();
    if (material == "snow") return Snow();
    if (material == "water") return Water();
    return Grass();
}

}  // namespace

const std::vector<std::string>& TerrainTextureMaterials() {
    static const std::vector<std::string> materials = {"grass", "fields", "forest", "rock",
                                                       "sand",  "snow",   "water"};
    return materials;
}

std::vector<TerrainTexture> MakeTerrainTextures() {
    std::vector<TerrainTexture> textures;
    for (const std::string& material : TerrainTextureMaterials()) {
        Canvas near = NearTexture(material);
        Canvas far = FarVersion(near);
        textures.push_back({"terrain/" + material + ".png", std::move(near)});
        textures.push_back({"terrain/" + material + "_far.png", std::move(far)});
    }
    textures.push_back({kTerrainDetailTexture, Detail()});
    return textures;
}

bool AddTerrainTextures(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const TerrainTexture& texture : MakeTerrainTextures())
        ok = archive.Add(texture.member, EncodePng(texture.picture, false)) && ok;
    return ok;
}

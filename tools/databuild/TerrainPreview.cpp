// Pictures of the terrains and their textures, for looking at them while shaping them.
// For each terrain: "<name>_map.png", a shaded relief map (north = +z down the picture,
// 4 pixels per vertex, cell borders dotted, flat areas framed in red) and "<name>_view.png",
// a view over the ground from the first flat area; for each terrain texture
// "<texture>_tiled.png", the texture repeated 2 x 2 so that seams would show. Prints the
// height range, the layer coverage and where the flat areas are.
//
// usage: aerovant-terrain-preview <output folder>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/Landscape.h"
#include "databuild/TerrainTextures.h"

namespace {

constexpr int kScale = 4;

Rgba LayerColour(const std::string& name) {
    if (name == "rock") return {140, 128, 118, 255};
    if (name == "snow") return {246, 248, 255, 255};
    if (name == "water") return {54, 128, 212, 255};
    if (name == "forest") return {38, 104, 48, 255};
    if (name == "sand") return {232, 212, 150, 255};
    if (name == "fields") return {206, 188, 92, 255};
    return {112, 182, 72, 255};  // grass
}

Rgba Shade(Rgba c, double light) {
    auto f = [light](uint8_t v) { return static_cast<uint8_t>(std::clamp(v * light, 0.0, 255.0)); };
    return {f(c.r), f(c.g), f(c.b), 255};
}

Rgba VertexColour(const TerrainDesign& design, int i, int j) {
    const uint8_t layer = design.land.Layer(i, j);
    return LayerColour(design.layerNames[layer < design.layerNames.size() ? layer : 0]);
}

// Light from the north-west, 45 degrees up; the map exaggerates the slopes so that gentle
// relief shows.
double Light(const Landscape& land, int i, int j, double exaggeration) {
    const double s = land.Spacing();
    const double gx = exaggeration * (land.Height(i + 1, j) - land.Height(i - 1, j)) / (2 * s);
    const double gz = exaggeration * (land.Height(i, j + 1) - land.Height(i, j - 1)) / (2 * s);
    const double nx = -gx, ny = 1.0, nz = -gz, len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double lx = -0.5, ly = 0.7071, lz = -0.5;
    return std::clamp(0.35 + 0.9 * (nx * lx + ny * ly + nz * lz) / len, 0.3, 1.3);
}

Canvas Map(const TerrainDesign& design) {
    const Landscape& land = design.land;
    const int n = land.Size();
    Canvas canvas(n * kScale, n * kScale);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const Rgba c = Shade(VertexColour(design, i, j), Light(land, i, j, 4.0));
            canvas.FillRect(i * kScale, j * kScale, kScale, kScale, c);
        }
    }
    const int cell = n * kScale / 4;
    for (int k = 1; k < 4; ++k) {
        for (int p = 0; p < n * kScale; p += 4) {
            canvas.FillRect(k * cell, p, 1, 2, {255, 255, 255, 140});
            canvas.FillRect(p, k * cell, 2, 1, {255, 255, 255, 140});
        }
    }
    for (const FlatArea& area : design.flatAreas) {
        const int x0 = area.i0 * kScale, z0 = area.j0 * kScale;
        const int w = area.squaresX * kScale + 1, h = area.squaresZ * kScale + 1;
        const Rgba red = {255, 40, 40, 255};
        canvas.FillRect(x0, z0, w, 1, red);
        canvas.FillRect(x0, z0 + h - 1, w, 1, red);
        canvas.FillRect(x0, z0, 1, h, red);
        canvas.FillRect(x0 + w - 1, z0, 1, h, red);
    }
    return canvas;
}

// Bilinear height and colour at a terrain position in vertex units.
void Sample(const TerrainDesign& design, double x, double z, double& height, Rgba& colour) {
    const Landscape& land = design.land;
    const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(z));
    const double fx = x - i, fz = z - j;
    height = (land.Height(i, j) * (1 - fx) + land.Height(i + 1, j) * fx) * (1 - fz) +
             (land.Height(i, j + 1) * (1 - fx) + land.Height(i + 1, j + 1) * fx) * fz;
    const Rgba top = Mix(VertexColour(design, i, j), VertexColour(design, i + 1, j), static_cast<float>(fx));
    const Rgba bottom =
        Mix(VertexColour(design, i, j + 1), VertexColour(design, i + 1, j + 1), static_cast<float>(fx));
    colour = Shade(Mix(top, bottom, static_cast<float>(fz)), Light(land, i, j, 1.0));
}

// Looking along +z (alongZ) or +x from 1.2 km above the first flat area's centre, out to
// 70 km, with a field of view of 90 degrees.
Canvas View(const TerrainDesign& design, bool alongZ) {
    constexpr int kWidth = 640, kHeight = 360;
    Canvas canvas(kWidth, kHeight, {150, 200, 240, 255});
    const double spacing = design.land.Spacing();
    double eyeX = 64, eyeZ = 20;
    double eyeY = 0;
    if (!design.flatAreas.empty()) {
        const FlatArea& a = design.flatAreas.front();
        eyeX = a.i0 + a.squaresX / 2.0;
        eyeZ = a.j0 + a.squaresZ / 2.0;
        eyeY = a.height;
    }
    eyeY += 1.2;
    const double focal = kWidth / 2.0, horizon = kHeight * 0.4;
    for (int sx = 0; sx < kWidth; ++sx) {
        const double dirX = (sx - kWidth / 2.0) / focal;
        int lowest = kHeight;  // first row not yet drawn, from the bottom
        for (double d = 0.5; d < 70.0 && lowest > 0; d += 0.05 + d * 0.004) {
            double h;
            Rgba c;
            const double side = dirX * d / spacing, ahead = d / spacing;
            Sample(design, eyeX + (alongZ ? -side : ahead), eyeZ + (alongZ ? ahead : side), h, c);
            const int row = static_cast<int>((eyeY - h) / d * focal + horizon);
            if (row >= lowest) continue;
            const float haze = static_cast<float>(std::min(d / 90.0, 0.8));
            const Rgba hazed = Mix(c, {170, 205, 235, 255}, haze);
            for (int y = std::max(row, 0); y < lowest; ++y)
                canvas.At(sx, y) = hazed;
            lowest = std::max(row, 0);
        }
    }
    return canvas;
}

Canvas Tiled(const Canvas& texture) {
    const int w = texture.Width(), h = texture.Height();
    Canvas out(2 * w, 2 * h);
    for (int y = 0; y < 2 * h; ++y) {
        for (int x = 0; x < 2 * w; ++x)
            out.At(x, y) = texture.At(x % w, y % h);
    }
    return out;
}

void Report(const TerrainDesign& design) {
    const Landscape& land = design.land;
    const int n = land.Size();
    double lo = 1e9, hi = -1e9;
    std::vector<int> counts(design.layerNames.size(), 0);
    double seam = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            lo = std::min(lo, land.Height(i, j));
            hi = std::max(hi, land.Height(i, j));
            ++counts[std::min<size_t>(land.Layer(i, j), counts.size() - 1)];
        }
        // A step across the seam compared with the steps beside it.
        seam = std::max(seam, std::fabs(land.Height(0, j) - land.Height(n - 1, j)));
    }
    std::printf("%s: heights %.3f .. %.3f km, largest step across the x seam %.3f km\n",
                design.member.c_str(), lo, hi, seam);
    for (size_t k = 0; k < counts.size(); ++k)
        std::printf("  %-7s %5.1f %%\n", design.layerNames[k].c_str(), 100.0 * counts[k] / (n * n));
    for (const FlatArea& a : design.flatAreas) {
        // The ground just beyond the blend ring, which the level should suit.
        double ringLow = 1e9, ringHigh = -1e9;
        for (int j = a.j0 - 5; j <= a.j0 + a.squaresZ + 5; ++j) {
            for (int i = a.i0 - 5; i <= a.i0 + a.squaresX + 5; ++i) {
                if (i > a.i0 - 5 && i < a.i0 + a.squaresX + 5 && j > a.j0 - 5 && j < a.j0 + a.squaresZ + 5)
                    continue;
                ringLow = std::min(ringLow, land.Height(i, j));
                ringHigh = std::max(ringHigh, land.Height(i, j));
            }
        }
        int water = 0;
        for (int j = a.j0 - 4; j <= a.j0 + a.squaresZ + 4; ++j) {
            for (int i = a.i0 - 4; i <= a.i0 + a.squaresX + 4; ++i)
                water += design.layerNames[land.Layer(i, j)] == "water";
        }
        std::printf("  around %s: %.3f .. %.3f km, %d water vertices within 4\n", a.label.c_str(), ringLow,
                    ringHigh, water);
        std::printf(
            "  flat %s: vertices %d..%d x %d..%d, cell (%d, %d), centre x %.3f z %.3f, %.3f x %.3f km, "
            "height %.3f\n",
            a.label.c_str(), a.i0, a.i0 + a.squaresX, a.j0, a.j0 + a.squaresZ, a.CellColumn(), a.CellRow(),
            a.LocalX(), a.LocalZ(), a.SizeX(), a.SizeZ(), a.height);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argc > 0 ? argv[0] : "aerovant-terrain-preview");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool ok = true;
    for (const TerrainDesign& design : MakeTerrainDesigns()) {
        Report(design);
        const std::string stem = design.member.substr(0, design.member.find('.'));
        ok = WriteFile(folder + stem + "_map.png", EncodePng(Map(design), false)) && ok;
        ok = WriteFile(folder + stem + "_view_z.png", EncodePng(View(design, true), false)) && ok;
        ok = WriteFile(folder + stem + "_view_x.png", EncodePng(View(design, false), false)) && ok;
    }
    for (const TerrainTexture& texture : MakeTerrainTextures()) {
        std::string stem = texture.member.substr(texture.member.rfind('/') + 1);
        stem = stem.substr(0, stem.find('.'));
        ok = WriteFile(folder + stem + "_tiled.png", EncodePng(Tiled(texture.picture), false)) && ok;
    }
    return ok ? 0 : 1;
}

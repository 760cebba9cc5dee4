// Cloud pictures: a single cumulus, the cloud layer's curtain and the fly-through density.
// Clouds are unions of spheres ("puffs") seen from the side: each texel takes the nearest
// sphere surface for its light, so the heaps are lit from above and shaded underneath,
// and a little fractal noise frays their rims.
#include <algorithm>
#include <cmath>

#include "databuild/SceneryPaint.h"
#include "databuild/SceneryPictures.h"

namespace scenery {

namespace {

struct Puff {
    float x, y, radius;  // texels; y grows downwards as in the picture
};

struct CloudStyle {
    Rgba top = {255, 255, 255, 255};     // sunlit tops
    Rgba shadow = {172, 184, 204, 255};  // the shaded underside
    float baseY = 0;                     // the flat base line (texels from the top)
    float baseSoftness = 6;              // how far the base fades, texels
    float fray = 0.35f;                  // noise added to the rim
    float noiseScale = 1.0f / 20.0f;     // noise lattice cells per texel
    float stretchX = 1.0f;               // horizontal radius of a puff per unit of its radius
    int wrapWidth = 0;                   // > 0: the picture tiles horizontally at this width
    uint32_t seed = 1;
};

// Horizontal offset from a puff, the short way round when the picture wraps.
float OffsetX(float x, float centre, int wrapWidth) {
    float dx = x - centre;
    if (wrapWidth > 0) {
        const float w = static_cast<float>(wrapWidth);
        dx -= w * std::round(dx / w);
    }
    return dx;
}

// Paints the puffs over the canvas: their union gives the outline and alpha (frayed by
// noise), and the light comes from the puffs' sphere normals, blended by how near each
// puff's surface is, so neighbouring puffs fold into each other softly.
void PaintPuffs(Canvas& canvas, const std::vector<Puff>& puffs, const CloudStyle& style) {
    // Light from above, a little from the left and towards the viewer.
    const float lx = -0.3f, ly = -0.85f, lz = 0.45f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const int noisePeriod =
        style.wrapWidth > 0 ? static_cast<int>(std::lround(style.wrapWidth * style.noiseScale)) : 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            float coverage = 0.0f, nx = 0.0f, ny = 0.0f, nz = 0.0f, total = 0.0f, strongest = 0.0f;
            for (const Puff& puff : puffs) {
                const float dx = OffsetX(px, puff.x, style.wrapWidth) / (puff.radius * style.stretchX);
                const float dy = (py - puff.y) / puff.radius;
                const float t2 = dx * dx + dy * dy;
                if (t2 >= 1.0f) continue;
                const float f = (1.0f - t2) * (1.0f - t2);
                coverage = std::max(coverage, 1.0f - std::sqrt(t2));
                const float weight = f * puff.radius;  // bigger and nearer surfaces weigh more
                total += weight;
                strongest = std::max(strongest, weight);
                nx += weight * dx;
                ny += weight * dy;
                nz += weight * std::sqrt(1.0f - t2);
            }
            if (coverage <= 0.0f) continue;
            const float noise =
                FractalNoise(px * style.noiseScale, py * style.noiseScale, 4, style.seed, noisePeriod, 0) -
                0.5f;
            float alpha = Smoothstep(0.0f, 0.22f, coverage + style.fray * noise);
            // The flat base of a heap, slightly wavy.
            alpha *= 1.0f - Smoothstep(style.baseY - style.baseSoftness, style.baseY + style.baseSoftness,
                                       py + 8.0f * noise);
            if (alpha <= 0.0f) continue;
            const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
            const float lambert =
                length > 0 ? std::max(0.0f, (nx * lx + ny * ly + nz * lz) / (length * ll)) : 0.0f;
            // Darker towards the base: the bulk of the cloud shades its own underside.
            const float depth = Smoothstep(style.baseY - 60.0f, style.baseY, py);
            // Where two puffs meet equally the surface folds in and catches less light.
            const float crease = total > 0 ? 1.0f - strongest / total : 0.0f;
            float light = 0.5f + 0.6f * lambert - 0.5f * depth - 0.12f * crease + 0.25f * noise;
            light = std::clamp(light, 0.0f, 1.0f);
            Rgba colour = Mix(style.shadow, style.top, light);
            colour.a = static_cast<uint8_t>(std::lround(std::min(alpha, 1.0f) * 255.0f));
            canvas.At(x, y) = colour;
        }
    }
}

// A cauliflower heap: rows of puffs piled over the base line, each row narrower and made
// of bigger puffs than the one below. x, halfWidth and height in texels.
void AddHeap(std::vector<Puff>& puffs, Random& random, float x, float baseY, float halfWidth, float height,
             float stretchX, float puffSize) {
    const int rows = std::max(1, static_cast<int>(height / (puffSize * 0.9f)));
    for (int row = 0; row < rows; ++row) {
        const float t = rows > 1 ? static_cast<float>(row) / (rows - 1) : 0.0f;  // 0 bottom, 1 top
        const float half = halfWidth * (1.0f - 0.65f * t * t);
        const float radius = puffSize * (0.8f + 0.4f * t);
        const float y = baseY - radius * 0.6f - t * (height - radius * 1.2f);
        const int count = std::max(1, static_cast<int>(2.0f * half / (radius * stretchX * 1.1f)));
        for (int i = 0; i < count; ++i) {
            const float u = count > 1 ? -1.0f + 2.0f * i / (count - 1) : 0.0f;
            puffs.push_back({x + (u * half + random.Range(-0.3f, 0.3f) * radius) * stretchX,
                             y + random.Range(-0.25f, 0.25f) * radius, radius * random.Range(0.8f, 1.15f)});
        }
    }
}

}  // namespace

Canvas MakeCloud() {
    constexpr int kSize = 256;
    Canvas canvas(kSize, kSize, {255, 255, 255, 0});
    Random random(0xC10D);
    CloudStyle style;
    style.baseY = 178;
    style.seed = 7;
    // One big heap filling the middle, with two lower shoulders; all inside the picture.
    std::vector<Puff> puffs = {{126, 132, 46}, {96, 146, 34}, {160, 142, 38}};  // the core
    AddHeap(puffs, random, 128, style.baseY, 80, 120, 1.0f, 30);
    AddHeap(puffs, random, 64, style.baseY, 38, 56, 1.0f, 20);
    AddHeap(puffs, random, 192, style.baseY, 38, 66, 1.0f, 20);
    // Drawn a little smaller, about the heap's middle (132, 117), and centred: a cloud node
    // shows the picture less a border of up to 13 texels on either side, which must never
    // cut into the heap and leave a straight edge, so 26 texels stay clear all round.
    constexpr float kShrink = 0.86f, kMiddleX = 132.0f, kMiddleY = 117.0f;
    for (Puff& puff : puffs) {
        puff.x = 128.0f + (puff.x - kMiddleX) * kShrink;
        puff.y = kMiddleY + (puff.y - kMiddleY) * kShrink;
        puff.radius *= kShrink;
    }
    style.baseY = kMiddleY + (style.baseY - kMiddleY) * kShrink;
    PaintPuffs(canvas, puffs, style);
    // Keep every border clear: the texture repeats, and a cloud must not show a seam.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int edge = std::min(std::min(x, kSize - 1 - x), std::min(y, kSize - 1 - y));
            if (edge < 8) canvas.At(x, y).a = static_cast<uint8_t>(canvas.At(x, y).a * edge / 8);
        }
    }
    BleedColour(canvas, 8);
    return canvas;
}

Canvas MakeCloudLayer() {
    constexpr int kWidth = 512, kHeight = 128;
    Canvas canvas(kWidth, kHeight, {255, 255, 255, 0});
    Random random(0x1A7E);
    CloudStyle style;
    style.baseY = 94;
    style.baseSoftness = 8;
    style.wrapWidth = kWidth;
    style.noiseScale = 1.0f / 12.0f;
    style.shadow = {180, 190, 210, 255};
    style.seed = 11;
    // The curtain shows its texels about one and a half times wider than tall, so puffs are
    // drawn that much narrower to look round in the sky.
    style.stretchX = 1.0f / 1.5f;
    std::vector<Puff> puffs;
    constexpr int kHeaps = 9;
    for (int i = 0; i < kHeaps; ++i) {
        const float x = (i + random.Range(0.1f, 0.9f)) * kWidth / kHeaps;
        const float tower = random.Range(30.0f, 62.0f);
        AddHeap(puffs, random, x, style.baseY, random.Range(26.0f, 46.0f), tower, style.stretchX,
                random.Range(13.0f, 18.0f));
    }
    for (int i = 0; i < 40; ++i) {  // low puffs joining the heaps along the base
        puffs.push_back({random.Range(0.0f, static_cast<float>(kWidth)),
                         style.baseY - random.Range(2.0f, 8.0f), random.Range(6.0f, 12.0f)});
    }
    PaintPuffs(canvas, puffs, style);
    // A thin haze below the heaps down towards the horizon, and clear top and bottom rows,
    // so the curtain's straight edges never show.
    for (int y = 0; y < kHeight; ++y) {
        const float fy = (y + 0.5f) / kHeight;
        const float fade = Smoothstep(0.0f, 0.12f, fy) * (1.0f - Smoothstep(0.82f, 0.98f, fy));
        const float haze = 0.45f * Smoothstep(0.6f, 0.74f, fy);
        for (int x = 0; x < kWidth; ++x) {
            Rgba& p = canvas.At(x, y);
            const float a = p.a / 255.0f;
            const float mixed = a + haze * (1.0f - a);
            if (mixed > 0.0f) {
                const Rgba hazeColour = {214, 222, 234, 255};
                const Rgba colour = a > 0.0f ? Mix(hazeColour, p, a / mixed) : hazeColour;
                p = {colour.r, colour.g, colour.b, static_cast<uint8_t>(std::lround(mixed * fade * 255.0f))};
            }
        }
    }
    BleedColour(canvas, 8);
    return canvas;
}

std::vector<uint8_t> MakeCloudZone(int& width, int& height) {
    width = 256;
    height = 512;
    constexpr float kCell = 32.0f;  // texels per noise lattice cell; divides both sides
    std::vector<uint8_t> grey(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float n = FractalNoise(x / kCell, y / kCell, 5, 23, static_cast<int>(width / kCell),
                                         static_cast<int>(height / kCell));
            grey[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(std::lround(255.0f * Smoothstep(0.3f, 0.72f, n)));
        }
    }
    return grey;
}

}  // namespace scenery

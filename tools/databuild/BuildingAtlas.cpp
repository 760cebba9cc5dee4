#include "databuild/BuildingAtlas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/ImageFiles.h"
#include "databuild/SceneryPaint.h"

namespace buildings {

namespace {

constexpr int kScale = 2;   // painted at twice the size
constexpr int kMargin = 3;  // texels each region's border is carried outwards
constexpr float kPi = 3.14159265f;

Point2 Big(float x, float y) {
    return {x * kScale, y * kScale};
}

}  // namespace

AtlasPainter::AtlasPainter() : canvas_(kAtlasSize * kScale, kAtlasSize * kScale, {128, 128, 128, 255}) {}

void AtlasPainter::Fill(const Region& region, Rgba colour, float amount, uint32_t seed) {
    regions_.push_back(region);
    for (int y = region.y * kScale; y < (region.y + region.h) * kScale; ++y) {
        for (int x = region.x * kScale; x < (region.x + region.w) * kScale; ++x) {
            const float fx = static_cast<float>(x) / kScale, fy = static_cast<float>(y) / kScale;
            const float n = scenery::FractalNoise(fx / 9.0f, fy / 9.0f, 3, seed) - 0.5f;
            const float grain = scenery::ValueNoise(fx * 0.7f, fy * 0.7f, seed + 7) - 0.5f;
            canvas_.At(x, y) = scenery::Shade(colour, 1.0f + amount * (1.4f * n + 0.6f * grain));
        }
    }
}

void AtlasPainter::Rect(float x, float y, float w, float h, Rgba colour) {
    canvas_.FillPolygon({Big(x, y), Big(x + w, y), Big(x + w, y + h), Big(x, y + h)}, colour);
}

void AtlasPainter::Polygon(const std::vector<Point2>& points, Rgba colour) {
    std::vector<Point2> big;
    for (const Point2& p : points)
        big.push_back(Big(p.x, p.y));
    canvas_.FillPolygon(big, colour);
}

void AtlasPainter::Circle(float cx, float cy, float radius, Rgba colour) {
    canvas_.FillCircle(cx * kScale, cy * kScale, radius * kScale, colour);
}

void AtlasPainter::Band(const std::vector<Point2>& line, float width, Rgba colour) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const Point2 a = line[i], b = line[i + 1];
        const float dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0) continue;
        const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
        Polygon({{a.x - nx, a.y - ny}, {b.x - nx, b.y - ny}, {b.x + nx, b.y + ny}, {a.x + nx, a.y + ny}},
                colour);
    }
}

void AtlasPainter::Gradient(float x, float y, float w, float h, Rgba top, Rgba bottom) {
    const int y0 = static_cast<int>(std::lround(y * kScale)),
              y1 = static_cast<int>(std::lround((y + h) * kScale));
    const int x0 = static_cast<int>(std::lround(x * kScale)),
              x1 = static_cast<int>(std::lround((x + w) * kScale));
    for (int row = y0; row < y1; ++row) {
        const Rgba colour = Mix(top, bottom, (row - y0 + 0.5f) / std::max(1, y1 - y0));
        for (int col = x0; col < x1; ++col)
            canvas_.Blend(col, row, colour);
    }
}

void AtlasPainter::Lines(const Region& region, bool vertical, float period, float width, Rgba colour) {
    const float extent = static_cast<float>(vertical ? region.w : region.h);
    for (float at = period / 2; at < extent; at += period) {
        if (vertical) {
            Rect(region.x + at - width / 2, static_cast<float>(region.y), width, static_cast<float>(region.h),
                 colour);
        } else {
            Rect(static_cast<float>(region.x), region.y + at - width / 2, static_cast<float>(region.w), width,
                 colour);
        }
    }
}

void AtlasPainter::WallShading(const Region& region, float eaveShadow, float footShadow) {
    const float x = static_cast<float>(region.x), w = static_cast<float>(region.w);
    if (eaveShadow > 0) Gradient(x, static_cast<float>(region.y), w, eaveShadow, {0, 0, 0, 80}, {0, 0, 0, 0});
    if (footShadow > 0) {
        Gradient(x, region.y + region.h - footShadow, w, footShadow, {0, 0, 0, 0}, {40, 30, 20, 90});
    }
}

void AtlasPainter::Window(float x, float y, float w, float h, Rgba frame, int bars) {
    const float f = std::max(1.0f, std::min(w, h) * 0.12f);                                   // frame width
    Rect(x - 0.5f, y + h, w + 1.0f, std::max(1.0f, f * 0.8f), scenery::Shade(frame, 0.85f));  // sill
    Rect(x, y, w, h, frame);
    // Glass: deep blue, lighter towards the top where it reflects the sky.
    Gradient(x + f, y + f, w - 2 * f, h - 2 * f, {120, 160, 206, 255}, {44, 66, 104, 255});
    // A diagonal sheen.
    Polygon({{x + f, y + h * 0.55f},
             {x + f + (w - 2 * f) * 0.45f, y + f},
             {x + f + (w - 2 * f) * 0.7f, y + f},
             {x + f, y + h * 0.85f}},
            {255, 255, 255, 46});
    if (bars > 0 && w > 4 * f) Rect(x + w / 2 - f / 3, y + f, f * 0.67f, h - 2 * f, frame);
    if (bars > 1 && h > 4 * f) Rect(x + f, y + h * 0.45f, w - 2 * f, f * 0.67f, frame);
}

void AtlasPainter::ArchedWindow(float x, float y, float w, float h, Rgba frame, Rgba glass) {
    const float r = w / 2;
    auto arched = [&](float inset, Rgba colour) {
        std::vector<Point2> points = {{x + w - inset, y + h - inset}, {x + inset, y + h - inset}};
        for (int i = 0; i <= 12; ++i) {
            const float a = kPi + kPi * i / 12;
            points.push_back({x + r + (r - inset) * std::cos(a), y + r + (r - inset) * std::sin(a)});
        }
        Polygon(points, colour);
    };
    arched(0, frame);
    arched(std::max(1.0f, w * 0.14f), glass);
    Rect(x + w / 2 - 0.4f, y + r * 0.4f, 0.8f, h - r * 0.4f - 1, frame);
    Rect(x + 1, y + h * 0.55f, w - 2, 0.8f, frame);
}

void AtlasPainter::Door(float x, float y, float w, float h, Rgba colour) {
    Rect(x - 1, y - 1, w + 2, h + 1, {240, 236, 226, 255});  // frame
    Rect(x, y, w, h, colour);
    const Rgba panel = scenery::Shade(colour, 0.82f);
    const float m = std::max(1.0f, w * 0.16f);
    Rect(x + m, y + m, w - 2 * m, h * 0.42f - m, panel);
    Rect(x + m, y + h * 0.5f, w - 2 * m, h * 0.5f - m, panel);
    Circle(x + w - m * 1.2f, y + h * 0.52f, std::max(0.6f, w * 0.05f), {220, 190, 90, 255});
}

void AtlasPainter::Tiles(const Region& region, Rgba colour, float rowHeight, float tileWidth) {
    const Rgba edge = scenery::Shade(colour, 1.12f), joint = scenery::Shade(colour, 0.7f);
    int row = 0;
    for (float y = static_cast<float>(region.y); y < region.y + region.h; y += rowHeight, ++row) {
        const float h = std::min(rowHeight, region.y + region.h - y);
        Gradient(static_cast<float>(region.x), y, static_cast<float>(region.w), h, {0, 0, 0, 50},
                 {0, 0, 0, 0});
        Rect(static_cast<float>(region.x), y + h - std::min(1.0f, h), static_cast<float>(region.w),
             std::min(1.0f, h), edge);
        const float offset = (row % 2) * tileWidth / 2;
        for (float x = region.x + offset; x < region.x + region.w; x += tileWidth) {
            Rect(x, y, 0.7f, h, joint);
        }
    }
}

Canvas AtlasPainter::Finish() const {
    Canvas atlas = canvas_.Downsample(kScale);
    for (const Region& r : regions_)
        scenery::ExtendBorder(atlas, r.x, r.y, r.w, r.h, kMargin);
    return atlas;
}

std::string BuildingObj(const BuildingRecipe& recipe) {
    meshes::MeshBuilder builder;
    recipe.model(builder);
    builder.StandCentred();
    meshes::Vec3 low, high;
    builder.Bounds(low, high);
    char size[96];
    std::snprintf(size, sizeof size, "%.1f m wide (x), %.1f m high (y), %.1f m deep (z); %zu triangles.",
                  high.x - low.x, high.y - low.y, high.z - low.z, builder.TriangleCount());
    return builder.ToObj({
        recipe.description,
        size,
        "Units are metres: a route's \"building\" line scales it by 0.001 to world units (km).",
        "y is up, the base stands on y = 0, the box is centred on x and z; triangles wind",
        "counter-clockwise seen from outside. Texture: \"buildings/" + recipe.name + ".png\".",
    });
}

std::vector<uint8_t> BuildingAtlasPng(const BuildingRecipe& recipe) {
    AtlasPainter painter;
    recipe.paint(painter);
    return EncodePng(painter.Finish(), false);
}

}  // namespace buildings

#include "databuild/AircraftModels.h"

#include <algorithm>
#include <cstdio>

#include "common/ImageFiles.h"

namespace aircraft {

buildings::Region atlas::Tile(int i) {
    if (i < 21) return {144 + (i % 7) * 16, 208 + (i / 7) * 16, 16, 16};
    return {(i - 21) * 16, 240, 16, 16};
}

Skin SideSkin(const buildings::Region& region, double yTail, double yNose, double zLow, double zHigh) {
    Skin skin;
    skin.region = region;
    skin.uAxis = Axis::Y;
    skin.vAxis = Axis::Z;
    skin.u0 = yTail;
    skin.u1 = yNose;
    skin.v0 = zLow;
    skin.v1 = zHigh;
    return skin;
}

Skin PlanSkin(const buildings::Region& region, double halfSpan, double yBack, double yFront) {
    Skin skin;
    skin.region = region;
    skin.uAxis = Axis::X;
    skin.vAxis = Axis::Y;
    skin.u0 = 0;
    skin.u1 = halfSpan;
    skin.v0 = yBack;
    skin.v1 = yFront;
    skin.mirrorU = true;
    return skin;
}

Skin FrontSkin(const buildings::Region& region, double halfWidth, double zLow, double zHigh) {
    Skin skin;
    skin.region = region;
    skin.uAxis = Axis::X;
    skin.vAxis = Axis::Z;
    skin.u0 = -halfWidth;
    skin.u1 = halfWidth;
    skin.v0 = zLow;
    skin.v1 = zHigh;
    return skin;
}

void PaintGlass(SkinPainter& painter, const Skin& skin, const std::vector<Point2>& outline) {
    // The frame is the outline drawn a little larger; the glass gets a pale diagonal sheen.
    Point2 centre{0, 0};
    for (const Point2& p : outline) {
        centre.x += p.x / outline.size();
        centre.y += p.y / outline.size();
    }
    std::vector<Point2> frame;
    for (const Point2& p : outline)
        frame.push_back({centre.x + (p.x - centre.x) * 1.06f, centre.y + (p.y - centre.y) * 1.1f});
    painter.Polygon(skin, frame, colours::kFrame);
    painter.Polygon(skin, outline, colours::kGlass);
    float low = outline[0].x, high = outline[0].x, bottom = outline[0].y, top = outline[0].y;
    for (const Point2& p : outline) {
        low = std::min(low, p.x);
        high = std::max(high, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    const float w = high - low, h = top - bottom;
    painter.Polygon(skin,
                    {{low + 0.55f * w, top - 0.1f * h},
                     {low + 0.75f * w, top - 0.1f * h},
                     {low + 0.45f * w, bottom + 0.15f * h},
                     {low + 0.25f * w, bottom + 0.15f * h}},
                    {210, 230, 250, 70});
}

std::vector<AircraftRecipe> AircraftRecipes() {
    return {CessnaRecipe(), SukhoiRecipe(), DelfinRecipe(), BlanikRecipe(), FokkerRecipe()};
}

std::string AircraftObj(const AircraftRecipe& recipe) {
    ShapeBuilder shapes;
    recipe.model(shapes);
    const meshes::MeshBuilder mesh = shapes.ToMesh();
    meshes::Vec3 low, high;
    mesh.Bounds(low, high);
    char size[160];
    std::snprintf(size, sizeof size, "Span (x) %.2f m, length (y) %.2f m, height (z) %.2f m; %zu triangles.",
                  high.x - low.x, high.y - low.y, high.z - low.z, mesh.TriangleCount());
    return mesh.ToObj({
        recipe.description,
        size,
        "Units are metres at the real size: the aircraft file's \"Model\" line scales by 0.001 to",
        "world units (km). Body axes: x to the right wing, y forward, z up; the origin is the centre",
        "of gravity, the nose tip is the largest y, the wheels' bottom the smallest z. Triangles wind",
        "counter-clockwise seen from outside. Texture: \"aircraft/" + recipe.name + ".png\".",
    });
}

std::vector<uint8_t> AircraftAtlasPng(const AircraftRecipe& recipe) {
    buildings::AtlasPainter atlasPainter;
    SkinPainter painter(atlasPainter);
    recipe.paint(painter);
    return EncodePng(atlasPainter.Finish(), false);
}

}  // namespace aircraft

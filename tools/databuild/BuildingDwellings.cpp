// Buildings people live and work in: a two-storey house, an apartment block and a barn
// with its silo. Dimensions are metres; each atlas region is sized to the face it covers
// so that windows keep their shape.
#include <cmath>

#include "databuild/BuildingAtlas.h"
#include "databuild/SceneryPaint.h"

namespace buildings {

namespace {

using meshes::MeshBuilder;
using meshes::Vec3;

const Rgba kWhiteTrim = {244, 242, 234, 255};
const Rgba kShutter = {82, 142, 96, 255};

// ---- House: 10 m x 8 m, two storeys (eaves 5.6 m), tiled gable roof along x to 8.4 m.
namespace house {
constexpr Region kFront = {0, 0, 160, 90};   // +z wall, 10 m x 5.6 m
constexpr Region kBack = {0, 94, 160, 90};   // -z wall
constexpr Region kGable = {164, 0, 88, 92};  // the end walls, 8 m x 8.4 m with the gable
constexpr Region kChimney = {164, 96, 20, 40};
constexpr Region kRoof = {0, 188, 128, 64};
constexpr Region kEdge = {132, 188, 24, 24};  // roof edges and underside, chimney top

void Model(MeshBuilder& m) {
    const Vec3 inside = {0, 3, 0};
    m.Quad({-5, 0, 4}, {5, 0, 4}, {5, 5.6, 4}, {-5, 5.6, 4}, inside, Uv(kFront));
    m.Quad({5, 0, -4}, {-5, 0, -4}, {-5, 5.6, -4}, {5, 5.6, -4}, inside, Uv(kBack));
    for (double x : {-5.0, 5.0}) {
        m.Face({{x, 0, 4}, {x, 0, -4}, {x, 5.6, -4}, {x, 8.4, 0}, {x, 5.6, 4}}, inside, Uv(kGable));
    }
    m.GableRoof(-5, -4, 5, 4, 5.6, 8.4, true, 0.45, 0.22, Uv(kRoof), Uv(kEdge));
    m.Box({2.2, 7.0, -1.6}, {2.9, 9.5, -0.9}, Uv(kChimney), Uv(kEdge));
}

void Paint(AtlasPainter& p) {
    const Rgba wall = {244, 232, 204, 255};
    for (const Region& r : {kFront, kBack}) {
        p.Fill(r, wall, 0.05f, 3);
        const float y0 = static_cast<float>(r.y);
        p.Rect(0, y0 + 84, 160, 6, {168, 156, 140, 255});  // plinth
        for (float x : {20.0f, 68.0f, 116.0f}) {
            p.Rect(x - 7, y0 + 10, 6, 22, kShutter);
            p.Rect(x + 25, y0 + 10, 6, 22, kShutter);
            p.Window(x, y0 + 10, 24, 22, kWhiteTrim, 2);
        }
        for (float x : {20.0f, 116.0f}) {
            p.Rect(x - 7, y0 + 50, 6, 22, kShutter);
            p.Rect(x + 25, y0 + 50, 6, 22, kShutter);
            p.Window(x, y0 + 50, 24, 22, kWhiteTrim, 2);
        }
        p.WallShading(r);
    }
    p.Door(71, 46, 18, 44, {132, 74, 44, 255});
    p.Rect(66, 42, 28, 3, {150, 64, 46, 255});     // a little canopy over the door
    p.Window(70, 50 + 94, 20, 22, kWhiteTrim, 2);  // the back has a window there instead

    p.Fill(kGable, wall, 0.05f, 5);
    p.Rect(164, 86, 88, 6, {168, 156, 140, 255});
    for (float x : {180.0f, 216.0f}) {
        p.Window(x, 36, 20, 17, kWhiteTrim, 2);
        p.Window(x, 66, 20, 17, kWhiteTrim, 2);
    }
    p.Circle(208, 17, 5.5f, kWhiteTrim);
    p.Circle(208, 17, 4, {60, 84, 120, 255});
    // Shadow under the roof's slopes.
    p.Band({{164, 33}, {208, 2}, {252, 33}}, 5, {0, 0, 0, 60});
    p.WallShading(kGable, 0, 5);

    p.Fill(kChimney, {178, 92, 70, 255}, 0.08f, 9);
    p.Lines(kChimney, false, 5, 0.8f, {214, 196, 180, 255});
    p.Rect(164, 96, 20, 3, {140, 136, 130, 255});

    p.Fill(kRoof, {206, 94, 62, 255}, 0.06f, 11);
    p.Tiles(kRoof, {206, 94, 62, 255}, 6, 8);
    p.Fill(kEdge, {150, 70, 50, 255}, 0.03f, 13);
}
}  // namespace house

// ---- Apartment block: 24 m x 12 m, six storeys of 3 m, flat roof with a stair house.
namespace apartments {
constexpr Region kLong = {0, 0, 192, 144};   // +z and -z facades, 24 m x 18 m
constexpr Region kShort = {196, 0, 56, 84};  // +x and -x facades, 12 m x 18 m
constexpr Region kRoof = {0, 148, 128, 64};  // 24 m x 12 m, gravel inside a parapet
constexpr Region kPlant = {132, 148, 40, 20};

void Model(MeshBuilder& m) {
    const meshes::UvRect sides[4] = {Uv(kLong), Uv(kLong), Uv(kShort), Uv(kShort)};
    m.Box({-12, 0, -6}, {12, 18, 6}, sides, Uv(kRoof));
    m.Box({-8, 18, -1.5}, {-4, 20.6, 1.5}, Uv(kPlant), Uv(kRoof));  // stair and lift house
    m.Box({4, 18, -2.2}, {6, 19, -0.8}, Uv(kPlant), Uv(kRoof));     // ventilation plant
}

void Paint(AtlasPainter& p) {
    const Rgba wall = {238, 214, 168, 255}, band = {222, 198, 154, 255}, parapet = {230, 228, 220, 255};
    p.Fill(kLong, wall, 0.04f, 21);
    for (int floor = 0; floor < 6; ++floor) {
        const float top = 144.0f - 24.0f * (floor + 1);
        p.Rect(0, top + 22, 192, 2, band);  // floor slab line
        for (int column = 0; column < 8; ++column) {
            const float x = column * 24.0f + 5;
            if (floor == 0) {
                if (column == 3 || column == 4) continue;
                p.Window(x - 1, top + 6, 16, 14, kWhiteTrim, 1);
                continue;
            }
            p.Window(x, top + 5, 14, 13, kWhiteTrim, 1);
            if (column % 2 == 1) {  // balconies on every other column
                p.Rect(x - 3, top + 16, 20, 5, {246, 246, 242, 255});
                for (float bar = x - 2; bar < x + 17; bar += 2.5f)
                    p.Rect(bar, top + 16, 0.8f, 5, {150, 156, 164, 255});
                p.Rect(x - 3, top + 21, 20, 1.2f, {120, 110, 100, 255});
            }
        }
    }
    // The entrance: glass doors under a canopy.
    p.Rect(74, 122, 44, 3, {120, 120, 126, 255});
    p.Window(80, 126, 32, 18, {96, 100, 108, 255}, 1);
    p.Rect(0, 0, 192, 5, parapet);
    p.Rect(0, 139, 192, 5, {170, 160, 148, 255});
    p.WallShading(kLong, 0, 6);

    p.Fill(kShort, wall, 0.04f, 23);
    for (int floor = 0; floor < 6; ++floor) {
        const float top = 84.0f - 14.0f * (floor + 1);
        p.Rect(196, top + 13, 56, 1, band);
        for (int column = 0; column < 3; ++column)
            p.Window(200.0f + column * 18 + 3, top + 3, 9, 8, kWhiteTrim, 1);
    }
    p.Rect(196, 0, 56, 3, parapet);
    p.Rect(196, 81, 56, 3, {170, 160, 148, 255});
    p.WallShading(kShort, 0, 4);

    p.Fill(kRoof, {150, 150, 146, 255}, 0.12f, 25);
    p.Rect(0, 148, 128, 3, parapet);
    p.Rect(0, 209, 128, 3, parapet);
    p.Rect(0, 148, 3, 64, parapet);
    p.Rect(125, 148, 3, 64, parapet);
    p.Gradient(3, 151, 122, 3, {0, 0, 0, 70}, {0, 0, 0, 0});

    p.Fill(kPlant, {214, 212, 206, 255}, 0.04f, 27);
    p.Door(150, 157, 6, 11, {110, 116, 126, 255});
    p.WallShading(kPlant, 2, 2);
}
}  // namespace apartments

// ---- Barn and silo: a red barn, 10 m x 16 m with a gambrel roof along z to 8.6 m, and a
// galvanised silo 5.2 m across and 15.4 m high beside it.
namespace barn {
constexpr Region kSide = {0, 0, 192, 52};   // 16 m x 4.2 m
constexpr Region kEnd = {0, 56, 120, 104};  // 10 m x 8.6 m, the gambrel outline
constexpr Region kRoof = {124, 56, 128, 28};
constexpr Region kSilo = {0, 164, 128, 88};
constexpr Region kDome = {132, 164, 64, 32};

void Model(MeshBuilder& m) {
    const Vec3 inside = {0, 3, 0};
    m.Quad({5, 0, 8}, {5, 0, -8}, {5, 4.2, -8}, {5, 4.2, 8}, inside, Uv(kSide));
    m.Quad({-5, 0, -8}, {-5, 0, 8}, {-5, 4.2, 8}, {-5, 4.2, -8}, inside, Uv(kSide));
    // The gambrel profile across x: eave, knee, ridge.
    const double profile[][2] = {{-5, 4.2}, {-3.4, 7.0}, {0, 8.6}, {3.4, 7.0}, {5, 4.2}};
    for (double z : {-8.0, 8.0}) {
        std::vector<Vec3> outline = {{5, 0, z}, {-5, 0, z}};
        for (const auto& point : profile)
            outline.push_back({point[0], point[1], z});
        m.Face(outline, inside, Uv(kEnd));
    }
    for (int i = 0; i < 4; ++i) {
        const double* a = profile[i];
        const double* b = profile[i + 1];
        m.Face({{a[0], a[1], -8}, {b[0], b[1], -8}, {b[0], b[1], 8}, {a[0], a[1], 8}}, inside, Uv(kRoof));
    }
    const double sx = 8.6, sz = -4.0;
    m.Frustum(sx, sz, 0, 2.6, 13, 2.6, 16, true, Uv(kSilo), nullptr);
    m.Frustum(sx, sz, 13, 2.6, 14.3, 1.9, 16, true, Uv(kDome), nullptr);
    m.Cone(sx, sz, 14.3, 1.9, 15.4, 16, true, Uv(kDome));
}

void Paint(AtlasPainter& p) {
    const Rgba red = {184, 52, 40, 255}, boards = {146, 38, 30, 255};
    p.Fill(kSide, red, 0.06f, 31);
    p.Lines(kSide, true, 5, 0.8f, boards);
    p.Rect(0, 0, 192, 2.5f, kWhiteTrim);
    p.Rect(0, 0, 3, 52, kWhiteTrim);
    p.Rect(189, 0, 3, 52, kWhiteTrim);
    for (float x : {40.0f, 140.0f}) {  // small square windows with white frames
        p.Window(x, 12, 14, 12, kWhiteTrim, 2);
    }
    p.Rect(84, 18, 26, 34, kWhiteTrim);  // a side door with its cross brace
    p.Rect(86, 20, 22, 32, {160, 44, 34, 255});
    p.Band({{86, 20}, {108, 52}}, 2, kWhiteTrim);
    p.Band({{108, 20}, {86, 52}}, 2, kWhiteTrim);
    p.WallShading(kSide, 3, 4);

    p.Fill(kEnd, red, 0.06f, 33);
    p.Lines(kEnd, true, 5, 0.8f, boards);
    // The big double door and the hay loft door above it, framed and braced in white.
    const float doorX = 36, doorY = 108, doorW = 48, doorH = 52;
    p.Rect(doorX - 2, doorY - 2, doorW + 4, doorH + 2, kWhiteTrim);
    p.Rect(doorX, doorY, doorW, doorH, {170, 46, 36, 255});
    p.Rect(doorX + doorW / 2 - 1, doorY, 2, doorH, kWhiteTrim);
    for (float half : {0.0f, doorW / 2}) {
        p.Band({{doorX + half, doorY}, {doorX + half + doorW / 2, doorY + doorH}}, 2, kWhiteTrim);
        p.Band({{doorX + half + doorW / 2, doorY}, {doorX + half, doorY + doorH}}, 2, kWhiteTrim);
    }
    p.Rect(48, 74, 24, 22, kWhiteTrim);
    p.Rect(50, 76, 20, 20, {120, 34, 28, 255});
    // White trim along the gambrel outline (eave 4.2 m, knee 7.0 m, ridge 8.6 m).
    p.Band({{0, 109.6f}, {19.2f, 76}, {60, 56.8f}, {100.8f, 76}, {120, 109.6f}}, 3, kWhiteTrim);
    p.WallShading(kEnd, 0, 4);

    p.Fill(kRoof, {98, 106, 114, 255}, 0.06f, 35);
    p.Lines(kRoof, true, 6, 1.2f, {74, 80, 88, 255});

    p.Fill(kSilo, {196, 202, 206, 255}, 0.05f, 37);
    p.Lines(kSilo, false, 7, 1.0f, {150, 156, 162, 255});
    p.Rect(60, 164, 1, 88, {90, 92, 96, 255});  // the ladder
    p.Rect(66, 164, 1, 88, {90, 92, 96, 255});
    for (float y = 166; y < 252; y += 3)
        p.Rect(60, y, 7, 0.7f, {90, 92, 96, 255});
    p.Gradient(0, 232, 128, 20, {0, 0, 0, 0}, {60, 50, 40, 80});
    p.Fill(kDome, {214, 218, 222, 255}, 0.04f, 39);
    p.Lines(kDome, true, 4, 0.8f, {160, 166, 172, 255});
}
}  // namespace barn

}  // namespace

std::vector<BuildingRecipe> DwellingRecipes() {
    return {
        {"house", "A two-storey house with a tiled gable roof and a chimney.", house::Model, house::Paint},
        {"apartments", "A six-storey apartment block with balconies and a flat roof.", apartments::Model,
         apartments::Paint},
        {"barn", "A red barn with a gambrel roof and a galvanised silo beside it.", barn::Model, barn::Paint},
    };
}

}  // namespace buildings

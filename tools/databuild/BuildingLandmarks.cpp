// Landmarks: the airfield's hangar and control tower, a village church and a lighthouse for
// the coast. Dimensions are metres.
#include <cmath>

#include "databuild/BuildingAtlas.h"
#include "databuild/SceneryPaint.h"

namespace buildings {

namespace {

using meshes::MeshBuilder;
using meshes::Vec3;

constexpr double kPi = 3.14159265358979323846;
const Rgba kWhiteTrim = {244, 242, 234, 255};

// ---- Hangar: 32 m wide and 36 m deep, walls 6 m, an arched roof rising to 13 m, with a
// single-storey office along its right side.
namespace hangar {
constexpr Region kEnd = {0, 0, 256, 104};     // front and back, 32 m x 13 m with the arch
constexpr Region kSide = {0, 108, 216, 36};   // 36 m x 6 m
constexpr Region kRoof = {0, 148, 104, 104};  // the arch (36 m round) by the depth (36 m)
constexpr Region kOffice = {108, 148, 80, 28};
constexpr Region kFlat = {192, 148, 40, 40};

constexpr double kHalfWidth = 16, kHalfDepth = 18, kWall = 6, kRise = 7;
constexpr int kArcSegments = 10;

void Model(MeshBuilder& m) {
    // The arch is a circular segment on the 32 m span.
    const double radius = (kHalfWidth * kHalfWidth + kRise * kRise) / (2 * kRise);
    const double halfAngle = std::asin(kHalfWidth / radius);
    std::vector<Vec3> arc;  // from the left eave (-x) over the top to the right eave
    std::vector<double> angles;
    for (int i = 0; i <= kArcSegments; ++i) {
        const double a = -halfAngle + 2 * halfAngle * i / kArcSegments;
        angles.push_back(a);
        arc.push_back({radius * std::sin(a), kWall + radius * std::cos(a) - (radius - kRise), 0});
    }
    arc.front().x = -kHalfWidth, arc.front().y = kWall;  // exact eaves
    arc.back().x = kHalfWidth, arc.back().y = kWall;
    const meshes::UvRect roof = Uv(kRoof);
    for (int i = 0; i < kArcSegments; ++i) {
        const Vec3 a = arc[i], b = arc[i + 1];
        const Vec3 na = {std::sin(angles[i]), std::cos(angles[i]), 0};
        const Vec3 nb = {std::sin(angles[i + 1]), std::cos(angles[i + 1]), 0};
        const double ua = roof.u0 + (roof.u1 - roof.u0) * i / kArcSegments;
        const double ub = roof.u0 + (roof.u1 - roof.u0) * (i + 1) / kArcSegments;
        const MeshBuilder::Corner frontA{{a.x, a.y, kHalfDepth}, ua, roof.v0, na};
        const MeshBuilder::Corner frontB{{b.x, b.y, kHalfDepth}, ub, roof.v0, nb};
        const MeshBuilder::Corner backB{{b.x, b.y, -kHalfDepth}, ub, roof.v1, nb};
        const MeshBuilder::Corner backA{{a.x, a.y, -kHalfDepth}, ua, roof.v1, na};
        m.Triangle(frontA, frontB, backB);
        m.Triangle(frontA, backB, backA);
    }
    const Vec3 inside = {0, 4, 0};
    for (double z : {-kHalfDepth, kHalfDepth}) {
        std::vector<Vec3> outline = {{-kHalfWidth, 0, z}, {kHalfWidth, 0, z}};
        for (auto p = arc.rbegin(); p != arc.rend(); ++p)
            outline.push_back({p->x, p->y, z});
        m.Face(outline, inside, Uv(kEnd));
    }
    m.Quad({kHalfWidth, 0, kHalfDepth}, {kHalfWidth, 0, -kHalfDepth}, {kHalfWidth, kWall, -kHalfDepth},
           {kHalfWidth, kWall, kHalfDepth}, inside, Uv(kSide));
    m.Quad({-kHalfWidth, 0, -kHalfDepth}, {-kHalfWidth, 0, kHalfDepth}, {-kHalfWidth, kWall, kHalfDepth},
           {-kHalfWidth, kWall, -kHalfDepth}, inside, Uv(kSide));
    m.Box({kHalfWidth, 0, 4}, {kHalfWidth + 4, 3.5, 14}, Uv(kOffice), Uv(kFlat));
}

void Paint(AtlasPainter& p) {
    const Rgba cladding = {216, 220, 226, 255}, rib = {188, 194, 202, 255};
    p.Fill(kEnd, cladding, 0.04f, 41);
    p.Lines(kEnd, true, 4, 1.0f, rib);
    // The sliding doors: six panels over 24 m, 8.5 m high, under a dark track.
    const float doorTop = 104 - 8.5f * 8;
    p.Rect(30, doorTop - 3, 196, 3, {70, 76, 86, 255});
    for (int panel = 0; panel < 6; ++panel) {
        const float x = 32.0f + panel * 32;
        p.Rect(x, doorTop, 32, 104 - doorTop, {146, 162, 182, 255});
        p.Lines({static_cast<int>(x), static_cast<int>(doorTop), 32, static_cast<int>(104 - doorTop)}, false,
                6, 0.8f, {126, 142, 162, 255});
        p.Rect(x, doorTop, 1, 104 - doorTop, {96, 106, 120, 255});
        p.Rect(x + 10, doorTop + 22, 12, 7, {80, 112, 150, 255});  // a row of small windows
    }
    p.Rect(32, doorTop - 9, 192, 4, {236, 122, 40, 255});  // an orange band above the doors
    p.WallShading(kEnd, 0, 4);

    p.Fill(kSide, cladding, 0.04f, 43);
    p.Lines(kSide, true, 4, 1.0f, rib);
    for (float x = 8; x + 8 < 216; x += 14)
        p.Window(x, 7, 8, 6, {236, 236, 236, 255}, 0);
    p.WallShading(kSide, 2, 3);

    p.Fill(kRoof, {178, 186, 194, 255}, 0.05f, 45);
    p.Lines(kRoof, false, 3, 1.0f, {150, 158, 168, 255});

    p.Fill(kOffice, {236, 234, 226, 255}, 0.04f, 47);
    for (float x = 114; x < 180; x += 14)
        p.Window(x, 154, 9, 9, kWhiteTrim, 1);
    p.Door(178, 160, 7, 16, {60, 90, 140, 255});
    p.Rect(108, 148, 80, 2, {200, 200, 196, 255});
    p.WallShading(kOffice, 2, 3);
    p.Fill(kFlat, {150, 152, 150, 255}, 0.1f, 49);
}
}  // namespace hangar

// ---- Control tower: a 14 m x 10 m operations building, a 4 m shaft and an octagonal
// glass cab from 19.5 m to 22.5 m under a roof slab, with an antenna mast to 26.5 m.
namespace tower {
constexpr Region kBaseLong = {0, 0, 168, 54};    // 14 m x 4.5 m
constexpr Region kBaseShort = {172, 0, 80, 36};  // 10 m x 4.5 m
constexpr Region kBaseRoof = {0, 58, 112, 80};
constexpr Region kShaft = {116, 58, 28, 100};  // 4 m x 14.5 m
constexpr Region kBand = {148, 58, 64, 12};    // slab edges
constexpr Region kCap = {148, 74, 40, 40};
constexpr Region kMast = {216, 58, 8, 40};
constexpr Region kGlass = {0, 162, 256, 40};  // the cab's eight panes, once around

void Model(MeshBuilder& m) {
    const meshes::UvRect base[4] = {Uv(kBaseLong), Uv(kBaseLong), Uv(kBaseShort), Uv(kBaseShort)};
    m.Box({-7, 0, -5}, {7, 4.5, 5}, base, Uv(kBaseRoof));
    const double cx = 3, cz = 0, turn = kPi / 8;  // an octagon with a flat side facing each axis
    m.Box({cx - 2, 4.5, cz - 2}, {cx + 2, 19, cz + 2}, Uv(kShaft), Uv(kCap));
    const meshes::UvRect cap = Uv(kCap);
    m.Frustum(cx, cz, 19, 4.1, 19.5, 4.1, 8, false, Uv(kBand), &cap, true, turn);
    m.Frustum(cx, cz, 19.5, 3.6, 22.5, 4.0, 8, false, Uv(kGlass), nullptr, false, turn);
    m.Frustum(cx, cz, 22.5, 4.5, 23.0, 4.5, 8, false, Uv(kBand), &cap, true, turn);
    m.Box({cx - 0.15, 23, cz - 0.15}, {cx + 0.15, 26.5, cz + 0.15}, Uv(kMast), Uv(kMast));
}

void Paint(AtlasPainter& p) {
    const Rgba white = {238, 238, 232, 255}, blue = {44, 98, 168, 255};
    p.Fill(kBaseLong, white, 0.04f, 51);
    p.Rect(6, 14, 130, 16, {226, 226, 222, 255});
    for (float x = 8; x < 134; x += 16)
        p.Window(x, 15, 14, 14, {210, 212, 214, 255}, 0);
    p.Door(146, 26, 12, 28, {60, 90, 140, 255});
    p.Rect(0, 0, 168, 5, blue);
    p.WallShading(kBaseLong, 0, 4);

    p.Fill(kBaseShort, white, 0.04f, 53);
    for (float x = 182; x < 250; x += 18)
        p.Window(x, 10, 12, 10, {210, 212, 214, 255}, 0);
    p.Rect(172, 0, 80, 4, blue);
    p.WallShading(kBaseShort, 0, 3);

    p.Fill(kBaseRoof, {160, 162, 160, 255}, 0.1f, 55);
    p.Rect(0, 58, 112, 2, white);
    p.Rect(0, 136, 112, 2, white);
    p.Rect(20, 74, 14, 10, {190, 192, 194, 255});  // roof hatches
    p.Rect(70, 110, 10, 8, {190, 192, 194, 255});

    p.Fill(kShaft, {226, 226, 220, 255}, 0.05f, 57);
    p.Lines(kShaft, false, 10, 0.7f, {204, 204, 198, 255});
    for (float y = 64; y < 150; y += 10)
        p.Window(127, y, 6, 5, {210, 212, 214, 255}, 0);
    p.Rect(116, 58, 28, 4, blue);

    p.Fill(kBand, white, 0.03f, 59);
    p.Rect(148, 65, 64, 2, blue);
    p.Fill(kCap, {176, 178, 178, 255}, 0.08f, 61);
    p.Fill(kMast, white, 0.0f, 63);
    for (float y = 58; y < 98; y += 10)
        p.Rect(216, y, 8, 5, {226, 48, 40, 255});

    // Tinted glass reflecting the sky, a mullion at each corner of the octagon.
    p.Fill(kGlass, {60, 120, 150, 255}, 0.02f, 65);
    p.Gradient(0, 162, 256, 40, {150, 200, 226, 255}, {34, 78, 110, 255});
    for (int pane = 0; pane <= 8; ++pane)
        p.Rect(pane * 32.0f - 1.5f, 162, 3, 40, {228, 230, 232, 255});
    p.Rect(0, 190, 256, 1.5f, {228, 230, 232, 255});
    for (int pane = 0; pane < 8; ++pane) {
        p.Polygon({{pane * 32.0f + 6, 200},
                   {pane * 32.0f + 16, 164},
                   {pane * 32.0f + 22, 164},
                   {pane * 32.0f + 12, 200}},
                  {255, 255, 255, 40});
    }
}
}  // namespace tower

// ---- Church: a nave 10 m x 18 m (walls 7 m, slate roof to 11.5 m) and a 5 m square tower
// of 17 m at its west end under a copper spire to 27 m, with a cross on top.
namespace church {
constexpr Region kNaveSide = {0, 0, 216, 84};      // 18 m x 7 m
constexpr Region kNaveEnd = {0, 88, 100, 115};     // 10 m x 11.5 m with the gable
constexpr Region kTowerSide = {104, 88, 40, 136};  // 5 m x 17 m
constexpr Region kTowerFront = {148, 88, 40, 136};
constexpr Region kSpire = {192, 88, 32, 64};
constexpr Region kEdge = {228, 88, 24, 24};
constexpr Region kGold = {228, 116, 12, 12};
constexpr Region kRoof = {0, 208, 100, 48};

void Model(MeshBuilder& m) {
    const Vec3 inside = {0, 3, -1};
    m.Quad({5, 0, 8}, {5, 0, -10}, {5, 7, -10}, {5, 7, 8}, inside, Uv(kNaveSide));
    m.Quad({-5, 0, -10}, {-5, 0, 8}, {-5, 7, 8}, {-5, 7, -10}, inside, Uv(kNaveSide));
    for (double z : {-10.0, 8.0}) {
        m.Face({{-5, 0, z}, {5, 0, z}, {5, 7, z}, {0, 11.5, z}, {-5, 7, z}}, inside, Uv(kNaveEnd));
    }
    m.GableRoof(-5, -10, 5, 8, 7, 11.5, false, 0.4, 0.25, Uv(kRoof), Uv(kEdge));
    const meshes::UvRect tower[4] = {Uv(kTowerFront), Uv(kTowerSide), Uv(kTowerSide), Uv(kTowerSide)};
    m.Box({-2.5, 0, 8}, {2.5, 17, 13}, tower, Uv(kEdge));
    m.Cone(0, 10.5, 17, 2.5 * std::sqrt(2.0), 27, 4, false, Uv(kSpire), kPi / 4);
    m.Box({-0.08, 26.6, 10.42}, {0.08, 28.4, 10.58}, Uv(kGold), Uv(kGold));
    m.Box({-0.5, 27.6, 10.42}, {0.5, 27.76, 10.58}, Uv(kGold), Uv(kGold));
}

void Paint(AtlasPainter& p) {
    const Rgba plaster = {246, 242, 232, 255}, stone = {186, 176, 156, 255}, pilaster = {228, 222, 208, 255};
    const Rgba glass = {70, 96, 150, 255};
    p.Fill(kNaveSide, plaster, 0.04f, 71);
    for (int i = 0; i < 5; ++i) {
        p.Rect(39.0f + i * 42, 0, 5, 84, pilaster);
        p.ArchedWindow(18.0f + i * 42, 22, 16, 38, {214, 206, 190, 255}, glass);
    }
    p.Rect(0, 78, 216, 6, stone);
    p.WallShading(kNaveSide, 4, 0);

    p.Fill(kNaveEnd, plaster, 0.04f, 73);
    p.Circle(50, 118, 10, {214, 206, 190, 255});
    p.Circle(50, 118, 8, glass);
    for (int i = 0; i < 8; ++i) {  // the rose window's tracery
        const float a = static_cast<float>(i * kPi / 4);
        p.Polygon({{50, 118},
                   {50 + 8 * std::cos(a), 118 + 8 * std::sin(a)},
                   {50 + 8 * std::cos(a + 0.3f), 118 + 8 * std::sin(a + 0.3f)}},
                  i % 2 ? Rgba{190, 60, 60, 255} : Rgba{230, 190, 70, 255});
    }
    p.ArchedWindow(20, 150, 14, 34, {214, 206, 190, 255}, glass);
    p.ArchedWindow(66, 150, 14, 34, {214, 206, 190, 255}, glass);
    p.Rect(0, 197, 100, 6, stone);
    p.Band({{0, 133}, {50, 88}, {100, 133}}, 5, {0, 0, 0, 55});

    for (const Region& r : {kTowerSide, kTowerFront}) {
        const float x = static_cast<float>(r.x), y = static_cast<float>(r.y);
        p.Fill(r, plaster, 0.04f, 75);
        for (float q = 0; q < 136; q += 8) {  // corner quoins
            const float w = static_cast<int>(q / 8) % 2 ? 4.0f : 6.0f;
            p.Rect(x, y + q, w, 7, stone);
            p.Rect(x + 40 - w, y + q, w, 7, stone);
        }
        p.ArchedWindow(x + 12, y + 12, 16, 28, {200, 192, 176, 255}, {54, 50, 48, 255});
        for (float l = y + 24; l < y + 40; l += 3)
            p.Rect(x + 13, l, 14, 1.2f, {150, 120, 90, 255});  // louvres
        p.Circle(x + 20, y + 56, 8, {214, 180, 90, 255});
        p.Circle(x + 20, y + 56, 6.5f, {250, 248, 240, 255});
        p.Rect(x + 19.5f, y + 51, 1.2f, 5.5f, {40, 40, 40, 255});
        p.Rect(x + 20, y + 55.5f, 4, 1.2f, {40, 40, 40, 255});
        p.Rect(x, y + 130, 40, 6, stone);
    }
    p.ArchedWindow(120, 172, 8, 18, {200, 192, 176, 255}, glass);
    p.ArchedWindow(164, 168, 8, 14, {200, 192, 176, 255}, glass);
    p.ArchedWindow(158, 190, 20, 34, {200, 192, 176, 255}, {120, 74, 44, 255});  // the west door

    p.Fill(kSpire, {98, 168, 146, 255}, 0.06f, 77);
    p.Lines(kSpire, true, 4, 0.8f, {74, 140, 120, 255});
    p.Fill(kEdge, {84, 92, 108, 255}, 0.03f, 79);
    p.Fill(kGold, {232, 196, 80, 255}, 0.0f, 81);
    p.Fill(kRoof, {92, 100, 118, 255}, 0.06f, 83);
    p.Tiles(kRoof, {92, 100, 118, 255}, 4, 6);
}
}  // namespace church

// ---- Lighthouse: a white tower with two red bands tapering from 6 m to 3.8 m across over
// 19 m on a stone plinth, a gallery, a lantern and a red dome to 24 m.
namespace lighthouse {
constexpr Region kTower = {0, 0, 128, 160};
constexpr Region kPlinth = {0, 164, 128, 20};
constexpr Region kStone = {132, 0, 48, 48};
constexpr Region kCap = {184, 0, 48, 48};
constexpr Region kGallery = {132, 52, 64, 8};
constexpr Region kLantern = {132, 64, 64, 32};
constexpr Region kDome = {132, 100, 64, 24};

void Model(MeshBuilder& m) {
    const meshes::UvRect stone = Uv(kStone), cap = Uv(kCap), dome = Uv(kDome);
    m.Frustum(0, 0, 0, 4.2, 1.2, 4.0, 8, false, Uv(kPlinth), &stone, false, kPi / 8);
    m.Frustum(0, 0, 1.2, 3.0, 19, 1.9, 16, true, Uv(kTower), nullptr);
    m.Frustum(0, 0, 19, 2.8, 19.4, 2.8, 16, false, Uv(kGallery), &cap, true);
    m.Frustum(0, 0, 19.4, 1.4, 21.8, 1.4, 8, false, Uv(kLantern), nullptr, false, kPi / 8);
    m.Frustum(0, 0, 21.8, 1.65, 22.4, 1.5, 16, true, dome, &dome, true);
    m.Cone(0, 0, 22.4, 1.5, 23.4, 16, true, dome);
    m.Box({-0.1, 23.3, -0.1}, {0.1, 24, 0.1}, dome, dome);
}

void Paint(AtlasPainter& p) {
    const Rgba white = {248, 248, 244, 255}, red = {212, 44, 40, 255};
    p.Fill(kTower, white, 0.03f, 91);
    p.Rect(0, 18, 128, 30, red);
    p.Rect(0, 78, 128, 30, red);
    p.Rect(0, 0, 128, 4, {60, 64, 70, 255});  // under the gallery
    // Small windows up the stair, on different sides.
    p.Window(28, 58, 6, 9, white, 0);
    p.Window(92, 118, 6, 9, white, 0);
    p.Window(60, 8, 6, 8, white, 0);
    p.Door(58, 144, 12, 16, {60, 90, 140, 255});

    p.Fill(kPlinth, {176, 170, 156, 255}, 0.1f, 93);
    p.Lines(kPlinth, false, 7, 0.8f, {140, 134, 122, 255});
    p.Lines(kPlinth, true, 11, 0.8f, {140, 134, 122, 255});
    p.Fill(kStone, {196, 190, 176, 255}, 0.08f, 95);
    p.Fill(kCap, {86, 90, 96, 255}, 0.05f, 97);
    p.Fill(kGallery, {70, 74, 80, 255}, 0.0f, 99);
    for (float x = 133; x < 196; x += 3)
        p.Rect(x, 52, 1, 5, {200, 204, 208, 255});

    // The lantern glows warm behind its glazing bars.
    p.Fill(kLantern, {255, 236, 160, 255}, 0.02f, 101);
    p.Gradient(132, 64, 64, 32, {255, 252, 230, 255}, {240, 200, 110, 255});
    for (float x = 132; x <= 196; x += 8)
        p.Rect(x - 0.8f, 64, 1.6f, 32, {40, 44, 50, 255});
    p.Rect(132, 64, 64, 2, {40, 44, 50, 255});
    p.Rect(132, 80, 64, 1, {40, 44, 50, 255});
    p.Rect(132, 94, 64, 2, {40, 44, 50, 255});
    p.Fill(kDome, red, 0.04f, 103);
    p.Gradient(132, 100, 64, 24, {240, 90, 80, 255}, {170, 30, 30, 255});
}
}  // namespace lighthouse

}  // namespace

std::vector<BuildingRecipe> LandmarkRecipes() {
    return {
        {"hangar", "An aircraft hangar with an arched roof, sliding doors and an office.", hangar::Model,
         hangar::Paint},
        {"tower", "An airfield control tower with an octagonal glass cab.", tower::Model, tower::Paint},
        {"church", "A village church with a tower and a copper spire.", church::Model, church::Paint},
        {"lighthouse", "A red and white lighthouse with a gallery and a lantern.", lighthouse::Model,
         lighthouse::Paint},
    };
}

}  // namespace buildings

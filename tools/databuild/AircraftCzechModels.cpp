// The two Czechoslovak trainers: the L-29 Delfin jet and the L-13 Blanik glider. Sizes are
// the real aircraft's in metres; the shapes are a few hundred triangles each.
#include <cmath>

#include "databuild/AircraftModels.h"

namespace aircraft {

namespace {

constexpr Rgba kDayGlo{240, 78, 36, 255};
constexpr Rgba kRoundelBlue{20, 60, 150, 255};
constexpr Rgba kRoundelRed{210, 30, 40, 255};
constexpr Rgba kFabric{214, 216, 214, 255};

void Wheel(ShapeBuilder& shapes, const Vec3& centre, double radius, double width, const Skin& tyre) {
    shapes.Tube(centre + Vec3{-width / 2, 0, 0}, centre + Vec3{width / 2, 0, 0}, radius, radius, 8, {0, 0, 1},
                tyre, true);
}

// Rivet lines of a metal skin: thin darker lines across the side view every period metres.
void PanelLines(SkinPainter& p, const Skin& skin, double from, double to, double period, double low,
                double high) {
    for (double at = from; at < to; at += period)
        p.Rect(skin, at - 0.012, at + 0.012, low, high, {160, 164, 172, 255});
}

// The Czechoslovak roundel: a disc of three sectors, white on top, red to the right, blue to
// the left (seen as painted).
void Roundel(SkinPainter& p, const Skin& skin, double along, double up, double radius) {
    const double pi = 3.14159265358979;
    auto sector = [&](double from, double to, Rgba colour) {
        std::vector<Point2> points = {{static_cast<float>(along), static_cast<float>(up)}};
        for (int i = 0; i <= 12; ++i) {
            const double a = from + (to - from) * i / 12;
            points.push_back({static_cast<float>(along + radius * std::cos(a)),
                              static_cast<float>(up + radius * std::sin(a))});
        }
        p.Polygon(skin, points, colour);
    };
    sector(pi / 6, 5 * pi / 6, colours::kWhite);
    sector(5 * pi / 6, 3 * pi / 2, kRoundelBlue);
    sector(3 * pi / 2, 13 * pi / 6, kRoundelRed);
}

// ---- Aero L-29 Delfin: 10.29 m span, 10.81 m long, 3.13 m high. Straight mid wing, T-tail,
// intakes on the fuselage sides at the wing roots, tandem canopies, tricycle gear; natural
// metal with day-glo bands and Czechoslovak roundels.

struct DelfinSkins {
    Skin side = SideSkin(atlas::kSide, -5.65, 4.62, -0.70, 0.75);
    Skin canopy = SideSkin(atlas::kCanopy, -0.95, 2.80, 0.45, 1.10);
    Skin wingTop = PlanSkin(atlas::kWingTop, 5.15, -1.55, 0.90);
    Skin wingBottom = PlanSkin(atlas::kWingBottom, 5.15, -1.55, 0.90);
    Skin tailTop = PlanSkin(atlas::kTailTop, 1.72, -6.30, -5.20);
    Skin tailBottom = PlanSkin(atlas::kTailBottom, 1.72, -6.30, -5.20);
    Skin fin = SideSkin(atlas::kFin, -6.35, -3.90, 0.40, 1.95);
    Skin tyre = Solid(atlas::Tile(0));
    Skin metal = Solid(atlas::Tile(7));
    Skin dark = Solid(atlas::Tile(2));
};

void DelfinModel(ShapeBuilder& shapes) {
    const DelfinSkins s;
    shapes.Loft({{4.62, -0.05, 0, 0},
                 {4.25, -0.03, 0.16, 0.16},
                 {3.35, 0.00, 0.40, 0.42, 0.2},
                 {2.60, 0.02, 0.50, 0.55, 0.3},
                 {1.00, 0.05, 0.60, 0.65, 0.3},
                 {-0.80, 0.05, 0.60, 0.66, 0.3},
                 {-3.00, 0.10, 0.45, 0.50, 0.2},
                 {-5.00, 0.10, 0.31, 0.33},
                 {-5.60, 0.10, 0.28, 0.28}},
                10, s.side, s.dark, true);
    shapes.Loft({{2.78, 0.50, 0.02, 0.02},
                 {2.35, 0.60, 0.36, 0.32},
                 {0.40, 0.68, 0.40, 0.36},
                 {-0.35, 0.62, 0.30, 0.22},
                 {-0.90, 0.57, 0.03, 0.03}},
                8, s.canopy, s.canopy, true);
    shapes.Panel({{0, -4.10, 0.45}, 1.90, 0.14}, {{0, -5.30, 1.85}, 1.00, 0.08}, true, s.fin, s.fin);
    ShapeBuilder half;
    // Intake on the fuselage side, its dark mouth facing forward.
    half.Loft(
        {{1.40, 0.05, 0.15, 0.30}, {0.90, 0.05, 0.19, 0.34}, {0.0, 0.05, 0.12, 0.28}, {-0.60, 0.05, 0, 0}}, 6,
        s.metal, s.dark, true, 0.58);
    half.Panel({{0.0, -5.25, 1.85}, 1.00, 0.10}, {{1.70, -5.45, 1.85}, 0.60, 0.05}, false, s.tailTop,
               s.tailBottom);
    half.Panel({{0.0, 0.84, -0.05}, 2.35, 0.30}, {{5.145, 0.55, 0.22}, 1.45, 0.14}, false, s.wingTop,
               s.wingBottom);
    const Vec3 mainWheel{1.72, -0.35, -1.00};
    half.Tube({1.68, -0.25, -0.10}, mainWheel + Vec3{-0.08, 0, 0.12}, 0.06, 0.06, 4, {0, 1, 0}, s.metal);
    Wheel(half, mainWheel, 0.28, 0.17, s.tyre);
    shapes.Add(half);
    shapes.AddMirrored(half);
    const Vec3 noseWheel{0, 2.90, -1.06};
    shapes.Tube({0, 2.95, -0.40}, noseWheel + Vec3{0, 0.02, 0.12}, 0.05, 0.05, 4, {1, 0, 0}, s.metal);
    Wheel(shapes, noseWheel, 0.22, 0.13, s.tyre);
}

void DelfinPaint(SkinPainter& p) {
    const DelfinSkins s;
    p.Fill(s.side, colours::kAluminium, 0.05f);
    PanelLines(p, s.side, -5.0, 4.0, 0.8, -0.7, 0.75);
    p.Rect(s.side, 3.45, 3.95, -0.7, 0.75, kDayGlo);    // nose band
    p.Rect(s.side, -4.20, -3.60, -0.7, 0.75, kDayGlo);  // rear band
    p.Polygon(s.side, {{2.60f, 0.40f}, {3.60f, 0.25f}, {3.60f, 0.75f}, {2.60f, 0.75f}},
              colours::kDark);                                  // anti-glare
    p.Rect(s.side, 4.25, 4.62, -0.7, 0.75, {60, 62, 66, 255});  // radome tip
    Roundel(p, s.side, -2.4, 0.15, 0.32);
    p.Rect(s.side, -5.65, -5.0, -0.7, 0.75, {120, 112, 104, 255});  // heat-stained jet pipe
    p.Fill(s.canopy, colours::kGlass);
    PaintGlass(p, s.canopy, {{2.70f, 0.62f}, {-0.85f, 0.62f}, {-0.85f, 1.05f}, {2.70f, 1.05f}});
    p.Rect(s.canopy, 1.18, 1.30, 0.45, 1.1, colours::kFrame);
    p.Rect(s.canopy, 2.25, 2.35, 0.45, 1.1, colours::kFrame);

    p.Fill(s.wingTop, colours::kAluminium, 0.05f);
    p.Rect(s.wingTop, 4.55, 5.15, -1.55, 0.90, kDayGlo);
    p.Rect(s.wingTop, 2.6, 4.5, -0.75, -0.71, {150, 154, 162, 255});  // aileron hinge
    p.Rect(s.wingTop, 0.6, 2.6, -0.85, -0.81, {150, 154, 162, 255});  // flap hinge
    Roundel(p, s.wingTop, 3.6, 0.05, 0.38);
    p.Fill(s.wingBottom, {184, 188, 196, 255}, 0.05f);
    p.Rect(s.wingBottom, 4.55, 5.15, -1.55, 0.90, kDayGlo);
    Roundel(p, s.wingBottom, 3.6, 0.05, 0.38);
    p.Fill(s.tailTop, colours::kAluminium, 0.05f);
    p.Rect(s.tailTop, 1.35, 1.72, -6.3, -5.2, kDayGlo);
    p.Fill(s.tailBottom, {184, 188, 196, 255}, 0.05f);
    p.Fill(s.fin, colours::kAluminium, 0.05f);
    p.Rect(s.fin, -6.35, -3.9, 1.55, 1.95, kDayGlo);
    // Rudder stripes in the national colours.
    p.Rect(s.fin, -6.35, -5.55, 0.40, 0.90, kRoundelBlue);
    p.Rect(s.fin, -6.35, -5.55, 0.90, 1.20, colours::kWhite);
    p.Rect(s.fin, -6.35, -5.55, 1.20, 1.55, kRoundelRed);
    p.Fill(s.tyre, colours::kTyre);
    p.Fill(s.metal, {170, 174, 182, 255});
    p.Fill(s.dark, {34, 34, 36, 255});
}

// ---- LET L-13 Blanik: 16.20 m span, 8.40 m long, 2.08 m high. Long slender shoulder wing
// swept 5 degrees forward, a pod-and-boom fuselage with a long two-seat canopy, a
// conventional tail, one main wheel with a nose skid; bare aluminium with fabric-covered
// control surfaces.

struct BlanikSkins {
    Skin side = SideSkin(atlas::kSide, -5.90, 2.58, -0.55, 0.60);
    Skin canopy = SideSkin(atlas::kCanopy, 0.25, 2.28, 0.15, 0.75);
    Skin wingTop = PlanSkin(atlas::kWingTop, 8.12, -1.35, 0.78);
    Skin wingBottom = PlanSkin(atlas::kWingBottom, 8.12, -1.35, 0.78);
    Skin tailTop = PlanSkin(atlas::kTailTop, 1.72, -5.55, -4.80);
    Skin tailBottom = PlanSkin(atlas::kTailBottom, 1.72, -5.55, -4.80);
    Skin fin = SideSkin(atlas::kFin, -5.90, -4.40, 0.30, 1.35);
    Skin tyre = Solid(atlas::Tile(0));
    Skin metal = Solid(atlas::Tile(7));
    Skin dark = Solid(atlas::Tile(2));
};

void BlanikModel(ShapeBuilder& shapes) {
    const BlanikSkins s;
    shapes.Loft({{2.55, -0.15, 0, 0},
                 {2.30, -0.12, 0.22, 0.25},
                 {1.60, -0.05, 0.35, 0.45, 0.1},
                 {0.50, 0.00, 0.37, 0.50, 0.1},
                 {-0.60, 0.05, 0.32, 0.42, 0.1},
                 {-1.80, 0.15, 0.19, 0.25},
                 {-4.40, 0.28, 0.11, 0.13},
                 {-5.50, 0.30, 0.08, 0.10},
                 {-5.78, 0.30, 0.02, 0.04}},
                10, s.side, s.metal, true);
    shapes.Loft({{2.22, 0.20, 0.03, 0.03},
                 {1.85, 0.32, 0.30, 0.24},
                 {0.90, 0.42, 0.33, 0.28},
                 {0.45, 0.43, 0.27, 0.22},
                 {0.32, 0.43, 0.03, 0.03}},
                8, s.canopy, s.canopy, true);
    shapes.Panel({{0, -4.50, 0.35}, 1.15, 0.10}, {{0, -5.20, 1.30}, 0.65, 0.05}, true, s.fin, s.fin);
    ShapeBuilder half;
    half.Panel({{0.0, -4.85, 0.42}, 0.85, 0.08}, {{1.70, -4.95, 0.42}, 0.55, 0.04}, false, s.tailTop,
               s.tailBottom);
    // 2.5 degrees dihedral; the tip's leading edge 0.44 m ahead of the root's.
    half.Panel({{0.0, 0.30, 0.45}, 1.60, 0.24}, {{8.10, 0.735, 0.80}, 0.62, 0.08}, false, s.wingTop,
               s.wingBottom);
    shapes.Add(half);
    shapes.AddMirrored(half);
    Wheel(shapes, {0, -0.15, -0.57}, 0.18, 0.12, s.tyre);
    shapes.Box({-0.04, 0.90, -0.56}, {0.04, 1.90, -0.40}, s.dark);  // nose skid
    shapes.Box({-0.02, -5.30, 0.12}, {0.02, -5.00, 0.24}, s.dark);  // tail skid
}

void BlanikPaint(SkinPainter& p) {
    const BlanikSkins s;
    p.Fill(s.side, colours::kAluminium, 0.05f);
    PanelLines(p, s.side, -5.4, 2.2, 0.55, -0.55, 0.6);
    p.Rect(s.side, 2.30, 2.58, -0.55, 0.6, kRoundelRed);  // nose cap
    p.Band(s.side, {{2.3f, -0.08f}, {0.5f, -0.02f}, {-1.8f, 0.12f}, {-5.9f, 0.28f}}, 0.05, kRoundelBlue);
    p.Fill(s.canopy, colours::kGlass);
    PaintGlass(p, s.canopy, {{2.15f, 0.30f}, {0.35f, 0.30f}, {0.35f, 0.70f}, {2.15f, 0.70f}});
    p.Rect(s.canopy, 1.00, 1.08, 0.15, 0.75, colours::kFrame);

    // Metal wing with fabric ailerons and flaps along the trailing edge, rib by rib.
    for (const Skin* wing : {&s.wingTop, &s.wingBottom}) {
        p.Fill(*wing, colours::kAluminium, 0.05f);
        p.Polygon(*wing, {{0.4f, -1.36f}, {8.12f, 0.22f}, {8.12f, 0.05f}, {0.4f, -1.05f}}, kFabric);
        for (double x = 0.6; x < 8.0; x += 0.35) {
            const double te = -1.30 + (x / 8.10) * 1.415;
            p.Rect(*wing, x - 0.015, x + 0.015, te, te + 0.28 - 0.12 * x / 8.1, {188, 190, 190, 255});
        }
        p.Rect(*wing, 4.3, 4.34, -1.4, 0.8, {150, 154, 162, 255});  // aileron-flap joint
        p.Rect(*wing, 7.75, 8.12, -1.35, 0.78, kRoundelRed);        // tip
    }
    p.Fill(s.tailTop, colours::kAluminium, 0.05f);
    p.Rect(s.tailTop, 0.0, 1.72, -5.55, -5.22, kFabric);
    p.Fill(s.tailBottom, colours::kAluminium, 0.05f);
    p.Rect(s.tailBottom, 0.0, 1.72, -5.55, -5.22, kFabric);
    p.Fill(s.fin, colours::kAluminium, 0.05f);
    p.Polygon(s.fin, {{-5.90f, 0.30f}, {-5.20f, 0.30f}, {-5.45f, 1.35f}, {-5.90f, 1.35f}}, kFabric);
    p.Rect(s.fin, -5.90, -4.40, 1.12, 1.35, kRoundelRed);
    p.Fill(s.tyre, colours::kTyre);
    p.Fill(s.metal, colours::kAluminium);
    p.Fill(s.dark, {70, 72, 76, 255});
}

}  // namespace

AircraftRecipe DelfinRecipe() {
    return {"l29", "Aero L-29 Delfin: jet trainer, straight wing, T-tail, natural metal with day-glo bands.",
            DelfinModel, DelfinPaint};
}

AircraftRecipe BlanikRecipe() {
    return {"l13", "LET L-13 Blanik: two-seat glider, long slender wing, bare aluminium.", BlanikModel,
            BlanikPaint};
}

}  // namespace aircraft

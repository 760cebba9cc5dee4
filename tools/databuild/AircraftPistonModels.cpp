// The three piston aircraft: the Cessna 172R, the Sukhoi Su-29 and the Fokker Dr.I. Sizes
// are the real aircraft's (span, length, chords, track) in metres; the shapes are a few
// hundred triangles each, painted in bright flat colours.
#include <cmath>

#include "databuild/AircraftModels.h"

namespace aircraft {

namespace {

using Section = ShapeBuilder::Section;
using Chord = ShapeBuilder::Chord;

constexpr Rgba kCessnaBlue{28, 60, 150, 255};
constexpr Rgba kCessnaRed{204, 36, 40, 255};
constexpr Rgba kSukhoiRed{218, 30, 36, 255};
constexpr Rgba kSukhoiBlue{24, 56, 170, 255};
constexpr Rgba kFokkerRed{190, 24, 24, 255};
constexpr Rgba kBlack{20, 20, 22, 255};

// A wheel (a short tube along x) with its tyre skin.
void Wheel(ShapeBuilder& shapes, const Vec3& centre, double radius, double width, const Skin& tyre) {
    shapes.Tube(centre + Vec3{-width / 2, 0, 0}, centre + Vec3{width / 2, 0, 0}, radius, radius, 8, {0, 0, 1},
                tyre, true);
}

// A streamlined wheel fairing around a wheel centre.
void WheelPant(ShapeBuilder& shapes, const Vec3& c, double radius, const Skin& skin) {
    const double r = radius * 1.15, w = 0.11;
    shapes.Loft({{c.y + radius * 2.4, c.z + 0.02, 0, 0},
                 {c.y + radius * 1.1, c.z + 0.02, w, r * 0.85},
                 {c.y - radius * 0.9, c.z + 0.05, w, r},
                 {c.y - radius * 2.9, c.z + 0.12, 0, 0}},
                6, skin, skin, true, c.x);
}

// A black cross with a white border (the Dr.I's markings), centred at (along, up) of a
// skin, size across the arms.
void IronCross(SkinPainter& painter, const Skin& skin, double along, double up, double size,
               double aspect = 1.0) {
    const double a = size / 2, b = size * 0.16, border = size * 0.07;
    auto cross = [&](double grow, Rgba colour) {
        painter.Rect(skin, along - a - grow, along + a + grow, up - (b + grow) * aspect,
                     up + (b + grow) * aspect, colour);
        painter.Rect(skin, along - b - grow, along + b + grow, up - (a + grow) * aspect,
                     up + (a + grow) * aspect, colour);
    };
    cross(border, colours::kWhite);
    cross(0, kBlack);
}

// ---- Cessna 172R Skyhawk: 11.00 m span, 8.28 m long, 2.72 m high. High wing on struts,
// tricycle gear with wheel fairings, white with blue and red sweep stripes.

struct CessnaSkins {
    Skin side = SideSkin(atlas::kSide, -5.40, 2.98, -0.60, 0.90);
    Skin wingTop = PlanSkin(atlas::kWingTop, 5.55, -1.0, 0.70);
    Skin wingBottom = PlanSkin(atlas::kWingBottom, 5.55, -1.0, 0.70);
    Skin tailTop = PlanSkin(atlas::kTailTop, 1.75, -5.15, -3.70);
    Skin tailBottom = PlanSkin(atlas::kTailBottom, 1.75, -5.15, -3.70);
    Skin fin = SideSkin(atlas::kFin, -5.40, -2.25, 0.30, 1.60);
    Skin front = FrontSkin(atlas::kFront, 0.45, -0.40, 0.50);
    Skin tyre = Solid(atlas::Tile(0));
    Skin white = Solid(atlas::Tile(1));
    Skin steel = Solid(atlas::Tile(2));
};

void CessnaModel(ShapeBuilder& shapes) {
    const CessnaSkins s;
    shapes.Loft({{2.95, 0.10, 0, 0},
                 {2.73, 0.10, 0.19, 0.19},
                 {2.64, 0.05, 0.40, 0.36, 0.5},
                 {1.75, 0.12, 0.53, 0.52, 0.6},
                 {1.55, 0.14, 0.55, 0.55, 0.6},
                 {0.95, 0.16, 0.56, 0.69, 0.65},
                 {-0.75, 0.16, 0.55, 0.69, 0.65},
                 {-1.65, 0.20, 0.43, 0.45, 0.6},
                 {-3.90, 0.28, 0.16, 0.17, 0.5},
                 {-4.75, 0.33, 0.06, 0.08, 0.3}},
                8, s.side, s.front, true);
    // Fin with its dorsal fillet, and the horizontal tail through the tail cone.
    shapes.Panel({{0, -3.55, 0.40}, 1.55, 0.11}, {{0, -4.55, 1.57}, 0.80, 0.06}, true, s.fin, s.fin);
    shapes.Panel({{0, -2.30, 0.60}, 1.30, 0.06}, {{0, -3.35, 0.80}, 0.28, 0.04}, true, s.fin, s.fin);
    ShapeBuilder half;
    half.Panel({{0.0, -3.75, 0.30}, 1.30, 0.10}, {{1.73, -4.05, 0.30}, 0.90, 0.06}, false, s.tailTop,
               s.tailBottom);
    // The wing: a constant-chord inner panel and a tapered outer one, 1.7 degrees dihedral.
    half.Panel({{0.0, 0.66, 0.88}, 1.63, 0.21}, {{2.50, 0.66, 0.955}, 1.63, 0.19}, false, s.wingTop,
               s.wingBottom);
    half.Panel({{2.50, 0.66, 0.955}, 1.63, 0.19}, {{5.50, 0.50, 1.045}, 1.12, 0.12}, false, s.wingTop,
               s.wingBottom);
    // Wing strut from the lower fuselage to a third of the span.
    half.Tube({0.50, 0.05, -0.40}, {2.60, 0.15, 0.86}, 0.065, 0.025, 4, {0, 1, 0}, s.white);
    // Main gear: spring-steel leg, wheel and fairing; track 2.54 m.
    const Vec3 mainWheel{1.27, -0.50, -0.96};
    half.Tube({0.40, -0.40, -0.45}, mainWheel + Vec3{-0.06, 0, 0.05}, 0.06, 0.02, 4, {0, 1, 0}, s.white);
    Wheel(half, mainWheel, 0.19, 0.13, s.tyre);
    WheelPant(half, mainWheel, 0.19, s.white);
    shapes.Add(half);
    shapes.AddMirrored(half);
    // Nose gear under the cowling.
    const Vec3 noseWheel{0, 1.55, -0.97};
    shapes.Tube({0, 1.62, -0.30}, noseWheel + Vec3{0, 0.02, 0.10}, 0.045, 0.045, 4, {1, 0, 0}, s.steel);
    Wheel(shapes, noseWheel, 0.18, 0.12, s.tyre);
    WheelPant(shapes, noseWheel, 0.18, s.white);
}

void CessnaPaint(SkinPainter& p) {
    const CessnaSkins s;
    p.Fill(s.side, colours::kWhite);
    p.Rect(s.side, -5.4, 3.0, -0.6, -0.30, {226, 228, 232, 255});  // belly in its own shadow
    // The sweep: a blue band under a thin red one, rising along the tail cone.
    p.Band(s.side, {{2.60f, -0.02f}, {1.0f, -0.05f}, {-1.6f, 0.02f}, {-3.9f, 0.26f}, {-5.4f, 0.40f}}, 0.13,
           kCessnaBlue);
    p.Band(s.side, {{2.60f, 0.10f}, {1.0f, 0.08f}, {-1.6f, 0.15f}, {-3.9f, 0.40f}, {-5.4f, 0.55f}}, 0.05,
           kCessnaRed);
    // Spinner, cowling inlets, windshield and cabin windows.
    p.Rect(s.side, 2.72, 3.0, -0.6, 0.9, kCessnaRed);
    p.Rect(s.side, 2.62, 2.70, -0.25, 0.32, colours::kDark);
    PaintGlass(p, s.side, {{1.55f, 0.58f}, {0.96f, 0.86f}, {0.96f, 0.40f}, {1.20f, 0.40f}});
    PaintGlass(p, s.side, {{0.90f, 0.78f}, {0.08f, 0.78f}, {0.08f, 0.33f}, {0.80f, 0.33f}});
    PaintGlass(p, s.side,
               {{-0.02f, 0.78f}, {-0.78f, 0.76f}, {-1.10f, 0.55f}, {-1.10f, 0.36f}, {-0.02f, 0.33f}});
    p.Rect(s.side, 0.86, 0.90, -0.25, 0.33, {200, 202, 206, 255});  // door seam

    p.Fill(s.wingTop, colours::kWhite);
    p.Rect(s.wingTop, 3.0, 5.2, -0.62, -0.58, {196, 198, 204, 255});  // aileron hinge
    p.Rect(s.wingTop, 0.6, 3.0, -0.56, -0.52, {196, 198, 204, 255});  // flap hinge
    p.Rect(s.wingTop, 5.25, 5.55, -1.0, 0.7, kCessnaRed);             // wing tips
    p.Fill(s.wingBottom, {228, 230, 234, 255});
    p.Rect(s.wingBottom, 5.25, 5.55, -1.0, 0.7, kCessnaRed);
    p.Fill(s.tailTop, colours::kWhite);
    p.Rect(s.tailTop, 0.0, 1.75, -4.62, -4.58, {196, 198, 204, 255});
    p.Fill(s.tailBottom, {228, 230, 234, 255});
    p.Fill(s.fin, colours::kWhite);
    p.Band(s.fin, {{-3.2f, 0.50f}, {-4.4f, 1.00f}, {-5.4f, 1.35f}}, 0.16, kCessnaBlue);
    p.Band(s.fin, {{-3.2f, 0.66f}, {-4.4f, 1.16f}, {-5.4f, 1.51f}}, 0.06, kCessnaRed);
    p.Fill(s.front, colours::kWhite);
    p.Fill(s.tyre, colours::kTyre);
    p.Fill(s.white, colours::kWhite);
    p.Fill(s.steel, {160, 164, 170, 255});
}

// ---- Sukhoi Su-29: 8.20 m span, 7.29 m long, 2.74 m high. Mid-low tapered wing, big
// radial cowling, bubble canopy over two seats, tailwheel gear; white with a red and blue
// sunburst.

struct SukhoiSkins {
    Skin side = SideSkin(atlas::kSide, -4.75, 1.92, -0.66, 0.66);
    Skin canopy = SideSkin(atlas::kCanopy, -2.30, 0.40, 0.50, 1.00);
    Skin wingTop = PlanSkin(atlas::kWingTop, 4.15, -1.35, 0.80);
    Skin wingBottom = PlanSkin(atlas::kWingBottom, 4.15, -1.35, 0.80);
    Skin tailTop = PlanSkin(atlas::kTailTop, 1.60, -4.75, -3.50);
    Skin tailBottom = PlanSkin(atlas::kTailBottom, 1.60, -4.75, -3.50);
    Skin fin = SideSkin(atlas::kFin, -5.0, -3.4, 0.20, 1.25);
    Skin front = FrontSkin(atlas::kFront, 0.66, -0.66, 0.66);
    Skin tyre = Solid(atlas::Tile(0));
    Skin white = Solid(atlas::Tile(1));
    Skin red = Solid(atlas::Tile(3));
    Skin blue = Solid(atlas::Tile(4));
};

void SukhoiModel(ShapeBuilder& shapes) {
    const SukhoiSkins s;
    // Spinner in front of the cowling's flat face, which shows the engine.
    shapes.Loft({{2.25, 0, 0, 0}, {1.96, 0, 0.23, 0.23}, {1.90, 0, 0.23, 0.23}}, 8, s.red, s.red, true);
    shapes.Loft({{1.89, -0.02, 0.60, 0.58},
                 {1.55, -0.02, 0.64, 0.62},
                 {0.95, 0.0, 0.50, 0.56},
                 {0.30, 0.05, 0.42, 0.55, 0.3},
                 {-1.60, 0.06, 0.38, 0.50, 0.3},
                 {-3.00, 0.12, 0.22, 0.30, 0.3},
                 {-4.45, 0.20, 0.07, 0.11, 0.3},
                 {-4.70, 0.22, 0.02, 0.04}},
                10, s.side, s.front, true);
    shapes.Loft({{0.38, 0.56, 0.02, 0.02},
                 {0.05, 0.60, 0.33, 0.30},
                 {-1.10, 0.62, 0.35, 0.33},
                 {-1.95, 0.58, 0.24, 0.20},
                 {-2.25, 0.56, 0.02, 0.02}},
                8, s.canopy, s.canopy, true);
    shapes.Panel({{0, -3.50, 0.30}, 1.50, 0.12}, {{0, -4.25, 1.18}, 0.70, 0.06}, true, s.fin, s.fin);
    ShapeBuilder half;
    half.Panel({{0.0, -3.55, 0.15}, 1.20, 0.12}, {{1.58, -3.85, 0.15}, 0.70, 0.06}, false, s.tailTop,
               s.tailBottom);
    half.Panel({{0.0, 0.76, -0.25}, 2.05, 0.30}, {{4.10, 0.35, -0.25}, 0.95, 0.12}, false, s.wingTop,
               s.wingBottom);
    // Titanium spring legs splayed out to the wheel fairings; the tail wheel under the rudder.
    const Vec3 mainWheel{0.95, 0.55, -1.28};
    half.Tube({0.25, 0.62, -0.50}, mainWheel + Vec3{-0.05, 0, 0.08}, 0.07, 0.025, 4, {0, 1, 0}, s.white);
    Wheel(half, mainWheel, 0.22, 0.14, s.tyre);
    WheelPant(half, mainWheel, 0.22, s.red);
    shapes.Add(half);
    shapes.AddMirrored(half);
    shapes.Tube({0, -4.30, 0.12}, {0, -4.38, -0.12}, 0.03, 0.03, 4, {1, 0, 0}, s.white);
    Wheel(shapes, {0, -4.40, -0.15}, 0.09, 0.06, s.tyre);
}

// Rays of a sunburst from (along, up) of a skin: count wedges between two angles
// (radians, 0 along +along), alternating the colours.
void Sunburst(SkinPainter& p, const Skin& skin, double along, double up, double from, double to, int count,
              double reach, const std::vector<Rgba>& colours) {
    for (int i = 0; i < count; ++i) {
        const double a0 = from + (to - from) * i / count, a1 = from + (to - from) * (i + 1) / count;
        const Rgba colour = colours[i % colours.size()];
        if (colour.a == 0) continue;
        p.Polygon(skin,
                  {{static_cast<float>(along), static_cast<float>(up)},
                   {static_cast<float>(along + reach * std::cos(a0)),
                    static_cast<float>(up + reach * std::sin(a0))},
                   {static_cast<float>(along + reach * std::cos(a1)),
                    static_cast<float>(up + reach * std::sin(a1))}},
                  colour);
    }
}

void SukhoiPaint(SkinPainter& p) {
    const SukhoiSkins s;
    const Rgba none{0, 0, 0, 0};
    p.Fill(s.side, colours::kWhite);
    // Rays from the cowling back along the fuselage; the cowling itself red.
    Sunburst(p, s.side, 1.2, -0.05, 2.64, 3.48, 7, 7.0, {kSukhoiRed, none, kSukhoiBlue, none});
    p.Rect(s.side, 0.95, 1.95, -0.7, 0.7, kSukhoiRed);
    p.Rect(s.side, 1.55, 1.62, -0.7, 0.7, colours::kWhite);  // the cowling's front ring
    p.Fill(s.canopy, colours::kGlass);
    PaintGlass(p, s.canopy, {{0.30f, 0.58f}, {-2.20f, 0.58f}, {-2.20f, 0.95f}, {0.30f, 0.95f}});
    p.Rect(s.canopy, -0.78, -0.70, 0.5, 1.0, colours::kFrame);
    p.Rect(s.canopy, 0.10, 0.40, 0.5, 1.0, colours::kFrame);

    p.Fill(s.wingTop, colours::kWhite);
    Sunburst(p, s.wingTop, 0.0, 0.95, -1.45, 0.05, 8, 6.0, {kSukhoiRed, none, kSukhoiBlue, none});
    p.Fill(s.wingBottom, colours::kWhite);
    Sunburst(p, s.wingBottom, 0.0, -1.4, 0.05, 1.35, 6, 6.0, {kSukhoiBlue, none, kSukhoiRed, none});
    p.Fill(s.tailTop, colours::kWhite);
    Sunburst(p, s.tailTop, 0.0, -3.45, -1.50, -0.25, 5, 3.0, {kSukhoiRed, none, kSukhoiBlue, none});
    p.Fill(s.tailBottom, colours::kWhite);
    Sunburst(p, s.tailBottom, 0.0, -3.45, -1.50, -0.25, 5, 3.0, {kSukhoiBlue, none});
    p.Fill(s.fin, colours::kWhite);
    Sunburst(p, s.fin, -3.3, 0.25, 1.75, 3.05, 5, 3.0, {kSukhoiRed, none, kSukhoiBlue, none});
    // The engine seen through the cowling: nine cylinder heads round the crankcase.
    p.Fill(s.front, kSukhoiRed);
    p.Disc(s.front, 0, -0.02, 0.55, {40, 40, 44, 255});
    for (int i = 0; i < 9; ++i) {
        const double a = 2.0 * 3.14159265 * i / 9;
        p.Disc(s.front, 0.38 * std::sin(a), -0.02 + 0.38 * std::cos(a), 0.09, {150, 152, 158, 255});
    }
    p.Disc(s.front, 0, -0.02, 0.2, {90, 92, 96, 255});
    p.Fill(s.tyre, colours::kTyre);
    p.Fill(s.white, colours::kWhite);
    p.Fill(s.red, kSukhoiRed);
    p.Fill(s.blue, kSukhoiBlue);
}

// ---- Fokker Dr.I: three stacked wings (7.19, 6.23 and 5.73 m), 5.77 m long, 2.95 m high.
// Rotary engine under a round cowling, axle wing between the wheels, all-moving comma
// rudder; red with white-bordered black crosses and a white rudder.

struct FokkerSkins {
    Skin side = SideSkin(atlas::kSide, -4.00, 1.42, -0.52, 0.52);
    Skin wingTop = PlanSkin(atlas::kWingTop, 3.60, -0.45, 0.90);
    Skin wingBottom = PlanSkin(atlas::kWingBottom, 3.60, -0.45, 0.90);
    Skin tailTop = PlanSkin(atlas::kTailTop, 1.00, -4.10, -3.00);
    Skin tailBottom = PlanSkin(atlas::kTailBottom, 1.00, -4.10, -3.00);
    Skin rudder = SideSkin(atlas::kFin, -4.25, -3.70, 0.0, 1.0);
    Skin front = FrontSkin(atlas::kFront, 0.52, -0.52, 0.52);
    Skin tyre = Solid(atlas::Tile(0));
    Skin red = Solid(atlas::Tile(3));
    Skin wood = Solid(atlas::Tile(5));
    Skin hub = Solid(atlas::Tile(6));
    Skin gun = Solid(atlas::Tile(8));
};

void FokkerModel(ShapeBuilder& shapes) {
    const FokkerSkins s;
    shapes.Loft({{1.55, 0, 0, 0}, {1.45, 0, 0.11, 0.11}, {1.39, 0, 0.11, 0.11}}, 6, s.hub, s.hub, false);
    shapes.Loft({{1.38, 0.0, 0.47, 0.47},
                 {1.20, 0.0, 0.50, 0.50},
                 {0.90, 0.0, 0.49, 0.49},
                 {0.80, 0.02, 0.40, 0.45, 0.7},
                 {-0.60, 0.05, 0.38, 0.45, 0.7},
                 {-2.00, 0.10, 0.25, 0.32, 0.7},
                 {-3.80, 0.18, 0.05, 0.10, 0.7},
                 {-3.95, 0.20, 0.02, 0.03}},
                10, s.side, s.front, true);
    // The comma rudder, all-moving, behind the tail post (no fixed fin).
    shapes.Panel({{0, -3.88, 0.08}, 0.34, 0.05}, {{0, -3.78, 0.98}, 0.44, 0.04}, true, s.rudder, s.rudder);
    ShapeBuilder half;
    half.Panel({{0.0, -3.05, 0.20}, 1.00, 0.07}, {{0.98, -3.70, 0.20}, 0.38, 0.04}, false, s.tailTop,
               s.tailBottom);
    // Lower, middle and upper wing, staggered forward as they rise; the axle wing.
    // Crosses on top of the upper wing and under the lower one only.
    half.Panel({{0.0, 0.40, -0.42}, 1.00, 0.16}, {{2.865, 0.40, -0.42}, 0.95, 0.14}, false, s.red,
               s.wingBottom);
    half.Panel({{0.0, 0.45, 0.45}, 1.00, 0.16}, {{3.115, 0.45, 0.45}, 0.95, 0.14}, false, s.red, s.red);
    half.Panel({{0.0, 0.62, 1.36}, 1.00, 0.15}, {{3.595, 0.62, 1.36}, 0.95, 0.12}, false, s.wingTop, s.red);
    // The two machine guns ahead of the cockpit.
    half.Tube({0.12, 0.75, 0.47}, {0.12, -0.05, 0.47}, 0.035, 0.035, 4, {1, 0, 0}, s.gun);
    half.Panel({{0.0, 0.66, -0.98}, 0.45, 0.08}, {{0.88, 0.66, -0.98}, 0.45, 0.08}, false, s.red, s.red);
    // Interplane strut through all three wings, cabane struts to the upper wing, V struts of
    // the gear and the wheel.
    half.Tube({2.70, 0.18, -0.42}, {3.20, 0.40, 1.36}, 0.09, 0.025, 4, {0, 1, 0}, s.wood);
    half.Tube({0.22, 0.75, 0.42}, {0.45, 0.62, 1.30}, 0.03, 0.03, 4, {0, 1, 0}, s.wood);
    half.Tube({0.22, 0.05, 0.42}, {0.45, 0.20, 1.30}, 0.03, 0.03, 4, {0, 1, 0}, s.wood);
    half.Tube({0.15, 0.85, -0.40}, {0.70, 0.47, -0.96}, 0.03, 0.03, 4, {0, 1, 0}, s.wood);
    half.Tube({0.15, 0.10, -0.40}, {0.70, 0.43, -0.96}, 0.03, 0.03, 4, {0, 1, 0}, s.wood);
    Wheel(half, {0.82, 0.45, -0.99}, 0.36, 0.10, s.tyre);
    shapes.Add(half);
    shapes.AddMirrored(half);
    shapes.Tube({0, -3.55, 0.10}, {0, -3.75, -0.28}, 0.03, 0.03, 4, {1, 0, 0}, s.wood);  // tail skid
}

void FokkerPaint(SkinPainter& p) {
    const FokkerSkins s;
    p.Fill(s.side, kFokkerRed, 0.05f);
    IronCross(p, s.side, -2.6, 0.14, 0.62, 1.3);
    // The open cockpit, seen from above, and its leather rim.
    p.Polygon(s.side, {{-0.25f, 0.53f}, {-1.05f, 0.53f}, {-1.05f, 0.44f}, {-0.25f, 0.47f}},
              {40, 30, 26, 255});
    p.Rect(s.side, 0.90, 0.95, -0.6, 0.6, {120, 16, 16, 255});  // the cowling's rim
    p.Fill(s.wingTop, kFokkerRed, 0.05f);
    IronCross(p, s.wingTop, 2.95, 0.2, 0.85, 1.0);
    p.Fill(s.wingBottom, kFokkerRed, 0.05f);
    IronCross(p, s.wingBottom, 2.3, 0.2, 0.85, 1.0);
    p.Fill(s.tailTop, kFokkerRed, 0.05f);
    p.Fill(s.tailBottom, kFokkerRed, 0.05f);
    p.Fill(s.rudder, colours::kWhite);
    IronCross(p, s.rudder, -3.98, 0.55, 0.40, 1.6);
    // The rotary engine behind the open cowling front: cylinders round a dark hub.
    p.Fill(s.front, kFokkerRed);
    p.Disc(s.front, 0, 0, 0.42, {36, 34, 32, 255});
    for (int i = 0; i < 9; ++i) {
        const double a = 2.0 * 3.14159265 * i / 9;
        p.Disc(s.front, 0.28 * std::sin(a), 0.28 * std::cos(a), 0.08, {120, 110, 96, 255});
    }
    p.Fill(s.tyre, {60, 58, 56, 255});
    p.Fill(s.red, kFokkerRed);
    p.Fill(s.wood, {150, 104, 60, 255});
    p.Fill(s.hub, {90, 86, 80, 255});
    p.Fill(s.gun, {44, 46, 50, 255});
}

}  // namespace

AircraftRecipe CessnaRecipe() {
    return {"c172r",
            "Cessna 172R Skyhawk: high wing on struts, tricycle gear, white with blue and red stripes.",
            CessnaModel, CessnaPaint};
}

AircraftRecipe SukhoiRecipe() {
    return {"su29", "Sukhoi Su-29: aerobatic two-seater, radial engine, red and blue sunburst.", SukhoiModel,
            SukhoiPaint};
}

AircraftRecipe FokkerRecipe() {
    return {"fokker", "Fokker Dr.I: triplane fighter of 1917, rotary engine, red with black crosses.",
            FokkerModel, FokkerPaint};
}

}  // namespace aircraft

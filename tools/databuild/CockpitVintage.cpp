// The cockpits of the glider (L13) and of the First World War triplane (Fokker).
#include <cmath>

#include "databuild/CockpitDesigns.h"
#include "databuild/CockpitGauges.h"

using namespace cockpit_panels;

namespace {

constexpr Rgba kGreenArc = {40, 170, 60, 255};
constexpr Rgba kRedArc = {220, 40, 30, 255};
constexpr Rgba kDarkInk = {60, 56, 48, 255};

// Climb and sink in metres a second: nought at nine o'clock, climb up round the top.
GaugeScale Variometer() {
    GaugeScale s;
    s.from = -255, s.to = 75, s.majors = 11, s.minors = 1;
    s.labels = {"5", "", "3", "", "1", "0", "1", "", "3", "", "5"};
    s.bands = {{0.5f, 1.0f, kGreenArc}, {0.0f, 0.04f, kRedArc}};
    s.needle = 0.6f, s.caption = "m/s", s.captionAbove = true;
    return s;
}

GaugeScale Scale(float from, float to, std::vector<std::string> labels, float needle, const char* caption) {
    GaugeScale s;
    s.from = from, s.to = to, s.majors = static_cast<int>(labels.size()), s.minors = 1;
    s.labels = std::move(labels);
    s.needle = needle, s.caption = caption;
    return s;
}

// The yaw string: a strip of red wool taped to the canopy, trailing back a little to one
// side, painted into the spare rows at (x, y) and w x h.
void DrawYawString(CockpitArt& art, float x, float y, float w, float h) {
    std::vector<Point2> wool;
    for (int i = 0; i <= 8; ++i) {
        const float t = i / 8.0f;
        wool.push_back({x + w / 2 + 1.2f * t * t + 0.8f * std::sin(t * 9.0f) * t, y + 3 + t * (h - 4)});
    }
    art.Stroke(wool, 2.6f, {60, 10, 10, 120});
    art.Stroke(wool, 1.7f, {228, 40, 36, 255});
    art.Rect(x + w / 2 - 2.5f, y + 1, 5, 3, {236, 236, 226, 240});
}

}  // namespace

CockpitArt PaintL13(bool landscape) {
    // A sparse pale panel: the big variometer in the middle, airspeed and horizon to the
    // left, altimeter and compass to the right; a slim canopy frame and the yaw string.
    constexpr int kStringW = 8, kStringH = 28;
    const float y1 = Row1(landscape);
    const Point2 horizon = landscape ? Point2{74, y1} : Point2{34, 296};
    CockpitArt art = NewArt(landscape, horizon, kStringH + 2);
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    const Rgba rail = {200, 198, 190, 220};
    Frame(art, {{0, top - 40}, {26, top - 10}, {40, top - 4}}, 3.0f, rail);
    Frame(art, {{w, top - 40}, {w - 26, top - 10}, {w - 40, top - 4}}, 3.0f, rail);
    PanelFace(art, {222, 216, 200, 255}, {192, 186, 170, 255});
    GlareShield(art, {128, 124, 114, 255}, 5, 4);
    if (landscape) {
        DrawGauge(art, 30, y1, 17, kSteelBezel, Scale(-150, 150, {"", "", "100", "", ""}, 0.42f, "km/h"));
        DrawGauge(art, 136, y1, 24, kSteelBezel, Variometer());
        DrawGauge(art, 198, y1, 17, kSteelBezel,
                  Scale(0, 324, {"0", "", "", "", "4", "", "", "", "8", ""}, 0.3f, ""));
        DrawCompassBall(art, 248, y1, 14, kSteelBezel);
    } else {
        DrawGauge(art, 34, 250, 19, kSteelBezel, Scale(-150, 150, {"", "", "100", "", ""}, 0.42f, "km/h"));
        DrawGauge(art, 116, 270, 27, kSteelBezel, Variometer());
        DrawGauge(art, 192, 256, 19, kSteelBezel,
                  Scale(0, 324, {"0", "", "2", "", "4", "", "6", "", "8", ""}, 0.3f, ""));
        DrawCompassBall(art, 192, 302, 13, kSteelBezel);
    }
    DrawHorizonBezel(art, kSteelBezel);
    art.Text(landscape ? 290.0f : 70.0f, art.Height() - 6.0f, 7, "L-13", kDarkInk, true);
    // The yaw string, taped on the canopy a little below the compass strip.
    const float sx = 4, sy = static_cast<float>(art.SpareTop() + 1);
    DrawYawString(art, sx, sy, kStringW, kStringH);
    art.AddOverlay(static_cast<int>(w / 2) - kStringW / 2, landscape ? 34 : 40,
                   {static_cast<int>(sx), static_cast<int>(sy), kStringW, kStringH});
    return art;
}

namespace {

// One of the twin machine guns on the fuselage in front of the pilot: the breech block at
// the dash's top and the perforated cooling jacket running forward towards the horizon.
void DrawGun(CockpitArt& art, float x, float base, float vanishX, float vanishY) {
    const Rgba steel = {46, 48, 52, 255}, light = {108, 112, 118, 255}, hole = {12, 12, 14, 255};
    // Parallel guns meet at the horizon's vanishing point; they end well short of it.
    const Point2 end = {x + (vanishX - x) * 0.3f, base - 26 + (vanishY - base + 26) * 0.75f};
    const float near = 7.0f, far = 4.5f;
    art.Polygon({{x - near, base - 26}, {x + near, base - 26}, {end.x + far, end.y}, {end.x - far, end.y}},
                steel);
    art.Line({x - near + 1.2f, base - 26}, {end.x - far + 0.8f, end.y}, 1.0f, light);
    for (int i = 1; i < 6; ++i) {
        const float t = i / 6.0f;
        const float cx = x + (end.x - x) * t, cy = base - 26 + (end.y - base + 26) * t;
        const float half = near + (far - near) * t;
        art.Disc(cx - half * 0.4f, cy, 0.9f + (1 - t) * 0.5f, hole);
        art.Disc(cx + half * 0.4f, cy, 0.9f + (1 - t) * 0.5f, hole);
    }
    art.Disc(end.x, end.y, far * 0.6f, {20, 20, 22, 255});
    // The breech: a box with its cocking lever.
    art.Rect(x - 11, base - 28, 22, 30, steel);
    art.Rect(x - 11, base - 28, 22, 2, light);
    art.Rect(x - 8, base - 22, 16, 12, {34, 35, 38, 255});
    art.Line({x + 11, base - 16}, {x + 16, base - 22}, 2.0f, light);
    art.Disc(x + 16, base - 22, 1.8f, light);
}

// Planks of the dash: warm brown, grained, with dark seams between them.
void DrawPlanks(CockpitArt& art) {
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    PanelFace(art, {150, 92, 46, 255}, {112, 66, 32, 255});
    art.Grain(0, top, w, art.Height() - top, {84, 46, 20, 150}, 7, false);
    for (float y = top + 22; y < art.Height(); y += 22) {
        art.Rect(0, y, w, 1.2f, {52, 28, 12, 220});
        art.Rect(0, y + 1.2f, w, 0.8f, {190, 130, 76, 90});
    }
}

}  // namespace

CockpitArt PaintFokker(bool landscape) {
    // A planked wooden dash with a few brass-rimmed gauges, a padded leather rim, the
    // two machine guns' breeches on top and the small windscreen between them.
    const float y1 = Row1(landscape);
    const Point2 horizon = landscape ? Point2{64, y1} : Point2{50, 258};
    CockpitArt art = NewArt(landscape, horizon);
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    const float mid = art.Height() / 2.0f, gap = landscape ? 30.0f : 27.0f;
    // The windscreen: a small pane in a thin frame just over the guns' far ends.
    const float sw = landscape ? 24.0f : 22.0f, sTop = landscape ? top - 40 : top - 46;
    art.Polygon(
        {{w / 2 - sw, top - 8}, {w / 2 - sw + 4, sTop}, {w / 2 + sw - 4, sTop}, {w / 2 + sw, top - 8}},
        {190, 214, 220, 80});
    art.Stroke({{w / 2 - sw, top - 8}, {w / 2 - sw + 4, sTop}, {w / 2 + sw - 4, sTop}, {w / 2 + sw, top - 8}},
               2.0f, {58, 40, 22, 255});
    // The ring-and-bead sight between the guns, seen through the screen.
    const Rgba sightSteel = {40, 40, 44, 255};
    art.Line({w / 2, top - 8}, {w / 2, sTop + 12}, 1.2f, sightSteel);
    art.Ring(w / 2, sTop + 8, 3.6f, 4.6f, sightSteel);
    art.Line({w / 2 - 0.6f, sTop + 8}, {w / 2 + 0.6f, sTop + 8}, 1.0f, sightSteel);
    DrawPlanks(art);
    GlareShield(art, {66, 38, 22, 255}, 4, 5);
    DrawGun(art, w / 2 - gap, top + 2, w / 2, mid);
    DrawGun(art, w / 2 + gap, top + 2, w / 2, mid);
    DrawHorizonBezel(art, kBrassBezel);
    const Point2 rpm = landscape ? Point2{160, y1 + 4} : Point2{120, 270};
    DrawGauge(art, rpm.x, rpm.y, landscape ? 19.0f : 22.0f, kBrassBezel,
              Scale(-135, 135, {"4", "8", "12", "16"}, 0.7f, ""));
    const Point2 fuel = landscape ? Point2{226, y1} : Point2{190, 258};
    DrawGauge(art, fuel.x, fuel.y, 14, kBrassBezel, Scale(-60, 60, {"0", "", "F"}, 0.6f, "FUEL"));
    const Point2 compass = landscape ? Point2{270, y1 + 8} : Point2{190, 298};
    DrawCompassBall(art, compass.x, compass.y, 13, kBrassBezel);
    for (const Point2& p :
         landscape ? std::vector<Point2>{{110, 222}, {118, 222}} : std::vector<Point2>{{48, 304}, {58, 304}})
        DrawScrew(art, p.x, p.y, 2.4f);
    return art;
}

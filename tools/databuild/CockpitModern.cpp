// The cockpits of the three engine aircraft of today: the light aircraft (C172R), the
// aerobatic monoplane (Su29) and the jet trainer (L29).
#include "databuild/CockpitDesigns.h"
#include "databuild/CockpitGauges.h"

using namespace cockpit_panels;

namespace {

constexpr Rgba kGreenArc = {40, 170, 60, 255};
constexpr Rgba kYellowArc = {230, 200, 30, 255};
constexpr Rgba kRedArc = {220, 40, 30, 255};

GaugeScale Airspeed(const char* unit, std::vector<std::string> labels, float needle) {
    GaugeScale s;
    s.from = -150, s.to = 150, s.majors = static_cast<int>(labels.size()), s.minors = 1;
    s.labels = std::move(labels);
    s.bands = {{0.08f, 0.62f, kGreenArc}, {0.62f, 0.88f, kYellowArc}, {0.88f, 0.92f, kRedArc}};
    s.needle = needle, s.caption = unit;
    return s;
}

GaugeScale Altimeter(float needle) {
    GaugeScale s;
    s.from = 0, s.to = 324, s.majors = 10, s.minors = 1;
    s.labels = {"0", "", "2", "", "4", "", "6", "", "8", ""};
    s.needle = needle, s.needle2 = needle * 0.1f + 0.02f;
    return s;
}

GaugeScale Climb() {
    // Level at nine o'clock, climb up the left, sink down.
    GaugeScale s;
    s.from = -260, s.to = 80, s.majors = 5, s.minors = 3;
    s.labels = {"", "1", "0", "1", ""};
    s.needle = 0.5f;
    return s;
}

GaugeScale Revolutions(std::vector<std::string> labels, float needle, const char* caption) {
    GaugeScale s;
    s.from = -120, s.to = 120, s.majors = static_cast<int>(labels.size()), s.minors = 1;
    s.labels = std::move(labels);
    s.bands = {{0.7f, 0.86f, kGreenArc}, {0.95f, 1.0f, kRedArc}};
    s.needle = needle, s.caption = caption;
    return s;
}

// A small engine gauge: a quarter-turn scale, a word or two only.
GaugeScale Small(std::vector<std::string> labels, float needle, bool banded = true) {
    GaugeScale s;
    s.from = -60, s.to = 60, s.majors = static_cast<int>(labels.size()), s.minors = 1;
    s.labels = std::move(labels);
    if (banded) s.bands = {{0.3f, 0.8f, kGreenArc}};
    s.needle = needle;
    return s;
}

GaugeScale GMeter() {
    GaugeScale s;
    s.from = -135, s.to = 135, s.majors = 4, s.minors = 4;
    s.labels = {"-5", "0", "5", "10"};
    s.bands = {{0.0f, 0.05f, kRedArc}, {0.93f, 1.0f, kRedArc}};
    s.needle = 0.4f, s.caption = "G";
    return s;
}

}  // namespace

CockpitArt PaintC172(bool landscape) {
    // The six-pack at the left, the engine's gauges at the right, a light-grey panel
    // under a dark glare shield, thin windscreen pillars in the corners.
    const float r = landscape ? 17.0f : 19.0f, step = landscape ? 42.0f : 46.0f, x0 = 26.0f;
    const float y1 = Row1(landscape), y2 = Row2(landscape);
    CockpitArt art = NewArt(landscape, {x0 + step, y1});
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    const Rgba pillar = {74, 76, 80, 255};
    Frame(art, {{34, top - 6}, {-6, top - (landscape ? 70.0f : 100.0f)}}, 4.0f, pillar);
    Frame(art, {{w - 34, top - 6}, {w + 6, top - (landscape ? 70.0f : 100.0f)}}, 4.0f, pillar);
    PanelFace(art, {190, 192, 190, 255}, {150, 152, 150, 255});
    GlareShield(art, {40, 40, 43, 255}, 8, 5);
    // Portrait: two rows of three; landscape: one row of six and the tachometer.
    const auto at = [&](int i) -> Point2 {
        if (landscape) return {x0 + step * (i < 3 ? i : i), y1};
        return {x0 + step * (i % 3), i < 3 ? y1 : y2};
    };
    DrawGauge(art, at(0).x, at(0).y, r, kSteelBezel,
              Airspeed("KT",
                       landscape ? std::vector<std::string>{"", "", "", "100", "", "", ""}
                                 : std::vector<std::string>{"", "60", "", "100", "", "140", ""},
                       0.52f));
    DrawHorizonBezel(art, kSteelBezel);
    DrawGauge(art, at(2).x, at(2).y, r, kSteelBezel, Altimeter(0.55f));
    DrawTurnGauge(art, at(3).x, at(3).y, r, kSteelBezel);
    DrawHeadingGauge(art, at(4).x, at(4).y, r, kSteelBezel, 30);
    DrawGauge(art, at(5).x, at(5).y, r, kSteelBezel, Climb());
    const Point2 tach = landscape ? Point2{x0 + step * 6, y1} : Point2{166, y2};
    DrawGauge(art, tach.x, tach.y, r, kSteelBezel, Revolutions({"", "10", "20", ""}, 0.78f, "RPM"));
    if (!landscape) {
        DrawGauge(art, 160, 248, 11, kSteelBezel, Small({"E", "", "F"}, 0.7f));
        DrawGauge(art, 192, 248, 11, kSteelBezel, Small({"E", "", "F"}, 0.66f));
        DrawGauge(art, 206, 296, 11, kSteelBezel, Small({"", "", ""}, 0.5f));
        art.Text(176, 271, 7, "FUEL", {40, 40, 40, 255}, true);
        art.Text(206, 316, 7, "OIL", {40, 40, 40, 255}, true);
        DrawLamp(art, 150, 314, {220, 60, 40, 255});
        DrawLamp(art, 160, 314, {220, 170, 40, 255});
    }
    for (const float x : {5.0f, w - 5.0f})
        DrawScrew(art, x, static_cast<float>(art.Height()) - 5);
    return art;
}

CockpitArt PaintSu29(bool landscape) {
    // A black carbon panel with few large gauges, the g-meter beside the horizon; the
    // bubble canopy's bow over the view and its sighting frame lines at the sides.
    const float y1 = Row1(landscape), y2 = Row2(landscape);
    const float r = landscape ? 18.0f : 20.0f, step = landscape ? 44.0f : 54.0f,
                x0 = landscape ? 28.0f : 30.0f;
    CockpitArt art = NewArt(landscape, {x0 + step, y1});
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    const Rgba bow = {26, 27, 30, 255};
    Frame(art, Arch(w / 2, top, w * 0.62f, top - 34, -90, 90), 4.0f, bow);
    // The sighting frame on the left of the canopy: a thin amber bar with a level mark
    // and two pitch marks, read against the horizon in rolls and knife-edge flight.
    const float mid = art.Height() / 2.0f, bar = landscape ? 34.0f : 22.0f;
    const Rgba sight = {255, 190, 60, 190};
    art.Line({bar, mid - 26}, {bar, mid + 26}, 1.2f, sight);
    art.Line({bar, mid}, {bar + 12, mid}, 1.2f, sight);
    for (const float dy : {-18.0f, 18.0f})
        art.Line({bar, mid + dy}, {bar + 6, mid + dy}, 1.0f, sight);
    PanelFace(art, {30, 31, 34, 255}, {12, 12, 14, 255});
    art.Grain(0, top, w, art.Height() - top, {90, 94, 104, 190}, 1, true);
    GlareShield(art, {14, 14, 16, 255}, 6, 5);
    DrawGauge(art, x0, y1, r, kBlackBezel, Airspeed("KM/H", {"", "2", "3", "4", ""}, 0.5f));
    DrawHorizonBezel(art, kBlackBezel);
    DrawGauge(art, x0 + 2 * step, y1, r, kBlackBezel, GMeter());
    const Point2 alt = landscape ? Point2{x0 + 3 * step, y1} : Point2{x0, y2};
    const Point2 rpm = landscape ? Point2{x0 + 4 * step, y1} : Point2{x0 + step, y2};
    DrawGauge(art, alt.x, alt.y, r - 1, kBlackBezel, Altimeter(0.3f));
    DrawGauge(art, rpm.x, rpm.y, r - 1, kBlackBezel, Revolutions({"", "10", "20", ""}, 0.8f, "RPM"));
    const float sr = landscape ? 10.0f : 12.0f;
    const std::vector<Point2> small = landscape ? std::vector<Point2>{{246, 194}, {246, 222}, {274, 222}}
                                                : std::vector<Point2>{{140, 298}, {176, 298}, {192, 252}};
    DrawGauge(art, small[0].x, small[0].y, sr, kBlackBezel, Small({"", "", ""}, 0.55f));
    DrawGauge(art, small[1].x, small[1].y, sr, kBlackBezel, Small({"", "", ""}, 0.45f));
    DrawGauge(art, small[2].x, small[2].y, sr, kBlackBezel, Small({"E", "", "F"}, 0.7f));
    const Point2 lamp = landscape ? Point2{274, 194} : Point2{208, 300};
    DrawLamp(art, lamp.x, lamp.y, {60, 200, 70, 255});
    return art;
}

namespace {

// The reflector sight on the glare shield: a dark body, its tilted glass and the
// amber ring and dot seen on the glass.
void DrawGunsight(CockpitArt& art, float cx, float base) {
    const Rgba body = {34, 36, 38, 255}, frame = {58, 62, 66, 255};
    art.Polygon({{cx - 20, base - 44}, {cx + 20, base - 44}, {cx + 17, base - 10}, {cx - 17, base - 10}},
                {170, 205, 215, 56});
    art.Stroke({{cx - 17, base - 10}, {cx - 20, base - 44}, {cx + 20, base - 44}, {cx + 17, base - 10}}, 1.6f,
               frame);
    art.Rect(cx - 14, base - 12, 28, 12, body);
    art.Rect(cx - 12, base - 13, 24, 2, {90, 96, 100, 255});
    const float ry = base - 29, ring = 9.0f;
    const Rgba reticle = {255, 176, 40, 230};
    art.Ring(cx, ry, ring - 0.55f, ring + 0.55f, reticle);
    art.Disc(cx, ry, 1.1f, reticle);
    for (const float a : {0.0f, 90.0f, 180.0f, 270.0f})
        art.Line(Polar(cx, ry, ring + 1.0f, a), Polar(cx, ry, ring + 4.0f, a), 1.0f, reticle);
}

}  // namespace

CockpitArt PaintL29(bool landscape) {
    // A dark grey jet panel crowded with small gauges round the six large ones, a thick
    // windscreen frame and the reflector sight on the shield.
    const float y1 = Row1(landscape), y2 = Row2(landscape);
    const float r = landscape ? 16.0f : 19.0f, step = landscape ? 40.0f : 48.0f,
                x0 = landscape ? 24.0f : 26.0f;
    CockpitArt art = NewArt(landscape, {x0 + step, y1});
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    const Rgba frame = {56, 60, 64, 255};
    Frame(art, {{40, top - 6}, {-8, top - (landscape ? 90.0f : 120.0f)}}, 6.0f, frame);
    Frame(art, {{w - 40, top - 6}, {w + 8, top - (landscape ? 90.0f : 120.0f)}}, 6.0f, frame);
    PanelFace(art, {78, 82, 86, 255}, {50, 53, 56, 255});
    GlareShield(art, {30, 32, 34, 255}, 7, 5);
    DrawGunsight(art, w / 2, top - 2);
    const auto at = [&](int i) -> Point2 {
        if (landscape) return {x0 + step * i, y1};
        return {x0 + step * (i % 3), i < 3 ? y1 : y2};
    };
    DrawGauge(art, at(0).x, at(0).y, r, kBlackBezel,
              Airspeed("KM/H", {"", "2", "", "4", "", "6", ""}, 0.45f));
    DrawHorizonBezel(art, kBlackBezel);
    DrawGauge(art, at(2).x, at(2).y, r, kBlackBezel, Altimeter(0.6f));
    DrawGauge(art, at(3).x, at(3).y, r, kBlackBezel, Climb());
    DrawHeadingGauge(art, at(4).x, at(4).y, r, kBlackBezel, 300);
    DrawGauge(art, at(5).x, at(5).y, r, kBlackBezel, Revolutions({"", "60", "80", ""}, 0.75f, "%"));
    // The engine and systems gauges in a block at the right.
    const float sr = landscape ? 9.0f : 11.0f;
    const int columns = 2, rows = landscape ? 2 : 3;
    const float gx = landscape ? 256.0f : 162.0f, gy = landscape ? 193.0f : 244.0f;
    const float dx = landscape ? 24.0f : 28.0f, dy = landscape ? 27.0f : 28.0f;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const float needle = 0.3f + 0.13f * ((i * 3 + j * 5) % 5);
            DrawGauge(art, gx + i * dx, gy + j * dy, sr, kBlackBezel,
                      Small({"", "", ""}, needle, (i + j) % 2 == 0));
        }
    }
    if (!landscape) {
        DrawLamp(art, 214, 262, {230, 60, 40, 255});
        DrawLamp(art, 214, 274, {230, 180, 40, 255});
        DrawLamp(art, 214, 286, {60, 200, 70, 255});
    }
    return art;
}

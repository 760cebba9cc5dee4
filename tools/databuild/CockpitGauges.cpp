#include "databuild/CockpitGauges.h"

#include <cmath>

const Bezel kSteelBezel = {{196, 200, 204, 255}, {62, 66, 72, 255}};
const Bezel kBlackBezel = {{104, 108, 114, 255}, {14, 15, 17, 255}};
const Bezel kBrassBezel = {{246, 214, 128, 255}, {122, 82, 28, 255}};

namespace {

constexpr Rgba kFace = {20, 22, 24, 255};
constexpr Rgba kFaceLow = {8, 9, 10, 255};
constexpr Rgba kInk = {242, 242, 236, 255};
constexpr Rgba kDimInk = {200, 200, 194, 255};
constexpr Rgba kSymbol = {255, 150, 24, 255};
constexpr Rgba kShadow = {0, 0, 0, 110};
constexpr float kRim = 2.6f;             // the metal rim's width outside the face
constexpr float kLeastLabelled = 15.0f;  // smaller faces carry no digits

// Digit sizes by face radius: 8 px digits on large faces, 7 on small.
int DigitSize(float r) {
    return r >= 21 ? 8 : 7;
}

}  // namespace

void DrawCase(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel) {
    art.Disc(cx + 0.8f, cy + 1.2f, r + kRim + 0.6f, kShadow);
    art.ShadedDisc(cx, cy, r + kRim, bezel.light, bezel.dark);
    // The inner lip is lit from below: a turned ring.
    art.ShadedDisc(cx, cy, r + 0.7f, bezel.dark, bezel.light);
    art.ShadedDisc(cx, cy, r, kFace, kFaceLow);
}

void DrawNeedle(CockpitArt& art, float cx, float cy, float length, float degrees, float width) {
    const Point2 tip = Polar(cx, cy, length, degrees);
    const Point2 tail = Polar(cx, cy, -length * 0.22f, degrees);
    const Point2 left = Polar(cx, cy, width * 0.6f, degrees - 90);
    const Point2 right = Polar(cx, cy, width * 0.6f, degrees + 90);
    const float dx = left.x - cx, dy = left.y - cy;
    art.Polygon({{tail.x + dx, tail.y + dy},
                 {left.x, left.y},
                 {tip.x, tip.y},
                 {right.x, right.y},
                 {tail.x - dx, tail.y - dy}},
                kInk);
    art.Disc(cx, cy, width * 1.4f, {70, 72, 76, 255});
    art.Disc(cx, cy, width * 0.8f, {16, 16, 18, 255});
}

void DrawGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel, const GaugeScale& s) {
    DrawCase(art, cx, cy, r, bezel);
    const float span = s.to - s.from;
    for (const ScaleBand& band : s.bands)
        art.Ring(cx, cy, r - 3.2f, r - 1.2f, band.colour, s.from + span * band.from, s.from + span * band.to);
    const int steps = (s.majors - 1) * (s.minors + 1);
    for (int i = 0; i <= steps && steps > 0; ++i) {
        const float a = s.from + span * i / steps;
        const bool major = i % (s.minors + 1) == 0;
        art.Line(Polar(cx, cy, r - (major ? 4.6f : 3.0f), a), Polar(cx, cy, r - 0.8f, a), major ? 1.3f : 0.9f,
                 major ? kInk : kDimInk);
    }
    // Digits only where there is room for them, each pulled in from its tick by as much
    // of its box as faces the rim (DejaVu's digits are about 0.64 em wide).
    const int size = DigitSize(r);
    for (size_t i = 0; i < s.labels.size() && s.majors > 1 && r >= kLeastLabelled; ++i) {
        const float a = s.from + span * static_cast<float>(i) / (s.majors - 1);
        const float halfWidth = 0.32f * size * s.labels[i].size(), halfHeight = 0.37f * size;
        const Point2 direction = Polar(0, 0, 1, a);
        const float inset = std::fabs(direction.x) * halfWidth + std::fabs(direction.y) * halfHeight;
        const Point2 p = Polar(cx, cy, r - 4.4f - inset, a);
        art.Text(p.x, p.y + halfHeight, size, s.labels[i], kInk);
    }
    if (!s.caption.empty()) {
        const float y = s.captionAbove ? cy - r * 0.3f : cy + r * 0.5f + 2.5f;
        art.Text(cx, y, 6, s.caption, kDimInk);
    }
    if (s.needle2 >= 0) DrawNeedle(art, cx, cy, r * 0.5f, s.from + span * s.needle2, 2.2f);
    DrawNeedle(art, cx, cy, r - 2.5f, s.from + span * s.needle);
}

void DrawHeadingGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel, float heading) {
    DrawCase(art, cx, cy, r, bezel);
    for (int i = 0; i < 36; ++i) {
        const float a = i * 10.0f - heading;
        const bool major = i % 3 == 0;
        art.Line(Polar(cx, cy, r - (major ? 3.8f : 2.4f), a), Polar(cx, cy, r - 0.8f, a), major ? 1.2f : 0.8f,
                 kInk);
    }
    const char* const points[] = {"N", "E", "S", "W"};
    const int size = DigitSize(r);
    for (int i = 0; i < 4; ++i) {
        const Point2 p = Polar(cx, cy, r - 4.2f - size * 0.62f, i * 90.0f - heading);
        art.Text(p.x, p.y + size * 0.36f, size, points[i], i == 0 ? kSymbol : kInk, true);
    }
    // The fixed aircraft and the lubber mark.
    art.Line({cx, cy - r * 0.42f}, {cx, cy + r * 0.34f}, 1.6f, kSymbol);
    art.Line({cx - r * 0.34f, cy - r * 0.06f}, {cx + r * 0.34f, cy - r * 0.06f}, 1.6f, kSymbol);
    art.Line({cx - r * 0.15f, cy + r * 0.3f}, {cx + r * 0.15f, cy + r * 0.3f}, 1.3f, kSymbol);
    art.Polygon({{cx, cy - r + 0.6f}, {cx + 2.4f, cy - r - 2.0f}, {cx - 2.4f, cy - r - 2.0f}}, kSymbol);
}

void DrawTurnGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel) {
    DrawCase(art, cx, cy, r, bezel);
    // Level and standard-rate marks either side.
    for (float a : {-90.0f, -70.0f, 70.0f, 90.0f})
        art.Line(Polar(cx, cy, r - 4.4f, a), Polar(cx, cy, r - 0.8f, a), 1.4f, kInk);
    art.Text(cx - r * 0.55f, cy + r * 0.46f, 7, "L", kInk, true);
    art.Text(cx + r * 0.55f, cy + r * 0.46f, 7, "R", kInk, true);
    // The aircraft seen from behind.
    art.Line({cx - r * 0.7f, cy}, {cx + r * 0.7f, cy}, 1.8f, kInk);
    art.Disc(cx, cy, 2.2f, kInk);
    art.Line({cx, cy - 2.0f}, {cx, cy - 4.5f}, 1.2f, kInk);
    // The slip ball in its tube.
    const float tubeY = cy + r * 0.5f;
    art.Polygon({{cx - r * 0.42f, tubeY - 2.4f},
                 {cx + r * 0.42f, tubeY - 2.4f},
                 {cx + r * 0.38f, tubeY + 2.4f},
                 {cx - r * 0.38f, tubeY + 2.4f}},
                {170, 176, 170, 255});
    art.Disc(cx, tubeY, 2.1f, {12, 12, 12, 255});
}

void DrawCompassBall(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel) {
    DrawCase(art, cx, cy, r, bezel);
    // The card's band through a wide window, the lubber line down its middle.
    const float top = cy - r * 0.4f, height = r * 0.8f;
    art.Gradient(cx - r * 0.86f, top, r * 1.72f, height, {46, 48, 50, 255}, {16, 17, 18, 255});
    // The card turns under the lubber line: north just left of it, ticks every 10 degrees.
    const float spacing = r * 0.28f, north = cx - r * 0.2f;
    for (int i = -3; i <= 3; ++i) {
        const float x = north + i * spacing;
        if (i != 0) art.Line({x, top + 0.8f}, {x, top + (i % 3 == 0 ? 4.5f : 3.0f)}, 1.0f, kInk);
    }
    art.Text(north, top + height - 2.2f, 8, "N", kSymbol, true);
    art.Text(north + 3 * spacing, top + height - 2.2f, 7, "3", kInk, true);
    art.Line({cx + r * 0.12f, top - 2.0f}, {cx + r * 0.12f, top + height + 2.0f}, 1.2f, kSymbol);
    art.Ring(cx, cy - r * 0.15f, r * 0.55f, r * 0.62f, {255, 255, 255, 46}, 300, 400);
}

void DrawHorizonBezel(CockpitArt& art, const Bezel& bezel) {
    const ArtRect& w = art.Horizon();
    const float cx = w.x + w.w / 2.0f, cy = w.y + w.h / 2.0f, dial = w.w / 2.0f - 3.0f;
    // The rim fills the window's square corners too: they show the panel round the case.
    art.Disc(cx + 0.8f, cy + 1.2f, dial + kRim + 1.2f, kShadow);
    art.ShadedDisc(cx, cy, dial + kRim + 0.6f, bezel.light, bezel.dark);
    art.ShadedDisc(cx, cy, dial + 0.7f, bezel.dark, bezel.light);
    art.Punch(cx, cy, dial);
    // Bank marks every 30 degrees round the top, on the glass.
    for (float a : {-60.0f, -30.0f, 30.0f, 60.0f})
        art.Line(Polar(cx, cy, dial - 3.2f, a), Polar(cx, cy, dial - 0.3f, a), 1.2f, kInk);
    for (float a : {-45.0f, -20.0f, -10.0f, 10.0f, 20.0f, 45.0f})
        art.Line(Polar(cx, cy, dial - 2.0f, a), Polar(cx, cy, dial - 0.3f, a), 0.9f, kInk);
    // The bank pointer at the top, pointing up to the scale.
    art.Polygon({{cx, cy - dial + 0.8f}, {cx + 2.6f, cy - dial + 4.8f}, {cx - 2.6f, cy - dial + 4.8f}},
                kSymbol);
    // The aircraft: wing bars either side of a centre dot, dark rimmed to hold on the sky.
    const float span = dial * 0.62f, gap = dial * 0.22f;
    for (const float s : {-1.0f, 1.0f}) {
        art.Line({cx + s * gap, cy}, {cx + s * span, cy}, 3.0f, {40, 20, 0, 200});
        art.Line({cx + s * gap, cy}, {cx + s * span, cy}, 1.8f, kSymbol);
        art.Line({cx + s * gap, cy - 0.6f}, {cx + s * gap, cy + 2.8f}, 1.8f, kSymbol);
    }
    art.Disc(cx, cy, 2.0f, {40, 20, 0, 200});
    art.Disc(cx, cy, 1.4f, kSymbol);
}

void DrawScrew(CockpitArt& art, float cx, float cy, float r) {
    art.ShadedDisc(cx, cy, r, {150, 150, 150, 255}, {40, 40, 40, 255});
    art.Line(Polar(cx, cy, r * 0.8f, 45), Polar(cx, cy, r * 0.8f, 225), 0.5f, {20, 20, 20, 255});
}

void DrawLamp(CockpitArt& art, float cx, float cy, Rgba colour) {
    art.Disc(cx, cy, 2.6f, {30, 30, 30, 255});
    art.ShadedDisc(cx, cy, 1.8f, Mix(colour, {255, 255, 255, 255}, 0.5f), colour);
}

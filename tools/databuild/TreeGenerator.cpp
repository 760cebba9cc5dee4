// The tree atlas: sixteen low-poly trees, each lit from the upper left in two tones (a
// light and a dark face), drawn four times larger and filtered down for clean edges.
#include <algorithm>
#include <cmath>
#include <functional>

#include "databuild/SceneryPaint.h"
#include "databuild/SceneryPictures.h"

namespace scenery {

namespace {

constexpr int kCell = 64;        // texels per atlas cell
constexpr int kSupersample = 4;  // drawn at 4x
constexpr float kPi = 3.14159265f;
constexpr float kGround = 64.0f;  // the cell's bottom edge in cell units
constexpr float kMiddle = 32.0f;

const Rgba kBark = {124, 86, 54, 255};
const Rgba kBarkDark = {90, 62, 40, 255};

// Draws in one cell, in cell units (0..64, y down, ground at y = 64).
class CellPainter {
public:
    CellPainter(Canvas& canvas, int column, int rowFromTop)
        : canvas_(canvas), x0_(column * kCell * kSupersample), y0_(rowFromTop * kCell * kSupersample) {}

    // Clipped to the cell: a crown that reaches past its cell must not spill into the
    // neighbour, where it would show on another tree's billboard.
    void Polygon(const std::vector<Point2>& points, Rgba colour) {
        std::vector<Point2> clipped = ClipHalfPlane(points, -1.0f, 0.0f, 0.0f);  // x >= 0
        clipped = ClipHalfPlane(clipped, 1.0f, 0.0f, -kCell);                    // x <= 64
        clipped = ClipHalfPlane(clipped, 0.0f, -1.0f, 0.0f);                     // y >= 0
        clipped = ClipHalfPlane(clipped, 0.0f, 1.0f, -kGround);                  // y <= 64
        std::vector<Point2> mapped;
        mapped.reserve(clipped.size());
        for (const Point2& p : clipped)
            mapped.push_back(Map(p));
        canvas_.FillPolygon(mapped, colour);
    }

    // The polygon in two tones: the part left of a line through (cx, cy) that leans by
    // slant (x change per unit up) in the light colour, the rest dark.
    void TwoTone(const std::vector<Point2>& points, Rgba light, Rgba dark, float cx, float cy, float slant) {
        Polygon(points, dark);
        // Keep a*x + b*y + c <= 0: left of the line x = cx + slant * (cy - y).
        Polygon(ClipHalfPlane(points, 1.0f, slant, -cx - slant * cy), light);
    }

    // A straight trunk from the ground up to y = top, lit on its left half.
    void Trunk(float halfBottom, float halfTop, float top, Rgba light = kBark, Rgba dark = kBarkDark) {
        TwoTone({{kMiddle - halfBottom, kGround},
                 {kMiddle + halfBottom, kGround},
                 {kMiddle + halfTop, top},
                 {kMiddle - halfTop, top}},
                light, dark, kMiddle, kGround, 0.0f);
    }

    // A faceted crown: an irregular polygon around (cx, cy) with radii rx, ry, cut into a
    // fan of facets; facets turned towards the light are light, the others dark.
    void Crown(float cx, float cy, float rx, float ry, int sides, Rgba light, Rgba dark, Random& random) {
        std::vector<Point2> rim;
        for (int i = 0; i < sides; ++i) {
            const float a = 2.0f * kPi * (i + random.Range(-0.2f, 0.2f)) / sides;
            const float k = random.Range(0.86f, 1.04f);
            rim.push_back({cx + rx * k * std::cos(a), cy + ry * k * std::sin(a)});
        }
        // The fan's hub sits off centre towards the light so the light side reads larger.
        const Point2 hub = {cx - 0.15f * rx, cy - 0.15f * ry};
        for (int i = 0; i < sides; ++i) {
            const Point2& a = rim[i];
            const Point2& b = rim[(i + 1) % sides];
            const float mx = (a.x + b.x) / 2 - cx, my = (a.y + b.y) / 2 - cy;
            // Facing the upper left (light direction (-1, -1.4)) is light.
            const bool lit = -mx - 1.4f * my > 0.15f * (rx + ry);
            Polygon({hub, a, b}, lit ? light : dark);
        }
    }

private:
    Point2 Map(Point2 p) const { return {x0_ + p.x * kSupersample, y0_ + p.y * kSupersample}; }

    // Sutherland-Hodgman clip of a polygon to the half plane a*x + b*y + c <= 0.
    static std::vector<Point2> ClipHalfPlane(const std::vector<Point2>& points, float a, float b, float c) {
        std::vector<Point2> out;
        for (size_t i = 0; i < points.size(); ++i) {
            const Point2& p = points[i];
            const Point2& q = points[(i + 1) % points.size()];
            const float sp = a * p.x + b * p.y + c, sq = a * q.x + b * q.y + c;
            if (sp <= 0) out.push_back(p);
            if ((sp < 0) != (sq < 0) && sp != sq) {
                const float t = sp / (sp - sq);
                out.push_back({p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t});
            }
        }
        return out;
    }

    Canvas& canvas_;
    float x0_, y0_;
};

// Layered conifer: tiers of triangles from the ground up to height, each lit on the left.
void Conifer(CellPainter& cell, float height, float halfWidth, int tiers, Rgba light, Rgba dark) {
    const float trunkTop = kGround - 10.0f;
    cell.Trunk(2.4f, 1.8f, trunkTop);
    const float top = kGround - height;
    const float bottom = kGround - 5.0f;
    for (int i = 0; i < tiers; ++i) {
        const float t0 = static_cast<float>(i) / tiers;  // 0 at the bottom tier
        const float base = bottom - (bottom - top) * t0 * 0.82f;
        const float apex = i == tiers - 1 ? top : base - (bottom - top) * 0.42f;
        const float half = halfWidth * (1.0f - 0.62f * t0);
        cell.TwoTone({{kMiddle - half, base}, {kMiddle + half, base}, {kMiddle, apex}}, light, dark, kMiddle,
                     base, 0.0f);
    }
}

void RoundTree(CellPainter& cell, float height, float radius, Rgba light, Rgba dark, uint64_t seed) {
    Random random(seed);
    const float cy = kGround - height + radius;
    cell.Trunk(2.6f, 1.6f, cy);
    cell.Polygon({{kMiddle - 0.5f, cy + radius * 0.6f},
                  {kMiddle + 9.0f, cy + 2.0f},
                  {kMiddle + 8.0f, cy + 0.5f},
                  {kMiddle - 1.0f, cy + radius * 0.45f}},
                 kBarkDark);
    cell.Crown(kMiddle, cy, radius, radius * 0.92f, 11, light, dark, random);
}

void Poplar(CellPainter& cell, Rgba light, Rgba dark) {
    Random random(31);
    cell.Trunk(2.0f, 1.4f, kGround - 14.0f);
    cell.Crown(kMiddle, kGround - 34.0f, 9.5f, 27.0f, 12, light, dark, random);
}

void Cypress(CellPainter& cell) {
    cell.Trunk(1.8f, 1.2f, kGround - 8.0f);
    const std::vector<Point2> flame = {
        {kMiddle, 2.5f},  {kMiddle + 5.0f, 18.0f}, {kMiddle + 7.5f, 38.0f}, {kMiddle + 5.5f, 57.0f},
        {kMiddle, 59.0f}, {kMiddle - 5.5f, 57.0f}, {kMiddle - 7.5f, 38.0f}, {kMiddle - 5.0f, 18.0f}};
    cell.TwoTone(flame, {64, 132, 74, 255}, {32, 88, 52, 255}, kMiddle, 30.0f, 0.12f);
}

void ScotsPine(CellPainter& cell) {
    Random random(47);
    // A tall bare trunk with a reddish top and a flat, wide crown.
    cell.Trunk(2.2f, 1.4f, 14.0f, {176, 104, 64, 255}, {128, 72, 46, 255});
    cell.Polygon(
        {{kMiddle, 24.0f}, {kMiddle - 9.0f, 16.0f}, {kMiddle - 8.0f, 14.5f}, {kMiddle + 0.5f, 21.0f}},
        {128, 72, 46, 255});
    cell.Crown(kMiddle + 2.0f, 13.0f, 22.0f, 9.0f, 10, {92, 158, 78, 255}, {44, 104, 62, 255}, random);
    cell.Crown(kMiddle - 10.0f, 19.0f, 10.0f, 5.5f, 7, {92, 158, 78, 255}, {44, 104, 62, 255}, random);
}

void Birch(CellPainter& cell, Rgba light, Rgba dark, uint64_t seed) {
    Random random(seed);
    const Rgba bark = {238, 236, 226, 255}, barkShade = {196, 194, 186, 255}, mark = {52, 50, 48, 255};
    cell.Trunk(1.9f, 1.1f, 18.0f, bark, barkShade);
    for (float y : {58.0f, 51.0f, 45.0f, 39.0f, 33.0f}) {
        const float side = random.Range(-1.2f, 0.6f);
        cell.Polygon({{kMiddle + side, y},
                      {kMiddle + side + 1.6f, y},
                      {kMiddle + side + 1.6f, y + 0.9f},
                      {kMiddle + side, y + 0.9f}},
                     mark);
    }
    // A light, airy crown of three clumps.
    cell.Crown(kMiddle - 7.0f, 30.0f, 9.0f, 9.0f, 8, light, dark, random);
    cell.Crown(kMiddle + 7.5f, 25.0f, 9.0f, 9.5f, 8, light, dark, random);
    cell.Crown(kMiddle - 1.0f, 16.0f, 10.0f, 10.5f, 9, light, dark, random);
}

void Linden(CellPainter& cell) {
    Random random(59);
    const Rgba light = {132, 196, 82, 255}, dark = {70, 138, 58, 255};
    cell.Trunk(2.8f, 1.8f, 34.0f);
    cell.Crown(kMiddle - 8.0f, 30.0f, 15.0f, 14.0f, 10, light, dark, random);
    cell.Crown(kMiddle + 8.0f, 26.0f, 15.0f, 15.0f, 10, light, dark, random);
    cell.Crown(kMiddle, 17.0f, 14.0f, 13.0f, 10, light, dark, random);
}

void Bush(CellPainter& cell, Rgba light, Rgba dark, uint64_t seed, bool blossom) {
    Random random(seed);
    // Wide and low, sitting on the ground; the lowest clumps reach below the cell so the
    // foliage meets the ground line along its whole width.
    cell.Crown(kMiddle - 11.0f, 55.0f, 13.0f, 11.0f, 9, light, dark, random);
    cell.Crown(kMiddle + 12.0f, 56.0f, 12.0f, 10.0f, 9, light, dark, random);
    cell.Crown(kMiddle, 50.0f, 16.0f, 14.0f, 10, light, dark, random);
    if (blossom) {
        for (int i = 0; i < 14; ++i) {
            const float x = kMiddle + random.Range(-16.0f, 16.0f), y = random.Range(45.0f, 60.0f);
            const float r = random.Range(1.1f, 1.7f);
            cell.Polygon({{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}}, {250, 200, 220, 255});
        }
    }
}

void Palm(CellPainter& cell) {
    // A slim trunk curving to the right, in ringed segments.
    const Rgba bark = {168, 130, 84, 255}, barkDark = {126, 94, 60, 255};
    Point2 previous = {kMiddle, kGround};
    float half = 2.4f;
    constexpr int kSegments = 9;
    for (int i = 1; i <= kSegments; ++i) {
        const float t = static_cast<float>(i) / kSegments;
        const Point2 next = {kMiddle + 9.0f * t * t, kGround - 44.0f * t};
        const float nextHalf = 2.4f - 0.9f * t;
        cell.Polygon({{previous.x - half, previous.y},
                      {previous.x + half, previous.y},
                      {next.x + nextHalf, next.y + 0.4f},
                      {next.x - nextHalf, next.y + 0.4f}},
                     i % 2 ? bark : barkDark);
        previous = next;
        half = nextHalf;
    }
    // Fronds: long leaves arching out from the crown and drooping at their tips.
    const Point2 crown = previous;
    const Rgba light = {118, 188, 72, 255}, dark = {56, 128, 52, 255};
    const float angles[] = {-170, -140, -105, -75, -40, -10, 20, 160};
    for (float degrees : angles) {
        const float a = degrees * kPi / 180.0f;
        const float length = 19.0f;
        const Point2 tip = {crown.x + length * std::cos(a), crown.y + length * std::sin(a) * 0.55f + 9.0f};
        const Point2 mid = {crown.x + 0.55f * length * std::cos(a),
                            crown.y + 0.55f * length * std::sin(a) * 0.7f - 1.5f};
        // Each frond a thin curved blade: its upper half light, its lower half dark.
        const float nx = -std::sin(a) * 2.6f, ny = std::cos(a) * 1.6f;
        cell.Polygon({crown, {mid.x - nx, mid.y - std::fabs(ny) - 1.2f}, tip}, light);
        cell.Polygon({crown, tip, {mid.x + nx, mid.y + std::fabs(ny) + 0.2f}}, dark);
    }
    for (float dx : {-1.6f, 1.4f}) {
        cell.Polygon({{crown.x + dx - 1.3f, crown.y + 1.5f},
                      {crown.x + dx + 1.3f, crown.y + 1.5f},
                      {crown.x + dx + 1.3f, crown.y + 4.0f},
                      {crown.x + dx - 1.3f, crown.y + 4.0f}},
                     {96, 66, 40, 255});
    }
}

}  // namespace

Canvas MakeTreeAtlas() {
    constexpr int kCells = 4;
    Canvas big(kCells * kCell * kSupersample, kCells * kCell * kSupersample, {0, 0, 0, 0});
    const Rgba green = {126, 192, 72, 255}, greenDark = {58, 130, 50, 255};
    const Rgba spruce = {64, 148, 86, 255}, spruceDark = {30, 96, 60, 255};
    const Rgba blueSpruce = {96, 160, 132, 255}, blueSpruceDark = {50, 108, 94, 255};
    const Rgba fir = {52, 132, 80, 255}, firDark = {24, 82, 54, 255};
    const Rgba young = {156, 208, 92, 255}, youngDark = {92, 156, 62, 255};
    const Rgba orange = {240, 156, 52, 255}, orangeDark = {200, 96, 36, 255};
    const Rgba yellow = {244, 210, 74, 255}, yellowDark = {204, 154, 42, 255};
    const Rgba red = {226, 84, 54, 255}, redDark = {168, 44, 40, 255};
    const Rgba birch = {168, 214, 92, 255}, birchDark = {104, 164, 66, 255};
    const Rgba bush = {100, 170, 66, 255}, bushDark = {48, 112, 50, 255};

    using Draw = std::function<void(CellPainter&)>;
    const Draw variants[16] = {
        [&](CellPainter& c) { Conifer(c, 58, 17, 4, spruce, spruceDark); },    // 0 spruce
        [&](CellPainter& c) { RoundTree(c, 58, 22, green, greenDark, 101); },  // 1 oak
        [&](CellPainter& c) {
            Poplar(c, {138, 196, 78, 255}, {70, 140, 56, 255});
        },                                                                           // 2 poplar
        [&](CellPainter& c) { ScotsPine(c); },                                       // 3 pine
        [&](CellPainter& c) { Birch(c, birch, birchDark, 103); },                    // 4 birch
        [&](CellPainter& c) { RoundTree(c, 40, 15, young, youngDark, 105); },        // 5 young tree
        [&](CellPainter& c) { Conifer(c, 42, 14, 3, blueSpruce, blueSpruceDark); },  // 6 small blue spruce
        [&](CellPainter& c) { Bush(c, bush, bushDark, 107, false); },                // 7 bush
        [&](CellPainter& c) { RoundTree(c, 54, 20, orange, orangeDark, 109); },      // 8 autumn orange
        [&](CellPainter& c) { Conifer(c, 61, 13, 5, fir, firDark); },                // 9 fir
        [&](CellPainter& c) { Birch(c, yellow, yellowDark, 111); },                  // 10 autumn birch
        [&](CellPainter& c) { Linden(c); },                                          // 11 linden
        [&](CellPainter& c) { Palm(c); },                                            // 12 palm
        [&](CellPainter& c) {
            Bush(c, {112, 178, 80, 255}, {56, 120, 56, 255}, 113, true);
        },                                                                 // 13 flowering
        [&](CellPainter& c) { Cypress(c); },                               // 14 cypress
        [&](CellPainter& c) { RoundTree(c, 56, 21, red, redDark, 115); },  // 15 maple
    };
    for (int k = 0; k < 16; ++k) {
        // Variant k: column k div 4, row k mod 4 counted from the bottom of the picture.
        CellPainter cell(big, k / kCells, kCells - 1 - k % kCells);
        variants[k](cell);
    }
    Canvas atlas = big.Downsample(kSupersample);
    BleedColour(atlas, 6);
    return atlas;
}

}  // namespace scenery

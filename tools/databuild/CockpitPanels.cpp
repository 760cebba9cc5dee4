// What the cockpit painters share: the two screens' geometry, the panel face, the glare
// shield and the frames over the view.
#include <cmath>

#include "databuild/CockpitDesigns.h"

namespace cockpit_panels {

namespace {

// Portrait: the panel is the bottom 98 rows; landscape: the bottom 68.
constexpr int kPortraitPanelTop = 222;
constexpr int kLandscapePanelTop = 172;
constexpr int kPortraitHorizon = 48;
constexpr int kLandscapeHorizon = 40;

}  // namespace

CockpitArt NewArt(bool landscape, Point2 horizonCentre, int spareRows) {
    const int size = landscape ? kLandscapeHorizon : kPortraitHorizon;
    const ArtRect window{static_cast<int>(std::lround(horizonCentre.x - size / 2.0f)),
                         static_cast<int>(std::lround(horizonCentre.y - size / 2.0f)), size, size};
    return landscape ? CockpitArt(320, 240, kLandscapePanelTop, window, spareRows)
                     : CockpitArt(240, 320, kPortraitPanelTop, window, spareRows);
}

float Row1(bool landscape) {
    return landscape ? 206.0f : 252.0f;
}

float Row2(bool landscape) {
    return landscape ? 206.0f : 298.0f;
}

void PanelFace(CockpitArt& art, Rgba top, Rgba bottom) {
    const float y = static_cast<float>(art.PanelTop());
    art.Gradient(0, y, static_cast<float>(art.Width()), art.Height() - y, top, bottom);
}

void GlareShield(CockpitArt& art, Rgba colour, float rise, float depth) {
    const float w = static_cast<float>(art.Width()), top = static_cast<float>(art.PanelTop());
    std::vector<Point2> shape;
    // The upper edge: a shallow curve, highest at the middle.
    for (int i = 0; i <= 24; ++i) {
        const float u = i / 24.0f, x = u * w, bulge = 1.0f - (2 * u - 1) * (2 * u - 1);
        shape.push_back({x, top - rise * (0.35f + 0.65f * bulge)});
    }
    shape.push_back({w, top + depth});
    shape.push_back({0, top + depth});
    art.Polygon(shape, colour);
    // A lit lip along the top and a shadow under the shield.
    std::vector<Point2> lip(shape.begin(), shape.end() - 2);
    art.Stroke(lip, 1.0f, Mix(colour, {255, 255, 255, 255}, 0.25f));
    art.Rect(0, top + depth, w, 1.5f, {0, 0, 0, 90});
}

void Frame(CockpitArt& art, const std::vector<Point2>& points, float width, Rgba colour) {
    art.Stroke(points, width, colour);
    std::vector<Point2> edge;
    for (const Point2& p : points)
        edge.push_back({p.x - width * 0.2f, p.y - width * 0.2f});
    art.Stroke(edge, width * 0.3f, Mix(colour, {255, 255, 255, 255}, 0.3f));
}

std::vector<Point2> Arch(float cx, float cy, float ax, float ay, float from, float to) {
    std::vector<Point2> points;
    const int steps = 32;
    for (int i = 0; i <= steps; ++i) {
        const float a = (from + (to - from) * i / steps) * 3.14159265f / 180.0f;
        points.push_back({cx + ax * std::sin(a), cy - ay * std::cos(a)});
    }
    return points;
}

}  // namespace cockpit_panels

const std::vector<CockpitDesign>& CockpitDesigns() {
    static const std::vector<CockpitDesign> designs = {{"C172R", PaintC172},
                                                       {"Su29", PaintSu29},
                                                       {"L29", PaintL29},
                                                       {"L13", PaintL13},
                                                       {"Fokker", PaintFokker}};
    return designs;
}

// Pictures of a route for its author: the map of the ground round the gates with the path
// flown, and below it the profile of the ground along that path with every frame standing
// at its height, so a gate buried in a hill or a leg into a slope shows at a glance.
#include "routecheck/RoutePicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "world/FSTerrainStorage.h"

namespace {

constexpr int kSide = 640;           // pixels of the map, and the picture's width
constexpr int kProfileHeight = 240;  // pixels of the profile under the map
constexpr double kMarginKm = 2.5;    // ground shown round the path on the map

// A point of the route in the first gate's cell (km, x and z unwrapped round that cell).
struct Spot {
    double x = 0, y = 0, z = 0;
};

Spot SpotOf(const RoutePlace& place, const FSCell& home) {
    auto unwrap = [](double local, int cell, int homeCell) {
        double d = local + 60.0 * (cell - homeCell);
        return d - 240.0 * std::round(d / 240.0);
    };
    return {unwrap(place.x, place.cell.column, home.column), place.y,
            unwrap(place.z, place.cell.row, home.row)};
}

// Ground coloured by its height within the map's own range (so gentle hills show as well
// as mountains), sea blue; shade is the light on the slope, 1 for level ground.
Rgba GroundColour(double metres, double low, double high, float shade) {
    if (metres < 1.0) return {70, 110, 190, 255};
    const Rgba stops[] = {{90, 160, 80, 255}, {170, 170, 90, 255}, {150, 115, 80, 255}, {240, 240, 240, 255}};
    const double t = std::clamp((metres - low) / std::max(high - low, 1.0), 0.0, 1.0) * 2.999;
    const int k = static_cast<int>(t);
    Rgba colour = Mix(stops[k], stops[k + 1], static_cast<float>(t - k));
    colour = Mix({0, 0, 0, 255}, colour, std::clamp(shade, 0.4f, 1.0f));
    return colour;
}

void Line(Canvas& canvas, Point2 a, Point2 b, float width, Rgba colour) {
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    // A dot per pixel; on a line far longer than the picture the dots spread apart.
    const int steps = static_cast<int>(std::clamp(length, 1.0f, 4000.0f));
    for (int k = 0; k <= steps; ++k) {
        const float t = static_cast<float>(k) / steps;
        canvas.FillCircle(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, width / 2, colour);
    }
}

}  // namespace

bool WriteRoutePicture(const RouteCheck& check, const CFSTerrainStorage& terrain, const std::string& path) {
    const RouteFile& route = check.route;
    if (route.gates.empty()) return false;
    const FSCell home = route.gates.front().place.cell;
    std::vector<Spot> path3;  // start, gates, then the nearer runway end of a landing route
    Spot start = SpotOf(route.start.place, home);
    if (start.y < 1.0) start.y = GroundHeight(terrain, home, start.x, start.z);
    path3.push_back(start);
    for (const RouteGate& gate : route.gates)
        path3.push_back(SpotOf(gate.place, home));

    double x0 = 1e9, x1 = -1e9, z0 = 1e9, z1 = -1e9;
    for (const Spot& s : path3) {
        x0 = std::min(x0, s.x), x1 = std::max(x1, s.x), z0 = std::min(z0, s.z), z1 = std::max(z1, s.z);
    }
    const double span = std::max(x1 - x0, z1 - z0) + 2 * kMarginKm;
    const double cx = (x0 + x1) / 2, cz = (z0 + z1) / 2, scale = kSide / span;
    auto toMap = [&](double x, double z) {
        return Point2{static_cast<float>((x - cx) * scale + kSide / 2.0),
                      static_cast<float>((z - cz) * scale + kSide / 2.0)};
    };

    Canvas canvas(kSide, kSide + kProfileHeight, {255, 255, 255, 255});
    std::vector<double> heights(static_cast<size_t>(kSide) * kSide);
    double lowest = 1e9, highest = -1e9;
    for (int py = 0; py < kSide; ++py) {
        for (int px = 0; px < kSide; ++px) {
            const double x = cx + (px + 0.5 - kSide / 2.0) / scale, z = cz + (py + 0.5 - kSide / 2.0) / scale;
            const double metres = (GroundHeight(terrain, home, x, z) - kSeaLevelKm) * 1000.0;
            heights[static_cast<size_t>(py) * kSide + px] = metres;
            if (metres >= 1.0) lowest = std::min(lowest, metres), highest = std::max(highest, metres);
        }
    }
    const double metresPerPixel = 1000.0 / scale;
    for (int py = 0; py < kSide; ++py) {
        for (int px = 0; px < kSide; ++px) {
            const double h = heights[static_cast<size_t>(py) * kSide + px];
            // Lit from the top left: the rise toward the light over one pixel.
            const double rise =
                h - heights[static_cast<size_t>(std::max(py - 1, 0)) * kSide + std::max(px - 1, 0)];
            const float shade = static_cast<float>(1.0 - 2.0 * rise / metresPerPixel);
            canvas.At(px, py) = GroundColour(h, lowest, highest, shade);
        }
    }
    for (const RouteRunway& runway : route.runways) {
        RoutePlace a{runway.cell, runway.a[0], 0, runway.a[2]}, b{runway.cell, runway.b[0], 0, runway.b[2]};
        const Spot sa = SpotOf(a, home), sb = SpotOf(b, home);
        Line(canvas, toMap(sa.x, sa.z), toMap(sb.x, sb.z),
             std::max(3.0f, static_cast<float>(runway.width * 0.001 * scale)), {60, 60, 60, 255});
    }
    for (size_t k = 1; k < path3.size(); ++k)
        Line(canvas, toMap(path3[k - 1].x, path3[k - 1].z), toMap(path3[k].x, path3[k].z), 2, {0, 0, 0, 200});
    for (const RouteGate& gate : route.gates) {
        double opening[3], up[3];
        GateAxes(gate.turns, opening, up);
        const Spot s = SpotOf(gate.place, home);
        // The frame seen from above: a bar across the opening, drawn five times its width.
        const double half = gate.size[0] * 0.0005 * 5;
        const Point2 a = toMap(s.x + opening[2] * half, s.z - opening[0] * half);
        const Point2 b = toMap(s.x - opening[2] * half, s.z + opening[0] * half);
        Line(canvas, a, b, 4, {220, 30, 30, 255});
    }
    canvas.FillCircle(toMap(start.x, start.z).x, toMap(start.x, start.z).y, 6, {250, 220, 0, 255});

    // The profile: distance along the path across, height up; ground in brown.
    std::vector<double> along{0};
    for (size_t k = 1; k < path3.size(); ++k)
        along.push_back(along.back() + std::hypot(path3[k].x - path3[k - 1].x, path3[k].z - path3[k - 1].z));
    const double total = std::max(along.back(), 0.001);
    std::vector<double> ground(kSide);
    double low = 1e9, high = -1e9;
    for (int px = 0; px < kSide; ++px) {
        const double d = total * px / (kSide - 1);
        size_t k = 1;
        while (k + 1 < path3.size() && along[k] < d)
            ++k;
        const double t = (d - along[k - 1]) / std::max(along[k] - along[k - 1], 1e-9);
        ground[px] = GroundHeight(terrain, home, path3[k - 1].x + (path3[k].x - path3[k - 1].x) * t,
                                  path3[k - 1].z + (path3[k].z - path3[k - 1].z) * t);
        low = std::min(low, ground[px]), high = std::max(high, ground[px]);
    }
    for (size_t k = 0; k < path3.size(); ++k) {
        const double top = path3[k].y + (k > 0 ? route.gates[k - 1].size[1] * 0.0005 : 0);
        high = std::max(high, top);
    }
    high += 0.05;
    auto toProfile = [&](double d, double y) {
        return Point2{static_cast<float>(d / total * (kSide - 1)),
                      static_cast<float>(kSide + kProfileHeight - 1 -
                                         (y - low) / (high - low) * (kProfileHeight - 10))};
    };
    for (int px = 0; px < kSide; ++px) {
        const int top = static_cast<int>(toProfile(0, ground[px]).y);
        canvas.FillRect(px, top, 1, kSide + kProfileHeight - top, {150, 120, 80, 255});
    }
    for (size_t k = 1; k < path3.size(); ++k)
        Line(canvas, toProfile(along[k - 1], path3[k - 1].y), toProfile(along[k], path3[k].y), 2,
             {0, 0, 0, 200});
    for (size_t k = 1; k < path3.size(); ++k) {
        const double half = route.gates[k - 1].size[1] * 0.0005;
        Line(canvas, toProfile(along[k], path3[k].y - half), toProfile(along[k], path3[k].y + half), 4,
             {220, 30, 30, 255});
    }
    return WriteFile(path, EncodePng(canvas, false));
}

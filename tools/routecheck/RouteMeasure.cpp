// Measuring a route against its terrain: heights above the ground, legs between gates,
// how each frame faces its leg, and how level the runways are.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "routecheck/RouteCheck.h"
#include "world/FSFixed.h"
#include "world/FSTerrainStorage.h"

namespace {

constexpr double kDegrees = 57.29577951308232;
// Where the ground is probed from: above every terrain's highest ground (scene km).
constexpr double kProbeHeight = 12.0;
// Steps of the samples along legs and runways (km).
constexpr double kLegStep = 0.05;
constexpr double kRunwayStep = 0.025;
// At most this many samples along one leg or runway, however long a broken file makes it.
constexpr double kMostSamples = 20000;

int Samples(double length, double step) {
    return static_cast<int>(std::clamp(length / step, 1.0, kMostSamples));
}

double Ground(const CFSTerrainStorage& terrain, const FSCell& cell, double x, double z) {
    return GroundHeight(terrain, cell, x, z);
}

// b − a in km across the torus (x and z the short way round).
void Offset(const RoutePlace& a, const RoutePlace& b, double d[3]) {
    const double world = 240.0;
    const double along[2] = {b.x - a.x + 60.0 * (b.cell.column - a.cell.column),
                             b.z - a.z + 60.0 * (b.cell.row - a.cell.row)};
    double wrapped[2];
    for (int k = 0; k < 2; ++k)
        wrapped[k] = along[k] - world * std::round(along[k] / world);
    d[0] = wrapped[0];
    d[1] = b.y - a.y;
    d[2] = wrapped[1];
}

double HeadingChange(double from, double to) {
    double change = to - from;
    while (change > 180.0)
        change -= 360.0;
    while (change <= -180.0)
        change += 360.0;
    return change;
}

// The lowest height (m) above the ground of the straight line from a to a + d.
double LegClearance(const CFSTerrainStorage& terrain, const RoutePlace& a, const double d[3]) {
    const double length = std::sqrt(d[0] * d[0] + d[2] * d[2]);
    const int steps = Samples(length, kLegStep);
    double lowest = 1e9;
    for (int k = 0; k <= steps; ++k) {
        const double f = static_cast<double>(k) / steps;
        const double y = a.y + d[1] * f;
        lowest = std::min(lowest, (y - Ground(terrain, a.cell, a.x + d[0] * f, a.z + d[2] * f)) * 1000.0);
    }
    return lowest;
}

// The lowest gap (m) between the frame's bottom bar and the ground, across its width.
double FrameClearance(const CFSTerrainStorage& terrain, const RouteGate& gate) {
    double opening[3], up[3];
    GateAxes(gate.turns, opening, up);
    const double side[3] = {opening[1] * up[2] - opening[2] * up[1], opening[2] * up[0] - opening[0] * up[2],
                            opening[0] * up[1] - opening[1] * up[0]};
    const double halfWidth = gate.size[0] * 0.0005, halfHeight = gate.size[1] * 0.0005;
    double lowest = 1e9;
    for (int k = -4; k <= 4; ++k) {
        const double s = halfWidth * k / 4.0;
        double p[3];
        const double centre[3] = {gate.place.x, gate.place.y, gate.place.z};
        for (int axis = 0; axis < 3; ++axis)
            p[axis] = centre[axis] + side[axis] * s - up[axis] * halfHeight;
        lowest = std::min(lowest, (p[1] - Ground(terrain, gate.place.cell, p[0], p[2])) * 1000.0);
    }
    return lowest;
}

// The final leg from the last gate down to the nearer runway end.
void MeasureFinal(const CFSTerrainStorage& terrain, const RouteRunway& runway, const RouteGate& last,
                  RunwayCheck& check) {
    check.fromLastGate = 1e9;
    for (const double* end : {runway.a, runway.b}) {
        RoutePlace place;
        place.cell = runway.cell;
        place.x = end[0];
        place.z = end[2];
        place.y = Ground(terrain, runway.cell, end[0], end[2]);
        double d[3];
        Offset(last.place, place, d);
        const double distance = std::sqrt(d[0] * d[0] + d[2] * d[2]);
        if (distance < check.fromLastGate) {
            check.fromLastGate = distance;
            check.descent = -std::atan2(d[1], distance) * kDegrees;
        }
    }
}

RunwayCheck MeasureRunway(const CFSTerrainStorage& terrain, const RouteRunway& runway) {
    RunwayCheck check;
    const double dx = runway.b[0] - runway.a[0], dz = runway.b[2] - runway.a[2];
    const double length = std::sqrt(dx * dx + dz * dz);
    check.length = length * 1000.0;
    const double groundA = Ground(terrain, runway.cell, runway.a[0], runway.a[2]);
    const double groundB = Ground(terrain, runway.cell, runway.b[0], runway.b[2]);
    check.endsApart = std::fabs(groundA - groundB) * 1000.0;
    // Along the centre line and both edges.
    const double half = runway.width * 0.0005;
    const double sideX = length > 0 ? -dz / length * half : 0, sideZ = length > 0 ? dx / length * half : 0;
    const int steps = Samples(length, kRunwayStep);
    double low = 1e9, high = -1e9;
    for (int k = 0; k <= steps; ++k) {
        const double f = static_cast<double>(k) / steps;
        for (int edge = -1; edge <= 1; ++edge) {
            const double g = Ground(terrain, runway.cell, runway.a[0] + dx * f + sideX * edge,
                                    runway.a[2] + dz * f + sideZ * edge);
            low = std::min(low, g);
            high = std::max(high, g);
        }
    }
    check.groundSpread = (high - low) * 1000.0;
    return check;
}

// True when a ground start stands on one of the runways (on the strip, within its ends).
bool StartsOnRunway(const RouteFile& route) {
    for (const RouteRunway& runway : route.runways) {
        if (!(runway.cell == route.start.place.cell)) continue;
        const double dx = runway.b[0] - runway.a[0], dz = runway.b[2] - runway.a[2];
        const double length = std::sqrt(dx * dx + dz * dz);
        if (length <= 0) continue;
        const double px = route.start.place.x - runway.a[0], pz = route.start.place.z - runway.a[2];
        const double along = (px * dx + pz * dz) / length, across = (pz * dx - px * dz) / length;
        if (along >= 0 && along <= length && std::fabs(across) <= runway.width * 0.0005) return true;
    }
    return false;
}

void Problem(RouteCheck& check, const char* format, double a = 0, double b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    check.problems.emplace_back(text);
}

void CheckStart(RouteCheck& check, const CFSTerrainStorage& terrain, RoutePlace& start) {
    const RouteStart& s = check.route.start;
    const double ground = Ground(terrain, start.cell, start.x, start.z);
    // Below a scene height of 1 km the game stands the aircraft on the ground.
    if (start.y < 1.0) {
        start.y = ground;
        if (!StartsOnRunway(check.route)) Problem(check, "the ground start is not on a runway");
    } else if (start.y - ground < 0.03) {
        Problem(check, "the air start is only %.0f m above the ground", (start.y - ground) * 1000.0);
    }
    check.startAbove = (start.y - ground) * 1000.0;
    if (s.nose[0] == 0 && s.nose[2] == 0) Problem(check, "the start's nose has no horizontal direction");
}

void CheckGate(RouteCheck& check, const CFSTerrainStorage* terrain, size_t index, const RoutePlace& from,
               double previousHeading) {
    const RouteGate& gate = check.route.gates[index];
    GateCheck g;
    double d[3];
    Offset(from, gate.place, d);
    g.distance = std::sqrt(d[0] * d[0] + d[2] * d[2]);
    g.heading = CompassHeading(d[0], d[2]);
    g.turn = HeadingChange(previousHeading, g.heading);
    g.climb = std::atan2(d[1], g.distance) * kDegrees;
    double opening[3], up[3];
    GateAxes(gate.turns, opening, up);
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length > 0) {
        const double cosine = std::fabs(opening[0] * d[0] + opening[1] * d[1] + opening[2] * d[2]) / length;
        g.misalignment = std::acos(std::min(1.0, cosine)) * kDegrees;
    }
    const int n = static_cast<int>(index) + 1;
    if (terrain) {
        g.ground = Ground(*terrain, gate.place.cell, gate.place.x, gate.place.z);
        g.above = (gate.place.y - g.ground) * 1000.0;
        g.clearance = LegClearance(*terrain, from, d);
        g.frameClearance = FrameClearance(*terrain, gate);
        if (g.above < kLowestGateAbove)
            Problem(check, "gate %.0f: centre only %.0f m above the ground", n, g.above);
        if (g.frameClearance < kLowestFrameClearance)
            Problem(check, "gate %.0f: the bottom bar is %.0f m from the ground", n, g.frameClearance);
        // The first leg of a ground start begins on the ground.
        const bool fromGround = index == 0 && check.route.start.place.y < 1.0;
        if (!fromGround && g.clearance < kLowestLegClearance)
            Problem(check, "gate %.0f: the leg to it passes %.0f m above the ground", n, g.clearance);
    }
    if (!(gate.place.cell == check.route.gates.front().place.cell))
        Problem(check, "gate %.0f: in another cell than the first gate (not scored)", n);
    if (index > 0 && g.distance < kShortestLeg)
        Problem(check, "gate %.0f: only %.2f km after the last", n, g.distance);
    if (std::fabs(g.turn) > kSharpestTurn) Problem(check, "gate %.0f: a turn of %.0f degrees", n, g.turn);
    if (g.misalignment > kWidestMisalignment)
        Problem(check, "gate %.0f: its opening is %.0f degrees off the leg", n, g.misalignment);
    check.gates.push_back(g);
}

}  // namespace

double GroundHeight(const CFSTerrainStorage& terrain, const FSCell& cell, double x, double z) {
    const FSFixedVector probe{DoubleToFixed(x), DoubleToFixed(kProbeHeight), DoubleToFixed(z)};
    return kProbeHeight - terrain.HeightAboveAt(probe, cell) / 65536.0;
}

RouteCheck CheckRoute(const std::string& member, const RouteFile& route, const CFSTerrainStorage* terrain) {
    RouteCheck check;
    check.member = member;
    check.route = route;
    check.terrainLoaded = terrain != nullptr;
    if (route.name.empty()) Problem(check, "no name");
    if (route.name.size() > kLongestName)
        Problem(check, "a name of %.0f bytes, longer than the scores keep", route.name.size());
    if (!terrain) check.problems.push_back("terrain \"" + route.terrain + "\" cannot be read");
    if (!route.start.present) Problem(check, "no start line");
    if (route.gates.empty()) Problem(check, "no gates");
    if (route.runways.empty()) Problem(check, "no runway");
    if (route.groundBeforeTerrain)
        Problem(check, "lines that stand on the ground come before the terrain line");
    if (route.windAfterMovers) Problem(check, "the wind line comes after gates or clouds that drift with it");
    if (route.brokenNumbers > 0)
        Problem(check, "%.0f numbers are not finite (read as 0)", route.brokenNumbers);
    if (route.difficulty.size() != 5)
        Problem(check, "%.0f difficulty factors instead of 5", route.difficulty.size());

    RoutePlace from = route.start.place;
    if (terrain && route.start.present) CheckStart(check, *terrain, from);
    double heading = CompassHeading(route.start.nose[0], route.start.nose[2]);
    for (size_t k = 0; k < route.gates.size(); ++k) {
        CheckGate(check, terrain, k, from, heading);
        from = route.gates[k].place;
        heading = check.gates.back().heading;
    }
    for (const RouteRunway& runway : route.runways) {
        if (!terrain) break;
        RunwayCheck r = MeasureRunway(*terrain, runway);
        if (!route.gates.empty()) MeasureFinal(*terrain, runway, route.gates.back(), r);
        if (r.endsApart > kRunwayEndsApart)
            Problem(check, "runway: its ends lie %.0f m apart in height", r.endsApart);
        if (r.groundSpread > kRunwayGroundSpread)
            Problem(check, "runway: the ground under it varies by %.0f m", r.groundSpread);
        check.runways.push_back(r);
    }
    return check;
}

std::vector<std::string> CheckRouteSet(const std::vector<RouteCheck>& checks) {
    std::vector<std::string> problems;
    for (size_t a = 0; a < checks.size(); ++a) {
        for (size_t b = a + 1; b < checks.size(); ++b) {
            if (checks[a].route.name == checks[b].route.name)
                problems.push_back(checks[a].member + " and " + checks[b].member + " share the name \"" +
                                   checks[a].route.name + "\"");
        }
    }
    return problems;
}
